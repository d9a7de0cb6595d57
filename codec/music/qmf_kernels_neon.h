// NEON (Advanced SIMD) kernels of the QMF step's SIMD form
// (qmf_step_line16.h), for AArch64.
//
// They form the sums of the SSE2 kernels (qmf_kernels_sse2.h) in the same
// order: for tap pair p, lane j gets c[2p]·line[i+1+2p+j] + c[2p+1]·line[i+2+2p+j]
// (a widening multiply, then a widening multiply-accumulate: what one
// pmaddwd lane computes), and the four pair sums are added as
// (p0 + p1) + (p2 + p3). Products of two 16-bit values are exact in 32 bits
// and every addition wraps modulo 2^32 (smull, smlal and add never
// saturate). The narrowing steps are the SSE2 ones: xtn keeps the low 16
// bits as the analysis wants, sqxtn saturates like packssdw, sqadd and
// sqsub like paddsw and psubsw.
#ifndef ZV_CODEC_MUSIC_QMF_KERNELS_NEON_H
#define ZV_CODEC_MUSIC_QMF_KERNELS_NEON_H

#include "codec/music/qmf_step.h"

#if ZV_QMF_HAVE_NEON

#include <arm_neon.h>

#include "codec/music/qmf_step_line16.h"

namespace zv::qv160mx::line16 {

// The share of tap pair (c0, c1) in outputs i..i+3 (low) or i+4..i+7 (high):
// c0·x + c1·y lane by lane.
inline int32x4_t pairLow(int16x8_t x, int16x8_t y, int16_t c0, int16_t c1) {
  return vmlal_n_s16(vmull_n_s16(vget_low_s16(x), c0), vget_low_s16(y), c1);
}
inline int32x4_t pairHigh(int16x8_t x, int16x8_t y, int16_t c0, int16_t c1) {
  return vmlal_high_n_s16(vmull_high_n_s16(x, c0), y, c1);
}

// Dot products of the windows line[i+1..i+8] .. line[i+8..i+15] with
// taps[0..7]: lane j of first holds output i + j, lane j of second output
// i + 4 + j.
inline void dot8x8(const int16_t* line, const int16_t* taps, int32x4_t& first,
                   int32x4_t& second) {
  // line[i+1+k] for k = 0..7 (the caller passes line + i).
  const int16x8_t x1 = vld1q_s16(line + 1), x2 = vld1q_s16(line + 2), x3 = vld1q_s16(line + 3),
                  x4 = vld1q_s16(line + 4), x5 = vld1q_s16(line + 5), x6 = vld1q_s16(line + 6),
                  x7 = vld1q_s16(line + 7), x8 = vld1q_s16(line + 8);
  const int32x4_t lo01 = pairLow(x1, x2, taps[0], taps[1]);
  const int32x4_t lo23 = pairLow(x3, x4, taps[2], taps[3]);
  const int32x4_t lo45 = pairLow(x5, x6, taps[4], taps[5]);
  const int32x4_t lo67 = pairLow(x7, x8, taps[6], taps[7]);
  const int32x4_t hi01 = pairHigh(x1, x2, taps[0], taps[1]);
  const int32x4_t hi23 = pairHigh(x3, x4, taps[2], taps[3]);
  const int32x4_t hi45 = pairHigh(x5, x6, taps[4], taps[5]);
  const int32x4_t hi67 = pairHigh(x7, x8, taps[6], taps[7]);
  first = vaddq_s32(vaddq_s32(lo01, lo23), vaddq_s32(lo45, lo67));
  second = vaddq_s32(vaddq_s32(hi01, hi23), vaddq_s32(hi45, hi67));
}

struct NeonKernels {
  static void split8(const int32_t* in, int16_t* even, int16_t* odd) {
    // ld2 parts the even- and odd-position samples; xtn keeps their low 16 bits.
    const int32x4x2_t first = vld2q_s32(in);
    const int32x4x2_t second = vld2q_s32(in + 8);
    vst1q_s16(even, vcombine_s16(vmovn_s32(first.val[0]), vmovn_s32(second.val[0])));
    vst1q_s16(odd, vcombine_s16(vmovn_s32(first.val[1]), vmovn_s32(second.val[1])));
  }

  static void analysis8(const int16_t* odd, const int16_t* even, int32_t* low, int32_t* high) {
    int32x4_t a0, a1, b0, b1;
    dot8x8(odd, kQmfEvenTapsReversed, a0, a1);  // sum_k h[k] A[k]
    dot8x8(even, kQmfEvenTaps, b0, b1);         // sum_k h[7-k] B[k]
    vst1q_s32(low, vshrq_n_s32(vaddq_s32(a0, b0), 15));
    vst1q_s32(low + 4, vshrq_n_s32(vaddq_s32(a1, b1), 15));
    vst1q_s32(high, vshrq_n_s32(vsubq_s32(a0, b0), 15));
    vst1q_s32(high + 4, vshrq_n_s32(vsubq_s32(a1, b1), 15));
  }

  static void difference8(const int32_t* low, const int32_t* high, int16_t* diff, int16_t* sum) {
    const int16x8_t l = vcombine_s16(vqmovn_s32(vld1q_s32(low)), vqmovn_s32(vld1q_s32(low + 4)));
    const int16x8_t h =
        vcombine_s16(vqmovn_s32(vld1q_s32(high)), vqmovn_s32(vld1q_s32(high + 4)));
    vst1q_s16(diff, vqsubq_s16(l, h));
    vst1q_s16(sum, vqaddq_s16(l, h));
  }

  static void synthesis8(const int16_t* diff, const int16_t* sum, int32_t* out) {
    int32x4_t d0, d1, s0, s1;
    dot8x8(diff, kQmfEvenTapsReversed, d0, d1);  // out[2i]   = sum_k h[k] D[k] >> 15
    dot8x8(sum, kQmfEvenTaps, s0, s1);           // out[2i+1] = sum_k h[7-k] S[k] >> 15
    // st2 interleaves: out[0] = d[0], out[1] = s[0], out[2] = d[1], ...
    vst2q_s32(out, (int32x4x2_t{{vshrq_n_s32(d0, 15), vshrq_n_s32(s0, 15)}}));
    vst2q_s32(out + 8, (int32x4x2_t{{vshrq_n_s32(d1, 15), vshrq_n_s32(s1, 15)}}));
  }
};

}  // namespace zv::qv160mx::line16

#endif  // ZV_QMF_HAVE_NEON

#endif  // ZV_CODEC_MUSIC_QMF_KERNELS_NEON_H
