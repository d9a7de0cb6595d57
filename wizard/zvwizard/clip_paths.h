// Small questions about paths that zvwizard's two roads both ask, answered
// from the path's text or the file system as it is now.
#ifndef ZV_WIZARD_ZVWIZARD_CLIP_PATHS_H
#define ZV_WIZARD_ZVWIZARD_CLIP_PATHS_H

#include <string>

namespace zv {

// "b.zvsa" of "/a/b.zvsa"; the path itself when it has no slash.
std::string fileNameOf(const std::string& path);
// "/a" of "/a/b.zvsa", "/" of "/b.zvsa", "." of "b.zvsa".
std::string folderOf(const std::string& path);
// True when `path` names a folder (after links).
bool isFolder(const std::string& path);
// True when anything has that name, a dangling link too.
bool pathExists(const std::string& path);
// True when both paths name the same file.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_CLIP_PATHS_H
