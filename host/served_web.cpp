#include "host/served_web.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/file_url.h"
#include "platform/replacing_file.h"
#include "platform/whole_file.h"
#include "platform/web_containment.h"

namespace zv::host {

namespace fs = std::filesystem;

namespace {

// The whole file, the reason for a failure dropped (the callers say what
// they could not read).
bool readWholeFile(const fs::path& path, std::string& content) {
  std::string why;
  return zv::readWholeFile(path.string(), content, why);
}

// Writes `parts` one after the other into a new file that replaces
// `destination` only when complete.
bool writeReplacing(const fs::path& destination, std::initializer_list<std::string_view> parts, std::string& why) {
  ReplacingFile out;
  if (!out.open(destination.string())) {
    why = "cannot create a file beside " + destination.string() + ": " + std::strerror(errno);
    return false;
  }
  for (const std::string_view part : parts) {
    if (!part.empty() && std::fwrite(part.data(), 1, part.size(), out.stream()) != part.size()) {
      why = "cannot write " + destination.string() + ": " + std::strerror(errno);
      return false;
    }
  }
  if (!out.commit()) {
    why = "cannot save " + destination.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

std::string trimTrailingSlash(std::string url) {
  while (url.size() > 1 && url.back() == '/' && url[url.size() - 2] != '/') url.pop_back();
  return url;
}

}  // namespace

std::optional<ServedWeb> ServedWeb::open(const ServeOptions& options, std::string& error) {
  std::error_code code;
  ServedWeb web;
  web.folder_ = canonicalWebFolder(options.web);
  if (web.folder_.empty() || !fs::is_directory(web.folder_, code)) {
    error = "the web folder " + options.web.string() + " is not a folder";
    return std::nullopt;
  }
  const fs::path page = options.page.is_absolute() ? options.page : web.folder_ / options.page;
  web.page_ = fs::weakly_canonical(page, code);
  if (code || web.page_ == web.folder_ || !liesInsideWeb(web.folder_, page)) {
    error = "the page " + options.page.string() + " is not inside the web folder " + web.folder_.string();
    return std::nullopt;
  }
  if (!fs::is_regular_file(web.page_, code)) {
    error = "the page " + web.page_.string() + " is not a file";
    return std::nullopt;
  }
  web.web_url_ = options.url ? trimTrailingSlash(*options.url) : fileUrlForPath(web.folder_.string());
  const auto parts = automation::splitWebUrl(web.web_url_);
  if (web.web_url_.empty() || !parts) {
    error = "the web URL \"" + web.web_url_ + "\" has no slash";
    return std::nullopt;
  }
  web.parts_ = *parts;

  std::string content;
  if (!readWholeFile(web.page_, content)) {
    error = "cannot read the page " + web.page_.string();
    return std::nullopt;
  }
  if (options.at) {
    if (*options.at > content.size()) {
      error = "the insertion point " + std::to_string(*options.at) + " lies beyond the end of the page (" +
              std::to_string(content.size()) + " bytes)";
      return std::nullopt;
    }
    web.caret_ = *options.at;
  } else if (options.marker) {
    const std::size_t found = options.marker->empty() ? std::string::npos : content.find(*options.marker);
    if (found == std::string::npos) {
      error = "the marker \"" + *options.marker + "\" is not in the page";
      return std::nullopt;
    }
    web.caret_ = found;
  }
  return web;
}

std::string ServedWeb::pageUrl() const {
  return web_url_ + "/" + automation::percentEncodePath(page_.lexically_relative(folder_).generic_string());
}

std::optional<fs::path> ServedWeb::fileForWebPath(std::string_view webPath) const {
  std::string_view rest = webPath;
  if (!webPath.empty() && webPath.front() == '/') {
    // A web path of this web: the web part, then nothing or a slash.
    if (webPath.substr(0, parts_.web.size()) != parts_.web) return std::nullopt;
    rest = webPath.substr(parts_.web.size());
    if (!rest.empty() && rest.front() != '/') return std::nullopt;
  }
  // else: a bare path, taken from the web's top folder.
  // The one containment rule of the webs webhost serves (NUL bytes, ".."
  // segments and links out of the web refused).
  return fileInsideWeb(folder_, automation::percentDecode(rest));
}

std::optional<fs::path> ServedWeb::fileForUrl(std::string_view url) const {
  if (!startsWithIgnoringCase(url, parts_.server)) return std::nullopt;
  const std::string_view rest = url.substr(parts_.server.size());
  if (rest.empty() || rest.front() != '/') return std::nullopt;
  return fileForWebPath(rest);
}

bool ServedWeb::fileExists(std::string_view url) const {
  const auto file = fileForUrl(url);
  std::error_code code;
  return file && fs::exists(*file, code);
}

bool ServedWeb::makeFolder(std::string_view webPath, std::string& why) const {
  const auto folder = fileForWebPath(webPath);
  if (!folder) {
    why = "not a path in this web";
    return false;
  }
  std::error_code code;
  fs::create_directories(*folder, code);
  // The non-throwing form: a name the system refuses (too long, say) is an
  // answer to the caller, never an exception out of the automation call.
  std::error_code statCode;
  if (!fs::is_directory(*folder, statCode)) {
    why = "cannot make the folder " + folder->string() + (code ? ": " + code.message() : std::string());
    return false;
  }
  return true;
}

bool ServedWeb::addFile(std::string_view localPath, std::string_view webPath, bool replace, std::string& why) const {
  const auto target = fileForWebPath(webPath);
  if (!target) {
    why = "not a path in this web";
    return false;
  }
  const fs::path source(localPath);
  std::error_code code;
  if (!fs::is_regular_file(source, code)) {
    why = "the file " + source.string() + " does not exist";
    return false;
  }
  if (fs::is_directory(*target, code)) {
    why = target->string() + " is a folder";
    return false;
  }
  if (!replace && fs::exists(*target, code)) {
    why = target->string() + " exists already";
    return false;
  }
  std::string content;
  if (!readWholeFile(source, content)) {
    why = "cannot read " + source.string();
    return false;
  }
  fs::create_directories(target->parent_path(), code);
  return writeReplacing(*target, {content}, why);
}

bool ServedWeb::removeFile(std::string_view webPath, std::string& why) const {
  const auto target = fileForWebPath(webPath);
  if (!target) {
    why = "not a path in this web";
    return false;
  }
  std::error_code code;
  if (fs::is_directory(*target, code)) {
    why = target->string() + " is a folder";
    return false;
  }
  fs::remove(*target, code);
  if (code) {
    why = "cannot remove " + target->string() + ": " + code.message();
    return false;
  }
  return true;
}

bool ServedWeb::insertText(std::string_view text, std::string& why) {
  std::string content;
  if (!readWholeFile(page_, content)) {
    why = "cannot read the page " + page_.string();
    return false;
  }
  // The page may have changed on disk since the last call: keep the point inside it.
  const std::size_t point = caret_ ? static_cast<std::size_t>(std::min<std::uint64_t>(*caret_, content.size()))
                                   : content.size();
  struct stat before {};
  const bool hadMode = ::stat(page_.c_str(), &before) == 0;
  // The page is saved by replacing it, which only the folder's permission
  // governs; a page marked read-only is left alone all the same. A page
  // without any write permission counts as read-only for root too.
  if (hadMode && (::access(page_.c_str(), W_OK) != 0 || (before.st_mode & 0222) == 0)) {
    why = "the page " + page_.string() + " is read-only";
    return false;
  }
  if (!writeReplacing(page_, {std::string_view(content).substr(0, point), text,
                              std::string_view(content).substr(point)},
                      why))
    return false;
  if (hadMode) ::chmod(page_.c_str(), before.st_mode & 07777);
  if (caret_) caret_ = point + text.size();
  return true;
}

}  // namespace zv::host
