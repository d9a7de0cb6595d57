// The two-band QMF step of the music codec's filter bank, in both directions.
//
// With h[0..7] = kQmfEvenTaps (the even taps of the 16-tap prototype, Q15):
//
// Analysis consumes 2n input samples and gives n low and n high samples. The
// delay lines hold the eight most recent odd-position inputs A[0..7] and
// even-position inputs B[0..7], newest first. For output i:
//   shift both lines, B[0] = in[2i], A[0] = in[2i+1]
//   a = sum_k h[k] A[k],  b = sum_k h[7-k] B[k]              (32-bit sums)
//   low[i] = (a + b) >> 15,  high[i] = (a - b) >> 15
//
// Synthesis consumes n low and n high samples and gives 2n outputs. The delay
// lines hold the eight most recent differences D = low - high and sums
// S = low + high. For input i:
//   shift both lines, S[0] = low[i] + high[i], D[0] = low[i] - high[i]
//   out[2i] = (sum_k h[k] D[k]) >> 15,  out[2i+1] = (sum_k h[7-k] S[k]) >> 15
// (half the gain of an ideal QMF synthesis; the decoder makes it up).
//
// All sums, products and differences are 32-bit two's-complement values that
// wrap modulo 2^32; `>>` rounds towards minus infinity.
//
// Two forms compute this:
//  - the scalar form works on the 32-bit values as they are;
//  - the SIMD form (qmf_step_line16.h; SSE2 on x86, NEON on AArch64) keeps
//    samples and delay lines as 16-bit values and forms the dot products
//    with packed 16-bit multiply-adds accumulated in 32 bits:
//    analysis takes only the low 16 bits of each input sample; synthesis
//    saturates the low and high samples to 16 bits and saturates their sum
//    and difference to 16 bits.
// Both give identical results whenever inputs, sums and differences fit in
// 16 bits, which is the normal case. Each form keeps its own arrangement of
// the delay lines in the 64-byte state, so a state must stay with the form
// that started it.
#ifndef ZV_CODEC_MUSIC_QMF_STEP_H
#define ZV_CODEC_MUSIC_QMF_STEP_H

#include <cstdint>

namespace zv::qv160mx {

// Delay lines of one step, zero when an instance is opened. The scalar form
// keeps first = A (analysis) or D (synthesis) and second = B or S, newest
// first; the SIMD form keeps its 16-bit history in the same bytes.
struct alignas(16) QmfState {
  int32_t first[8];
  int32_t second[8];
};
static_assert(sizeof(QmfState) == 64, "one step's state is two lines of 8 x 32 bits");

// in: 2n samples; low, high: n samples each; n >= 0. Outputs must not
// overlap the input.
using QmfAnalysisStep = void (*)(const int32_t* in, int32_t* low, int32_t* high,
                                 QmfState& state, int n);
// low, high: n samples each; out: 2n samples; n >= 0.
using QmfSynthesisStep = void (*)(const int32_t* low, const int32_t* high, int32_t* out,
                                  QmfState& state, int n);

void qmfAnalysisScalar(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n);
void qmfSynthesisScalar(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state,
                        int n);

// The SIMD form; present only where the build targets x86 with SSE2
// (qmf_kernels_sse2.h) or AArch64 with NEON (qmf_kernels_neon.h), where
// ZV_QMF_HAVE_SIMD is 1. One build has at most one of the two.
#if defined(__SSE2__)
#define ZV_QMF_HAVE_SSE2 1
#else
#define ZV_QMF_HAVE_SSE2 0
#endif
#if defined(__aarch64__) && defined(__ARM_NEON)
#define ZV_QMF_HAVE_NEON 1
#else
#define ZV_QMF_HAVE_NEON 0
#endif
#if ZV_QMF_HAVE_SSE2 || ZV_QMF_HAVE_NEON
#define ZV_QMF_HAVE_SIMD 1
void qmfAnalysisSimd(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n);
void qmfSynthesisSimd(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state,
                      int n);
#else
#define ZV_QMF_HAVE_SIMD 0
#endif

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_QMF_STEP_H
