// The SIMD form of the QMF step (qmf_step.h) around its vector kernels.
//
// Samples and delay lines are 16-bit. Each call lays the remembered eight
// samples and the new ones out in one 16-bit line per polyphase branch,
// oldest first, so that output i is the dot product of the window
// line[i+1 .. i+8] with eight taps c[0..7]. The lines are filled and the
// outputs formed eight at a time by the kernels of one instruction set
// (qmf_kernels_sse2.h, qmf_kernels_neon.h); the last few of a call, fewer than
// eight, by the scalar code here, which computes the same 16-bit form.
//
// Analysis keeps only the low 16 bits of each 32-bit input; synthesis
// saturates low and high to 16 bits and their sum and difference too. Every
// dot product is of 16-bit samples and taps, each product exact in 32 bits,
// added with 32-bit additions that wrap modulo 2^32, as the scalar form's do.
//
// History in the 64-byte state: bytes 0..15 hold the first line (A or D),
// bytes 32..47 the second (B or S), eight 16-bit samples each, oldest first.
// Both instruction sets keep it the same way.
//
// The kernels, a class of static functions:
//   split8(in, even, odd)         in[0..15] -> even[0..7] = low16(in[2j]),
//                                 odd[0..7] = low16(in[2j+1])
//   analysis8(odd, even, low, high)
//                                 low[j]  = (a + b) >> 15, high[j] = (a - b) >> 15,
//                                 a = dot(odd + j, h[7..0]), b = dot(even + j, h[0..7])
//   difference8(low, high, diff, sum)
//                                 l, h = sat16(low[j]), sat16(high[j]);
//                                 diff[j] = sat16(l - h), sum[j] = sat16(l + h)
//   synthesis8(diff, sum, out)    out[2j]   = dot(diff + j, h[7..0]) >> 15,
//                                 out[2j+1] = dot(sum + j, h[0..7]) >> 15
// where dot(line, c) = sum_m c[m] * line[1 + m].
#ifndef ZV_CODEC_MUSIC_QMF_STEP_LINE16_H
#define ZV_CODEC_MUSIC_QMF_STEP_LINE16_H

#include <cstdint>

#include "codec/music/qmf_step.h"
#include "codec/music/saturate.h"
#include "codec/music/tables.h"

namespace zv::qv160mx::line16 {

constexpr int kChunk = 64;  // outputs per pass over the line buffers
constexpr int kTaps = 8;
// The history and one chunk: the last window of a chunk ends at its last
// sample, line[kTaps + count - 1].
constexpr int kLineLength = kTaps + kChunk;

// dot(line, taps) for one window, as a 32-bit pattern.
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

template <class Kernels>
void analysis(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n) {
  alignas(16) int16_t odd[kLineLength];   // A, oldest first
  alignas(16) int16_t even[kLineLength];  // B, oldest first
  while (n > 0) {
    const int count = n < kChunk ? n : kChunk;
    loadHistory(state, odd, even);

    int i = 0;
    for (; i + 8 <= count; i += 8) Kernels::split8(in + 2 * i, even + kTaps + i, odd + kTaps + i);
    for (; i < count; ++i) {
      even[kTaps + i] = static_cast<int16_t>(lowInt16(in[2 * i]));
      odd[kTaps + i] = static_cast<int16_t>(lowInt16(in[2 * i + 1]));
    }

    i = 0;
    for (; i + 8 <= count; i += 8) Kernels::analysis8(odd + i, even + i, low + i, high + i);
    for (; i < count; ++i) {
      const uint32_t a = dot8x1(odd + i, kQmfEvenTapsReversed);  // sum_k h[k] A[k]
      const uint32_t b = dot8x1(even + i, kQmfEvenTaps);         // sum_k h[7-k] B[k]
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

template <class Kernels>
void synthesis(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state, int n) {
  alignas(16) int16_t diff[kLineLength];  // D, oldest first
  alignas(16) int16_t sum[kLineLength];   // S, oldest first
  while (n > 0) {
    const int count = n < kChunk ? n : kChunk;
    loadHistory(state, diff, sum);

    int i = 0;
    for (; i + 8 <= count; i += 8)
      Kernels::difference8(low + i, high + i, diff + kTaps + i, sum + kTaps + i);
    for (; i < count; ++i) {
      const int32_t l = saturateToInt16(low[i]);
      const int32_t h = saturateToInt16(high[i]);
      diff[kTaps + i] = static_cast<int16_t>(saturateToInt16(l - h));
      sum[kTaps + i] = static_cast<int16_t>(saturateToInt16(l + h));
    }

    i = 0;
    for (; i + 8 <= count; i += 8) Kernels::synthesis8(diff + i, sum + i, out + 2 * i);
    for (; i < count; ++i) {
      out[2 * i] = asInt32(dot8x1(diff + i, kQmfEvenTapsReversed)) >> 15;  // sum_k h[k] D[k]
      out[2 * i + 1] = asInt32(dot8x1(sum + i, kQmfEvenTaps)) >> 15;       // sum_k h[7-k] S[k]
    }

    storeHistory(state, diff + count, sum + count);
    low += count;
    high += count;
    out += 2 * count;
    n -= count;
  }
}

}  // namespace zv::qv160mx::line16

#endif  // ZV_CODEC_MUSIC_QMF_STEP_LINE16_H
