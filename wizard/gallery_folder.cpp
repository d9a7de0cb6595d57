#include "wizard/gallery_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/ascii_case.h"
#include "platform/install_folders.h"
#include "platform/install_layout.h"

namespace zv {

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool galleryClipNameBefore(const std::string& a, const std::string& b) {
  const auto lowerBefore = [](char x, char y) {
    return static_cast<unsigned char>(asciiLower(x)) < static_cast<unsigned char>(asciiLower(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerBefore)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerBefore)) return false;
  return a < b;
}

std::string pathInFolder(const std::string& directory, const std::string& fileName) {
  if (directory.empty()) return fileName;
  if (directory.back() == '/') return directory + fileName;
  return directory + '/' + fileName;
}

std::string galleryDirectoryIn(const std::string& libraryFolder) {
  return pathInFolder(folderFrom(libraryFolder, layout::kPrivateDataFromLibrary), kGalleryFolderName);
}

std::vector<std::string> listGalleryClips(const std::string& directory) {
  std::vector<std::string> names;
  const std::string extension = kClipExtension;
  std::error_code error;
  std::filesystem::directory_iterator entries(directory, error);
  if (error) return names;
  for (const auto& entry : entries) {
    const std::string fileName = entry.path().filename().string();
    // A file named only ".zvsa" would give an empty clip name.
    if (fileName.size() <= extension.size() || !endsWith(fileName, extension)) continue;
    std::error_code statusError;
    if (!entry.is_regular_file(statusError)) continue;
    names.push_back(fileName.substr(0, fileName.size() - extension.size()));
  }
  std::sort(names.begin(), names.end(), galleryClipNameBefore);
  return names;
}

}  // namespace zv
