// Input preparation: the user's source file read, brought to 8000 Hz mono
// 16-bit and written to the workspace's PcmWorkFile, with PcmFormat set.
//
//  1. empty source name: message 10400;
//  2. the source cannot be opened (or is not a regular file, which could
//     block or never end): 10403 with the name;
//  3. its first 4 bytes: "RIFF" is a WAV, ".snd" an AU; anything else is
//     offered to libsndfile (FLAC, Ogg, MP3, AIFF...), and what it does not
//     recognise gets 10202;
//  4. AU: ReadAuFile into AuConvertFile, then ReadWaveFile on that;
//     WAV: ReadWaveFile; other: readSoundFile. A failure shows LastErrorText
//     (every reader failure sets a text of its own);
//  5. the samples stream into a partial file beside PcmWorkFile, which
//     replaces it only when the whole sound is there, so a failure keeps its
//     previous content; a write failure: 10200 with the source name;
//  6. PcmFormat = the converted format.
// Memory stays at a few blocks whatever the length of the source.
// Each message goes to `presenter` with the application title as caption,
// worded by `wording` (the system's texts unless the caller words them for
// its own setting, as the command line does).
// Every failure leaves PcmWorkFile and PcmFormat as they were.
// With a ConversionWatch (a conversion on a worker thread), the readers'
// progress goes to it, and once it says cancelled the conversion stops at
// the next block without a message, the partial file deleted.
#ifndef ZV_ENCODER_INPUT_PREPARATION_H
#define ZV_ENCODER_INPUT_PREPARATION_H

#include <cstdint>
#include <string>

#include "encoder/engine_notice.h"
#include "encoder/engine_workspace.h"
#include "platform/message_presenter.h"

namespace zv {

// The file-name patterns of the sound files prepareSourceFile() takes, for
// a file chooser's filter, separated by spaces. The names only help the
// user find the files: the content decides how a file is read.
inline constexpr const char* kSoundFilePatterns =
    "*.wav *.au *.snd *.flac *.ogg *.opus *.mp3 *.aif *.aiff";

// What a conversion run as a job watches while the samples stream.
class ConversionWatch {
 public:
  virtual ~ConversionWatch() = default;
  // Once true, stays true.
  virtual bool cancelled() = 0;
  // `done` of `whole` of the source read (see PcmSink::sourceRead).
  virtual void progress(std::uint64_t done, std::uint64_t whole) = 0;
};

// Steps 1 and 2 alone, with their messages: quick, for a caller that has
// them answered before it starts the conversion on a worker thread (which
// makes them again, as the file may change in between). True when the
// source is a regular file.
bool checkSourceFile(const std::string& sourcePath, MessagePresenter& presenter,
                     MessageWording wording = systemWording);

// True when PcmWorkFile and PcmFormat now hold the source's sound.
bool prepareSourceFile(EngineWorkspace& workspace, const std::string& sourcePath,
                       MessagePresenter& presenter, MessageWording wording = systemWording,
                       ConversionWatch* watch = nullptr);

}  // namespace zv

#endif  // ZV_ENCODER_INPUT_PREPARATION_H
