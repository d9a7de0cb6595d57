#include "wizard/wizard_strings.h"

#include "encoder/engine_strings.h"

namespace zv {

namespace {

constexpr StringTableEntry kWizardStrings[] = {
    {kIdsAboutEntry, "&About Z&&V Tavelworks..."},
    {kIdsWizardCaption, "Wizard"},
    {kIdsHelpCaption, "Help: %s"},
    {kIdsHelpWaveInput,
     "Choose where the sound for your page comes from.\n\n"
     "\"Select previously compressed file\" takes a clip from the gallery as it is and goes "
     "straight to the player's settings.\n\n"
     "\"Quick voice recording\" lets you record a short message with your microphone on the "
     "next page.\n\n"
     "\"Specify the source audio file\" takes a sound file from your computer: type its path, "
     "or press the \"...\" button to look for it.  Next reads the file and prepares it for "
     "compression."},
    {kIdsHelpWaveCompression,
     "Choose how the sound is compressed.  Medium quality suits speech and gives the smallest "
     "files; highest quality suits music and keeps more of the sound in files about twice as "
     "large.  The box below the list describes the selected choice.\n\n"
     "Next compresses the sound.  A long sound takes a moment; you may cancel the compression "
     "and choose again."},
    {kIdsHelpAppletProperties,
     "Choose how the player looks and behaves on your page: how many buttons it shows, whether "
     "it starts playing by itself, whether it is visible, and how often the clip plays.\n\n"
     "\"View Resulting HTML\" shows the markup that embeds the player; \"Advanced Applet "
     "Attributes\" sets its size, class, alignment and further attributes.  Finish completes "
     "the clip."},
    {kIdsHelpWaveRecord,
     "Record a short voice message.  Press Record to start and Stop when you have finished; "
     "Play lets you listen to it.  Next is available once you have made a recording."},
    {kIdsHelpWaveOutput,
     "Give the compressed audio file a name: letters, digits, parentheses, hyphens and "
     "underscores, without spaces.  The clip is saved under that name with the extension "
     ".zvsa.\n\n"
     "Tick \"Add to gallery\" to keep a copy in the gallery, so that you can choose the clip "
     "again later without compressing it again.  The chart shows how much smaller the "
     "compressed sound is than the original."},
    {kIdsAboutCaption, "About Z&V Tavelworks"},
    {kIdsAboutText,
     "Z&V Tavelworks %s\n\n"
     "Puts sound on web pages as small, streamable clips.  The wizard takes a sound file, a "
     "short voice recording or a clip from the gallery, compresses it for speech (8 kbit/s) "
     "or for music (about 16 kbit/s) into a .zvsa clip, and writes the markup that embeds the "
     "player for it on a page.\n\n"
     "Both codecs are part of Z&V Tavelworks.  Sample rates are converted with the SoX "
     "Resampler library (libsoxr); the windows are made with Qt."},

    {kIdsNoGalleryClips,
     "Either there are no ZVSA files in the Gallery directory or the Gallery directory isn't "
     "there.  You will not be able to choose a gallery audio file."},
    {kIdsSoundFileFilter,
     "Sound (*.wav *.au *.snd *.flac *.ogg *.opus *.mp3 *.aif *.aiff);;All files (*)"},

    {kIdsGalleryOverwrite, "The file \"%s\" already exists.  Would you like to overwrite it?"},
    {kIdsClipNotRenamed,
     "The compressed audio file could not be saved as \"%s\", so the wizard cannot finish "
     "yet.  Go back to choose another name, or press Cancel."},
    {kIdsGalleryCopyFailed,
     "The compressed audio file could not be added to the gallery as \"%s\".  The wizard "
     "finishes without the gallery copy."},
    {kIdsSystemReason, "The system's reason: %s."},
    {kIdsWorkingFilesNotCreated,
     "The wizard cannot start because its working files cannot be created in the folder "
     "\"%s\".  Please make room there, or set TMPDIR to another folder, and try again."},
    {kIdsMarkupNotMade,
     "The HTML for the player could not be made, so the wizard ends without a result.  Check "
     "that the applet tag \"%s\" is a valid element name (Advanced Applet Attributes), and "
     "try again."},
    {kIdsLibraryNotStarted,
     "The wizard cannot start because it cannot find the folder it was installed in (%s).  "
     "Please install Z&V Tavelworks again."},

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
    {kIdsRecordingNotWritten,
     "The recording stopped because it could not be written to the file \"%s\", and it does "
     "not count as a recording.  Please make room there and record again."},
    {kIdsInputDeviceStopped,
     "The sound input device stopped taking sound, so the recording stopped and does not "
     "count as a recording.  %s"},
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
