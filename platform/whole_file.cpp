#include "platform/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zv {

bool readWholeFile(const std::string& path, std::string& bytes, std::string& why) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    why = std::strerror(errno);
    return false;
  }
  bytes.clear();
  char block[65536];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
  const bool ok = !std::ferror(file);
  if (!ok) why = std::strerror(errno);
  std::fclose(file);
  return ok;
}

}  // namespace zv
