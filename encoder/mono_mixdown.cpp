#include "encoder/mono_mixdown.h"

#include <cmath>
#include <cstring>

namespace zv {

namespace {

// One integer sample of `bytes` bytes at `at` with its low `clearBits` bits
// cleared, as a signed value of that width (8-bit samples are unsigned in
// the file: 128 is silence).
std::int32_t integerSample(const std::uint8_t* at, unsigned bytes, std::uint32_t keepMask) {
  switch (bytes) {
    case 1: return static_cast<std::int32_t>(at[0] & keepMask) - 128;
    case 2: return static_cast<std::int16_t>((at[0] | (at[1] << 8)) & keepMask);
    case 3: {
      const std::uint32_t raw =
          (at[0] | (at[1] << 8) | (static_cast<std::uint32_t>(at[2]) << 16)) & keepMask;
      return static_cast<std::int32_t>(raw << 8) >> 8;
    }
    default:
      return static_cast<std::int32_t>(
          (at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24)) &
          keepMask);
  }
}

double floatSample(const std::uint8_t* at, unsigned bytes) {
  if (bytes == 4) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | at[i];
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | at[i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// NaN and infinities carry no usable value; beyond full scale is clipped.
double sanitized(double value) {
  if (!std::isfinite(value)) return 0.0;
  if (value > 1.0) return 1.0;
  if (value < -1.0) return -1.0;
  return value;
}

std::int16_t clampTo16(double value) {
  const long rounded = std::lrint(value);
  if (rounded > 32767) return 32767;
  if (rounded < -32768) return -32768;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

void mixDownFrames(const SampleLayout& layout, const std::uint8_t* bytes, std::size_t frames,
                   std::int16_t* mono) {
  const unsigned channels = layout.channels;
  const unsigned width = layout.containerBytes;
  const std::uint8_t* at = bytes;
  if (layout.encoding == SampleEncoding::Float) {
    for (std::size_t frame = 0; frame < frames; ++frame) {
      double sum = 0.0;
      for (unsigned channel = 0; channel < channels; ++channel, at += width)
        sum += sanitized(floatSample(at, width));
      mono[frame] = clampTo16(sum / channels * 32768.0);
    }
    return;
  }
  const unsigned clearBits = 8 * width - layout.validBits;
  const std::uint32_t keepMask = ~((std::uint32_t{1} << clearBits) - 1u);
  const double scale = std::ldexp(1.0, 16 - 8 * static_cast<int>(width));
  for (std::size_t frame = 0; frame < frames; ++frame) {
    // Exact: at most 65535 channels of 32-bit values.
    std::int64_t sum = 0;
    for (unsigned channel = 0; channel < channels; ++channel, at += width)
      sum += integerSample(at, width, keepMask);
    mono[frame] = clampTo16(static_cast<double>(sum) / channels * scale);
  }
}

void mixDownNormalized(const double* samples, std::size_t frames, unsigned channels,
                       std::int16_t* mono) {
  for (std::size_t frame = 0; frame < frames; ++frame) {
    double sum = 0.0;
    for (unsigned channel = 0; channel < channels; ++channel) sum += sanitized(*samples++);
    mono[frame] = clampTo16(sum / channels * 32768.0);
  }
}

}  // namespace zv
