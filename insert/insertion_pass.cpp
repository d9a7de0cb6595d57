#include "insert/insertion_pass.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "insert/automation/automation_contract.h"
#include "insert/automation/frontpage_calls.h"
#include "insert/automation/web_url.h"
#include "insert/insert_strings.h"
#include "player/player_files.h"
#include "insert/message_text.h"
#include "insert/web_paths.h"
#include "platform/ascii_case.h"
#include "webbot/webbot_text.h"

namespace zv::insert {

const std::vector<std::string_view> kPlayerFileExtensions = {".class", ".js", ".wasm"};

namespace {

using automation::CreateFailure;
using automation::EditorCalls;
using automation::ExplorerCalls;
using automation::PercentDecode;
using automation::WebUrlParts;

constexpr char kCaption[] = "Z&V Tavelworks";

class Pass {
 public:
  explicit Pass(InsertionEnvironment& environment) : env_(environment) {}
  PassOutcome run();

 private:
  void inform(unsigned id, std::initializer_list<std::string_view> values = {});
  bool ask(unsigned id, std::initializer_list<std::string_view> values);
  void checkPlayerFiles(ExplorerCalls& explorer, const WebUrlParts& web, const ClassPlacement& placement);
  void addPlayerFiles(ExplorerCalls& explorer, const std::string& classFolder);
  std::vector<std::string> playerFileNames() const;

  InsertionEnvironment& env_;
};

void Pass::inform(unsigned id, std::initializer_list<std::string_view> values) {
  env_.messages.present({kCaption, FillPlaceholders(loadString(kInsertStrings, id), values),
                         MessageKind::Information});
}

bool Pass::ask(unsigned id, std::initializer_list<std::string_view> values) {
  const MessageAnswer answer = env_.messages.present(
      {kCaption, FillPlaceholders(loadString(kInsertStrings, id), values), MessageKind::Question});
  return answer == MessageAnswer::Yes;
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

void Pass::addPlayerFiles(ExplorerCalls& explorer, const std::string& classFolder) {
  const std::vector<std::string> names = playerFileNames();
  if (names.empty()) return;
  std::unique_ptr<StatusDisplay> status = env_.openStatus();
  int counter = 0;
  for (const std::string& name : names) {
    const std::string source = env_.programFolder + name;
    const std::string target = WebPathInFolder(classFolder, name);
    status->setProgress(++counter);
    status->setText(FillPlaceholders(loadString(kInsertStrings, kStatusAdding), {PercentDecode(target)}));
    if (explorer.addFile(source, target) == 0) inform(kMsgAddFailed, {source, PercentDecode(target)});
  }
}

void Pass::checkPlayerFiles(ExplorerCalls& explorer, const WebUrlParts& web, const ClassPlacement& placement) {
  // Browsers today play the clip with the web player, whose script stands
  // in the class folder beside any class files: its presence says the
  // player's files are there.
  const std::string playerUrl =
      web.server + placement.classFolder + "/" + automation::PercentEncodePath(player::kPlayerScript);
  if (explorer.fileExists(playerUrl)) return;
  if (!ask(kMsgAddClassFiles, {PercentDecode(placement.classFolder), env_.programFolder})) return;
  if (placement.usesCodebase)
    for (const std::string& folder : FolderCreationSequence(placement.classFolder, web.web))
      explorer.makeFolder(folder);
  addPlayerFiles(explorer, placement.classFolder);
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

  const std::string webUrl = explorer.webUrl();
  if (webUrl.empty()) {
    inform(kMsgNoWebOpen);
    return PassOutcome::NoWebOpen;
  }
  const std::optional<WebUrlParts> web = automation::SplitWebUrl(webUrl);
  if (!web) return PassOutcome::MalformedUrl;
  const bool diskBased = automation::IsDiskBasedWeb(webUrl);

  const std::optional<WizardRecord> record = env_.runWizard();
  if (!record) return PassOutcome::Cancelled;

  const std::string previewUrl = PreviewImageUrl(env_.programFolder, record->buttonCount);
  const std::string clipName = FileNameOf(record->clipFile);

  const std::string pageUrl = editor.pageUrl();
  if (pageUrl.find('/') == std::string::npos) return PassOutcome::MalformedUrl;
  // A page outside the open web would give web paths that point nowhere (or
  // somewhere else): say so rather than copy anything.
  const std::optional<std::string> pagePath = PagePath(pageUrl, web->server.size());
  if (!pagePath || !PageIsInWeb(pageUrl, *web)) {
    inform(kMsgPageNotInWeb, {pageUrl, webUrl, record->clipFile});
    return PassOutcome::PageNotInWeb;
  }
  const std::string clipWebPath = ClipWebPath(*pagePath, clipName);
  const ClassPlacement placement = ChooseClassPlacement(record->codebase, diskBased, web->web, *pagePath);

  checkPlayerFiles(explorer, *web, placement);

  bool copyClip = true;
  if (explorer.fileExists(web->server + clipWebPath) &&
      !ask(kMsgClipPresent, {PercentDecode(clipWebPath)})) {
    // The new clip stays where the wizard left it, so the author can still use it.
    inform(kMsgClipNotUpdated, {PercentDecode(clipWebPath), record->clipFile});
    copyClip = false;
  }
  if (copyClip) {
    if (explorer.addFile(record->clipFile, clipWebPath) == 0) {
      inform(kMsgAddFailed, {record->clipFile, PercentDecode(clipWebPath)});
    } else if (IsInTemporaryFolder(record->clipFile, env_.temporaryFolder)) {
      // A clip the wizard made in the temporary folder is now in the web; a
      // gallery clip lies elsewhere and stays.
      std::error_code ignored;
      std::filesystem::remove(record->clipFile, ignored);
    }
  }

  AppletSettings settings = record->settings();
  settings.codebase = placement.codebaseValue.c_str();
  editor.insertHtml(webbot::FormatWebBotText(settings, previewUrl, ClipReference(clipName)));
  return PassOutcome::Inserted;
}

}  // namespace

PassOutcome RunInsertionPass(InsertionEnvironment& environment) { return Pass(environment).run(); }

}  // namespace zv::insert
