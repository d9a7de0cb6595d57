#include "cli/file_tasks.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>

#include "cli/exit_status.h"
#include "cli/interrupt_watch.h"
#include "encoder/codec_table.h"
#include "platform/module.h"

namespace zv::cli {

std::string outputPathFor(const std::string& input, const std::string& outdir,
                          const std::string& extension) {
  const std::size_t slash = input.rfind('/');
  std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  std::string folder = outdir;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + name + extension;
}

namespace {

// Same file when both exist and share device and inode, or same text.
bool sameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// The output of each input (from -o or --outdir), or an error when two
// inputs would write the same file or an output would overwrite its input.
std::vector<std::string> outputPaths(const Options& options, const std::string& extension,
                                     std::string& error) {
  std::vector<std::string> outputs;
  std::map<std::string, std::string> writer;  // output -> input
  for (const std::string& input : options.inputs) {
    const std::string output =
        options.output.empty() ? outputPathFor(input, options.outdir, extension) : options.output;
    if (sameFile(input, output)) {
      error = "the output '" + output + "' would overwrite its input";
      return {};
    }
    const auto [it, inserted] = writer.emplace(output, input);
    if (!inserted) {
      error = "'" + it->second + "' and '" + input + "' would both write '" + output + "'";
      return {};
    }
    outputs.push_back(output);
  }
  return outputs;
}

}  // namespace

std::string regularFileProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  return {};
}

std::string codecLibraryProblem(int codecIndex) {
  const CodecTableEntry* row = codecTableRow(kCodecTable, codecIndex);
  if (!row) return "there is no codec " + std::to_string(codecIndex);
  const Module module = Module::load(row->libraryFile);
  if (module.loaded()) return {};
  return std::string("cannot load the codec library \"") + row->libraryFile + "\" (" +
         module.error() + ")";
}

int runFileTasks(const Options& options, const std::string& outputExtension,
                 const ConvertFile& convert, const std::function<std::string()>& beforeFirst) {
  std::string error;
  const std::vector<std::string> outputs = outputPaths(options, outputExtension, error);
  if (!error.empty()) return reportUsageError(options.command, error);
  TerminalOutput out(!options.quiet);
  if (beforeFirst) {
    if (const std::string problem = beforeFirst(); !problem.empty()) {
      out.line("zvsa: " + problem);
      return kExitFailure;
    }
  }

  const std::size_t count = options.inputs.size();
  out.startFiles(count);
  std::vector<FileOutcome> outcomes(count, FileOutcome::Failed);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopAll{false};
  auto worker = [&] {
    while (!stopAll.load() && !interrupted()) {
      const std::size_t slot = next.fetch_add(1);
      if (slot >= count) return;
      outcomes[slot] = convert({options.inputs[slot], outputs[slot], slot}, out);
      if (outcomes[slot] == FileOutcome::FailedForEveryFile) stopAll = true;
      out.finished(slot);
    }
  };
  const std::size_t threads = std::min<std::size_t>(options.jobs == 0 ? 1 : options.jobs, count);
  if (threads <= 1) {
    worker();
  } else {
    std::vector<std::thread> pool;
    for (std::size_t i = 0; i < threads; ++i) pool.emplace_back(worker);
    for (std::thread& thread : pool) thread.join();
  }

  if (interrupted()) return kExitInterrupted;
  for (FileOutcome outcome : outcomes)
    if (outcome != FileOutcome::Converted) return kExitFailure;
  return kExitSuccess;
}

std::string formatSeconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", seconds);
  return text;
}

}  // namespace zv::cli
