// readSoundFile: a sound file of one of the many formats libsndfile reads
// (FLAC, Ogg Vorbis, Ogg Opus, MP3, AIFF/AIFC, CAF, W64, RF64 and more)
// brought to 8000 Hz mono 16-bit the way a WAV file is: decoded to
// normalised samples block by block, mixed down (mono_mixdown.h) and
// converted (pcm_converter.h) into the sink; the format record is
// codecPcmFormat().
//
// The file is identified by its content only, never by its name, so a text
// file named ".mp3" is not taken for one.
//  - the file cannot be opened: 10403 with the path and the system's reason;
//  - libsndfile does not recognise it: NotRecognised, nothing reported (the
//    caller has its own message for that);
//  - a rate the converter cannot take: 10421;
//  - the decoder stops with an error, or before the number of frames the
//    file states (a truncated or damaged file): 10414 with the path;
//  - no samples at all: 10420;
//  - more than PcmWorkFile can hold: 10416; the sink's failure its own.
#ifndef ZV_ENCODER_SOUND_FILE_READER_H
#define ZV_ENCODER_SOUND_FILE_READER_H

#include <string>

#include "encoder/pcm_sink.h"
#include "encoder/reader_failure.h"
#include "encoder/wave_format.h"

namespace zv {

enum class SoundFileRead {
  Converted,      // the sink has the whole sound, `format` describes it
  NotRecognised,  // not a sound file libsndfile knows; nothing written
  Failed,         // reported through the FailureReport
};

SoundFileRead readSoundFile(const std::string& path, WaveFormat& format, PcmSink& sink,
                            const FailureReport& report);

}  // namespace zv

#endif  // ZV_ENCODER_SOUND_FILE_READER_H
