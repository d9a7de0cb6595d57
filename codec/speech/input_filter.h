// The encoder's input path: PCM to floats on the 16-bit scale, then a
// high-pass filter with DC removal,
//     y = 0.5·(x − x₋₁) + 0.94·y₋₁ + 0.001,
// computed in extended precision and stored as float. Its passband gain is
// about 0.52; the constant keeps the output of silent input slightly above
// zero (it settles at 0.001/0.06 ≈ 0.0167).
#ifndef ZV_QV80_INPUT_FILTER_H
#define ZV_QV80_INPUT_FILTER_H

#include <cstdint>

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

struct InputFilterState {
  float previousInput;   // x₋₁, 16-bit scale
  float previousOutput;  // y₋₁, 16-bit scale
};

// 160 samples of PCM to floats: 16-bit signed little-endian samples become
// their value; 8-bit unsigned bytes b become (b − 128)·256.
void convertInput(const uint8_t* pcm, bool eightBit, float out[kFrameSamples]);

// Filters `samples[0..count)` in place (any count ≥ 0).
void highPassFilter(InputFilterState& state, float* samples, int count, cpu::Arch arch);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_INPUT_FILTER_H
