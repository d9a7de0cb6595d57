// ReadWaveFile: a WAV file read and brought to 8000 Hz mono 16-bit, block by
// block, so that memory does not grow with the length of the file.
//
//  1. open the file (failure: 10403 with the path and the system's reason);
//  2. the RIFF chunk of form "WAVE" (missing: 10401);
//  3. its "fmt " chunk (missing: 10401), checked as wave_fmt_chunk.h says:
//     integer PCM, IEEE float and WAVE_FORMAT_EXTENSIBLE with either
//     sub-format are taken, compressed formats get 10402;
//  4. its "data" chunk (missing or empty: 10411);
//  5. a rate the converter cannot take: 10415;
//  6. PCM (tag 1) mono 8000 Hz 16-bit with block alignment 2 and 16000
//     bytes per second: the samples as they are, with the file's own format
//     record (extra size 0 when the chunk has only 16 bytes);
//  7. otherwise every frame mixed down (mono_mixdown.h) and converted to
//     8000 Hz (pcm_converter.h); the format record is codecPcmFormat(). A
//     trailing partial frame is dropped.
// Every failure sets LastErrorText through the FailureReport: a chunk
// running past the end of the file gives 10410, a read error 10414 with the
// path, a sound too long for PcmWorkFile 10416, the sink's failure its own.
#ifndef ZV_ENCODER_WAVE_FILE_READER_H
#define ZV_ENCODER_WAVE_FILE_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/pcm_sink.h"
#include "encoder/reader_failure.h"
#include "encoder/wave_format.h"

namespace zv {

// Writes the converted samples to `sink` and sets `format` to the record
// describing them. False, with the failure reported, on any failure above;
// what the sink got by then is not a whole sound and is to be discarded.
bool ReadWaveFile(const std::string& path, WaveFormat& format, PcmSink& sink,
                  const FailureReport& report);

// The same with the samples returned in memory (owned by the caller); on
// failure `samples` is empty.
bool ReadWaveFile(const std::string& path, WaveFormat& format, std::vector<std::uint8_t>& samples,
                  const FailureReport& report);

}  // namespace zv

#endif  // ZV_ENCODER_WAVE_FILE_READER_H
