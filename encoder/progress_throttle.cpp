#include "encoder/progress_throttle.h"

#include "encoder/job_context.h"

namespace zv {

ProgressThrottle::ProgressThrottle(const TickSource& ticks, JobNotifier* notifier)
    : ticks_(ticks ? ticks : TickSource(tickCountMs)), notifier_(notifier), last_tick_(ticks_()) {}

void ProgressThrottle::frameDone(std::uint64_t done, std::uint64_t whole) {
  const std::uint64_t now = ticks_();
  if (now <= last_tick_ + kProgressIntervalMs) return;
  last_tick_ = now;
  if (!notifier_ || whole == 0) return;
  std::uint64_t percent = done * 100 / whole;
  if (percent > 100) percent = 100;
  notifier_->post(WM_JOB_PROGRESS, static_cast<std::uintptr_t>(percent));
}

}  // namespace zv
