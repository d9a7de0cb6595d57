#include "insert/web_paths.h"

#include "platform/ascii_case.h"
#include "platform/file_url.h"
#include "webbot/markup/clip_reference.h"
#include "webbot/webbot_text.h"

namespace zv::insert {

using automation::percentEncodePath;

bool pageIsInWeb(std::string_view pageUrl, const automation::WebUrlParts& web) {
  if (!startsWithIgnoringCase(pageUrl, web.server)) return false;
  const std::string_view rest = pageUrl.substr(web.server.size());
  return rest.size() > web.web.size() && rest.substr(0, web.web.size()) == web.web &&
         rest[web.web.size()] == '/';
}

std::optional<std::string> pagePath(std::string_view pageUrl, std::size_t serverLength) {
  const std::size_t lastSlash = pageUrl.rfind('/');
  if (lastSlash == std::string_view::npos || lastSlash < serverLength) return std::nullopt;
  return std::string(pageUrl.substr(serverLength, lastSlash - serverLength));
}

std::string fileNameOf(std::string_view localPath) {
  const std::size_t slash = localPath.rfind('/');
  return std::string(slash == std::string_view::npos ? localPath : localPath.substr(slash + 1));
}

std::string webPathInFolder(std::string_view folder, std::string_view fileName) {
  if (folder.empty()) return percentEncodePath(fileName);
  return std::string(folder) + "/" + percentEncodePath(fileName);
}

std::string clipReference(std::string_view clipName) { return clipReferenceForPath(clipName); }

std::string clipWebPath(std::string_view pageFolder, std::string_view clipName) {
  return std::string(pageFolder) + "/" + clipReference(clipName);
}

ClassPlacement chooseClassPlacement(std::string_view codebase, bool diskBasedWeb,
                                    std::string_view webPart, std::string_view pageFolder) {
  if (codebase.empty() || diskBasedWeb) return {std::string(pageFolder), {}, false};
  std::string folder = std::string(webPart) + std::string(codebase);
  return {folder, folder, true};
}

std::vector<std::string> folderCreationSequence(std::string_view classFolder, std::string_view webPart) {
  std::vector<std::string> folders;
  for (std::size_t i = webPart.size() + 1; i < classFolder.size(); ++i)
    if (classFolder[i] == '/') folders.emplace_back(classFolder.substr(0, i));
  folders.emplace_back(classFolder);
  return folders;
}

std::string previewImageUrl(std::string_view programFolder, std::int32_t buttonCount) {
  return fileUrlForPath(std::string(programFolder) + webbot::previewImageName(buttonCount));
}

bool isInTemporaryFolder(std::string_view path, std::string_view temporaryFolder) {
  return !temporaryFolder.empty() && startsWithIgnoringCase(path, temporaryFolder);
}

}  // namespace zv::insert
