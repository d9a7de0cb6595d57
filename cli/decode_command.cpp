#include "cli/decode_command.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <vector>

#include "cli/exit_status.h"
#include "cli/file_tasks.h"
#include "cli/interrupt_watch.h"
#include "cli/job_driver.h"
#include "cli/terminal_output.h"
#include "encoder/engine_workspace.h"
#include "encoder/stream_census.h"
#include "encoder/wave_file_writer.h"
#include "platform/replacing_file.h"

namespace zv::cli {

namespace {

bool readWhole(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.clear();
  std::uint8_t block[65536];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool decodeOne(const std::string& input, const std::string& output,
               const std::optional<int>& chosenCodec, bool quiet, std::size_t slot,
               TerminalOutput& out) {
  const auto started = std::chrono::steady_clock::now();
  const std::string prefix = "zvsa: " + input + ": ";
  if (const std::string problem = regularFileProblem(input); !problem.empty()) {
    out.line(prefix + problem);
    return false;
  }
  const auto header = readStreamHeader(input);
  if (!header) {
    out.line(prefix + "not a stream file: shorter than the 154-byte header");
    return false;
  }
  const int codecIndex = chosenCodec ? *chosenCodec : findCodecIndexForTag(header->codecTag);
  if (codecIndex < 0) {
    out.line(prefix + "no codec library reports the codec identifier " +
             std::to_string(header->codecTag) + "; name the codec with --codec");
    return false;
  }
  if (const std::string problem = codecLibraryProblem(codecIndex); !problem.empty()) {
    out.line(prefix + problem);
    return false;
  }

  EngineWorkspace workspace;
  if (!workspace.ready()) {
    out.line(prefix + workspace.error());
    return false;
  }
  CliMessagePresenter presenter(out, input);
  JobContext context;
  context.streamPath = input;
  context.codecIndex = codecIndex;
  JobEnvironment environment;
  environment.workspace = &workspace;
  environment.presenter = &presenter;
  const JobEnd end = driveJob(JobMode::Decode, context, environment,
                              [&out, slot](unsigned percent) { out.progress(slot, percent); });
  switch (end) {
    case JobEnd::Completed: break;
    case JobEnd::CodecFailed:
      out.line(prefix + "the stream file is damaged: its frames do not decode to its end");
      return false;
    case JobEnd::Cancelled: out.line(prefix + "interrupted"); return false;
    default: out.line(prefix + describeJobEnd(end)); return false;
  }

  std::vector<std::uint8_t> pcm;
  if (!readWhole(workspace.DecodedPcmFile, pcm)) {
    out.line(prefix + "cannot read the decoded samples back");
    return false;
  }
  ReplacingFile wav;
  if (!wav.open(output) || !writeWaveStream(wav.stream(), codecPcmFormat(), pcm) || !wav.commit()) {
    out.line(prefix + "cannot write '" + output + "': " + std::strerror(errno));
    return false;
  }
  if (!quiet) {
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double audio = static_cast<double>(pcm.size()) / codecPcmFormat().avgBytesPerSec;
    std::string line = input + " -> " + output + ": " + formatSeconds(audio) + " s of audio, " +
                       std::to_string(pcm.size()) + " bytes of PCM";
    if (wall > 0 && audio > 0) {
      char speed[48];
      std::snprintf(speed, sizeof speed, ", %.1fx real time", audio / wall);
      line += speed;
    }
    out.line(line);
  }
  return true;
}

}  // namespace

int runDecodeCommand(const Options& options) {
  std::string error;
  const std::vector<std::string> outputs = outputPaths(options, ".wav", error);
  if (!error.empty()) {
    TerminalOutput(false).line("zvsa decode: " + error);
    return kExitUsage;
  }
  TerminalOutput out(!options.quiet);
  out.startFiles(options.inputs.size());
  std::vector<char> ok(options.inputs.size(), 0);
  forEachFile(
      options.inputs.size(), options.jobs,
      [&](std::size_t i) {
        ok[i] = decodeOne(options.inputs[i], outputs[i], options.codecIndex, options.quiet, i, out);
        out.finished(i);
      },
      [] { return interrupted(); });
  if (interrupted()) return kExitInterrupted;
  for (char success : ok)
    if (!success) return kExitFailure;
  return kExitSuccess;
}

}  // namespace zv::cli
