// Runs engine jobs in tests: a private temporary directory (TMPDIR) holding
// the workspace's working files and the jobs' frame files, a codec table of
// one row naming a test-only codec library by path, a notifier queue, and a
// tick source the test controls.
#ifndef ZV_TESTS_ENCODER_JOB_HARNESS_H
#define ZV_TESTS_ENCODER_JOB_HARNESS_H

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "encoder/codec_table.h"
#include "encoder/engine_workspace.h"
#include "encoder/job_context.h"
#include "encoder/job_runner.h"
#include "platform/message_queue_notifier.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/scoped_environment.h"

namespace zv::test {

struct JobRun {
  JobEnd end = JobEnd::LibraryNotLoaded;
  std::vector<PostedMessage> messages;  // in the order posted
  // Exactly one WM_JOB_DONE was posted, and it was the last message.
  bool doneIsLast() const;
  int countOf(unsigned message) const;
};

class JobHarness {
 public:
  JobHarness();
  ~JobHarness();

  TempDir& temporary() { return *temporary_; }  // TMPDIR of the jobs
  TempDir& outputs() { return outputs_; }        // for stream files
  EngineWorkspace& workspace() { return *workspace_; }
  RecordingPresenter& presenter() { return presenter_; }

  // A table whose row 0 is the library at `path`.
  CodecTable tableWith(const char* path);

  // Fills PcmWorkFile and sets PcmFormat to 8 kHz mono 16-bit.
  void setPcm(const Bytes& pcm);

  // Starts the job on a worker thread through JobRunner, joins it, and
  // returns how it ended and what it posted.
  JobRun run(JobMode mode, JobContext& context, CodecTable table, TickSource ticks = {});

  // Entries of the temporary directory other than the three working files.
  std::vector<std::string> strayTemporaryFiles() const;

 private:
  std::unique_ptr<TempDir> temporary_;
  TempDir outputs_;  // made before TMPDIR changes, so not inside temporary_
  std::unique_ptr<ScopedEnvironment> tmpdir_;  // TMPDIR names temporary_
  std::unique_ptr<EngineWorkspace> workspace_;
  RecordingPresenter presenter_;
  std::array<CodecTableEntry, 2> table_{};
};

// A tick source that advances by `stepMs` on every call.
TickSource steppingTicks(std::uint64_t stepMs);

}  // namespace zv::test

#endif  // ZV_TESTS_ENCODER_JOB_HARNESS_H
