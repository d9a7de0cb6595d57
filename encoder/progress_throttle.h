// Posts WM_JOB_PROGRESS at most once per 125 ms: a message goes out only
// when the tick count exceeds that of the previous message (or of the job's
// start) by more than 125 ms, so a job shorter than that posts none.
#ifndef ZV_ENCODER_PROGRESS_THROTTLE_H
#define ZV_ENCODER_PROGRESS_THROTTLE_H

#include <cstdint>

#include "platform/job_notifier.h"
#include "platform/tick_count.h"

namespace zv {

class ProgressThrottle {
 public:
  // Takes the current tick as the time of the last message. An empty tick
  // source stands for tickCountMs.
  ProgressThrottle(const TickSource& ticks, JobNotifier* notifier);

  // Called after each frame with the work done and the whole. Posts
  // done * 100 / whole (64-bit, truncating, never above 100) when due.
  void frameDone(std::uint64_t done, std::uint64_t whole);

 private:
  TickSource ticks_;
  JobNotifier* notifier_;
  std::uint64_t last_tick_ms_ = 0;
};

}  // namespace zv

#endif  // ZV_ENCODER_PROGRESS_THROTTLE_H
