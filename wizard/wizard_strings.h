// The wizard library's string table: every text its pages and dialogs show
// in a message or build from a pattern, looked up by id.
//
// Ids the system fixes are kept as they are; 10510 to 10513, 10520 to 10523, 10530 to 10534
// and 30202 are the wizard's own texts for failures and outcomes that would
// otherwise go unexplained, 311xx and 312xx its help and about texts.
// Messages use the application title (engine string 57344) as their caption.
#ifndef ZV_WIZARD_WIZARD_STRINGS_H
#define ZV_WIZARD_WIZARD_STRINGS_H

#include <string>
#include <string_view>

#include "platform/message_presenter.h"
#include "platform/string_table.h"

namespace zv {

enum WizardStringId : unsigned {
  // The sheet: its About entry (a menu text, "&&" is one ampersand), its
  // caption, and the help and about texts.
  kIdsAboutEntry = 101,
  kIdsWizardCaption = 102,
  kIdsHelpCaption = 31100,          // %s: the page's title
  kIdsHelpWaveInput = 31103,
  kIdsHelpWaveCompression = 31104,
  kIdsHelpAppletProperties = 31106,
  kIdsHelpWaveRecord = 31108,
  kIdsHelpWaveOutput = 31109,
  kIdsAboutCaption = 31200,
  kIdsAboutText = 31201,

  // Input page: the gallery list and the file chooser's filter (Qt's
  // "name (patterns);;name (patterns)" form).
  kIdsNoGalleryClips = 10000,
  kIdsSoundFileFilter = 30100,

  // Finish: the clip moved into place and copied to the gallery.
  kIdsGalleryOverwrite = 30300,     // %s: the gallery file
  kIdsClipNotRenamed = 10530,       // %s: the clip's path
  kIdsGalleryCopyFailed = 10531,    // %s: the gallery file
  kIdsSystemReason = 10532,         // %s: the system's reason
  kIdsWorkingFilesNotCreated = 10533,  // %s: the temporary folder
  kIdsMarkupNotMade = 10534,        // %s: the applet's tag
  kIdsLibraryNotStarted = 10535,    // %s: why the library's start-up failed

  // Applet page: the play count.
  kIdsPlayCountNotNumber = 10300,
  kIdsPlayCountOutOfRange = 10301,

  // Output page: the name rule.
  kIdsNameBadCharacter = 10500,     // %c: the character
  kIdsNameHasSpace = 10501,
  kIdsNameEmpty = 10502,

  // Compression page and progress dialog.
  kIdsCompressionFailed = 10510,    // %s: why, as describeJobEnd() says it
  kIdsDecompressionFailed = 10511,  // %s: why
  kIdsCodecNotInstalled = 10512,    // %s: the codec's display name
  kIdsStreamFileNotCreated = 10513, // %s: the temporary folder

  // Record page and test playback: a sound device that cannot be opened.
  kIdsInputDeviceFailed = 10520,    // %s: the device's reason
  kIdsOutputDeviceFailed = 10521,   // %s: the device's reason
  kIdsRecordingNotWritten = 10522,  // %s: the recording's file
  kIdsInputDeviceStopped = 10523,   // %s: the device's reason
  kIdsRecordIntroduction = 30400,

  // Output page: the proposed name and the chart.
  kIdsRecordedFileName = 30050,
  kIdsChartOriginal = 30200,
  kIdsChartCompressed = 30201,      // %d:1 ratio, %d%% size
  kIdsChartNothingCompressed = 30202,
};

// The wizard's table: every text above, exactly as shown to the user.
StringTable wizardStringTable();

// The text of `id` with its placeholder (if any) replaced by `value`.
std::string wizardMessage(unsigned id, std::string_view value = {});

// Shows wizardMessage(id, value) as an information message with the
// application title as caption, through `presenter`.
void showWizardMessage(MessagePresenter& presenter, unsigned id, std::string_view value = {});

}  // namespace zv

#endif  // ZV_WIZARD_WIZARD_STRINGS_H
