#include "insert/web_paths.h"

#include "platform/ascii_case.h"
#include "platform/file_url.h"
#include "webbot/markup/clip_reference.h"
#include "webbot/webbot_text.h"

namespace zv::insert {

using automation::PercentEncodePath;

bool PageIsInWeb(std::string_view pageUrl, const automation::WebUrlParts& web) {
  if (!startsWithIgnoringCase(pageUrl, web.server)) return false;
  const std::string_view rest = pageUrl.substr(web.server.size());
  return rest.size() > web.web.size() && rest.substr(0, web.web.size()) == web.web &&
         rest[web.web.size()] == '/';
}

std::optional<std::string> PagePath(std::string_view pageUrl, std::size_t serverLength) {
  const std::size_t lastSlash = pageUrl.rfind('/');
  if (lastSlash == std::string_view::npos || lastSlash < serverLength) return std::nullopt;
  return std::string(pageUrl.substr(serverLength, lastSlash - serverLength));
}

std::string FileNameOf(std::string_view localPath) {
  const std::size_t slash = localPath.rfind('/');
  return std::string(slash == std::string_view::npos ? localPath : localPath.substr(slash + 1));
}

std::string WebPathInFolder(std::string_view folder, std::string_view fileName) {
  if (folder.empty()) return PercentEncodePath(fileName);
  return std::string(folder) + "/" + PercentEncodePath(fileName);
}

std::string ClipReference(std::string_view clipName) { return ClipReferenceForPath(clipName); }

std::string ClipWebPath(std::string_view pagePath, std::string_view clipName) {
  return std::string(pagePath) + "/" + ClipReference(clipName);
}

ClassPlacement ChooseClassPlacement(std::string_view codebase, bool diskBasedWeb,
                                    std::string_view webPart, std::string_view pagePath) {
  if (codebase.empty() || diskBasedWeb) return {std::string(pagePath), {}, false};
  std::string folder = std::string(webPart) + std::string(codebase);
  return {folder, folder, true};
}

std::vector<std::string> FolderCreationSequence(std::string_view classFolder, std::string_view webPart) {
  std::vector<std::string> folders;
  for (std::size_t i = webPart.size() + 1; i < classFolder.size(); ++i)
    if (classFolder[i] == '/') folders.emplace_back(classFolder.substr(0, i));
  folders.emplace_back(classFolder);
  return folders;
}

std::string PreviewImageUrl(std::string_view programFolder, std::int32_t buttonCount) {
  return FileUrlForPath(std::string(programFolder) + webbot::PreviewImageName(buttonCount));
}

bool IsInTemporaryFolder(std::string_view path, std::string_view temporaryFolder) {
  return !temporaryFolder.empty() && startsWithIgnoringCase(path, temporaryFolder);
}

}  // namespace zv::insert
