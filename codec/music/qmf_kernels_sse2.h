// SSE2 kernels of the QMF step's SIMD form (qmf_step_line16.h): packed
// 16-bit multiply-adds (pmaddwd).
//
// Eight outputs are formed at once: for each tap pair p, interleaving the
// lines starting at i+1+2p and i+2+2p gives, in 32-bit lane j, the pair
// (line[i+1+2p+j], line[i+2+2p+j]), and one pmaddwd with (c[2p], c[2p+1]) in
// every lane adds that pair's share to output i+j. Four pairs and their sums,
// (p0 + p1) + (p2 + p3), finish eight outputs in two registers.
// qmf_kernels_neon.h forms the same sums on AArch64.
#ifndef ZV_CODEC_MUSIC_QMF_KERNELS_SSE2_H
#define ZV_CODEC_MUSIC_QMF_KERNELS_SSE2_H

#include "codec/music/qmf_step.h"

#if ZV_QMF_HAVE_SSE2

#include <emmintrin.h>

#include "codec/music/qmf_step_line16.h"

namespace zv::qv160mx::line16 {

inline __m128i load8(const int16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i load4x32(const int32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store4x32(int32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
inline void store8(int16_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The taps as four pairs, (c[2p], c[2p+1]) in every 32-bit lane of pair p,
// laid out at compile time.
struct alignas(16) TapPairs {
  int16_t pair[4][8];
};
constexpr TapPairs tapPairs(const int16_t* taps) {
  TapPairs pairs{};
  for (int p = 0; p < 4; ++p) {
    for (int lane = 0; lane < 4; ++lane) {
      pairs.pair[p][2 * lane] = taps[2 * p];
      pairs.pair[p][2 * lane + 1] = taps[2 * p + 1];
    }
  }
  return pairs;
}
constexpr TapPairs kPairsReversed = tapPairs(kQmfEvenTapsReversed);  // h[7..0]
constexpr TapPairs kPairs = tapPairs(kQmfEvenTaps);                  // h[0..7]

inline __m128i pairAt(const TapPairs& taps, int p) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(taps.pair[p]));
}

// Dot products of the windows line[i+1..i+8] .. line[i+8..i+15] with the
// taps: lane j of first holds output i + j, lane j of second output i + 4 + j.
inline void dot8x8(const int16_t* line, const TapPairs& taps, __m128i& first, __m128i& second) {
  // line[i+1+k] for k = 0..7 (the caller passes line + i).
  const __m128i x1 = load8(line + 1), x2 = load8(line + 2), x3 = load8(line + 3),
                x4 = load8(line + 4), x5 = load8(line + 5), x6 = load8(line + 6),
                x7 = load8(line + 7), x8 = load8(line + 8);
  const __m128i lo01 = _mm_madd_epi16(_mm_unpacklo_epi16(x1, x2), pairAt(taps, 0));
  const __m128i lo23 = _mm_madd_epi16(_mm_unpacklo_epi16(x3, x4), pairAt(taps, 1));
  const __m128i lo45 = _mm_madd_epi16(_mm_unpacklo_epi16(x5, x6), pairAt(taps, 2));
  const __m128i lo67 = _mm_madd_epi16(_mm_unpacklo_epi16(x7, x8), pairAt(taps, 3));
  const __m128i hi01 = _mm_madd_epi16(_mm_unpackhi_epi16(x1, x2), pairAt(taps, 0));
  const __m128i hi23 = _mm_madd_epi16(_mm_unpackhi_epi16(x3, x4), pairAt(taps, 1));
  const __m128i hi45 = _mm_madd_epi16(_mm_unpackhi_epi16(x5, x6), pairAt(taps, 2));
  const __m128i hi67 = _mm_madd_epi16(_mm_unpackhi_epi16(x7, x8), pairAt(taps, 3));
  first = _mm_add_epi32(_mm_add_epi32(lo01, lo23), _mm_add_epi32(lo45, lo67));
  second = _mm_add_epi32(_mm_add_epi32(hi01, hi23), _mm_add_epi32(hi45, hi67));
}

// Sign-extends the low 16 bits of each 32-bit lane.
inline __m128i low16(__m128i v) { return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16); }

struct Sse2Kernels {
  static void split8(const int32_t* in, int16_t* even, int16_t* odd) {
    // (x0,x2,x1,x3), (x4,x6,x5,x7), (x8,...), (x12,...)
    const __m128i r0 = _mm_shuffle_epi32(load4x32(in), _MM_SHUFFLE(3, 1, 2, 0));
    const __m128i r1 = _mm_shuffle_epi32(load4x32(in + 4), _MM_SHUFFLE(3, 1, 2, 0));
    const __m128i r2 = _mm_shuffle_epi32(load4x32(in + 8), _MM_SHUFFLE(3, 1, 2, 0));
    const __m128i r3 = _mm_shuffle_epi32(load4x32(in + 12), _MM_SHUFFLE(3, 1, 2, 0));
    // packssdw of sign-extended low halves keeps exactly the low 16 bits.
    store8(even, _mm_packs_epi32(low16(_mm_unpacklo_epi64(r0, r1)),
                                 low16(_mm_unpacklo_epi64(r2, r3))));
    store8(odd, _mm_packs_epi32(low16(_mm_unpackhi_epi64(r0, r1)),
                                low16(_mm_unpackhi_epi64(r2, r3))));
  }

  static void analysis8(const int16_t* odd, const int16_t* even, int32_t* low, int32_t* high) {
    __m128i a0, a1, b0, b1;
    dot8x8(odd, kPairsReversed, a0, a1);  // sum_k h[k] A[k]
    dot8x8(even, kPairs, b0, b1);         // sum_k h[7-k] B[k]
    store4x32(low, _mm_srai_epi32(_mm_add_epi32(a0, b0), 15));
    store4x32(low + 4, _mm_srai_epi32(_mm_add_epi32(a1, b1), 15));
    store4x32(high, _mm_srai_epi32(_mm_sub_epi32(a0, b0), 15));
    store4x32(high + 4, _mm_srai_epi32(_mm_sub_epi32(a1, b1), 15));
  }

  static void difference8(const int32_t* low, const int32_t* high, int16_t* diff, int16_t* sum) {
    const __m128i l = _mm_packs_epi32(load4x32(low), load4x32(low + 4));     // packssdw
    const __m128i h = _mm_packs_epi32(load4x32(high), load4x32(high + 4));
    store8(diff, _mm_subs_epi16(l, h));                                      // psubsw
    store8(sum, _mm_adds_epi16(l, h));                                       // paddsw
  }

  static void synthesis8(const int16_t* diff, const int16_t* sum, int32_t* out) {
    __m128i d0, d1, s0, s1;
    dot8x8(diff, kPairsReversed, d0, d1);  // out[2i]   = sum_k h[k] D[k] >> 15
    dot8x8(sum, kPairs, s0, s1);           // out[2i+1] = sum_k h[7-k] S[k] >> 15
    d0 = _mm_srai_epi32(d0, 15);
    d1 = _mm_srai_epi32(d1, 15);
    s0 = _mm_srai_epi32(s0, 15);
    s1 = _mm_srai_epi32(s1, 15);
    store4x32(out, _mm_unpacklo_epi32(d0, s0));
    store4x32(out + 4, _mm_unpackhi_epi32(d0, s0));
    store4x32(out + 8, _mm_unpacklo_epi32(d1, s1));
    store4x32(out + 12, _mm_unpackhi_epi32(d1, s1));
  }
};

}  // namespace zv::qv160mx::line16

#endif  // ZV_QMF_HAVE_SSE2

#endif  // ZV_CODEC_MUSIC_QMF_KERNELS_SSE2_H
