// The receiving end of a worker job's messages: the stand-in for posting a
// window message to a dialog.
//
// A job calls post() from its worker thread; an implementation must return at
// once without waiting for the receiver (the Qt progress dialog posts a queued
// event to itself, the command line and the tests append to their own queue,
// see MessageQueueNotifier). Messages posted by one thread arrive in order.
#ifndef ZV_PLATFORM_JOB_NOTIFIER_H
#define ZV_PLATFORM_JOB_NOTIFIER_H

#include <cstdint>

namespace zv {

// First message number free for a program's own messages (as WM_USER).
inline constexpr unsigned kUserMessageBase = 0x400;

class JobNotifier {
 public:
  virtual ~JobNotifier() = default;
  // Queues one message with its first parameter. Must not block, must not
  // throw, and may be called from any thread.
  virtual void post(unsigned message, std::uintptr_t wParam) noexcept = 0;
};

}  // namespace zv

#endif  // ZV_PLATFORM_JOB_NOTIFIER_H
