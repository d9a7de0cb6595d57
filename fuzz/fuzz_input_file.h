// The engine's readers take file paths: a fuzz input is written to one
// private temporary file per process (created on first use, removed at
// exit) and the reader is pointed at it.
#ifndef ZV_FUZZ_FUZZ_INPUT_FILE_H
#define ZV_FUZZ_FUZZ_INPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "platform/temporary_file.h"

namespace zv::fuzz {

class FuzzFile {
 public:
  explicit FuzzFile(const char* prefix) : path_(createTemporaryFile(prefix)) {
    if (path_.empty()) std::abort();
  }
  ~FuzzFile() { ::unlink(path_.c_str()); }

  const std::string& path() const { return path_; }

  // Replaces the file's content with the bytes.
  void write(const std::uint8_t* data, std::size_t size) const {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
  }

 private:
  std::string path_;
};

}  // namespace zv::fuzz

#endif  // ZV_FUZZ_FUZZ_INPUT_FILE_H
