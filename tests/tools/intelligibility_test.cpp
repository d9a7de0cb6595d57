#include "tools/intelligibility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Two seconds of something speech-like at 8 kHz: a 110–150 Hz voice with
// harmonics up to 3.5 kHz whose loudness rises and falls four times a second
// (syllables), with two spectral tilts taking turns (vowels), and pauses.
std::vector<int16_t> voiceLike() {
  std::vector<int16_t> out(16000);
  double phase = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / 8000.0;
    const double pitch = 130.0 + 20.0 * std::sin(2.0 * M_PI * 0.7 * t);
    phase += 2.0 * M_PI * pitch / 8000.0;
    const double syllable = std::pow(std::fabs(std::sin(2.0 * M_PI * 2.0 * t)), 2.0);
    const bool pause = std::fmod(t, 1.0) > 0.8;
    const double bright = 0.5 + 0.5 * std::sin(2.0 * M_PI * 1.3 * t);
    double v = 0.0;
    for (int h = 1; h * pitch < 3500.0; ++h)
      v += std::sin(h * phase) * (bright / h + (1.0 - bright) / (h * h));
    out[i] = static_cast<int16_t>(std::lround(pause ? 0.0 : 6000.0 * syllable * v));
  }
  return out;
}

std::vector<int16_t> withNoise(const std::vector<int16_t>& clean, double snrDb) {
  double power = 0.0;
  for (auto s : clean) power += double(s) * s;
  power /= clean.size();
  const double noiseRms = std::sqrt(power / std::pow(10.0, snrDb / 10.0));
  std::vector<int16_t> out(clean.size());
  uint32_t seed = 2024;
  for (std::size_t i = 0; i < clean.size(); ++i) {
    // Twelve uniform draws make a near-Gaussian one with unit variance.
    double g = -6.0;
    for (int k = 0; k < 12; ++k) {
      seed = seed * 1664525u + 1013904223u;
      g += (seed >> 8) / 16777216.0;
    }
    out[i] = static_cast<int16_t>(std::clamp(std::lround(clean[i] + noiseRms * g), -32768L, 32767L));
  }
  return out;
}

TEST(ShortTimeIntelligibility, OneForACopyWhateverItsLevel) {
  const auto source = voiceLike();
  std::vector<int16_t> half(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) half[i] = static_cast<int16_t>(source[i] / 2);
  EXPECT_NEAR(*zv::quality::shortTimeIntelligibility(source, source, 0), 1.0, 1e-6);
  EXPECT_NEAR(*zv::quality::shortTimeIntelligibility(source, half, 0), 1.0, 1e-3);
}

TEST(ShortTimeIntelligibility, FallsAsNoiseRises) {
  const auto source = voiceLike();
  double previous = 1.0;
  for (double snrDb : {20.0, 5.0, -5.0, -15.0}) {
    const double figure = *zv::quality::shortTimeIntelligibility(source, withNoise(source, snrDb), 0);
    EXPECT_LT(figure, previous) << snrDb << " dB";
    previous = figure;
  }
  EXPECT_LT(previous, 0.6);  // speech 15 dB under noise is mostly lost
}

TEST(ShortTimeIntelligibility, SilenceCarriesNothing) {
  const auto source = voiceLike();
  EXPECT_NEAR(*zv::quality::shortTimeIntelligibility(source, std::vector<int16_t>(source.size(), 0), 0),
              0.0, 1e-9);
}

TEST(ShortTimeIntelligibility, ComparesAcrossTheGivenDelay) {
  const auto source = voiceLike();
  std::vector<int16_t> delayed(400, 0);
  delayed.insert(delayed.end(), source.begin(), source.end());
  EXPECT_NEAR(*zv::quality::shortTimeIntelligibility(source, delayed, 400), 1.0, 1e-6);
  EXPECT_LT(*zv::quality::shortTimeIntelligibility(source, delayed, 0), 0.95);
}

TEST(ShortTimeIntelligibility, NoFigureForLessThanThirtyFramesOfSpeech) {
  const auto source = voiceLike();
  const std::vector<int16_t> brief(source.begin(), source.begin() + 2400);  // 0.3 s
  EXPECT_FALSE(zv::quality::shortTimeIntelligibility(brief, brief, 0).has_value());
  EXPECT_FALSE(zv::quality::shortTimeIntelligibility(source, source, source.size()).has_value());
}

}  // namespace
