#include "host/preview_site.h"

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
  reply.body = "<!DOCTYPE html>\n<html><head><title>" + EscapeHtmlText(title) + "</title></head><body>\n<h1>" +
               EscapeHtmlText(title) + "</h1>\n<pre>" + EscapeHtmlText(detail) + "</pre>\n</body></html>\n";
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

std::string MediaTypeOf(const fs::path& file) {
  static const std::pair<const char*, const char*> kTypes[] = {
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
    : playerFolder_(std::move(playerFolder)), expandSource_(std::move(expandSource)), log_(log) {
  web_ = CanonicalWebFolder(web);
}

PreviewReply PreviewSite::get(std::string_view path) {
  if (path.empty() || path.front() != '/') return errorPage(404, "Not found", std::string(path));
  if (namesAHiddenFile(path)) return errorPage(404, "Not found", std::string(path) + " is not in the web");
  const std::optional<fs::path> inside = FileInsideWeb(web_, path);
  if (!inside) return errorPage(403, "Forbidden", "the path leads outside the web");

  const fs::path& target = *inside;
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) return serveFolder(target, path);
  if (fs::is_regular_file(status)) return serveFile(target, path);

  // The player's files, when the web does not have them yet.
  const std::string name = target.filename().string();
  if (!playerFolder_.empty() && player::IsPlayerFile(name) && fs::is_regular_file(playerFolder_ / name, ec)) {
    return serveFile(playerFolder_ / name, path);
  }
  return errorPage(404, "Not found", std::string(path) + " is not in the web");
}

PreviewReply PreviewSite::serveFile(const fs::path& file, std::string_view path) {
  if (isPage(file)) return publish(file, path);
  PreviewReply reply;
  std::string why;
  if (!readWholeFile(file.string(), reply.body, why)) return errorPage(500, "Cannot read the file", why);
  reply.contentType = MediaTypeOf(file);
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
  reply.body = "<!DOCTYPE html>\n<html><head><title>" + EscapeHtmlText(path) + "</title></head><body>\n<h1>" +
               EscapeHtmlText(path) + "</h1>\n<ul>\n";
  for (const std::string& name : names) {
    const bool folderName = name.back() == '/';
    const std::string href = ClipReferenceForPath(folderName ? name.substr(0, name.size() - 1) : name) +
                             (folderName ? "/" : "");
    reply.body += "<li><a href=\"" + href + "\">" + EscapeHtmlText(name) + "</a></li>\n";
  }
  reply.body += "</ul>\n</body></html>\n";
  return reply;
}

PreviewReply PreviewSite::publish(const fs::path& page, std::string_view path) {
  std::string text;
  std::string why;
  if (!readWholeFile(page.string(), text, why)) return errorPage(500, "Cannot read the page", why);
  std::lock_guard lock(mutex_);
  PublishedPage published = PublishPage(text, expandSource_);
  std::string problems;
  for (const PageDiagnostic& d : published.diagnostics) {
    std::string line = page.string();
    if (d.offset) {
      const TextPosition at = PositionOf(text, *d.offset);
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
