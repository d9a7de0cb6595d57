// Runs the zvsa program under test (ZVSA_PATH, set by the build).
#ifndef ZV_TESTS_CLI_ZVSA_RUN_H
#define ZV_TESTS_CLI_ZVSA_RUN_H

#include <string>
#include <vector>

#include "tests/support/run_program.h"

namespace zv::test {

inline ProgramRun runZvsa(const std::vector<std::string>& arguments) {
  return runProgram(ZVSA_PATH, arguments);
}

}  // namespace zv::test

#endif  // ZV_TESTS_CLI_ZVSA_RUN_H
