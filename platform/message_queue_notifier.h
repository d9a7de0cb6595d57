// A JobNotifier that keeps the posted messages in a thread-safe queue, for
// receivers without an event loop of their own (the command line, tests).
//
// Besides the job's messages, the owner may push a wake-up of its own
// (wake()), e.g. when it learns that the worker thread ended, so that a
// receiver blocked in waitNext() never waits for a message that will not come.
#ifndef ZV_PLATFORM_MESSAGE_QUEUE_NOTIFIER_H
#define ZV_PLATFORM_MESSAGE_QUEUE_NOTIFIER_H

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/job_notifier.h"

namespace zv {

struct PostedMessage {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
};

class MessageQueueNotifier : public JobNotifier {
 public:
  void post(unsigned message, std::uintptr_t wParam) noexcept override;

  // Makes a pending or later waitNext() return (with nothing) once.
  void wake();

  // Waits without time limit for the next message or a wake-up. Returns the
  // message, or nothing for a wake-up.
  std::optional<PostedMessage> waitNext();

  // Removes and returns every message queued so far, oldest first.
  std::vector<PostedMessage> takeAll();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<PostedMessage> queue_;
  bool woken_ = false;
};

}  // namespace zv

#endif  // ZV_PLATFORM_MESSAGE_QUEUE_NOTIFIER_H
