#include "codec/music/pre_filter.h"

#include "codec/music/saturate.h"

namespace zv::qv160mx {

namespace {

// One step of the recurrence. |x - x'| <= 65535, so 16384 * (x - x') and
// 30802 * y' both fit in 31 bits and their sum in a 32-bit integer; it is
// formed in 64 bits only to keep the bound obvious.
inline int32_t preFilterStep(PreFilterState& state, int32_t x) {
  const int64_t acc = 16384 * static_cast<int64_t>(x - state.previousInput) +
                      30802 * static_cast<int64_t>(state.previousOutput);
  const int32_t y = saturateToInt16(acc >> 15);
  state.previousInput = x;
  state.previousOutput = y;
  return y;
}

}  // namespace

void preFilterPcm(PreFilterState& state, const uint8_t* pcm, int count, int32_t* out) {
  for (int i = 0; i < count; ++i) {
    const int32_t x = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)));
    out[i] = preFilterStep(state, x);
  }
}

void preFilterSamples(PreFilterState& state, const int16_t* in, int count, int32_t* out) {
  for (int i = 0; i < count; ++i) out[i] = preFilterStep(state, in[i]);
}

}  // namespace zv::qv160mx
