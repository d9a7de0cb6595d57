// Input preparation: the user's source file read, brought to 8000 Hz mono
// 16-bit and written to the workspace's PcmWorkFile, with PcmFormat set.
//
//  1. empty source name: message 10400;
//  2. the source cannot be opened (or is not a regular file, which could
//     block or never end): 10403 with the name;
//  3. its first 4 bytes: "RIFF" is a WAV, ".snd" an AU, anything else 10202;
//  4. AU: ReadAuFile into AuConvertFile, then ReadWaveFile on that;
//     WAV: ReadWaveFile; a failure shows LastErrorText (every reader failure
//     sets a text of its own);
//  5. PcmWorkFile replaced by the converted samples (through a partial file,
//     so a failure keeps its previous content): failure 10200 with the source
//     name;
//  6. PcmFormat = the converted format.
// Each message goes to `presenter` with the application title as caption.
// Every failure leaves PcmWorkFile and PcmFormat as they were.
#ifndef ZV_ENCODER_INPUT_PREPARATION_H
#define ZV_ENCODER_INPUT_PREPARATION_H

#include <string>

#include "encoder/engine_workspace.h"
#include "platform/message_presenter.h"

namespace zv {

// True when PcmWorkFile and PcmFormat now hold the source's sound.
bool prepareSourceFile(EngineWorkspace& workspace, const std::string& sourcePath,
                       MessagePresenter& presenter);

}  // namespace zv

#endif  // ZV_ENCODER_INPUT_PREPARATION_H
