// Runs a program as a child process with its stdout and stderr captured and
// no standard input, and reports how it ended. A child still running after
// the time limit is killed, so a hanging program fails its test instead of
// stopping the suite.
#ifndef ZV_TESTS_SUPPORT_RUN_PROGRAM_H
#define ZV_TESTS_SUPPORT_RUN_PROGRAM_H

#include <string>
#include <vector>

namespace zv::test {

struct ProgramRun {
  int exitStatus = -1;  // exit status, or -1 when it did not exit normally
  int signal = 0;       // the signal that ended it, if any
  bool timedOut = false;
  std::string out;
  std::string err;
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      int timeLimitSeconds = 60);

// The same with the program's path as argv[0] and its arguments after it.
ProgramRun runProgram(const std::vector<std::string>& argv, int timeLimitSeconds = 60);

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_RUN_PROGRAM_H
