#include "codec/cpu_features.h"

#if ZV_CPU_X86_64
#include <cpuid.h>
#elif ZV_CPU_AARCH64
#include <sys/auxv.h>
#endif

namespace zv::cpu {

#if ZV_CPU_X86_64

namespace {

// XCR0 bits 1 and 2: the operating system saves the SSE and the upper
// halves of the AVX registers on a context switch.
constexpr unsigned kXcr0SseAndAvxState = 0x6;

unsigned extendedControlRegister0() {
  unsigned low = 0, high = 0;
  // XGETBV with ECX = 0 (encoded as bytes, so no target attribute is needed).
  __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

}  // namespace

Arch processorArch() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid checks that CPUID exists and that leaf 1 is within range.
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (edx & bit_SSE2) == 0) return Arch::kScalar;
  // AVX2 needs the AVX register state enabled by the operating system
  // (OSXSAVE, then XCR0), not only the feature bit of leaf 7.
  if ((ecx & bit_OSXSAVE) == 0 || (ecx & bit_AVX) == 0) return Arch::kSse2;
  if ((extendedControlRegister0() & kXcr0SseAndAvxState) != kXcr0SseAndAvxState) return Arch::kSse2;
  if (__get_cpuid_max(0, nullptr) < 7) return Arch::kSse2;
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  return (ebx & bit_AVX2) != 0 ? Arch::kAvx2 : Arch::kSse2;
}

#elif ZV_CPU_AARCH64

// The kernel tells what the processor has in the auxiliary vector. Advanced
// SIMD is part of every ARMv8-A processor Linux runs on, but asking costs
// nothing and keeps the rule of the x86 side: no kernel the processor has
// not declared.
Arch processorArch() {
  return (getauxval(AT_HWCAP) & HWCAP_ASIMD) != 0 ? Arch::kNeon : Arch::kScalar;
}

#else

// Elsewhere only the portable kernels exist.
Arch processorArch() { return Arch::kScalar; }

#endif

bool processorRuns(Arch arch) { return static_cast<int>(arch) <= static_cast<int>(processorArch()); }

const char* archName(Arch arch) {
  switch (arch) {
    case Arch::kScalar: return "scalar";
    case Arch::kSse2: return ZV_CPU_AARCH64 ? "neon" : "sse2";  // kNeon is this level
    case Arch::kAvx2: return "avx2";
  }
  return "unknown";
}

}  // namespace zv::cpu
