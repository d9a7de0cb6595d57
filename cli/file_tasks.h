// What the conversion commands share: output names for --outdir, the check
// that an input is a readable regular file, a check that a codec library
// loads, and running one task per file on up to N threads.
#ifndef ZV_CLI_FILE_TASKS_H
#define ZV_CLI_FILE_TASKS_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace zv::cli {

// DIR/<input's file name without its last extension><extension>.
std::string outputPathFor(const std::string& input, const std::string& outdir,
                          const std::string& extension);

// The output of each input (from -o or --outdir), or an error when two
// inputs would write the same file or an output would overwrite its input.
std::vector<std::string> outputPaths(const Options& options, const std::string& extension,
                                     std::string& error);

// "" when `path` is an existing regular file, else why it cannot be read
// ("does not exist", "is not a regular file").
std::string regularFileProblem(const std::string& path);

// "" when the codec library of row `codecIndex` loads, else a message naming
// it and the loader's reason.
std::string codecLibraryProblem(int codecIndex);

// Runs task(i) for i = 0..count-1 on min(jobs, count) threads; each thread
// takes the next index until none is left or stop() returns true.
void forEachFile(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& task,
                 const std::function<bool()>& stop);

// Seconds as "3.00".
std::string formatSeconds(double seconds);

}  // namespace zv::cli

#endif  // ZV_CLI_FILE_TASKS_H
