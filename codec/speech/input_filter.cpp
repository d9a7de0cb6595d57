#include "codec/speech/input_filter.h"

#include <cstring>

#include "codec/speech/certified_recursion.h"
#include "codec/speech/certified_rounding.h"

namespace zv::ZV_QV80_NAMESPACE {
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

namespace {

// The input filter on the certified fast path (certified_recursion.h): the
// three terms of y are exact in double or bounded with the rest, two
// additions round in each precision, so B = 4·2⁻⁵²·max(|a| + |b| + |c|) over
// the block and 4·2⁻⁵²·|y| is ample.
class InputFilterBlock {
 public:
  InputFilterBlock(const InputFilterState& state, float* samples, int count)
      : state_(state), y_(samples), count_(count) {
    for (int i = 0; i < count; ++i) x_[i] = samples[i];
  }

  float input(int i) const { return x_[i]; }
  const double* values() const { return value_; }
  double sumBound() const {
    double largest = 0.0;
    for (int i = 0; i < count_; ++i) largest = largest > size_[i] ? largest : size_[i];
    return 4 * kBoundUnit * largest;
  }
  bool settle(int i) {
    const float previousInput = i > 0 ? x_[i - 1] : state_.previousInput;
    const float previousOutput = i > 0 ? y_[i - 1] : state_.previousOutput;
    const float exact = static_cast<float>(0.5f * (static_cast<Ext>(x_[i]) - previousInput) +
                                           static_cast<Ext>(kPole) * previousOutput + kOffset);
    if (std::memcmp(&exact, &y_[i], sizeof exact) == 0) return false;
    y_[i] = exact;
    return true;
  }
  void run(int from, int n) {
    const double pole = kPole;
    double previousOutput = from > 0 ? y_[from - 1] : state_.previousOutput;
    for (int i = from; i < n; ++i) {
      const float previousInput = i > 0 ? x_[i - 1] : state_.previousInput;
      const double difference = 0.5 * (static_cast<double>(x_[i]) - previousInput);
      const double feedback = pole * previousOutput;
      const double y = (difference + kOffset) + feedback;
      size_[i] = magnitude(difference) + magnitude(feedback) + kOffset;
      value_[i] = y;
      const float rounded = static_cast<float>(y);
      y_[i] = rounded;
      previousOutput = rounded;
    }
  }

 private:
  const InputFilterState& state_;
  float* y_;
  int count_;
  float x_[kFrameSamples];
  double value_[kFrameSamples];
  double size_[kFrameSamples];
};

}  // namespace

void highPassFilter(InputFilterState& state, float* samples, int count, cpu::Arch arch) {
  for (int start = 0; start < count; start += kFrameSamples) {
    const int length = count - start < kFrameSamples ? count - start : kFrameSamples;
    InputFilterBlock block(state, samples + start, length);
    block.run(0, length);
    certifyRecursion(block, 0, length, arch);
    state.previousInput = block.input(length - 1);
    state.previousOutput = samples[start + length - 1];
  }
}

}  // namespace zv::ZV_QV80_NAMESPACE
