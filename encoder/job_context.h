// What a job's starter (the progress dialog, the command line) and its
// worker thread share, and what the worker reads besides.
//
// JobContext, written before the worker starts and read back after it has
// been joined; only CancelEvent is used by both sides while the worker runs:
//   CancelEvent   auto-reset; set by the starter's Cancel, polled by the job
//   notifyWindow  receives WM_JOB_PROGRESS and WM_JOB_DONE (may be null)
//   streamPath    encode: the stream file to create; decode: the one to read
//   codecIndex    row of the codec table
//   pcmBytes      encode job, at start: length of PcmWorkFile
//   codedBytes    encode job, at successful end: dataBytes of the stream
//                 written; never reset, so a failed or cancelled job leaves
//                 the previous value
//
// Messages, posted (never sent) to notifyWindow:
//   WM_JOB_PROGRESS (1025) wParam = percent done 0..100; at most once per
//                   125 ms while frames are coded
//   WM_JOB_DONE     (1026) wParam = 0; the very last act of every job that
//                   got past loading its codec library
#ifndef ZV_ENCODER_JOB_CONTEXT_H
#define ZV_ENCODER_JOB_CONTEXT_H

#include <cstdint>
#include <string>

#include "encoder/codec_table.h"
#include "encoder/engine_workspace.h"
#include "platform/auto_reset_event.h"
#include "platform/job_notifier.h"
#include "platform/message_presenter.h"
#include "platform/tick_count.h"

namespace zv {

inline constexpr unsigned WM_JOB_PROGRESS = kUserMessageBase + 1;
inline constexpr unsigned WM_JOB_DONE = kUserMessageBase + 2;

// Progress messages are at least this far apart (strictly more than).
inline constexpr std::uint64_t kProgressIntervalMs = 125;

struct JobContext {
  AutoResetEvent CancelEvent;
  JobNotifier* notifyWindow = nullptr;
  std::string streamPath;
  int codecIndex = 0;
  std::uint32_t pcmBytes = 0;
  std::uint32_t codedBytes = 0;
};

// The rest of what a job reads: the workspace whose PcmWorkFile, PcmFormat
// and DecodedPcmFile it uses, where its one message (10503, no memory) goes,
// the codec table its index refers to, and the tick source for throttling
// progress. The workspace and the presenter must outlive the job.
struct JobEnvironment {
  JobEnvironment(EngineWorkspace& workspace, MessagePresenter& presenter)
      : workspace(workspace), presenter(presenter) {}

  EngineWorkspace& workspace;
  MessagePresenter& presenter;
  CodecTable codecTable = kCodecTable;
  TickSource ticks = tickCountMs;
};

// How a job ended. The dialog protocol does not need it (a job reports only
// through its end message); the command line uses it to say what happened.
enum class JobEnd {
  ThreadNotStarted,    // the worker thread could not be created; the job
                       // never ran and posted nothing
  LibraryNotLoaded,    // returned at once; no WM_JOB_DONE was posted
  EntryPointMissing,
  InfoUnusable,
  InputNotOpened,      // encode: PcmWorkFile; decode: the stream file
  InputTooLarge,       // encode: PcmWorkFile longer than 32-bit counts allow
  InputReadFailed,
  OutputNotCreated,    // encode: the frame file; decode: DecodedPcmFile
  OutputWriteFailed,
  OutOfMemory,         // message 10503 was shown
  InstanceNotOpened,
  CodecFailed,         // Encode/Decode returned -2 or -3, or broke its contract
  Cancelled,
  StreamNotWritten,    // encode: everything coded, but the stream file could
                       // not be created or completed
  Completed,
};

// A short English description of `end`, for the command line.
const char* describeJobEnd(JobEnd end);

}  // namespace zv

#endif  // ZV_ENCODER_JOB_CONTEXT_H
