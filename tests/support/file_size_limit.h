// A ceiling on the size of every file this process writes, for as long as
// the object lives: the kernel then refuses writes beyond it (EFBIG), as a
// disk that fills up would, through the very write() calls the code under
// test makes. SIGXFSZ, which would end the process, is ignored meanwhile.
#ifndef ZV_TESTS_SUPPORT_FILE_SIZE_LIMIT_H
#define ZV_TESTS_SUPPORT_FILE_SIZE_LIMIT_H

#include <sys/resource.h>

#include <csignal>

namespace zv::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &before_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = before_;
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, previous_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  // False when the limit could not be set (the test cannot show anything).
  bool active() const { return active_; }

 private:
  rlimit before_{};
  void (*previous_handler_)(int) = SIG_DFL;
  bool active_ = false;
};

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_FILE_SIZE_LIMIT_H
