#include "tests/encoder/job_harness.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <stdexcept>

namespace zv::test {

bool JobRun::doneIsLast() const {
  return countOf(WM_JOB_DONE) == 1 && messages.back().message == WM_JOB_DONE;
}

int JobRun::countOf(unsigned message) const {
  return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                        [message](const PostedMessage& m) { return m.message == message; }));
}

JobHarness::JobHarness()
    : temporary_(std::make_unique<TempDir>()),
      tmpdir_(std::make_unique<ScopedEnvironment>("TMPDIR", temporary_->path())) {
  std::string error;
  workspace_ = EngineWorkspace::create(error);
  // Every test needs the working files; nothing can be tested without them.
  if (!workspace_) throw std::runtime_error("no workspace: " + error);
}

JobHarness::~JobHarness() {
  // The working files go before the folder they are in.
  workspace_.reset();
}

CodecTable JobHarness::tableWith(const char* path) {
  table_[0] = {path, 20000, 20050, "FAKE_"};
  table_[1] = {"", 0, 0, ""};
  return table_;
}

void JobHarness::setPcm(const Bytes& pcm) {
  writeFile(workspace_->PcmWorkFile, pcm);
  workspace_->PcmFormat = codecPcmFormat();
}

JobRun JobHarness::run(JobMode mode, JobContext& context, CodecTable table, TickSource ticks) {
  MessageQueueNotifier notifier;
  context.notifyWindow = &notifier;
  JobEnvironment environment(*workspace_, presenter_);
  environment.codecTable = table;
  environment.ticks = ticks ? std::move(ticks) : TickSource([] { return std::uint64_t{0}; });
  JobRunner runner;
  JobRun result;
  if (!runner.start(mode, context, environment)) return result;
  result.end = runner.join();
  result.messages = notifier.takeAll();
  context.notifyWindow = nullptr;
  return result;
}

std::vector<std::string> JobHarness::strayTemporaryFiles() const {
  std::vector<std::string> stray;
  for (const std::string& name : temporary_->entries()) {
    const std::string path = temporary_->file(name);
    if (path == workspace_->PcmWorkFile || path == workspace_->DecodedPcmFile ||
        path == workspace_->AuConvertFile)
      continue;
    stray.push_back(name);
  }
  return stray;
}

TickSource steppingTicks(std::uint64_t stepMs) {
  auto now = std::make_shared<std::atomic<std::uint64_t>>(0);
  return [now, stepMs] { return now->fetch_add(stepMs) + stepMs; };
}

}  // namespace zv::test
