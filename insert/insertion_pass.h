// The insertion program's one pass: find the Editor and the Explorer, run
// the wizard, copy the clip (and on first use the player's files) into the
// open web, and insert the component's WEBBOT text at the Editor's
// insertion point.
#ifndef ZV_INSERT_INSERTION_PASS_H
#define ZV_INSERT_INSERTION_PASS_H

#include <string>
#include <string_view>
#include <vector>

#include "automation/automation_object.h"
#include "insert/status_display.h"
#include "insert/wizard_record.h"
#include "platform/message_presenter.h"

namespace zv::insert {

// The player's files that the pass copies into the class folder, as
// file-name patterns "*.<extension>" of the program folder: the applet's
// class files, and the web player's script and decoders.
inline constexpr std::string_view kPlayerFileExtensions[] = {".class", ".js", ".wasm"};

struct InsertionEnvironment {
  automation::AutomationConnector& automation;
  WizardRunner runWizard;
  MessagePresenter& messages;
  StatusDisplayFactory openStatus;
  std::string programFolder;    // the folder of the program's files (preview images,
                                // the player's files), ending with '/'
  std::string temporaryFolder;  // the system's temporary folder, ending with '/'
};

// How the pass ended. Only Inserted is a success; every other end but
// Cancelled and MalformedUrl has told the author why.
enum class PassOutcome {
  Inserted,             // the component went to the Editor, with the clip in the web
  InsertedIncomplete,   // so did it, but the player's files are not all there (told)
  EditorUnavailable,    // 10000 / 10001 shown
  ExplorerUnavailable,  // 10100 / 10101 shown
  NoWebOpen,            // 10102 shown
  MalformedUrl,         // a web or page URL without a slash: ended silently
  Cancelled,            // the author did not finish the wizard
  WizardFailed,         // the wizard ended with a failure: told, nothing copied
  PageNotInWeb,         // the page is not in the open web: reported, nothing copied
  ExistsUnknown,        // the Explorer could not say whether a file is there: told, nothing replaced
  ClipNotAdded,         // 10203 for the clip: told, nothing inserted
  InsertRefused,        // the Editor did not take the text: told, the clip taken out again
  NoAnswer,             // a program did not answer in time: told
  ProgramGone,          // a program closed during the pass: told
  ProgramFailed,        // a program could not answer a question of the pass: told
};

PassOutcome runInsertionPass(InsertionEnvironment& environment);

}  // namespace zv::insert

#endif  // ZV_INSERT_INSERTION_PASS_H
