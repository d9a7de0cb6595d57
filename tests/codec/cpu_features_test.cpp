// The processor's kernel level, checked against the compiler's own
// processor-feature query (which also asks whether the operating system
// enables the AVX registers).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "codec/cpu_features.h"

namespace zv::cpu {
namespace {

TEST(CpuFeatures, LevelAgreesWithTheCompilersFeatureQuery) {
#if defined(__x86_64__)
  __builtin_cpu_init();
  const Arch expected = __builtin_cpu_supports("avx2") ? Arch::kAvx2 : Arch::kSse2;
  EXPECT_EQ(processorArch(), expected) << "reported " << archName(processorArch());
#elif defined(__aarch64__)
  // Advanced SIMD is part of every AArch64 processor Linux runs on.
  EXPECT_EQ(processorArch(), Arch::kNeon) << "reported " << archName(processorArch());
#else
  EXPECT_EQ(processorArch(), Arch::kScalar);
#endif
}

TEST(CpuFeatures, ProcessorRunsExactlyTheLevelsUpToItsOwn) {
  const int own = static_cast<int>(processorArch());
  for (const Arch arch : kAllArchs)
    EXPECT_EQ(processorRuns(arch), static_cast<int>(arch) <= own) << archName(arch);
}

TEST(CpuFeatures, EveryLevelHasItsOwnName) {
  std::set<std::string> names;
  for (const Arch arch : kAllArchs) names.insert(archName(arch));
#if defined(__aarch64__)
  EXPECT_EQ(names, (std::set<std::string>{"scalar", "neon"}));
#else
  EXPECT_EQ(names, (std::set<std::string>{"scalar", "sse2", "avx2"}));
#endif
}

}  // namespace
}  // namespace zv::cpu
