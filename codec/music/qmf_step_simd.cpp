// SIMD form of the QMF step: SSE2 packed 16-bit multiply-adds (pmaddwd).
//
// Samples and delay lines are 16-bit. Each call lays the remembered eight
// samples and the new ones out in one 16-bit line per polyphase branch,
// oldest first, so that output i is the dot product of the window
// line[i+1 .. i+8] with eight taps c[0..7]. Eight outputs are formed at once:
// for each tap pair p, interleaving the lines starting at i+1+2p and i+2+2p
// gives, in 32-bit lane j, the pair (line[i+1+2p+j], line[i+2+2p+j]), and one
// pmaddwd with (c[2p], c[2p+1]) in every lane adds that pair's share to
// output i+j. Four pairs and their sums finish eight outputs in two
// registers. 32-bit additions wrap modulo 2^32, as the scalar form's do.
//
// Analysis keeps only the low 16 bits of each 32-bit input; synthesis
// saturates low and high to 16 bits (packssdw) and their sum and difference
// too (paddsw, psubsw).
//
// History in the 64-byte state: bytes 0..15 hold the first line (A or D),
// bytes 32..47 the second (B or S), eight 16-bit samples each, oldest first.
#include "codec/music/qmf_step.h"

#if ZV_QMF_HAVE_SIMD

#include <emmintrin.h>

#include "codec/music/saturate.h"
#include "codec/music/tables.h"

namespace zv::qv160mx {

namespace {

constexpr int kChunk = 64;  // outputs per pass over the line buffers
constexpr int kTaps = 8;
// The history and one chunk: the last window of a chunk ends at its last
// sample, line[kTaps + count - 1].
constexpr int kLineLength = kTaps + kChunk;

inline __m128i load8(const int16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i load4x32(const int32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store4x32(int32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

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

// The same for one window, as a 32-bit pattern.
inline uint32_t dot8x1(const int16_t* line, const int16_t* taps) {
  uint32_t sum = 0;
  for (int m = 0; m < kTaps; ++m) {
    sum += static_cast<uint32_t>(taps[m]) * static_cast<uint32_t>(line[1 + m]);
  }
  return sum;
}

inline void loadHistory(const QmfState& state, int16_t* first, int16_t* second) {
  __builtin_memcpy(first, state.first, kTaps * sizeof(int16_t));
  __builtin_memcpy(second, state.second, kTaps * sizeof(int16_t));
}
inline void storeHistory(QmfState& state, const int16_t* firstEnd, const int16_t* secondEnd) {
  __builtin_memcpy(state.first, firstEnd, kTaps * sizeof(int16_t));
  __builtin_memcpy(state.second, secondEnd, kTaps * sizeof(int16_t));
}

// Sign-extends the low 16 bits of each 32-bit lane.
inline __m128i low16(__m128i v) { return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16); }

}  // namespace

void qmfAnalysisSimd(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n) {
  alignas(16) int16_t odd[kLineLength];   // A, oldest first
  alignas(16) int16_t even[kLineLength];  // B, oldest first
  while (n > 0) {
    const int count = n < kChunk ? n : kChunk;
    loadHistory(state, odd, even);

    // Split 8 inputs at a time into the even and odd lines, low 16 bits each.
    int i = 0;
    for (; i + 8 <= count; i += 8) {
      // (x0,x2,x1,x3), (x4,x6,x5,x7), (x8,...), (x12,...)
      const __m128i r0 = _mm_shuffle_epi32(load4x32(in + 2 * i), _MM_SHUFFLE(3, 1, 2, 0));
      const __m128i r1 = _mm_shuffle_epi32(load4x32(in + 2 * i + 4), _MM_SHUFFLE(3, 1, 2, 0));
      const __m128i r2 = _mm_shuffle_epi32(load4x32(in + 2 * i + 8), _MM_SHUFFLE(3, 1, 2, 0));
      const __m128i r3 = _mm_shuffle_epi32(load4x32(in + 2 * i + 12), _MM_SHUFFLE(3, 1, 2, 0));
      const __m128i evens = _mm_packs_epi32(low16(_mm_unpacklo_epi64(r0, r1)),
                                            low16(_mm_unpacklo_epi64(r2, r3)));
      const __m128i odds = _mm_packs_epi32(low16(_mm_unpackhi_epi64(r0, r1)),
                                           low16(_mm_unpackhi_epi64(r2, r3)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(even + kTaps + i), evens);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(odd + kTaps + i), odds);
    }
    for (; i < count; ++i) {
      even[kTaps + i] = static_cast<int16_t>(lowInt16(in[2 * i]));
      odd[kTaps + i] = static_cast<int16_t>(lowInt16(in[2 * i + 1]));
    }

    i = 0;
    for (; i + 8 <= count; i += 8) {
      __m128i a0, a1, b0, b1;
      dot8x8(odd + i, kPairsReversed, a0, a1);  // sum_k h[k] A[k]
      dot8x8(even + i, kPairs, b0, b1);         // sum_k h[7-k] B[k]
      store4x32(low + i, _mm_srai_epi32(_mm_add_epi32(a0, b0), 15));
      store4x32(low + i + 4, _mm_srai_epi32(_mm_add_epi32(a1, b1), 15));
      store4x32(high + i, _mm_srai_epi32(_mm_sub_epi32(a0, b0), 15));
      store4x32(high + i + 4, _mm_srai_epi32(_mm_sub_epi32(a1, b1), 15));
    }
    for (; i < count; ++i) {
      const uint32_t a = dot8x1(odd + i, kQmfEvenTapsReversed);
      const uint32_t b = dot8x1(even + i, kQmfEvenTaps);
      low[i] = asInt32(a + b) >> 15;
      high[i] = asInt32(a - b) >> 15;
    }

    storeHistory(state, odd + count, even + count);
    in += 2 * count;
    low += count;
    high += count;
    n -= count;
  }
}

void qmfSynthesisSimd(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state,
                      int n) {
  alignas(16) int16_t diff[kLineLength];  // D, oldest first
  alignas(16) int16_t sum[kLineLength];   // S, oldest first
  while (n > 0) {
    const int count = n < kChunk ? n : kChunk;
    loadHistory(state, diff, sum);

    int i = 0;
    for (; i + 8 <= count; i += 8) {
      const __m128i l = _mm_packs_epi32(load4x32(low + i), load4x32(low + i + 4));
      const __m128i h = _mm_packs_epi32(load4x32(high + i), load4x32(high + i + 4));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(diff + kTaps + i), _mm_subs_epi16(l, h));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + kTaps + i), _mm_adds_epi16(l, h));
    }
    for (; i < count; ++i) {
      const int32_t l = saturateToInt16(low[i]);
      const int32_t h = saturateToInt16(high[i]);
      diff[kTaps + i] = static_cast<int16_t>(saturateToInt16(l - h));
      sum[kTaps + i] = static_cast<int16_t>(saturateToInt16(l + h));
    }

    i = 0;
    for (; i + 8 <= count; i += 8) {
      __m128i d0, d1, s0, s1;
      dot8x8(diff + i, kPairsReversed, d0, d1);  // out[2i]   = sum_k h[k] D[k] >> 15
      dot8x8(sum + i, kPairs, s0, s1);           // out[2i+1] = sum_k h[7-k] S[k] >> 15
      d0 = _mm_srai_epi32(d0, 15);
      d1 = _mm_srai_epi32(d1, 15);
      s0 = _mm_srai_epi32(s0, 15);
      s1 = _mm_srai_epi32(s1, 15);
      store4x32(out + 2 * i, _mm_unpacklo_epi32(d0, s0));
      store4x32(out + 2 * i + 4, _mm_unpackhi_epi32(d0, s0));
      store4x32(out + 2 * i + 8, _mm_unpacklo_epi32(d1, s1));
      store4x32(out + 2 * i + 12, _mm_unpackhi_epi32(d1, s1));
    }
    for (; i < count; ++i) {
      out[2 * i] = asInt32(dot8x1(diff + i, kQmfEvenTapsReversed)) >> 15;
      out[2 * i + 1] = asInt32(dot8x1(sum + i, kQmfEvenTaps)) >> 15;
    }

    storeHistory(state, diff + count, sum + count);
    low += count;
    high += count;
    out += 2 * count;
    n -= count;
  }
}

}  // namespace zv::qv160mx

#endif  // ZV_QMF_HAVE_SIMD
