#include "platform/message_queue_notifier.h"

#include <utility>

namespace zv {

void MessageQueueNotifier::post(unsigned message, std::uintptr_t wParam) noexcept {
  try {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({message, wParam});
  } catch (...) {
    // Out of memory while queueing: the message is lost, as a full window
    // message queue would lose it; the worker must go on.
    return;
  }
  changed_.notify_all();
}

void MessageQueueNotifier::wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

std::optional<PostedMessage> MessageQueueNotifier::waitNext() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return woken_ || !queue_.empty(); });
  if (!queue_.empty()) {
    PostedMessage next = queue_.front();
    queue_.pop_front();
    return next;
  }
  woken_ = false;
  return std::nullopt;
}

std::vector<PostedMessage> MessageQueueNotifier::takeAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<PostedMessage> all(queue_.begin(), queue_.end());
  queue_.clear();
  return all;
}

}  // namespace zv
