#include "host/preview_site.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "host/page_parser.h"
#include "platform/ascii_case.h"
#include "platform/html_escape.h"
#include "platform/web_containment.h"
#include "platform/whole_file.h"
#include "player/player_files.h"
#include "webbot/markup/clip_reference.h"

namespace zv::host {

namespace fs = std::filesystem;

namespace {

bool isPage(const fs::path& path) {
  const std::string extension = path.extension().string();
  return equalsIgnoringCase(extension, ".htm") || equalsIgnoringCase(extension, ".html");
}

PreviewReply errorPage(int status, std::string_view title, std::string_view detail) {
  PreviewReply reply;
  reply.status = status;
  reply.contentType = "text/html; charset=utf-8";
  reply.body = "<!DOCTYPE html>\n<html><head><title>" + escapeHtmlText(title) + "</title></head><body>\n<h1>" +
               escapeHtmlText(title) + "</h1>\n<pre>" + escapeHtmlText(detail) + "</pre>\n</body></html>\n";
  return reply;
}

// True when a segment of `path` names a dotfile or a dot-folder ("."
// itself aside): such files (.git, .htaccess, an editor's .swp...) are the
// author's tools, not pages for visitors.
bool namesAHiddenFile(std::string_view path) {
  std::size_t at = 0;
  while (at < path.size()) {
    std::size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(at, end - at);
    if (segment.size() > 1 && segment[0] == '.' && segment != "..") return true;
    at = end + 1;
  }
  return false;
}

}  // namespace

std::string mediaTypeOf(const fs::path& file) {
  static constexpr std::pair<const char*, const char*> kTypes[] = {
      {".htm", "text/html"},           {".html", "text/html"},
      {".js", "text/javascript"},      {".mjs", "text/javascript"},
      {".wasm", "application/wasm"},   {".css", "text/css"},
      {".json", "application/json"},   {".txt", "text/plain"},
      {".gif", "image/gif"},           {".png", "image/png"},
      {".jpg", "image/jpeg"},          {".jpeg", "image/jpeg"},
      {".svg", "image/svg+xml"},       {".ico", "image/vnd.microsoft.icon"},
      {".wav", "audio/wav"},           {".au", "audio/basic"},
      {".class", "application/java-vm"},
  };
  const std::string extension = file.extension().string();
  for (const auto& [suffix, type] : kTypes) {
    if (equalsIgnoringCase(extension, suffix)) return type;
  }
  return "application/octet-stream";
}

PreviewSite::PreviewSite(fs::path web, fs::path playerFolder, ExpandSource expandSource,
                         std::ostream& log)
    : player_folder_(std::move(playerFolder)), expand_source_(std::move(expandSource)), log_(log) {
  web_ = canonicalWebFolder(web);
}

PreviewReply PreviewSite::get(std::string_view path) {
  if (path.empty() || path.front() != '/') return errorPage(404, "Not found", std::string(path));
  if (namesAHiddenFile(path)) return errorPage(404, "Not found", std::string(path) + " is not in the web");
  const std::optional<fs::path> inside = fileInsideWeb(web_, path);
  if (!inside) return errorPage(403, "Forbidden", "the path leads outside the web");

  const fs::path& target = *inside;
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) return serveFolder(target, path);
  // A regular file, or something else where one is expected (a FIFO, a
  // socket, a device), which then answers 500: it is there but cannot be
  // served.
  if (fs::exists(status)) return serveFile(target, path);

  // The player's files, when the web does not have them yet.
  const std::string name = target.filename().string();
  if (!player_folder_.empty() && player::isPlayerFile(name) && fs::is_regular_file(player_folder_ / name, ec)) {
    return serveFile(player_folder_ / name, path);
  }
  return errorPage(404, "Not found", std::string(path) + " is not in the web");
}

OpenFile::~OpenFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

OpenFile::OpenFile(OpenFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(other.size_) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    size_ = other.size_;
  }
  return *this;
}

PreviewReply PreviewSite::serveFile(const fs::path& file, std::string_view path) {
  if (isPage(file)) return publish(file, path);
  // O_NONBLOCK: a FIFO put where a file was must not hold the server.
  const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return errorPage(500, "Cannot read the file", std::strerror(errno));
  PreviewReply reply;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = errno;
    ::close(descriptor);
    return errorPage(500, "Cannot read the file",
                     S_ISREG(status.st_mode) ? std::strerror(error) : "not a regular file");
  }
  reply.file = OpenFile(descriptor, static_cast<std::uint64_t>(status.st_size));
  reply.contentType = mediaTypeOf(file);
  if (reply.file.size() > kFileBytesInMemory) return reply;
  // A small file is read now, so that the answer is complete at once.
  reply.body.resize(reply.file.size());
  std::size_t done = 0;
  while (done < reply.body.size()) {
    const ssize_t got = ::pread(descriptor, reply.body.data() + done, reply.body.size() - done,
                                static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return errorPage(500, "Cannot read the file", got < 0 ? std::strerror(errno) : "it got shorter");
    done += static_cast<std::size_t>(got);
  }
  reply.file = OpenFile();
  return reply;
}

PreviewReply PreviewSite::serveFolder(const fs::path& folder, std::string_view path) {
  if (path.back() != '/') {
    PreviewReply reply;
    reply.status = 301;
    reply.location = std::string(path) + '/';
    reply.contentType = "text/plain";
    reply.body = "Moved to " + reply.location + "\n";
    return reply;
  }
  std::error_code ec;
  for (const char* index : {"index.htm", "index.html", "default.htm", "default.html"}) {
    if (fs::is_regular_file(folder / index, ec)) return serveFile(folder / index, path);
  }
  std::vector<std::string> names;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.front() == '.') continue;
    if (it->is_directory(ec)) name += '/';
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  PreviewReply reply;
  reply.contentType = "text/html; charset=utf-8";
  reply.body = "<!DOCTYPE html>\n<html><head><title>" + escapeHtmlText(path) + "</title></head><body>\n<h1>" +
               escapeHtmlText(path) + "</h1>\n<ul>\n";
  for (const std::string& name : names) {
    const bool folderName = name.back() == '/';
    const std::string href = clipReferenceForPath(folderName ? name.substr(0, name.size() - 1) : name) +
                             (folderName ? "/" : "");
    reply.body += "<li><a href=\"" + href + "\">" + escapeHtmlText(name) + "</a></li>\n";
  }
  reply.body += "</ul>\n</body></html>\n";
  return reply;
}

PreviewReply PreviewSite::publish(const fs::path& page, std::string_view path) {
  std::string text;
  std::string why;
  if (!readWholeFile(page.string(), text, why)) return errorPage(500, "Cannot read the page", why);
  std::lock_guard lock(mutex_);
  PublishedPage published = publishPage(text, expand_source_);
  std::string problems;
  for (const PageDiagnostic& d : published.diagnostics) {
    std::string line = page.string();
    if (d.offset) {
      const TextPosition at = positionOf(text, *d.offset);
      line += ':' + std::to_string(at.line) + ':' + std::to_string(at.column);
    }
    line += std::string(": ") + (d.error ? "error" : "warning") + ": " + d.message;
    log_ << "webhost: " << line << '\n';
    problems += line + '\n';
  }
  log_.flush();
  if (!published.ok) return errorPage(500, "The page cannot be published: " + std::string(path), problems);
  PreviewReply reply;
  reply.contentType = "text/html";
  reply.body = std::move(published.text);
  return reply;
}

}  // namespace zv::host
