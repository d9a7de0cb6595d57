// Scalar form of the QMF step on 32-bit samples.
//
// Rather than shifting the delay lines once per output, each call lays the
// eight remembered samples and the new ones out in one line per polyphase
// branch, oldest first, so that output i reads the window line[i+1 .. i+8];
// the last eight samples become the new delay line. Products and sums are
// formed in uint32_t, which wraps modulo 2^32 exactly as 32-bit integer
// arithmetic does, and are read back as signed before the arithmetic shift.
#include "codec/music/qmf_step.h"

#include "codec/music/saturate.h"
#include "codec/music/tables.h"

namespace zv::qv160mx {

namespace {

constexpr int kChunk = 64;  // outputs per pass over the line buffers
constexpr int kTaps = 8;

// sum_m taps[m] * line[m], m = 0..7, wrapping.
inline uint32_t dot8(const int16_t* taps, const int32_t* line) {
  uint32_t sum = 0;
  for (int m = 0; m < kTaps; ++m) {
    sum += static_cast<uint32_t>(taps[m]) * static_cast<uint32_t>(line[m]);
  }
  return sum;
}

// Newest-first delay line -> oldest-first history at line[0..7], and back.
inline void historyFromState(const int32_t* newestFirst, int32_t* line) {
  for (int k = 0; k < kTaps; ++k) line[kTaps - 1 - k] = newestFirst[k];
}
inline void stateFromLine(const int32_t* lineEnd, int32_t* newestFirst) {
  for (int k = 0; k < kTaps; ++k) newestFirst[k] = lineEnd[kTaps - 1 - k];
}

}  // namespace

void qmfAnalysisScalar(const int32_t* in, int32_t* low, int32_t* high, QmfState& state, int n) {
  int32_t odd[kTaps + kChunk];   // A, oldest first
  int32_t even[kTaps + kChunk];  // B, oldest first
  while (n > 0) {
    const int count = n < kChunk ? n : kChunk;
    historyFromState(state.first, odd);
    historyFromState(state.second, even);
    for (int i = 0; i < count; ++i) {
      even[kTaps + i] = in[2 * i];
      odd[kTaps + i] = in[2 * i + 1];
    }
    for (int i = 0; i < count; ++i) {
      // a = sum_k h[k] A[k]: the window is oldest first, so the taps reversed.
      const uint32_t a = dot8(kQmfEvenTapsReversed, odd + i + 1);
      // b = sum_k h[7-k] B[k]: oldest first, the taps in order.
      const uint32_t b = dot8(kQmfEvenTaps, even + i + 1);
      low[i] = asInt32(a + b) >> 15;
      high[i] = asInt32(a - b) >> 15;
    }
    stateFromLine(odd + count, state.first);
    stateFromLine(even + count, state.second);
    in += 2 * count;
    low += count;
    high += count;
    n -= count;
  }
}

void qmfSynthesisScalar(const int32_t* low, const int32_t* high, int32_t* out, QmfState& state,
                        int n) {
  int32_t diff[kTaps + kChunk];  // D, oldest first
  int32_t sum[kTaps + kChunk];   // S, oldest first
  while (n > 0) {
    const int count = n < kChunk ? n : kChunk;
    historyFromState(state.first, diff);
    historyFromState(state.second, sum);
    for (int i = 0; i < count; ++i) {
      const uint32_t l = static_cast<uint32_t>(low[i]);
      const uint32_t h = static_cast<uint32_t>(high[i]);
      diff[kTaps + i] = asInt32(l - h);
      sum[kTaps + i] = asInt32(l + h);
    }
    for (int i = 0; i < count; ++i) {
      out[2 * i] = asInt32(dot8(kQmfEvenTapsReversed, diff + i + 1)) >> 15;
      out[2 * i + 1] = asInt32(dot8(kQmfEvenTaps, sum + i + 1)) >> 15;
    }
    stateFromLine(diff + count, state.first);
    stateFromLine(sum + count, state.second);
    low += count;
    high += count;
    out += 2 * count;
    n -= count;
  }
}

}  // namespace zv::qv160mx
