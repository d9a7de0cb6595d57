// Running a test at every kernel level of the codecs (codec/cpu_features.h),
// whatever the machine: parametrise over cpu::kAllArchs, and a level this
// processor cannot run is skipped with a message that says so.
#ifndef ZV_TESTS_CODEC_KERNEL_LEVELS_H
#define ZV_TESTS_CODEC_KERNEL_LEVELS_H

#include <gtest/gtest.h>

#include <ostream>

#include "codec/cpu_features.h"

namespace zv::cpu {

// So that failures name the level.
inline void PrintTo(Arch arch, std::ostream* out) { *out << archName(arch); }

}  // namespace zv::cpu

// Skips the running test when the processor cannot run `arch`.
#define ZV_SKIP_UNLESS_PROCESSOR_RUNS(arch)                                          \
  do {                                                                               \
    if (!::zv::cpu::processorRuns(arch))                                             \
      GTEST_SKIP() << "this processor cannot run the " << ::zv::cpu::archName(arch)  \
                   << " kernels";                                                    \
  } while (0)

#endif  // ZV_TESTS_CODEC_KERNEL_LEVELS_H
