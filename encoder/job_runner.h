// JobRunner: starts an encode or decode job on its own worker thread, lets
// its starter cancel it, and joins it.
//
// How a starter drives a job (the Qt progress dialog and the command line
// alike):
//   1. fill the JobContext: streamPath, codecIndex, notifyWindow (the
//      starter's JobNotifier); the runner resets CancelEvent itself;
//   2. start(): the worker runs EncodeJob or DecodeJob at lowered priority;
//   3. receive WM_JOB_PROGRESS (percent) and WM_JOB_DONE through the
//      notifier; on WM_JOB_DONE call join(), then read pcmBytes/codedBytes;
//   4. to cancel: cancel() (sets CancelEvent), then join().
// A job whose codec library cannot be loaded posts no WM_JOB_DONE. A starter
// that must not wait for ever on such a job (the command line) passes an
// onThreadEnd callback, called on the worker thread as its last act, after
// any message the job posted; finished() tells the same thing by polling.
//
// The context, the environment's workspace and presenter, and the notifier
// must outlive join().
// The destructor cancels and joins a job still running.
#ifndef ZV_ENCODER_JOB_RUNNER_H
#define ZV_ENCODER_JOB_RUNNER_H

#include <atomic>
#include <functional>
#include <thread>

#include "encoder/job_context.h"

namespace zv {

// Convert: convertJob (convert_job.h), the source file into PcmWorkFile.
enum class JobMode { Encode, Decode, Convert };

class JobRunner {
 public:
  JobRunner() = default;
  ~JobRunner();
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  // Resets context.CancelEvent and starts the worker. False when a job of
  // this runner is still unjoined, or when the thread cannot be created
  // (join() then returns JobEnd::ThreadNotStarted).
  bool start(JobMode mode, JobContext& context, JobEnvironment environment,
             std::function<void(JobEnd)> onThreadEnd = {});

  // Sets the job's CancelEvent (no effect when nothing was started).
  void cancel();

  // Waits without time limit for the worker to end; returns how the job
  // ended (JobEnd::ThreadNotStarted when nothing was started).
  JobEnd join();

  // True once the worker has returned from the job (it may still be
  // unjoined).
  bool finished() const { return finished_.load(); }

 private:
  std::thread worker_;
  JobContext* context_ = nullptr;
  std::atomic<bool> finished_{false};
  JobEnd end_ = JobEnd::ThreadNotStarted;
};

}  // namespace zv

#endif  // ZV_ENCODER_JOB_RUNNER_H
