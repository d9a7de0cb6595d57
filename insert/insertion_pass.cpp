#include "insert/insertion_pass.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "automation/automation_contract.h"
#include "automation/frontpage_calls.h"
#include "automation/web_url.h"
#include "insert/insert_strings.h"
#include "player/player_files.h"
#include "insert/message_text.h"
#include "insert/web_paths.h"
#include "platform/ascii_case.h"
#include "webbot/webbot_text.h"

namespace zv::insert {

namespace {

using automation::CallAnswer;
using automation::CallFailure;
using automation::CreateFailure;
using automation::EditorCalls;
using automation::ExplorerCalls;
using automation::percentDecode;
using automation::WebUrlParts;

constexpr char kCaption[] = "Z&V Tavelworks";
// The programs as the system's messages name them.
constexpr char kEditorName[] = "FrontPage Editor";
constexpr char kExplorerName[] = "FrontPage Explorer";

// A program that did not answer, or is gone, can do nothing more for the
// pass; a call it failed may still leave the pass something to do.
bool isLost(CallFailure failure) { return failure == CallFailure::NoAnswer || failure == CallFailure::Gone; }

// A step either lets the pass go on (nullopt) or ends it with an outcome.
using StepEnd = std::optional<PassOutcome>;

class Pass {
 public:
  explicit Pass(InsertionEnvironment& environment) : env_(environment) {}
  PassOutcome run();

 private:
  std::string text(unsigned id, std::initializer_list<std::string_view> values = {}) const;
  void inform(unsigned id, std::initializer_list<std::string_view> values = {});
  void informText(const std::string& message);
  bool ask(unsigned id, std::initializer_list<std::string_view> values);
  // Where the wizard's clip was kept, for a message that ends the pass
  // without it in the web; empty before the wizard or once it is deleted.
  std::string clipKeptNote() const;
  // Ends the pass for a call to `program` that got no usable answer;
  // `more` is said after why.
  PassOutcome lost(const char* program, CallFailure failure, const std::string& more = {});
  StepEnd checkPlayerFiles(ExplorerCalls& explorer, const WebUrlParts& web, const ClassPlacement& placement);
  StepEnd makeClassFolders(ExplorerCalls& explorer, const WebUrlParts& web, const ClassPlacement& placement,
                           bool& made);
  StepEnd addPlayerFiles(ExplorerCalls& explorer, const std::string& classFolder);
  // Takes the clip this pass added out of the web again; the sentence that
  // says how that went.
  std::string takeClipOut(ExplorerCalls& explorer, const std::string& clipPath);
  std::vector<std::string> playerFileNames() const;

  InsertionEnvironment& env_;
  const WizardRecord* record_ = nullptr;
  bool incomplete_ = false;  // a player file or folder could not be added
};

std::string Pass::text(unsigned id, std::initializer_list<std::string_view> values) const {
  return fillPlaceholders(loadString(kInsertStrings, id), values);
}

void Pass::inform(unsigned id, std::initializer_list<std::string_view> values) { informText(text(id, values)); }

void Pass::informText(const std::string& message) {
  env_.messages.present({kCaption, message, MessageKind::Information});
}

bool Pass::ask(unsigned id, std::initializer_list<std::string_view> values) {
  const MessageAnswer answer = env_.messages.present({kCaption, text(id, values), MessageKind::Question});
  return answer == MessageAnswer::Yes;
}

std::string Pass::clipKeptNote() const {
  std::error_code ignored;
  if (!record_ || !std::filesystem::exists(record_->clipFile, ignored)) return {};
  return text(kMsgClipKept, {record_->clipFile});
}

PassOutcome Pass::lost(const char* program, CallFailure failure, const std::string& more) {
  switch (failure) {
    case CallFailure::NoAnswer:
      informText(text(kMsgNoAnswer, {program, program}) + more + clipKeptNote());
      return PassOutcome::NoAnswer;
    case CallFailure::Gone:
      informText(text(kMsgProgramGone, {program, program}) + more + clipKeptNote());
      return PassOutcome::ProgramGone;
    case CallFailure::Failed:
    case CallFailure::None:
      break;
  }
  informText(text(kMsgProgramFailed, {program}) + more + clipKeptNote());
  return PassOutcome::ProgramFailed;
}

std::vector<std::string> Pass::playerFileNames() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(env_.programFolder, error)) {
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    const std::string name = entry.path().filename().string();
    for (const std::string_view extension : kPlayerFileExtensions)
      if (name.size() > extension.size() && endsWithIgnoringCase(name, extension)) names.push_back(name);
  }
  if (error) std::cerr << "ZvInsertBot: cannot list " << env_.programFolder << ": " << error.message() << "\n";
  std::sort(names.begin(), names.end());
  return names;
}

StepEnd Pass::addPlayerFiles(ExplorerCalls& explorer, const std::string& classFolder) {
  const std::vector<std::string> names = playerFileNames();
  if (names.empty()) return std::nullopt;
  std::unique_ptr<StatusDisplay> status = env_.openStatus();
  int counter = 0;
  for (const std::string& name : names) {
    const std::string source = env_.programFolder + name;
    const std::string target = webPathInFolder(classFolder, name);
    status->setProgress(++counter);
    status->setText(fillPlaceholders(loadString(kInsertStrings, kStatusAdding), {percentDecode(target)}));
    const CallAnswer<bool> added = explorer.addFile(source, target);
    if (isLost(added.failure))
      return lost(kExplorerName, added.failure);
    if (!added.value) {
      inform(kMsgAddFailed, {source, percentDecode(target)});
      incomplete_ = true;
    }
  }
  return std::nullopt;
}

StepEnd Pass::makeClassFolders(ExplorerCalls& explorer, const WebUrlParts& web, const ClassPlacement& placement,
                               bool& made) {
  made = true;
  for (const std::string& folder : folderCreationSequence(placement.classFolder, web.web)) {
    const CallAnswer<bool> folderMade = explorer.makeFolder(folder);
    if (isLost(folderMade.failure))
      return lost(kExplorerName, folderMade.failure);
    if (!folderMade.value) {
      // The player's files would have nowhere to go: say which folder, and
      // where the files are for adding them by hand.
      inform(kMsgFolderNotMade, {percentDecode(folder), env_.programFolder});
      incomplete_ = true;
      made = false;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

StepEnd Pass::checkPlayerFiles(ExplorerCalls& explorer, const WebUrlParts& web, const ClassPlacement& placement) {
  // Browsers today play the clip with the web player, whose script stands
  // in the class folder beside any class files: its presence says the
  // player's files are there.
  const std::string playerPath = webPathInFolder(placement.classFolder, player::kPlayerScript);
  const std::string playerUrl =
      web.server + placement.classFolder + "/" + automation::percentEncodePath(player::kPlayerScript);
  const CallAnswer<bool> present = explorer.fileExists(playerUrl);
  if (present.failure == CallFailure::Failed) {
    informText(text(kMsgExistsUnknown, {percentDecode(playerPath)}) + clipKeptNote());
    return PassOutcome::ExistsUnknown;
  }
  if (!present.answered()) return lost(kExplorerName, present.failure);
  if (present.value) return std::nullopt;
  if (!ask(kMsgAddClassFiles, {percentDecode(placement.classFolder), env_.programFolder})) return std::nullopt;
  if (placement.usesCodebase) {
    bool made = false;
    if (StepEnd end = makeClassFolders(explorer, web, placement, made)) return end;
    if (!made) return std::nullopt;
  }
  return addPlayerFiles(explorer, placement.classFolder);
}

std::string Pass::takeClipOut(ExplorerCalls& explorer, const std::string& clipPath) {
  const CallAnswer<bool> removed = explorer.removeFile(clipPath);
  return text(removed.answered() && removed.value ? kMsgClipTakenOut : kMsgClipNotTakenOut,
              {percentDecode(clipPath)});
}

PassOutcome Pass::run() {
  automation::CreatedObject editorObject = env_.automation.create(automation::kEditorProgramId);
  if (!editorObject.object) {
    std::cerr << "ZvInsertBot: " << automation::kEditorProgramId << ": " << editorObject.detail << "\n";
    inform(editorObject.failure == CreateFailure::ClassNotRegistered ? kMsgEditorNotRegistered : kMsgEditorError);
    return PassOutcome::EditorUnavailable;
  }
  automation::CreatedObject explorerObject = env_.automation.create(automation::kExplorerProgramId);
  if (!explorerObject.object) {
    std::cerr << "ZvInsertBot: " << automation::kExplorerProgramId << ": " << explorerObject.detail << "\n";
    inform(explorerObject.failure == CreateFailure::ClassNotRegistered ? kMsgExplorerNotRegistered
                                                                        : kMsgExplorerError);
    return PassOutcome::ExplorerUnavailable;
  }
  EditorCalls editor(*editorObject.object);
  ExplorerCalls explorer(*explorerObject.object);

  const CallAnswer<std::string> webUrl = explorer.webUrl();
  if (!webUrl.answered()) return lost(kExplorerName, webUrl.failure);
  if (webUrl.value.empty()) {
    inform(kMsgNoWebOpen);
    return PassOutcome::NoWebOpen;
  }
  const std::optional<WebUrlParts> web = automation::splitWebUrl(webUrl.value);
  if (!web) return PassOutcome::MalformedUrl;
  const bool diskBased = automation::isDiskBasedWeb(webUrl.value);

  // The wizard waits for the author as long as the author takes; the
  // programs may come and go meanwhile, which the calls after it find out.
  const WizardRun wizard = env_.runWizard();
  if (wizard.end == WizardEnd::Cancelled) return PassOutcome::Cancelled;
  if (wizard.end == WizardEnd::Failed) {
    inform(kMsgWizardFailed, {std::to_string(wizard.answer)});
    return PassOutcome::WizardFailed;
  }
  const WizardRecord& record = wizard.record;
  record_ = &record;

  const std::string previewUrl = previewImageUrl(env_.programFolder, record.buttonCount);
  const std::string clipName = fileNameOf(record.clipFile);

  const CallAnswer<std::string> pageUrl = editor.pageUrl();
  if (!pageUrl.answered()) return lost(kEditorName, pageUrl.failure);
  if (pageUrl.value.find('/') == std::string::npos) return PassOutcome::MalformedUrl;
  // A page outside the open web would give web paths that point nowhere (or
  // somewhere else): say so rather than copy anything.
  const std::optional<std::string> pageFolder = pagePath(pageUrl.value, web->server.size());
  if (!pageFolder || !pageIsInWeb(pageUrl.value, *web)) {
    inform(kMsgPageNotInWeb, {pageUrl.value, webUrl.value, record.clipFile});
    return PassOutcome::PageNotInWeb;
  }
  const std::string clipPath = clipWebPath(*pageFolder, clipName);
  const ClassPlacement placement = chooseClassPlacement(record.codebase, diskBased, web->web, *pageFolder);

  if (StepEnd end = checkPlayerFiles(explorer, *web, placement)) return *end;

  // Only an answer of the Explorer may let a clip of that name be replaced
  // without the question.
  const CallAnswer<bool> clipPresent = explorer.fileExists(web->server + clipPath);
  if (clipPresent.failure == CallFailure::Failed) {
    informText(text(kMsgExistsUnknown, {percentDecode(clipPath)}) + clipKeptNote());
    return PassOutcome::ExistsUnknown;
  }
  if (!clipPresent.answered()) return lost(kExplorerName, clipPresent.failure);
  bool copyClip = true;
  if (clipPresent.value && !ask(kMsgClipPresent, {percentDecode(clipPath)})) {
    // The new clip stays where the wizard left it, so the author can still use it.
    inform(kMsgClipNotUpdated, {percentDecode(clipPath), record.clipFile});
    copyClip = false;
  }
  // A clip this pass put into the web where none was: the one thing to take
  // out again when the page does not take the player. A clip that replaced
  // one stays, since other pages may name it.
  bool clipAddedAnew = false;
  if (copyClip) {
    const CallAnswer<bool> added = explorer.addFile(record.clipFile, clipPath);
    if (isLost(added.failure))
      return lost(kExplorerName, added.failure);
    if (!added.value) {
      // A player whose clip is not in the web would be half an insertion.
      // Whatever part of the copy the Explorer left where no clip was goes
      // again.
      inform(kMsgAddFailed, {record.clipFile, percentDecode(clipPath)});
      if (!clipPresent.value) explorer.removeFile(clipPath);
      inform(kMsgPlayerNotInserted);
      return PassOutcome::ClipNotAdded;
    }
    clipAddedAnew = !clipPresent.value;
  }

  AppletSettings settings = record.settings();
  settings.codebase = placement.codebaseValue.c_str();
  const CallAnswer<bool> inserted =
      editor.insertHtml(webbot::formatWebBotText(settings, previewUrl, clipReference(clipName)));
  if (!inserted.answered() || !inserted.value) {
    // An Editor that did not answer may still insert the text later, so its
    // clip stays in the web; otherwise the page is as it was, and so is the
    // web.
    const bool pageUnchanged = inserted.failure != CallFailure::NoAnswer;
    const std::string takenOut = clipAddedAnew && pageUnchanged ? takeClipOut(explorer, clipPath) : std::string();
    if (inserted.answered() || inserted.failure == CallFailure::Failed) {
      informText(text(kMsgInsertRefused, {pageUrl.value}) + takenOut + clipKeptNote());
      return PassOutcome::InsertRefused;
    }
    return lost(kEditorName, inserted.failure, takenOut);
  }
  if (copyClip && isInTemporaryFolder(record.clipFile, env_.temporaryFolder)) {
    // A clip the wizard made in the temporary folder is now in the web and
    // on the page; a gallery clip lies elsewhere and stays.
    std::error_code ignored;
    std::filesystem::remove(record.clipFile, ignored);
  }
  return incomplete_ ? PassOutcome::InsertedIncomplete : PassOutcome::Inserted;
}

}  // namespace

PassOutcome runInsertionPass(InsertionEnvironment& environment) { return Pass(environment).run(); }

}  // namespace zv::insert
