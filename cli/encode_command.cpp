#include "cli/encode_command.h"

#include <atomic>
#include <chrono>
#include <vector>

#include "cli/compression_summary.h"
#include "cli/exit_status.h"
#include "cli/file_tasks.h"
#include "cli/interrupt_watch.h"
#include "cli/job_driver.h"
#include "cli/terminal_output.h"
#include "encoder/codec_table.h"
#include "encoder/engine_workspace.h"
#include "encoder/input_preparation.h"

namespace zv::cli {

namespace {

struct EncodeTask {
  const std::string& input;
  const std::string& output;
  int codecIndex;
  bool quiet;
  std::size_t slot;
};

// One input; true when its stream file is in place. Reasons for failure are
// printed here.
bool encodeOne(const EncodeTask& task, TerminalOutput& out, std::atomic<bool>& stopAll) {
  const auto started = std::chrono::steady_clock::now();
  const std::string prefix = "zvsa: " + task.input + ": ";
  EngineWorkspace workspace;
  if (!workspace.ready()) {
    out.line(prefix + workspace.error());
    return false;
  }
  CliMessagePresenter presenter(out, task.input);
  if (!prepareSourceFile(workspace, task.input, presenter)) return false;
  if (interrupted()) return false;

  JobContext context;
  context.streamPath = task.output;
  context.codecIndex = task.codecIndex;
  JobEnvironment environment;
  environment.workspace = &workspace;
  environment.presenter = &presenter;
  const JobEnd end = driveJob(JobMode::Encode, context, environment,
                              [&out, &task](unsigned percent) { out.progress(task.slot, percent); });
  switch (end) {
    case JobEnd::Completed: break;
    case JobEnd::LibraryNotLoaded:
      stopAll = true;  // every other file would fail the same way
      out.line(prefix + codecLibraryProblem(task.codecIndex));
      return false;
    case JobEnd::Cancelled: out.line(prefix + "interrupted"); return false;
    case JobEnd::StreamNotWritten:
      out.line(prefix + "cannot write the stream file '" + task.output + "'");
      return false;
    default: out.line(prefix + describeJobEnd(end)); return false;
  }
  if (!task.quiet) {
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double audio = workspace.PcmFormat.avgBytesPerSec
                             ? static_cast<double>(context.pcmBytes) / workspace.PcmFormat.avgBytesPerSec
                             : 0.0;
    out.line(task.input + " -> " + task.output + ": " +
             compressionSummary(audio, context.pcmBytes, context.codedBytes, wall));
  }
  return true;
}

}  // namespace

int runEncodeCommand(const Options& options) {
  std::string error;
  const std::vector<std::string> outputs = outputPaths(options, ".zvsa", error);
  if (!error.empty()) {
    TerminalOutput(false).line("zvsa encode: " + error);
    return kExitUsage;
  }
  const int codecIndex = options.codecIndex.value_or(kMusicCodecIndex);
  TerminalOutput out(!options.quiet);
  // A codec library that cannot be loaded ends the command before any input
  // is converted.
  if (const std::string problem = codecLibraryProblem(codecIndex); !problem.empty()) {
    out.line("zvsa: " + problem);
    return kExitFailure;
  }

  out.startFiles(options.inputs.size());
  std::vector<char> ok(options.inputs.size(), 0);
  std::atomic<bool> stopAll{false};
  forEachFile(
      options.inputs.size(), options.jobs,
      [&](std::size_t i) {
        ok[i] = encodeOne({options.inputs[i], outputs[i], codecIndex, options.quiet, i}, out, stopAll);
        out.finished(i);
      },
      [&stopAll] { return stopAll.load() || interrupted(); });

  if (interrupted()) return kExitInterrupted;
  for (char success : ok)
    if (!success) return kExitFailure;
  return kExitSuccess;
}

}  // namespace zv::cli
