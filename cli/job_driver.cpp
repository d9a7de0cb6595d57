#include "cli/job_driver.h"

#include "cli/interrupt_watch.h"
#include "platform/message_queue_notifier.h"

namespace zv::cli {

std::unique_ptr<EngineWorkspace> createJobWorkspace(const std::string& input, TerminalOutput& out) {
  std::string error;
  std::unique_ptr<EngineWorkspace> workspace = EngineWorkspace::create(error);
  if (!workspace) out.line("zvsa: " + input + ": " + error);
  return workspace;
}

JobEnd driveJob(JobMode mode, JobContext& context, const JobEnvironment& environment,
                const std::function<void(unsigned)>& onProgress) {
  MessageQueueNotifier notifier;
  context.notifyWindow = &notifier;
  JobRunner runner;
  if (!runner.start(mode, context, environment, [&notifier](JobEnd) { notifier.wake(); })) {
    context.notifyWindow = nullptr;
    return JobEnd::ThreadNotStarted;
  }
  const int ticket = addCancelAction([&runner] { runner.cancel(); });
  for (;;) {
    const auto message = notifier.waitNext();
    if (!message || message->message == WM_JOB_DONE) break;  // ended (with or without DONE)
    if (message->message == WM_JOB_PROGRESS && onProgress)
      onProgress(static_cast<unsigned>(message->wParam));
  }
  removeCancelAction(ticket);
  const JobEnd end = runner.join();
  context.notifyWindow = nullptr;
  return end;
}

}  // namespace zv::cli
