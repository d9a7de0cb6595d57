#include "encoder/job_runner.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "encoder/convert_job.h"
#include "encoder/decode_job.h"
#include "encoder/encode_job.h"

namespace zv {

namespace {

// Below-normal priority for the calling thread: on Linux the nice value is a
// per-thread attribute, so raising it (which needs no privilege) affects
// this worker only. Failure is harmless and ignored.
void lowerThisThreadPriority() {
  const pid_t thread = static_cast<pid_t>(syscall(SYS_gettid));
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
  if (errno == 0 && current < 19) setpriority(PRIO_PROCESS, static_cast<id_t>(thread), current + 1);
}

}  // namespace

JobRunner::~JobRunner() {
  if (worker_.joinable()) {
    cancel();
    worker_.join();
  }
}

bool JobRunner::start(JobMode mode, JobContext& context, JobEnvironment environment,
                      std::function<void(JobEnd)> onThreadEnd) {
  if (worker_.joinable()) return false;
  context_ = &context;
  context.CancelEvent.reset();
  finished_.store(false);
  end_ = JobEnd::ThreadNotStarted;
  try {
    worker_ = std::thread([this, mode, &context, environment = std::move(environment),
                           onThreadEnd = std::move(onThreadEnd)]() {
      lowerThisThreadPriority();
      const JobEnd end = mode == JobMode::Encode   ? EncodeJob(context, environment)
                         : mode == JobMode::Decode ? DecodeJob(context, environment)
                                                   : convertJob(context, environment);
      end_ = end;
      finished_.store(true);
      if (onThreadEnd) onThreadEnd(end);
    });
  } catch (const std::system_error&) {
    context_ = nullptr;
    return false;
  }
  return true;
}

void JobRunner::cancel() {
  if (context_) context_->CancelEvent.set();
}

JobEnd JobRunner::join() {
  if (worker_.joinable()) worker_.join();
  context_ = nullptr;
  return end_;
}

}  // namespace zv
