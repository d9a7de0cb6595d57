#include "wizard/queued_job_notifier.h"

#include <QCoreApplication>

namespace zv {

QEvent::Type JobMessageEvent::eventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void QueuedJobNotifier::post(unsigned message, std::uintptr_t wParam) noexcept {
  // postEvent takes ownership of the event and is thread-safe. Allocation
  // failure is the only way it could throw; losing one progress message is
  // better than ending the worker, and a lost end message is covered by the
  // thread-end message that follows it.
  try {
    QCoreApplication::postEvent(receiver_, new JobMessageEvent(message, wParam));
  } catch (...) {
  }
}

}  // namespace zv
