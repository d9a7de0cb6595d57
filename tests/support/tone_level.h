// How loud one frequency is in recorded sound, for tests that play a tone
// and check what a recording heard.
#ifndef ZV_TESTS_SUPPORT_TONE_LEVEL_H
#define ZV_TESTS_SUPPORT_TONE_LEVEL_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>

namespace zv::test {

// The amplitude of the `hz` component of `count` samples at `rateHz`
// (Goertzel): a sine of amplitude A whole periods long gives A.
inline double toneLevel(const std::int16_t* samples, std::size_t count, double hz, double rateHz) {
  const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * hz / rateHz);
  double previous = 0, beforePrevious = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double current = samples[i] + coefficient * previous - beforePrevious;
    beforePrevious = previous;
    previous = current;
  }
  const double power =
      previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count);
}

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_TONE_LEVEL_H
