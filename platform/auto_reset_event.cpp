#include "platform/auto_reset_event.h"

namespace zv {

void AutoResetEvent::set() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = true;
  }
  signalled_changed_.notify_one();
}

void AutoResetEvent::reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  signalled_ = false;
}

bool AutoResetEvent::tryWait() {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool was = signalled_;
  signalled_ = false;
  return was;
}

void AutoResetEvent::wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  signalled_changed_.wait(lock, [this] { return signalled_; });
  signalled_ = false;
}

}  // namespace zv
