#include "cli/decode_command.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/compression_summary.h"
#include "cli/file_tasks.h"
#include "cli/job_driver.h"
#include "cli/terminal_output.h"
#include "encoder/engine_workspace.h"
#include "encoder/stream_census.h"
#include "encoder/wave_file_writer.h"
#include "platform/replacing_file.h"

namespace zv::cli {

namespace {

// The decoded samples in `pcmPath` as a WAV file into `wav`, block by block,
// so that memory does not grow with the length of the clip. `pcmBytes` is
// set to the number of sample bytes copied.
bool copyPcmAsWave(const std::string& pcmPath, std::FILE* wav, std::uint64_t& pcmBytes) {
  std::FILE* pcm = std::fopen(pcmPath.c_str(), "rb");
  if (!pcm) return false;
  std::error_code error;
  pcmBytes = std::filesystem::file_size(pcmPath, error);
  bool ok = !error && writeWaveHeader(wav, codecPcmFormat(), pcmBytes);
  std::uint64_t copied = 0;
  std::uint8_t block[65536];
  std::size_t got;
  while (ok && (got = std::fread(block, 1, sizeof block, pcm)) > 0) {
    ok = std::fwrite(block, 1, got, wav) == got;
    copied += got;
  }
  ok = ok && !std::ferror(pcm) && copied == pcmBytes;
  // RIFF chunks are padded to an even length.
  if (ok && (pcmBytes & 1u)) ok = std::fputc(0, wav) != EOF;
  std::fclose(pcm);
  return ok;
}

// One stream file into its WAV file. Reasons for failure are printed here.
FileOutcome decodeOne(const FileTask& task, const std::optional<int>& chosenCodec, bool quiet,
                      TerminalOutput& out) {
  const std::string& input = task.input;
  const std::string& output = task.output;
  const auto started = std::chrono::steady_clock::now();
  const std::string prefix = "zvsa: " + input + ": ";
  if (const std::string problem = regularFileProblem(input); !problem.empty()) {
    out.line(prefix + problem);
    return FileOutcome::Failed;
  }
  const auto header = readStreamHeader(input);
  if (!header) {
    out.line(prefix + "not a stream file: shorter than the 154-byte header");
    return FileOutcome::Failed;
  }
  const int codecIndex = chosenCodec ? *chosenCodec : findCodecIndexForTag(header->codecTag);
  if (codecIndex < 0) {
    out.line(prefix + "no codec library reports the codec identifier " +
             std::to_string(header->codecTag) + "; name the codec with --codec");
    return FileOutcome::Failed;
  }
  if (const std::string problem = codecLibraryProblem(codecIndex); !problem.empty()) {
    out.line(prefix + problem);
    return FileOutcome::Failed;
  }

  const std::unique_ptr<EngineWorkspace> workspace = createJobWorkspace(input, out);
  if (!workspace) return FileOutcome::Failed;
  CliMessagePresenter presenter(out, input);
  JobContext context;
  context.streamPath = input;
  context.codecIndex = codecIndex;
  const JobEnd end = driveJob(JobMode::Decode, context, JobEnvironment(*workspace, presenter),
                              [&out, &task](unsigned percent) { out.progress(task.slot, percent); });
  switch (end) {
    case JobEnd::Completed: break;
    case JobEnd::CodecFailed:
      out.line(prefix + "the stream file is damaged: its frames do not decode to its end");
      return FileOutcome::Failed;
    case JobEnd::Cancelled: out.line(prefix + "interrupted"); return FileOutcome::Failed;
    default: out.line(prefix + describeJobEnd(end)); return FileOutcome::Failed;
  }

  ReplacingFile wav;
  if (!wav.open(output)) {
    out.line(prefix + "cannot write '" + output + "': " + std::strerror(errno));
    return FileOutcome::Failed;
  }
  std::uint64_t pcmBytes = 0;
  if (!copyPcmAsWave(workspace->DecodedPcmFile, wav.stream(), pcmBytes)) {
    out.line(prefix + "cannot read the decoded samples back or write '" + output + "': " +
             std::strerror(errno));
    return FileOutcome::Failed;
  }
  if (!wav.commit()) {
    out.line(prefix + "cannot write '" + output + "': " + std::strerror(errno));
    return FileOutcome::Failed;
  }
  if (!quiet) {
    const double wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double audioSeconds = static_cast<double>(pcmBytes) / codecPcmFormat().avgBytesPerSec;
    out.line(input + " -> " + output + ": " + formatSeconds(audioSeconds) + " s of audio, " +
             std::to_string(pcmBytes) + " bytes of PCM" +
             realTimeSpeedText(audioSeconds, wallSeconds));
  }
  return FileOutcome::Converted;
}

}  // namespace

int runDecodeCommand(const Options& options) {
  return runFileTasks(options, ".wav", [&options](const FileTask& task, TerminalOutput& out) {
    return decodeOne(task, options.codecIndex, options.quiet, out);
  });
}

}  // namespace zv::cli
