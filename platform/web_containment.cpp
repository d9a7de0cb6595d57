#include "platform/web_containment.h"

#include <string>
#include <system_error>

namespace zv {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinksFollowed = 40;  // as the kernel's own limit for one path

// `path` (absolute) with every symbolic link on it replaced by its target,
// dangling links included (whose targets the standard library's
// weakly_canonical would leave unresolved), "." and ".." taken as the
// kernel takes them, after the links before them. Empty for a loop of
// links or a link that cannot be read.
fs::path resolveLinks(const fs::path& path, int& linksLeft) {
  fs::path resolved = path.root_path();
  for (const fs::path& part : path.relative_path()) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      resolved = resolved.parent_path();
      continue;
    }
    const fs::path next = resolved / part;
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(next, ec))) {
      resolved = next;
      continue;
    }
    if (--linksLeft < 0) return {};
    const fs::path target = fs::read_symlink(next, ec);
    if (ec) return {};
    resolved = resolveLinks(target.is_absolute() ? target : resolved / target, linksLeft);
    if (resolved.empty()) return {};
  }
  return resolved;
}

}  // namespace

fs::path canonicalWebFolder(const fs::path& web) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(web, ec);
  if (ec) return {};
  int linksLeft = kMostLinksFollowed;
  return resolveLinks(absolute, linksLeft);
}

bool liesInsideWeb(const fs::path& web, const fs::path& file) {
  if (web.empty() || file.native().find('\0') != std::string::npos) return false;
  // Every link on the way is resolved, so the result is where the bytes
  // really are (or would be written).
  std::error_code ec;
  int linksLeft = kMostLinksFollowed;
  const fs::path real = resolveLinks(fs::absolute(file, ec), linksLeft);
  if (ec || real.empty()) return false;
  if (real == web) return true;
  const fs::path relative = real.lexically_relative(web);
  return !relative.empty() && *relative.begin() != ".." && !relative.is_absolute();
}

std::optional<fs::path> fileInsideWeb(const fs::path& web, std::string_view path) {
  if (path.find('\0') != std::string_view::npos) return std::nullopt;
  fs::path file = web;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(at, end - at);
    if (segment == "..") return std::nullopt;
    if (!segment.empty() && segment != ".") file /= std::string(segment);
    at = end + 1;
  }
  if (!liesInsideWeb(web, file)) return std::nullopt;
  return file;
}

}  // namespace zv
