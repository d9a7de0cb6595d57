// ReadWaveFile: a PCM WAV file read and brought to 8000 Hz mono 16-bit.
//
//  1. open the file (failure: 10403 with the path);
//  2. the RIFF chunk of form "WAVE" (missing: 10401);
//  3. its "fmt " chunk (missing or shorter than 16 bytes: 10401);
//  4. format tag not 1, PCM: 10402;
//  5. its "data" chunk (missing or empty: 10411), read whole;
//  6. PCM mono 8000 Hz 16-bit with block alignment 2 and 16000 bytes per
//     second: the samples as they are, with the file's own format record
//     (extra size 0 when the chunk has only 16 bytes);
//  7. otherwise ConvertPcm (pcm_converter.h).
// Every failure sets LastErrorText to its own message: a chunk running past
// the end of the file gives 10410, impossible format fields (no channels, no
// rate, a width of 0 or above 32 bits, a block alignment that does not match)
// give 10412, a read error 10414, no memory 10404.
#ifndef ZV_ENCODER_WAVE_FILE_READER_H
#define ZV_ENCODER_WAVE_FILE_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/guarded_text.h"
#include "encoder/wave_format.h"

namespace zv {

// On success fills `format` and `samples` (owned by the caller) and returns
// true; on failure sets `lastError` and returns false with `samples` empty.
bool ReadWaveFile(const std::string& path, WaveFormat& format, std::vector<std::uint8_t>& samples,
                  GuardedText& lastError);

}  // namespace zv

#endif  // ZV_ENCODER_WAVE_FILE_READER_H
