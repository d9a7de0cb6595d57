#include "cli/encode_command.h"

#include <chrono>
#include <memory>

#include "cli/command_line_messages.h"
#include "cli/compression_summary.h"
#include "cli/file_tasks.h"
#include "cli/interrupt_watch.h"
#include "cli/job_driver.h"
#include "cli/terminal_output.h"
#include "encoder/codec_table.h"
#include "encoder/engine_workspace.h"
#include "encoder/input_preparation.h"

namespace zv::cli {

namespace {

// One input into its stream file. Reasons for failure are printed here.
FileOutcome encodeOne(const FileTask& task, int codecIndex, bool quiet, TerminalOutput& out) {
  const auto started = std::chrono::steady_clock::now();
  const std::string prefix = "zvsa: " + task.input + ": ";
  const std::unique_ptr<EngineWorkspace> workspace = createJobWorkspace(task.input, out);
  if (!workspace) return FileOutcome::Failed;
  CliMessagePresenter presenter(out, task.input);
  if (!prepareSourceFile(*workspace, task.input, presenter, commandLineWording))
    return FileOutcome::Failed;
  if (interrupted()) return FileOutcome::Failed;

  JobContext context;
  context.streamPath = task.output;
  context.codecIndex = codecIndex;
  const JobEnd end = driveJob(JobMode::Encode, context, JobEnvironment(*workspace, presenter),
                              [&out, &task](unsigned percent) { out.progress(task.slot, percent); });
  switch (end) {
    case JobEnd::Completed: break;
    case JobEnd::LibraryNotLoaded:
      out.line(prefix + codecLibraryProblem(codecIndex));
      return FileOutcome::FailedForEveryFile;
    case JobEnd::Cancelled: out.line(prefix + "interrupted"); return FileOutcome::Failed;
    case JobEnd::StreamNotWritten:
      out.line(prefix + "cannot write the stream file '" + task.output + "'");
      return FileOutcome::Failed;
    default: out.line(prefix + describeJobEnd(end)); return FileOutcome::Failed;
  }
  if (!quiet) {
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const WaveFormat& format = workspace->PcmFormat;
    const double audioSeconds =
        format.avgBytesPerSec ? static_cast<double>(context.pcmBytes) / format.avgBytesPerSec : 0.0;
    out.line(task.input + " -> " + task.output + ": " +
             compressionSummary(audioSeconds, context.pcmBytes, context.codedBytes, wallSeconds));
  }
  return FileOutcome::Converted;
}

}  // namespace

int runEncodeCommand(const Options& options) {
  const int codecIndex = options.codecIndex.value_or(kMusicCodecIndex);
  return runFileTasks(
      options, ".zvsa",
      [&options, codecIndex](const FileTask& task, TerminalOutput& out) {
        return encodeOne(task, codecIndex, options.quiet, out);
      },
      // A codec library that cannot be loaded ends the command before any
      // input is converted.
      [codecIndex] { return codecLibraryProblem(codecIndex); });
}

}  // namespace zv::cli
