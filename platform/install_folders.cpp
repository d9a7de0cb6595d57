#include "platform/install_folders.h"

#include <filesystem>

#include "platform/install_layout.h"
#include "platform/module.h"

namespace zv {

std::string folderFrom(std::string_view folder, std::string_view relative) {
  if (folder.empty()) return {};
  std::filesystem::path path{std::string(folder)};
  if (!relative.empty()) path /= std::string(relative);
  std::string normal = path.lexically_normal().string();
  if (normal.empty() || normal.back() != '/') normal += '/';
  return normal;
}

std::string privateDataFolderOfProgram() {
  return folderFrom(programFolder(), layout::kPrivateDataFromProgram);
}

}  // namespace zv
