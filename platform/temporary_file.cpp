#include "platform/temporary_file.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace zv {

std::string temporaryDirectory() {
  const char* fromEnvironment = std::getenv("TMPDIR");
  std::string directory = (fromEnvironment && *fromEnvironment) ? fromEnvironment : "/tmp";
  if (directory.back() != '/') directory += '/';
  return directory;
}

std::string createUniqueFile(std::string_view directory, std::string_view prefix) {
  std::string pattern(directory);
  if (!pattern.empty() && pattern.back() != '/') pattern += '/';
  pattern.append(prefix);
  pattern += "XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = mkstemp(buffer.data());
  if (fd < 0) return {};
  close(fd);
  return std::string(buffer.data());
}

std::string createTemporaryFile(std::string_view prefix) {
  return createUniqueFile(temporaryDirectory(), prefix);
}

}  // namespace zv
