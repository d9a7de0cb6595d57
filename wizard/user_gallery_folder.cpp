#include "wizard/user_gallery_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "wizard/gallery_folder.h"

namespace zv {

namespace {

std::string environmentText(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string homeFolder() {
  std::string home = environmentText("HOME");
  if (!home.empty()) return home;
  // A desktop session always sets HOME; a service or a test may not.
  if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir != nullptr)
    home = account->pw_dir;
  return home;
}

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string userGalleryDirectory() {
  std::string dataHome = environmentText("XDG_DATA_HOME");
  if (dataHome.empty() || dataHome.front() != '/') {
    const std::string home = homeFolder();
    if (home.empty()) return {};
    dataHome = pathInFolder(home, ".local/share");
  }
  return pathInFolder(withoutTrailingSlashes(dataHome), kUserGalleryFromDataHome);
}

}  // namespace zv
