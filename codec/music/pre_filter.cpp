#include "codec/music/pre_filter.h"

#include "codec/music/saturate.h"

namespace zv::qv160mx {

namespace {

// One step of the recurrence. |16384 * (x - x')| <= 16384 * 65535 and
// |30802 * y'| <= 30802 * 32768, so their sum stays below 2^31 - 1: plain
// 32-bit arithmetic is exact here.
inline int32_t preFilterStep(int32_t x, int32_t previousInput, int32_t previousOutput) {
  return saturateToInt16((16384 * (x - previousInput) + 30802 * previousOutput) >> 15);
}

}  // namespace

// Both loops keep the state in locals: the output array could otherwise
// alias it, forcing a reload and a store per sample.
void preFilterPcm(PreFilterState& state, const uint8_t* pcm, int count, int32_t* out) {
  int32_t previousInput = state.previousInput, previousOutput = state.previousOutput;
  for (int i = 0; i < count; ++i) {
    const int32_t x = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)));
    previousOutput = preFilterStep(x, previousInput, previousOutput);
    previousInput = x;
    out[i] = previousOutput;
  }
  state.previousInput = previousInput;
  state.previousOutput = previousOutput;
}

void preFilterSamples(PreFilterState& state, const int16_t* in, int count, int32_t* out) {
  int32_t previousInput = state.previousInput, previousOutput = state.previousOutput;
  for (int i = 0; i < count; ++i) {
    previousOutput = preFilterStep(in[i], previousInput, previousOutput);
    previousInput = in[i];
    out[i] = previousOutput;
  }
  state.previousInput = previousInput;
  state.previousOutput = previousOutput;
}

}  // namespace zv::qv160mx
