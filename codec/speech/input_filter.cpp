#include "codec/speech/input_filter.h"

namespace zv::qv80 {

void convertInput(const uint8_t* pcm, bool eightBit, float out[kFrameSamples]) {
  if (eightBit) {
    for (int i = 0; i < kFrameSamples; ++i) out[i] = static_cast<float>((pcm[i] - 128) * 256);
  } else {
    for (int i = 0; i < kFrameSamples; ++i)
      out[i] = static_cast<float>(static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)));
  }
}

void highPassFilter(InputFilterState& state, float* samples, int count) {
  float previousInput = state.previousInput;
  float previousOutput = state.previousOutput;
  for (int i = 0; i < count; ++i) {
    const float x = samples[i];
    const Ext y = 0.5f * (static_cast<Ext>(x) - previousInput) +
                  static_cast<Ext>(0.94f) * previousOutput + 0.001f;
    previousInput = x;
    previousOutput = static_cast<float>(y);
    samples[i] = previousOutput;
  }
  state.previousInput = previousInput;
  state.previousOutput = previousOutput;
}

}  // namespace zv::qv80
