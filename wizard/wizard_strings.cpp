#include "wizard/wizard_strings.h"

#include "encoder/engine_strings.h"

namespace zv {

namespace {

constexpr StringTableEntry kWizardStrings[] = {
    {kIdsPlayCountNotNumber,
     "The Play count value is not a valid number.  Please provide a decimal number between 1 "
     "and 32,767 (without commas)."},
    {kIdsPlayCountOutOfRange,
     "The Play count value is not in a valid range.  Please provide a decimal number between 1 "
     "and 32,767 (without commas)."},

    {kIdsNameBadCharacter, "The character '%c' cannot be used in the compressed audio name."},
    {kIdsNameHasSpace,
     "The compressed audio file name may not contain spaces.  Some web browsers do not support "
     "files containing spaces."},
    {kIdsNameEmpty, "A name for the compressed audio file is needed."},

    {kIdsCompressionFailed,
     "The sound was not compressed because %s.  Please try again or choose another compression "
     "type."},
    {kIdsDecompressionFailed, "The compressed sound could not be decompressed because %s."},
    {kIdsCodecNotInstalled, "%s (not installed)"},
    {kIdsStreamFileNotCreated,
     "The compressed audio file cannot be created in the folder \"%s\".  Please make room there "
     "or choose another temporary folder."},

    {kIdsInputDeviceFailed,
     "The sound input device could not be opened, so nothing is being recorded.  %s"},
    {kIdsOutputDeviceFailed,
     "The sound output device could not be opened, so the sound cannot be played.  %s"},
    {kIdsRecordIntroduction,
     "Record a short voice message.  Press Record to start and Stop when you have finished; "
     "press Play to listen to it.  A new recording replaces the previous one."},
    {kIdsRecordedFileName, "TypeRecordedFileNameHere"},
    {kIdsChartOriginal, "Original"},
    {kIdsChartCompressed, "Compressed (%d:1, %d%%)"},
    {kIdsChartNothingCompressed, "Compressed (nothing was compressed)"},
};

}  // namespace

StringTable wizardStringTable() { return kWizardStrings; }

std::string wizardMessage(unsigned id, std::string_view value) {
  return loadMessage(kWizardStrings, id, value);
}

void showWizardMessage(MessagePresenter& presenter, unsigned id, std::string_view value) {
  // The caption and the message kind are the engine's, so that every
  // message of the library looks the same.
  showEngineText(presenter, wizardMessage(id, value));
}

}  // namespace zv
