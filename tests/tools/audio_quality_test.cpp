#include "tools/audio_quality.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<int16_t> tone(std::size_t n, double hz, double amplitude) {
  std::vector<int16_t> out(n);
  for (std::size_t i = 0; i < n; ++i)
    out[i] = static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * M_PI * hz * i / 8000.0)));
  return out;
}

TEST(SegmentalSnr, IdenticalSignalsReachTheCeilingAndSilenceDoesNotCount) {
  auto source = tone(1600, 440.0, 8000.0);
  source.insert(source.end(), 800, 0);  // five silent frames
  const auto snr = zv::quality::segmentalSnr(source, source, 0);
  EXPECT_EQ(snr.frames, 10u);
  EXPECT_DOUBLE_EQ(snr.meanDb, 35.0);
}

TEST(SegmentalSnr, HalfAmplitudeCopyGivesSixDecibels) {
  // s − s/2 = s/2, so every frame is 10·log10(4) = 6.02 dB.
  const auto source = tone(1600, 300.0, 10000.0);
  std::vector<int16_t> half(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) half[i] = static_cast<int16_t>(source[i] / 2);
  EXPECT_NEAR(zv::quality::segmentalSnr(source, half, 0).meanDb, 6.02, 0.05);
}

TEST(SegmentalSnr, ComparesAcrossTheGivenDelay) {
  const auto source = tone(3200, 523.0, 9000.0);
  std::vector<int16_t> delayed(84, 0);
  delayed.insert(delayed.end(), source.begin(), source.end());
  EXPECT_DOUBLE_EQ(zv::quality::segmentalSnr(source, delayed, 84).meanDb, 35.0);
  EXPECT_LT(zv::quality::segmentalSnr(source, delayed, 0).meanDb, 5.0);
}

TEST(BestDelay, FindsTheLagOfADelayedCopy) {
  // Noise-like content has a single correlation peak.
  std::vector<int16_t> source(4000);
  uint32_t seed = 12345;
  for (auto& s : source) {
    seed = seed * 1103515245u + 12345u;
    s = static_cast<int16_t>((seed >> 16) & 0x3FFF) - 8192;
  }
  std::vector<int16_t> delayed(97, 0);
  delayed.insert(delayed.end(), source.begin(), source.end());
  EXPECT_EQ(zv::quality::bestDelay(source, delayed, 200), 97u);
}

}  // namespace

namespace {

TEST(LogSpectralDistance, ZeroForACopyAndLargeForSilenceAndSixDecibelsForHalfLevel) {
  std::vector<int16_t> source(4096);
  uint32_t seed = 99;
  for (auto& s : source) {
    seed = seed * 1103515245u + 12345u;
    s = static_cast<int16_t>((seed >> 16) & 0x3FFF) - 8192;
  }
  EXPECT_NEAR(zv::quality::logSpectralDistanceDb(source, source, 0), 0.0, 1e-9);
  const std::vector<int16_t> silence(source.size(), 0);
  EXPECT_GT(zv::quality::logSpectralDistanceDb(source, silence, 0), 80.0);
  // Half the amplitude is a quarter of the power in every band: 6.02 dB.
  std::vector<int16_t> half(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) half[i] = static_cast<int16_t>(source[i] / 2);
  EXPECT_NEAR(zv::quality::logSpectralDistanceDb(source, half, 0), 6.02, 0.05);
}

TEST(NormalisedCorrelation, OneForAScaledCopyMinusOneForAnInvertedOneZeroForSilence) {
  const auto source = tone(2000, 700.0, 6000.0);
  std::vector<int16_t> scaled(source.size()), inverted(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) {
    scaled[i] = static_cast<int16_t>(source[i] / 2);
    inverted[i] = static_cast<int16_t>(-source[i]);
  }
  EXPECT_NEAR(zv::quality::normalisedCorrelation(source, scaled, 0), 1.0, 1e-4);
  EXPECT_NEAR(zv::quality::normalisedCorrelation(source, inverted, 0), -1.0, 1e-9);
  EXPECT_EQ(zv::quality::normalisedCorrelation(source, std::vector<int16_t>(2000, 0), 0), 0.0);
}

}  // namespace
