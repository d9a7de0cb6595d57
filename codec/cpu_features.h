// The processor features the codecs' kernels may use, as one ordered level.
//
// Each encoder and decoder picks its kernels once, when it is opened, from
// the level the processor reports (processorArch) and keeps that level in
// its state; every kernel call of that instance then runs the variant of
// that level. Nothing is chosen per process, read from the environment or
// resolved by the loader, so an instance opened on a processor without AVX2
// executes no AVX2 instruction at all. Tests open instances at a lower level
// to run every variant on one machine.
//
// Every variant of a kernel gives the same results bit for bit: the codecs'
// outputs do not depend on the level.
#ifndef ZV_CODEC_CPU_FEATURES_H
#define ZV_CODEC_CPU_FEATURES_H

// The SSE2 and AVX2 kernels exist on x86-64 only, the NEON kernels on
// AArch64 only; elsewhere (WebAssembly) every level runs the portable
// kernels.
#if defined(__x86_64__)
#define ZV_CPU_X86_64 1
#else
#define ZV_CPU_X86_64 0
#endif
#if defined(__aarch64__)
#define ZV_CPU_AARCH64 1
#else
#define ZV_CPU_AARCH64 0
#endif

// Marks a kernel compiled for AVX2. Only the marked function (and what the
// compiler inlines into it) uses AVX2; a kernel is marked, never a whole
// file, so that no inline function shared with the baseline code is ever
// emitted in an AVX2 form.
#define ZV_TARGET_AVX2 __attribute__((target("avx2")))

namespace zv::cpu {

// Kernel levels, each including the ones below it.
//   kScalar  portable C++ only (what every processor runs; on x86-64 the
//            compiler still uses its baseline SSE2 for plain arithmetic)
//   kSse2    hand-written SSE2 / 128-bit vector kernels
//   kAvx2    AVX2 / 256-bit vector kernels (the processor and the operating
//            system must both support the 256-bit registers)
// and on AArch64, where the 128-bit level is Advanced SIMD:
//   kNeon    hand-written NEON kernels (the same level as kSse2: a kernel
//            with no NEON form runs its portable code there)
enum class Arch { kScalar = 0, kSse2 = 1, kAvx2 = 2, kNeon = kSse2 };

// The levels of this build's processor family, lowest first.
#if ZV_CPU_AARCH64
inline constexpr Arch kAllArchs[] = {Arch::kScalar, Arch::kNeon};
#else
inline constexpr Arch kAllArchs[] = {Arch::kScalar, Arch::kSse2, Arch::kAvx2};
#endif

// The highest level this processor (and operating system) runs. Asks the
// processor each time: call it when an instance is opened, not per frame.
Arch processorArch();

// Whether this processor runs the kernels of `arch`.
bool processorRuns(Arch arch);

// "scalar", "sse2" or "avx2"; on AArch64 "scalar" or "neon".
const char* archName(Arch arch);

}  // namespace zv::cpu

#endif  // ZV_CODEC_CPU_FEATURES_H
