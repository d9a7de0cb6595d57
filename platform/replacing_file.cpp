#include "platform/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <utility>

namespace zv {

namespace {

// A name part that differs between calls, threads and processes; O_EXCL
// settles the rare collision by trying again.
std::string uniqueSuffix(unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const unsigned long long mix =
      (static_cast<unsigned long long>(getpid()) << 32) ^ static_cast<unsigned long long>(now) ^
      (static_cast<unsigned long long>(counter.fetch_add(1)) << 16) ^ attempt;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", mix);
  return text;
}

}  // namespace

ReplacingFile::~ReplacingFile() { abandon(); }

bool ReplacingFile::open(const std::string& destination) {
  abandon();
  for (unsigned attempt = 0; attempt < 16; ++attempt) {
    std::string candidate = destination + "." + uniqueSuffix(attempt) + ".part";
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    stream_ = fdopen(fd, "wb");
    if (!stream_) {
      const int saved = errno;
      ::close(fd);
      ::unlink(candidate.c_str());
      errno = saved;
      return false;
    }
    destination_ = destination;
    partial_ = std::move(candidate);
    return true;
  }
  return false;
}

bool ReplacingFile::commit(Sync sync) {
  if (!stream_) return false;
  bool ok = std::fflush(stream_) == 0 && (sync == Sync::CacheOnly || fsync(fileno(stream_)) == 0);
  ok = (std::fclose(stream_) == 0) && ok;
  stream_ = nullptr;
  if (ok) ok = std::rename(partial_.c_str(), destination_.c_str()) == 0;
  if (!ok) ::unlink(partial_.c_str());
  partial_.clear();
  return ok;
}

void ReplacingFile::abandon() {
  if (!stream_) return;
  std::fclose(stream_);
  stream_ = nullptr;
  ::unlink(partial_.c_str());
  partial_.clear();
}

}  // namespace zv
