#include "insert/automation/frontpage_calls.h"

#include "insert/automation/automation_contract.h"

namespace zv::automation {

namespace {

std::string asText(const AutomationValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return {};
}

std::int32_t asInteger(const AutomationValue& value) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? 1 : 0;
  return 0;
}

}  // namespace

std::string ExplorerCalls::webUrl() { return asText(object_.invoke(kExplorerWebUrl, {})); }

bool ExplorerCalls::fileExists(const std::string& url) {
  return asInteger(object_.invoke(kExplorerFileExists, {url})) != 0;
}

void ExplorerCalls::makeFolder(const std::string& webPath) {
  object_.invoke(kExplorerMakeFolder, {webPath});
}

std::int32_t ExplorerCalls::addFile(const std::string& localPath, const std::string& webPath) {
  // The third argument is always true: replace a file of that name.
  return asInteger(object_.invoke(kExplorerAddFile, {localPath, webPath, true}));
}

std::string EditorCalls::pageUrl() { return asText(object_.invoke(kEditorPageUrl, {})); }

void EditorCalls::insertHtml(const std::string& html) { object_.invoke(kEditorInsertHtml, {html}); }

}  // namespace zv::automation
