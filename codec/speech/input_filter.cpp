#include "codec/speech/input_filter.h"

#include "codec/speech/certified_rounding.h"

namespace zv::qv80 {
namespace {
constexpr float kPole = 0.94f;
constexpr float kOffset = 0.001f;
}  // namespace

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
  // Certified fast path: the three terms are exact in double (the input
  // difference of two floats scaled by 0.5 is exact in both precisions once
  // rounded, and is bounded with the rest), two additions round in each
  // precision: |y − Y| ≤ 4·2⁻⁵²·(|a| + |b| + |c|) + 2·2⁻⁵²·|y| is ample.
  const double pole = kPole;
  for (int i = 0; i < count; ++i) {
    const float x = samples[i];
    const double difference = 0.5 * (static_cast<double>(x) - previousInput);
    const double feedback = pole * previousOutput;
    const double y = difference + feedback + kOffset;
    const double size = magnitude(difference) + magnitude(feedback) + kOffset;
    float output = static_cast<float>(y);
    if (!roundingIsCertain(y, 4 * kBoundUnit * size + 2 * kBoundUnit * magnitude(y)))
      output = static_cast<float>(0.5f * (static_cast<Ext>(x) - previousInput) +
                                  static_cast<Ext>(kPole) * previousOutput + kOffset);
    previousInput = x;
    previousOutput = output;
    samples[i] = output;
  }
  state.previousInput = previousInput;
  state.previousOutput = previousOutput;
}

}  // namespace zv::qv80
