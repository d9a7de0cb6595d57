// Runs a program for a test and collects what it wrote.
#ifndef ZV_TESTS_HOST_RUN_PROGRAM_H
#define ZV_TESTS_HOST_RUN_PROGRAM_H

#include <string>
#include <vector>

namespace zv::testing {

struct ProgramRun {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `argv[0]` (a path) with the arguments `argv` and waits for it.
ProgramRun runProgram(const std::vector<std::string>& argv);

}  // namespace zv::testing

#endif  // ZV_TESTS_HOST_RUN_PROGRAM_H
