// SIMD form of the QMF step: SSE2 packed 16-bit multiply-adds (pmaddwd).
//
// Samples and delay lines are 16-bit. Each call lays the remembered eight
// samples and the new ones out in one 16-bit line per polyphase branch,
// oldest first, so that output i reads line[i+1 .. i+8] (one unaligned load)
// and one pmaddwd forms its eight products as four 32-bit pair sums. Four
// outputs are done together: their four partial vectors are transposed and
// added so that one register holds the four finished dot products, then the
// sum and difference (or the two outputs) are shifted and stored at once.
// 32-bit additions wrap modulo 2^32, as the scalar form does.
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
// Room for the history, one chunk and a full vector of slack.
constexpr int kLineLength = kTaps + kChunk + 8;

inline __m128i loadTaps(const int16_t* taps) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(taps));
}
inline __m128i load8(const int16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i load4x32(const int32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store4x32(int32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Dot products of the windows line[i+1..i+8] .. line[i+4..i+11] with `taps`:
// lane j holds the finished sum for output i + j.
inline __m128i dot8x4(const int16_t* line, __m128i taps) {
  const __m128i p0 = _mm_madd_epi16(load8(line + 1), taps);
  const __m128i p1 = _mm_madd_epi16(load8(line + 2), taps);
  const __m128i p2 = _mm_madd_epi16(load8(line + 3), taps);
  const __m128i p3 = _mm_madd_epi16(load8(line + 4), taps);
  // (p0[0]+p0[2], p1[0]+p1[2], p0[1]+p0[3], p1[1]+p1[3]) and likewise for p2, p3.
  const __m128i s01 = _mm_add_epi32(_mm_unpacklo_epi32(p0, p1), _mm_unpackhi_epi32(p0, p1));
  const __m128i s23 = _mm_add_epi32(_mm_unpacklo_epi32(p2, p3), _mm_unpackhi_epi32(p2, p3));
  return _mm_add_epi32(_mm_unpacklo_epi64(s01, s23), _mm_unpackhi_epi64(s01, s23));
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

void QmfAnalysisSimd(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n) {
  alignas(16) int16_t odd[kLineLength];   // A, oldest first
  alignas(16) int16_t even[kLineLength];  // B, oldest first
  const __m128i tapsReversed = loadTaps(kQmfEvenTapsReversed);
  const __m128i taps = loadTaps(kQmfEvenTaps);
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
    for (; i + 4 <= count; i += 4) {
      const __m128i a = dot8x4(odd + i, tapsReversed);  // sum_k h[k] A[k]
      const __m128i b = dot8x4(even + i, taps);         // sum_k h[7-k] B[k]
      store4x32(low + i, _mm_srai_epi32(_mm_add_epi32(a, b), 15));
      store4x32(high + i, _mm_srai_epi32(_mm_sub_epi32(a, b), 15));
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

void QmfSynthesisSimd(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state,
                      int n) {
  alignas(16) int16_t diff[kLineLength];  // D, oldest first
  alignas(16) int16_t sum[kLineLength];   // S, oldest first
  const __m128i tapsReversed = loadTaps(kQmfEvenTapsReversed);
  const __m128i taps = loadTaps(kQmfEvenTaps);
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
    for (; i + 4 <= count; i += 4) {
      const __m128i d = _mm_srai_epi32(dot8x4(diff + i, tapsReversed), 15);  // out[2i]
      const __m128i s = _mm_srai_epi32(dot8x4(sum + i, taps), 15);           // out[2i+1]
      store4x32(out + 2 * i, _mm_unpacklo_epi32(d, s));
      store4x32(out + 2 * i + 4, _mm_unpackhi_epi32(d, s));
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
