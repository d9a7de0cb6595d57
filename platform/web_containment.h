// What lies inside a web folder: the one rule by which `webhost publish`,
// `preview` and `serve` decide which files of a web they may read or write.
//
//   - A request path is '/'-separated segments, already percent-decoded,
//     taken from the web's top folder; "." and empty segments are dropped.
//   - A NUL byte anywhere, or a ".." segment, puts a path outside.
//   - A symbolic link (the file itself, or a folder on the way to it) is
//     followed only when its target lies inside the web; a link whose target
//     lies outside the web is not followed, and the path counts as outside.
//   - A path that names nothing yet (a file about to be written) lies inside
//     when the part of it that exists does.
#ifndef ZV_PLATFORM_WEB_CONTAINMENT_H
#define ZV_PLATFORM_WEB_CONTAINMENT_H

#include <filesystem>
#include <optional>
#include <string_view>

namespace zv {

// `web` made absolute with every link resolved: the form the two functions
// below expect. Empty when that cannot be done.
std::filesystem::path canonicalWebFolder(const std::filesystem::path& web);

// True when `file` (absolute) is the web folder `web` (canonical) or lies
// inside it, by the rule above.
bool liesInsideWeb(const std::filesystem::path& web, const std::filesystem::path& file);

// The file that the request path `path` names in the web `web` (canonical),
// or nullopt when the path lies outside it.
std::optional<std::filesystem::path> fileInsideWeb(const std::filesystem::path& web,
                                                   std::string_view path);

}  // namespace zv

#endif  // ZV_PLATFORM_WEB_CONTAINMENT_H
