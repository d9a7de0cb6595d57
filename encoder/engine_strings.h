// The encoding engine's string table and the way its messages are shown.
//
// Ids below 10410 (and 57344, 2000x, 2005x) are the system's fixed texts;
// 10206 and 10410 to 10421 are the engine's texts for failures that would
// otherwise leave the user without any explanation (damaged or truncated
// files, impossible format fields, a failed conversion, a sound too long).
#ifndef ZV_ENCODER_ENGINE_STRINGS_H
#define ZV_ENCODER_ENGINE_STRINGS_H

#include <string>
#include <string_view>

#include "platform/message_presenter.h"
#include "platform/string_table.h"

namespace zv {

enum EngineStringId : unsigned {
  kIdsApplicationTitle = 57344,   // "Z&V Tavelworks": caption of every message

  kIdsCodecNameLower = 20000,
  kIdsCodecNameMedium = 20001,
  kIdsCodecNameHighest = 20002,
  kIdsCodecDescriptionLower = 20050,
  kIdsCodecDescriptionMedium = 20051,
  kIdsCodecDescriptionHighest = 20052,

  kIdsFileDoesNotExist = 10200,        // %s: file name
  kIdsAuUnsupportedEncoding = 10201,
  kIdsNeitherWavNorAu = 10202,
  kIdsStereoNotSupported = 10203,
  kIdsAuHeaderWrong = 10204,
  kIdsAuOutOfMemory = 10205,
  kIdsAuIntermediateNotWritten = 10206,  // %s: intermediate WAV path

  kIdsSelectSourceFile = 10400,
  kIdsNotSupportedWav = 10401,
  kIdsWavNotPcm = 10402,
  kIdsInvalidFileName = 10403,         // %s: file name
  kIdsWavOutOfMemory = 10404,

  kIdsWavChunkPastEnd = 10410,
  kIdsWavNoAudioData = 10411,
  kIdsWavImpossibleFormat = 10412,
  kIdsConversionFailed = 10413,
  kIdsWavShortRead = 10414,            // %s: file name
  kIdsWavRateNotConvertible = 10415,   // %d: sample rate in Hz
  kIdsSoundTooLong = 10416,
  kIdsWavExtensionTooShort = 10417,
  kIdsWavUnknownSubFormat = 10418,
  kIdsWavValidBitsAboveContainer = 10419,  // %d: valid bits per sample
  kIdsSoundNoAudioData = 10420,
  kIdsSoundRateNotConvertible = 10421,  // %d: sample rate in Hz

  kIdsJobOutOfMemory = 10503,
};

// The engine's table: every text above, exactly as shown to the user.
StringTable engineStringTable();

// The text of `id` with its placeholder (if any) replaced by `value`.
std::string engineMessage(unsigned id, std::string_view value = {});

// Shows engineMessage(id, value) as an information message with the
// application title as caption, through `presenter`.
void showEngineMessage(MessagePresenter& presenter, unsigned id, std::string_view value = {});

// Shows an already formatted text (e.g. LastErrorText) the same way.
void showEngineText(MessagePresenter& presenter, const std::string& text);

}  // namespace zv

#endif  // ZV_ENCODER_ENGINE_STRINGS_H
