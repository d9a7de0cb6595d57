// Runs the zvsa program under test (ZVSA_PATH, set by the build), and finds
// the conformance vectors the tests feed it.
#ifndef ZV_TESTS_CLI_ZVSA_RUN_H
#define ZV_TESTS_CLI_ZVSA_RUN_H

#include <string>
#include <vector>

#include "tests/support/run_program.h"

namespace zv::test {

inline ProgramRun runZvsa(const std::vector<std::string>& arguments) {
  return runProgram(ZVSA_PATH, arguments);
}

// A file of the conformance vectors (ZV_TESTVECTORS_DIR, set by the build).
inline std::string vector(const std::string& name) {
  return std::string(ZV_TESTVECTORS_DIR) + "/" + name;
}

}  // namespace zv::test

#endif  // ZV_TESTS_CLI_ZVSA_RUN_H
