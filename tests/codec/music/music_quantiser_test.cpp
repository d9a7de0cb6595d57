// Scale choice, quantiser, codewords and reconstruction of one band.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "codec/music/band_dequantiser.h"
#include "codec/music/band_quantiser.h"

namespace zv::qv160mx {
namespace {

TEST(MusicQuantiser, ScaleIndexIsTheSmallestEntryCoveringThePeak) {
  struct Case {
    int32_t peak;
    int index;
  };
  const Case cases[] = {{0, 0},     {5, 0},     {6, 1},     {20, 1},    {21, 2},
                        {1250, 20}, {7095, 30}, {7096, 31}, {9000, 31}, {9001, 31},
                        {65536, 31}};
  for (const Case& c : cases) EXPECT_EQ(scaleIndexForPeak(c.peak), c.index) << "peak " << c.peak;
}

TEST(MusicQuantiser, ValueOnAThresholdTakesTheLowerIndex) {
  // With scale value 8192, q equals v, so v can sit exactly on a threshold.
  struct Case {
    int32_t v;
    int levels;
    int index;
  };
  const Case cases[] = {
      {-2500, 3, 0}, {-2499, 3, 1}, {2500, 3, 1}, {2501, 3, 2},
      {-5802, 5, 0}, {-1160, 5, 1}, {0, 5, 2},    {1160, 5, 2}, {1161, 5, 3}, {5803, 5, 4},
      {-921, 9, 3},  {-920, 9, 4},  {921, 9, 4},  {6452, 9, 8},
      {778, 11, 5},  {779, 11, 6},  {7005, 11, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quantiseSample(c.v, 8192, c.levels), c.index) << "v " << c.v << ", L " << c.levels;
  }
}

TEST(MusicQuantiser, DivisionTruncatesTowardsZero) {
  // q = (v * 8192) / 9000: v = 2747 gives 2500.3 -> 2500 (index 1, on the
  // threshold); v = -2747 gives -2500.3 -> -2500 (index 0). Rounding towards
  // minus infinity would give -2501 and the same index, so check the
  // positive side one step up too: v = 2748 -> 2501.2 -> 2501 (index 2).
  EXPECT_EQ(quantiseSample(2747, 9000, 3), 1);
  EXPECT_EQ(quantiseSample(-2747, 9000, 3), 0);
  EXPECT_EQ(quantiseSample(2748, 9000, 3), 2);
  // -2746 * 8192 / 9000 = -2499.4: truncation gives -2499 (index 1), rounding
  // down would give -2500 (index 0).
  EXPECT_EQ(quantiseSample(-2746, 9000, 3), 1);
}

TEST(MusicQuantiser, SamplesFarBeyondTheScaleSaturateToTheOuterLevelOfTheirSign) {
  // 40000 * 8192 / 9000 = 36408, which as a wrapped 16-bit value would be
  // -29128 and land on the lowest level; saturated it is 32767, the highest.
  for (int levels : {3, 5, 7, 9}) {
    EXPECT_EQ(quantiseSample(40000, 9000, levels), levels - 1) << "L " << levels;
    EXPECT_EQ(quantiseSample(-40000, 9000, levels), 0) << "L " << levels;
    EXPECT_EQ(quantiseSample(65536, 5, levels), levels - 1) << "L " << levels;
    EXPECT_EQ(quantiseSample(-65536, 5, levels), 0) << "L " << levels;
  }
}

TEST(MusicQuantiser, BandQuantiserAgreesWithTheDivisionRule) {
  // quantiseBand compares with per-band bounds instead of dividing; it must
  // give exactly the indices of quantiseSample for every level count, every
  // scale value and every sample a band can hold (|v| <= 65536), including
  // values exactly on the bounds, around zero and far beyond the scale.
  std::vector<int32_t> values;
  for (int32_t v = -10000; v <= 10000; ++v) values.push_back(v);
  for (int32_t v = 10001; v <= 65536; v += 97) {
    values.push_back(v);
    values.push_back(-v);
  }
  for (int32_t v : {32767, 32768, 32769, 65535, 65536, -32767, -32768, -32769, -65535, -65536}) {
    values.push_back(v);
  }
  while (values.size() % 16 != 0) values.push_back(0);
  for (int levels : {3, 5, 7, 9, 11}) {
    for (int32_t scaleValue : kScaleTable) {
      for (size_t start = 0; start < values.size(); start += 16) {
        uint32_t codewords[2];
        quantiseBand(values.data() + start, scaleValue, levels, codewords);
        for (int half = 0; half < 2; ++half) {
          uint32_t expected = 0;
          for (int i = 0; i < 8; ++i) {
            expected = expected * static_cast<uint32_t>(levels) +
                       static_cast<uint32_t>(quantiseSample(values[start + 8 * half + i], scaleValue, levels));
          }
          ASSERT_EQ(codewords[half], expected)
              << "L " << levels << ", SF " << scaleValue << ", samples from " << values[start + 8 * half];
        }
      }
    }
  }
}

TEST(MusicQuantiser, CodewordPutsTheFirstSampleInTheMostSignificantDigit) {
  int32_t samples[16] = {};
  // Scale 8192: v = 3000 is index 2 of 3 levels, 0 is index 1, -3000 index 0.
  samples[0] = 3000;   // first sample of the first codeword
  samples[7] = -3000;  // last sample of the first codeword
  samples[8] = -3000;  // first sample of the second codeword
  uint32_t codewords[2];
  quantiseBand(samples, 8192, 3, codewords);
  const uint32_t allMiddle = 3280;  // 1111 1111 in base 3
  EXPECT_EQ(codewords[0], allMiddle + 2187 - 1);  // digit 0: 1 -> 2 (+3^7); digit 7: 1 -> 0 (-1)
  EXPECT_EQ(codewords[1], allMiddle - 2187);      // digit 0: 1 -> 0
}

TEST(MusicDequantiser, ReconstructsTheQuantisedLevels) {
  std::mt19937 random(3);
  for (int levels : {3, 5, 7, 9}) {
    for (int trial = 0; trial < 50; ++trial) {
      // Codewords with random digits; splitting must give the digits back,
      // and quantising the reconstruction must give the codewords back.
      uint32_t codewords[2] = {0, 0};
      for (auto& codeword : codewords) {
        for (int i = 0; i < 8; ++i) codeword = codeword * static_cast<uint32_t>(levels) + random() % static_cast<uint32_t>(levels);
      }
      int32_t samples[16];
      reconstructBand(codewords, levels, 9000, samples);
      uint32_t again[2];
      quantiseBand(samples, 9000, levels, again);
      EXPECT_EQ(again[0], codewords[0]) << "L " << levels;
      EXPECT_EQ(again[1], codewords[1]) << "L " << levels;
    }
  }
}

TEST(MusicDequantiser, LargestBandSampleAtFullScaleIs8101) {
  // Scale 9000, 9 levels: (-7373 * 9000) >> 13 = floor(-8100.2) = -8101 and
  // (7373 * 9000) >> 13 = 8100.
  const uint32_t lowest[2] = {0, 0};  // every digit 0
  int32_t samples[16];
  reconstructBand(lowest, 9, 9000, samples);
  for (int32_t s : samples) EXPECT_EQ(s, -8101);
  const uint32_t highest[2] = {43046720, 43046720};  // 9^8 - 1: every digit 8
  reconstructBand(highest, 9, 9000, samples);
  for (int32_t s : samples) EXPECT_EQ(s, 8100);
}

TEST(MusicDequantiser, OversizedCodewordsStillGiveDigitsWithinTheLevels) {
  // A corrupt frame can carry 2^26 - 1 in a 9-level codeword (9^8 - 1 is the
  // largest meaningful one); every digit is taken modulo L.
  const uint32_t corrupt[2] = {(1u << 26) - 1, (1u << 26) - 1};
  int32_t samples[16];
  reconstructBand(corrupt, 9, 9000, samples);
  for (int32_t s : samples) {
    EXPECT_GE(s, -8101);
    EXPECT_LE(s, 8100);
  }
  const uint32_t corrupt3[2] = {(1u << 13) - 1, (1u << 13) - 1};  // 8191 > 3^8 - 1 = 6560
  reconstructBand(corrupt3, 3, 1, samples);
  for (int32_t s : samples) EXPECT_TRUE(s == -1 || s == 0) << s;  // (+-3500 * 1) >> 13
}

}  // namespace
}  // namespace zv::qv160mx
