#include "encoder/convert_job.h"

#include "encoder/input_preparation.h"
#include "encoder/progress_throttle.h"

namespace zv {

namespace {

// CancelEvent is auto-reset: the first poll that sees it consumes it, so
// the answer is kept for the polls that follow.
class JobConversionWatch : public ConversionWatch {
 public:
  JobConversionWatch(JobContext& context, const JobEnvironment& environment)
      : context_(context), progress_(environment.ticks, context.notifyWindow) {}
  bool cancelled() override {
    if (!cancelled_ && context_.CancelEvent.tryWait()) cancelled_ = true;
    return cancelled_;
  }
  void progress(std::uint64_t done, std::uint64_t whole) override { progress_.frameDone(done, whole); }

 private:
  JobContext& context_;
  ProgressThrottle progress_;
  bool cancelled_ = false;
};

JobEnd convert(JobContext& context, const JobEnvironment& environment) {
  JobConversionWatch watch(context, environment);
  if (prepareSourceFile(environment.workspace, context.streamPath, environment.presenter,
                        systemWording, &watch))
    return JobEnd::Completed;
  return watch.cancelled() ? JobEnd::Cancelled : JobEnd::InputReadFailed;
}

}  // namespace

JobEnd convertJob(JobContext& context, const JobEnvironment& environment) {
  const JobEnd end = convert(context, environment);
  if (context.notifyWindow) context.notifyWindow->post(WM_JOB_DONE, 0);
  return end;
}

}  // namespace zv
