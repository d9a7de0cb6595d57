// Runs a program as a child process with its output discarded, for the
// benchmarks that compare whole programs (ours against the reference codecs).
#ifndef ZV_BENCH_CHILD_PROCESS_H
#define ZV_BENCH_CHILD_PROCESS_H

#include <string>
#include <vector>

namespace zv::bench {

struct Timing {
  double cpuSeconds = 0.0;   // user + system time of the child
  double wallSeconds = 0.0;
  bool ok = false;           // started, and ended with status 0
};

// Runs args[0] (looked up in PATH) with args[1..]; stdout and stderr go to
// /dev/null.
Timing runDiscardingOutput(const std::vector<std::string>& args);

// "a b c", for messages.
std::string commandLine(const std::vector<std::string>& args);

// The folder a benchmark works in: `keep` (made if missing) when given, else
// a new temporary /tmp/PREFIX.XXXXXX. Empty when it cannot be made.
std::string workFolder(const std::string& keep, const std::string& prefix);

}  // namespace zv::bench

#endif  // ZV_BENCH_CHILD_PROCESS_H
