// The progress dialog's end of a job's messages: each message a worker posts
// becomes a queued event for a QObject, delivered on that object's thread by
// its event loop. This is how WM_JOB_PROGRESS and WM_JOB_DONE cross from the
// worker to the dialog without the worker ever waiting for it.
#ifndef ZV_WIZARD_QUEUED_JOB_NOTIFIER_H
#define ZV_WIZARD_QUEUED_JOB_NOTIFIER_H

#include <QEvent>

#include <cstdint>

#include "platform/job_notifier.h"

class QObject;

namespace zv {

// One message from a worker thread: the message number and its wParam.
class JobMessageEvent : public QEvent {
 public:
  JobMessageEvent(unsigned message, std::uintptr_t wParam)
      : QEvent(eventType()), message_(message), w_param_(wParam) {}

  unsigned message() const { return message_; }
  std::uintptr_t wParam() const { return w_param_; }

  // The event type, registered with Qt once per process.
  static QEvent::Type eventType();

 private:
  unsigned message_;
  std::uintptr_t w_param_;
};

// Posts every message as a JobMessageEvent to `receiver`. Safe to call from
// any thread; never blocks. Events still queued when the receiver is
// destroyed are discarded by Qt.
class QueuedJobNotifier : public JobNotifier {
 public:
  explicit QueuedJobNotifier(QObject* receiver) : receiver_(receiver) {}
  void post(unsigned message, std::uintptr_t wParam) noexcept override;

 private:
  QObject* receiver_;
};

}  // namespace zv

#endif  // ZV_WIZARD_QUEUED_JOB_NOTIFIER_H
