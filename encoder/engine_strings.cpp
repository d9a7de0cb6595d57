#include "encoder/engine_strings.h"

namespace zv {

namespace {

constexpr StringTableEntry kEngineStrings[] = {
    {kIdsApplicationTitle, "Z&V Tavelworks"},

    {kIdsCodecNameLower, "Lower quality sound"},
    {kIdsCodecNameMedium, "Medium quality sound"},
    {kIdsCodecNameHighest, "Highest quality sound"},
    {kIdsCodecDescriptionLower,
     "This compression offers the highest compression ratio.  This compression should only be "
     "used for speech."},
    {kIdsCodecDescriptionMedium,
     "This compression offers the second highest compression ratio.  This compression should "
     "only be used for speech."},
    {kIdsCodecDescriptionHighest,
     "This compression offers the highest quality sound.  This compression is good for general "
     "audio."},

    {kIdsFileDoesNotExist, "The file \"%s\" does not exist.  Please select a valid audio file."},
    {kIdsAuUnsupportedEncoding,
     "This is not a supported AU audio file format.  It needs to be a 8-bit linear PCM mono, "
     "16-bit linear PCM mono, 8-bit mu-law mono or 8-bit a-law mono."},
    {kIdsNeitherWavNorAu,
     "This file is neither a PC WAV audio format nor an AU audio format.  Please select another "
     "file."},
    {kIdsStereoNotSupported, "This file contains stereo data.  Stereo formats are not supported."},
    {kIdsAuHeaderWrong,
     "The header on this AU file contains wrong data.  The file may be corrupt."},
    {kIdsAuOutOfMemory,
     "There is not enough memory to process the AU file conversion.  The conversion was "
     "aborted."},
    {kIdsAuIntermediateNotWritten,
     "The AU file could not be converted because the file \"%s\" cannot be written."},

    {kIdsSelectSourceFile,
     "You need to select an source audio file.  You may use the button to the right to browse "
     "for a file."},
    {kIdsNotSupportedWav,
     "Either this is not a WAV file or it is not a supported format.  Please select a valid WAV "
     "file."},
    {kIdsWavNotPcm,
     "This WAV file is not in PCM format.  Please select a file in PCM format or use another "
     "audio file program to convert this file to PCM."},
    {kIdsInvalidFileName,
     "The name \"%s\" is not a valid file name or path.  You may browse for the correct file by "
     "pressing the button to the right."},
    {kIdsWavOutOfMemory,
     "There is not enough memory to process the WAV file conversion.  The conversion was "
     "aborted."},

    {kIdsWavChunkPastEnd,
     "This WAV file is damaged: a part of it runs past the end of the file.  Please select "
     "another file."},
    {kIdsWavNoAudioData, "This WAV file contains no audio data.  Please select another file."},
    {kIdsWavImpossibleFormat,
     "The format of this WAV file names no channels, no sample rate or an unsupported sample "
     "width.  The file may be corrupt."},
    {kIdsConversionFailed,
     "The audio could not be converted to 8000 Hz mono 16-bit PCM.  The conversion was "
     "aborted."},
    {kIdsWavShortRead,
     "The file \"%s\" could not be read to its end.  The file may be damaged."},
    {kIdsWavRateNotConvertible,
     "The sample rate of this WAV file (%d Hz) cannot be converted.  Please select another "
     "file."},
    {kIdsSoundTooLong,
     "This sound is too long: at 8000 Hz mono 16-bit it would take more than 4 GB.  Please "
     "select a shorter file."},
    {kIdsWavExtensionTooShort,
     "The format of this WAV file announces an extended format record, but its \"fmt \" chunk "
     "is too short to hold it.  The file may be corrupt."},
    {kIdsWavUnknownSubFormat,
     "This WAV file names a sub-format that is not known.  Please select a file in PCM or "
     "floating-point format."},
    {kIdsWavValidBitsAboveContainer,
     "The format of this WAV file gives its samples more valid bits (%d) than they hold.  The "
     "file may be corrupt."},
    {kIdsSoundNoAudioData, "This sound file contains no audio data.  Please select another file."},
    {kIdsSoundRateNotConvertible,
     "The sample rate of this sound file (%d Hz) cannot be converted.  Please select another "
     "file."},

    {kIdsJobOutOfMemory,
     "There is not enough memory to process the compression or decompression file conversion.  "
     "The process was aborted."},
};

}  // namespace

StringTable engineStringTable() { return kEngineStrings; }

std::string engineMessage(unsigned id, std::string_view value) {
  return loadMessage(kEngineStrings, id, value);
}

void showEngineText(MessagePresenter& presenter, const std::string& text) {
  MessageRequest request;
  request.caption = loadString(kEngineStrings, kIdsApplicationTitle);
  request.text = text;
  request.kind = MessageKind::Information;
  presenter.present(request);
}

void showEngineMessage(MessagePresenter& presenter, unsigned id, std::string_view value) {
  showEngineText(presenter, engineMessage(id, value));
}

}  // namespace zv
