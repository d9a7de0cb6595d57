#include "encoder/progress_throttle.h"

#include "encoder/job_context.h"

namespace zv {

ProgressThrottle::ProgressThrottle(const TickSource& ticks, JobNotifier* notifier)
    : ticks_(ticks ? ticks : TickSource(tickCountMs)), notifier_(notifier) {
  last_tick_ms_ = ticks_();  // the job's start counts as the last message
}

void ProgressThrottle::frameDone(std::uint64_t done, std::uint64_t whole) {
  const std::uint64_t nowMs = ticks_();
  if (nowMs <= last_tick_ms_ + kProgressIntervalMs) return;
  last_tick_ms_ = nowMs;
  if (!notifier_ || whole == 0) return;
  std::uint64_t percent = done * 100 / whole;
  if (percent > 100) percent = 100;
  notifier_->post(WM_JOB_PROGRESS, static_cast<std::uintptr_t>(percent));
}

}  // namespace zv
