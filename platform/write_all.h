// Writing a whole buffer to a file descriptor: write() may take only part of
// it (a pipe, a terminal, a signal), so the rest is written until all is out
// or the descriptor fails.
#ifndef ZV_PLATFORM_WRITE_ALL_H
#define ZV_PLATFORM_WRITE_ALL_H

#include <string_view>

namespace zv {

// Writes every byte of `bytes` to `fd` (retrying after EINTR). True when all
// were written; false (errno set) at the first failed write.
bool writeAll(int fd, std::string_view bytes);

}  // namespace zv

#endif  // ZV_PLATFORM_WRITE_ALL_H
