#include "webbot/bot_folder.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>

#include "platform/ascii_case.h"
#include "platform/install_folders.h"
#include "platform/install_layout.h"

namespace zv::webbot {

std::string mapBotCacheToBots(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (equalsIgnoringCase(path.substr(start, end - start), "botcache")) {
      std::string mapped(path.substr(0, start));
      mapped += "bots";
      mapped += path.substr(end);
      return mapped;
    }
    start = end + 1;
  }
  return std::string(path);
}

std::string componentFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&componentFolder), &info) == 0 || !info.dli_fname) return {};
  std::unique_ptr<char, decltype(&std::free)> real(realpath(info.dli_fname, nullptr), &std::free);
  const std::string file = real ? real.get() : info.dli_fname;
  const std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return {};
  return mapBotCacheToBots(file.substr(0, slash + 1));
}

std::string insertBotPath() {
  const std::string folder = componentFolder();
  return folder.empty() ? std::string() : folder + "ZvInsertBot";
}

std::string previewImageFolder() {
  return folderFrom(componentFolder(), layout::kPrivateDataFromPrivateLibrary);
}

}  // namespace zv::webbot
