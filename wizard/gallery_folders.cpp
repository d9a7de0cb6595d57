#include "wizard/gallery_folders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "wizard/gallery_folder.h"
#include "wizard/user_gallery_folder.h"

namespace zv {

GalleryFolders galleryFoldersWith(const std::string& shipped) {
  return {shipped, userGalleryDirectory()};
}

std::vector<std::string> listGalleryClips(const GalleryFolders& folders) {
  std::vector<std::string> names = listGalleryClips(folders.shipped);
  if (!folders.user.empty()) {
    const std::vector<std::string> own = listGalleryClips(folders.user);
    names.insert(names.end(), own.begin(), own.end());
  }
  // The order puts equal names side by side, so unique() leaves each once.
  std::sort(names.begin(), names.end(), galleryClipNameBefore);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string galleryClipPath(const GalleryFolders& folders, const std::string& clipFileName) {
  if (!folders.user.empty()) {
    const std::string own = pathInFolder(folders.user, clipFileName);
    std::error_code error;
    if (std::filesystem::is_regular_file(own, error)) return own;
  }
  return pathInFolder(folders.shipped, clipFileName);
}

}  // namespace zv
