// Folders of the installation found from a folder we know (the running
// program's, or a library's own), by the relative paths of
// platform/install_layout.h.
#ifndef ZV_PLATFORM_INSTALL_FOLDERS_H
#define ZV_PLATFORM_INSTALL_FOLDERS_H

#include <string>
#include <string_view>

namespace zv {

// `folder` followed by the relative path `relative`, with "." and ".."
// resolved by name (the folders a caller has are real paths, so no symbolic
// link is skipped that way), ending in '/'. Empty when `folder` is empty: an
// unknown folder gives an unknown folder, never the current one.
std::string folderFrom(std::string_view folder, std::string_view relative);

// The private data folder (preview images, the web player's files, the
// shipped gallery) of the running program's installation, ending in '/'.
// Empty when the program's folder cannot be found.
std::string privateDataFolderOfProgram();

}  // namespace zv

#endif  // ZV_PLATFORM_INSTALL_FOLDERS_H
