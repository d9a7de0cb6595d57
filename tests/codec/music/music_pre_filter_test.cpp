// The encoder's DC-blocking pre-filter with gain 1/2.
#include <gtest/gtest.h>

#include <vector>

#include "codec/music/pre_filter.h"

namespace zv::qv160mx {
namespace {

std::vector<int32_t> filter(const std::vector<int16_t>& in) {
  PreFilterState state{};
  std::vector<int32_t> out(in.size());
  preFilterSamples(state, in.data(), static_cast<int>(in.size()), out.data());
  return out;
}

TEST(MusicPreFilter, FullScaleFallAfterRestingAtMinusOneSaturatesInsteadOfBursting) {
  // A steady 32767 decays to 0; one sample at 32752 pushes the output to -8
  // ((16384 * -15) >> 15 = -7.5 rounded down); back at 32767 it computes
  // (16384 * 15 - 30802 * 8) >> 15 = -656 >> 15 = -1, where it rests since
  // (30802 * -1) >> 15 = -1. The fall to -32768 then computes
  // (16384 * -65535 - 30802) >> 15 = -32769: kept to its low 16 bits that
  // would be +32767, and fed back as the previous output.
  std::vector<int16_t> in(400, 32767);
  in.push_back(32752);
  const size_t dip = in.size() - 1;
  in.insert(in.end(), 50, 32767);
  in.insert(in.end(), 200, -32768);
  const auto out = filter(in);
  EXPECT_EQ(out[0], 16383);
  EXPECT_EQ(out[dip - 1], 0);
  EXPECT_EQ(out[dip], -8);
  EXPECT_EQ(out[dip + 1], -1);
  EXPECT_EQ(out[dip + 50], -1);
  const size_t fall = dip + 51;
  EXPECT_EQ(out[fall], -32768);
  // No burst afterwards: the output decays from the clamp towards -1,
  // staying negative and never growing.
  for (size_t i = fall + 1; i < out.size(); ++i) {
    EXPECT_LT(out[i], 0) << "sample " << i;
    EXPECT_GE(out[i], out[i - 1]) << "sample " << i;
  }
}

TEST(MusicPreFilter, BlocksDirectCurrentAndHalvesTheTop) {
  // DC: after the step the output decays by 0.94 per sample to (near) zero.
  const auto dc = filter(std::vector<int16_t>(300, 10000));
  EXPECT_EQ(dc[0], 5000);
  EXPECT_LE(std::abs(dc.back()), 1);
  // At 4 kHz (alternating signs) the gain is 0.5 * 2 / (1 + 0.94) = 0.5155:
  // half the peak-to-peak swing is 5155. Rounding down in every step adds a
  // bias between -1 and 0 per sample, which the recurrence carries as an
  // offset of at most 1 / (1 - 0.94) = 16.7 below zero.
  std::vector<int16_t> alternating(300);
  for (size_t i = 0; i < alternating.size(); ++i) alternating[i] = i % 2 ? -10000 : 10000;
  const auto top = filter(alternating);
  const int32_t positive = top[top.size() - 2], negative = top.back();
  EXPECT_NEAR((positive - negative) / 2.0, 5155.0, 2.0);
  const double offset = (positive + negative) / 2.0;
  EXPECT_LE(offset, 0.0);
  EXPECT_GT(offset, -16.7);
}

TEST(MusicPreFilter, ReadsLittleEndianPcmLikeIntegerSamples) {
  const std::vector<int16_t> samples = {0, 1, -1, 32767, -32768, 12345, -23456};
  std::vector<uint8_t> bytes;
  for (int16_t s : samples) {
    bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) & 0xFF));
    bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
  }
  PreFilterState state{};
  std::vector<int32_t> fromBytes(samples.size());
  preFilterPcm(state, bytes.data(), static_cast<int>(samples.size()), fromBytes.data());
  EXPECT_EQ(fromBytes, filter(samples));
}

}  // namespace
}  // namespace zv::qv160mx
