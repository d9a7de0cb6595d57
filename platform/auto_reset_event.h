// An auto-reset event: the stand-in for the kernel event object that a
// progress dialog sets and its worker thread polls.
//
// set() signals the event; the next successful tryWait() or wait() consumes
// the signal and returns the event to non-signalled, so one set() releases one
// waiter. reset() clears a pending signal. All members may be called from any
// thread at any time.
#ifndef ZV_PLATFORM_AUTO_RESET_EVENT_H
#define ZV_PLATFORM_AUTO_RESET_EVENT_H

#include <condition_variable>
#include <mutex>

namespace zv {

class AutoResetEvent {
 public:
  // The event starts non-signalled.
  AutoResetEvent() = default;
  AutoResetEvent(const AutoResetEvent&) = delete;
  AutoResetEvent& operator=(const AutoResetEvent&) = delete;

  // Signals the event (a second set() before it is consumed changes nothing).
  void set();
  // Makes the event non-signalled.
  void reset();
  // Polls without waiting: true (and non-signalled again) if it was signalled.
  bool tryWait();
  // Waits without time limit until the event is signalled, then consumes it.
  void wait();

 private:
  std::mutex mutex_;
  std::condition_variable signalled_changed_;
  bool signalled_ = false;
};

}  // namespace zv

#endif  // ZV_PLATFORM_AUTO_RESET_EVENT_H
