#include "automation/frontpage_calls.h"

#include "automation/automation_contract.h"

namespace zv::automation {

namespace {

CallAnswer<std::string> asText(CallResult result) {
  if (result.failure != CallFailure::None) return {{}, result.failure};
  if (auto* text = std::get_if<std::string>(&result.value)) return {std::move(*text), CallFailure::None};
  return {{}, CallFailure::Failed};
}

// A boolean answer, or a 32-bit integer where 0 means no.
CallAnswer<bool> asFlag(const CallResult& result) {
  if (result.failure != CallFailure::None) return {false, result.failure};
  if (const auto* flag = std::get_if<bool>(&result.value)) return {*flag, CallFailure::None};
  if (const auto* number = std::get_if<std::int32_t>(&result.value)) return {*number != 0, CallFailure::None};
  return {false, CallFailure::Failed};
}

}  // namespace

CallAnswer<std::string> ExplorerCalls::webUrl() { return asText(object_.invoke(kExplorerWebUrl, {})); }

CallAnswer<bool> ExplorerCalls::fileExists(const std::string& url) {
  return asFlag(object_.invoke(kExplorerFileExists, {url}));
}

CallAnswer<bool> ExplorerCalls::makeFolder(const std::string& webPath) {
  return asFlag(object_.invoke(kExplorerMakeFolder, {webPath}));
}

CallAnswer<bool> ExplorerCalls::addFile(const std::string& localPath, const std::string& webPath) {
  // The third argument is always true: replace a file of that name.
  return asFlag(object_.invoke(kExplorerAddFile, {localPath, webPath, true}));
}

CallAnswer<bool> ExplorerCalls::removeFile(const std::string& webPath) {
  return asFlag(object_.invoke(kExplorerRemoveFile, {webPath}));
}

CallAnswer<std::string> EditorCalls::pageUrl() { return asText(object_.invoke(kEditorPageUrl, {})); }

CallAnswer<bool> EditorCalls::insertHtml(const std::string& html) {
  return asFlag(object_.invoke(kEditorInsertHtml, {html}));
}

}  // namespace zv::automation
