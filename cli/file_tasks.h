// What the conversion commands share: output names for --outdir, the check
// that an input is a readable regular file, a check that a codec library
// loads, and the run loop that converts every input on up to N threads.
#ifndef ZV_CLI_FILE_TASKS_H
#define ZV_CLI_FILE_TASKS_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/terminal_output.h"

namespace zv::cli {

// DIR/<input's file name without its last extension><extension>.
std::string outputPathFor(const std::string& input, const std::string& outdir,
                          const std::string& extension);

// "" when `path` is an existing regular file, else why it cannot be read
// ("does not exist", "is not a regular file").
std::string regularFileProblem(const std::string& path);

// "" when the codec library of row `codecIndex` loads, else a message naming
// it and the loader's reason.
std::string codecLibraryProblem(int codecIndex);

// One input of a conversion and where its output goes.
struct FileTask {
  const std::string& input;
  const std::string& output;
  std::size_t slot;  // the input's place on the command line, for the progress line
};

enum class FileOutcome {
  Converted,
  Failed,             // this input only; the others go on
  FailedForEveryFile  // the others would fail the same way: start no more
};

// Converts one input, printing its own messages through `out`.
using ConvertFile = std::function<FileOutcome(const FileTask& task, TerminalOutput& out)>;

// The run loop of encode and decode: works out the outputs (-o or --outdir;
// inconsistent ones are a usage error), then calls `convert` for every input
// on min(options.jobs, inputs) threads, each taking the next input until none
// is left, an input failed for every file, or a termination signal came; the
// progress line follows them all. `beforeFirst`, when given, runs once the
// outputs are known; a message it returns ends the command with
// kExitFailure. Returns the exit status: success when every input was
// converted.
int runFileTasks(const Options& options, const std::string& outputExtension,
                 const ConvertFile& convert,
                 const std::function<std::string()>& beforeFirst = {});

// Seconds as "3.00".
std::string formatSeconds(double seconds);

}  // namespace zv::cli

#endif  // ZV_CLI_FILE_TASKS_H
