// An owned C stream that closes itself, and the length of an open file.
#ifndef ZV_ENCODER_FILE_HANDLE_H
#define ZV_ENCODER_FILE_HANDLE_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace zv {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Buffer of the streams the jobs read and write frame by frame: frames are
// a few hundred bytes, so a larger buffer saves most of the system calls.
inline constexpr std::size_t kJobStreamBufferBytes = 64 * 1024;

// fopen() into an owned handle (empty on failure). With `bufferBytes`, the
// stream gets a buffer of that size (fully buffered).
inline FileHandle openFile(const std::string& path, const char* mode,
                           std::size_t bufferBytes = 0) {
  FileHandle file(std::fopen(path.c_str(), mode));
  if (file && bufferBytes > 0) std::setvbuf(file.get(), nullptr, _IOFBF, bufferBytes);
  return file;
}

// The file's length in bytes, leaving the position at the start; nothing
// when it cannot be found (e.g. not a regular, seekable file).
inline std::optional<std::uint64_t> fileLength(std::FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return std::nullopt;
  const off_t end = ftello(file);
  if (end < 0 || fseeko(file, 0, SEEK_SET) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(end);
}

}  // namespace zv

#endif  // ZV_ENCODER_FILE_HANDLE_H
