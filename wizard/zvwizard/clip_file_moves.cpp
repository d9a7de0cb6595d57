#include "wizard/zvwizard/clip_file_moves.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zv {

namespace {

std::string reasonOf(int error) { return std::strerror(error); }

}  // namespace

std::string copyClipFile(const std::string& from, const std::string& to, bool replace) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return reasonOf(errno);
  std::string partial = to + ".XXXXXX";
  const int out = ::mkstemp(partial.data());
  if (out < 0) {
    const int error = errno;
    ::close(in);
    return reasonOf(error);
  }
  ::fchmod(out, 0644);
  std::string reason;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      reason = reasonOf(errno);
      break;
    }
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t wrote = ::write(out, buffer + done, static_cast<size_t>(got - done));
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote < 0) {
        reason = reasonOf(errno);
        break;
      }
      done += wrote;
    }
    if (!reason.empty()) break;
  }
  ::close(in);
  if (reason.empty() && ::fsync(out) != 0) reason = reasonOf(errno);
  if (::close(out) != 0 && reason.empty()) reason = reasonOf(errno);
  if (reason.empty()) {
    const int placed = replace ? ::rename(partial.c_str(), to.c_str()) : ::link(partial.c_str(), to.c_str());
    if (placed != 0) reason = reasonOf(errno);
  }
  ::unlink(partial.c_str());
  return reason;
}

std::string moveClipFile(const std::string& from, const std::string& to, bool replace) {
  const int placed = replace ? ::rename(from.c_str(), to.c_str()) : ::link(from.c_str(), to.c_str());
  if (placed == 0) {
    if (!replace) ::unlink(from.c_str());
    return {};
  }
  if (errno == EEXIST) return reasonOf(errno);
  // Another file system, or one without hard links: copy, then delete.
  std::string reason = copyClipFile(from, to, replace);
  if (reason.empty()) ::unlink(from.c_str());
  return reason;
}

}  // namespace zv
