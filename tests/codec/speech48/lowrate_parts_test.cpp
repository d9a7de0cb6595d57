// The codec's parts: the frame's packing, the decoded fields (LSFs, lags,
// pulses), the predictor conversions and the integer helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "codec/speech48/excitation.h"
#include "codec/speech48/fixed_point.h"
#include "codec/speech48/frame_packing.h"
#include "codec/speech48/lpc.h"

namespace zv::qv48::test {
namespace {

bool sameFields(const FrameFields& a, const FrameFields& b) {
  if (std::memcmp(a.lsf, b.lsf, sizeof a.lsf) != 0) return false;
  for (int s = 0; s < kSubframes; ++s) {
    const SubframeFields& x = a.subframe[s];
    const SubframeFields& y = b.subframe[s];
    if (x.lag != y.lag || std::memcmp(x.pulse, y.pulse, 3) != 0 || x.signs != y.signs ||
        x.pitchGain != y.pitchGain || x.codeGain != y.codeGain)
      return false;
  }
  return true;
}

int lagBits(int subframe) { return subframe % 2 == 0 ? kAbsoluteLagBits : kDeltaLagBits; }

FrameFields randomFields(std::mt19937& random) {
  auto field = [&](int bits) { return static_cast<uint8_t>(random() & ((1u << bits) - 1)); };
  FrameFields f;
  for (int i = 0; i < kOrder; ++i) f.lsf[i] = field(kLsfBits[i]);
  for (int s = 0; s < kSubframes; ++s) {
    SubframeFields& sub = f.subframe[s];
    sub.lag = field(lagBits(s));
    for (int p = 0; p < 3; ++p) sub.pulse[p] = field(kPulseBits[p]);
    sub.signs = field(kSignBits);
    sub.pitchGain = field(kPitchGainBits);
    sub.codeGain = field(kCodeGainBits);
  }
  return f;
}

TEST(LowRateFrame, PackingAndUnpackingAreInversesAndFillAll144Bits) {
  std::mt19937 random(48);
  for (int trial = 0; trial < 200; ++trial) {
    const FrameFields fields = randomFields(random);
    uint8_t bytes[kFrameBytes];
    packFrame(fields, bytes);
    FrameFields back;
    unpackFrame(bytes, back);
    ASSERT_TRUE(sameFields(fields, back)) << "trial " << trial;
  }
  // Every bit of the frame belongs to a field: all fields at their maximum
  // give all ones, and all ones unpack to those maxima.
  uint8_t ones[kFrameBytes];
  std::memset(ones, 0xFF, sizeof ones);
  FrameFields maxima;
  unpackFrame(ones, maxima);
  uint8_t repacked[kFrameBytes];
  packFrame(maxima, repacked);
  EXPECT_EQ(std::memcmp(ones, repacked, kFrameBytes), 0);
  EXPECT_EQ(maxima.subframe[0].lag, 127);
  EXPECT_EQ(maxima.subframe[1].lag, 15);
}

// The order of FRAME_FORMAT.md: the first LSF index in the top bits of
// byte 0, the last subframe's codebook gain in the bottom bits of byte 17.
TEST(LowRateFrame, FieldsArePackedMostSignificantBitFirstInTheDocumentedOrder) {
  FrameFields fields;
  fields.lsf[0] = 0x9;                   // 1001 → byte 0 = 1001 0000
  fields.subframe[3].codeGain = 0x5;     // 101 → byte 17 = xxxx x101
  fields.subframe[0].lag = 0x7F;         // bits 34..40
  uint8_t bytes[kFrameBytes];
  packFrame(fields, bytes);
  EXPECT_EQ(bytes[0], 0x90);
  EXPECT_EQ(bytes[17], 0x05);
  // Bits 34..40: the low six bits of byte 4 and the top bit of byte 5.
  EXPECT_EQ(bytes[4], 0x3F);
  EXPECT_EQ(bytes[5], 0x80);
}

TEST(LowRateFields, PulsePositionsFollowTheirTracksAndIndex15IsDropped) {
  EXPECT_EQ(pulsePosition(0, 0), 0);
  EXPECT_EQ(pulsePosition(0, 14), 56);
  EXPECT_EQ(pulsePosition(1, 3), 13);
  EXPECT_EQ(pulsePosition(2, 14), 58);
  EXPECT_EQ(pulsePosition(2, 16), 3);
  EXPECT_EQ(pulsePosition(2, 30), 59);
  EXPECT_GE(pulsePosition(0, 15), kSubframeSamples);
  EXPECT_GE(pulsePosition(2, 31), kSubframeSamples);

  SubframeFields fields;
  fields.pulse[0] = 15;  // dropped
  fields.pulse[1] = 2;   // position 9, positive
  fields.pulse[2] = 17;  // track 3: position 7, negative
  fields.signs = 0x1;
  int32_t c[kSubframeSamples];
  codeVector(fields, kMaxLag, 0, c);
  for (int n = 0; n < kSubframeSamples; ++n) {
    const int32_t expected = n == 9 ? 16384 : n == 7 ? -16384 : 0;
    EXPECT_EQ(c[n], expected) << "sample " << n;
  }
  // A lag shorter than the subframe repeats each pulse, scaled by β.
  codeVector(fields, 20, 8192, c);
  EXPECT_EQ(c[29], 8192);
  EXPECT_EQ(c[49], 4096);
  EXPECT_EQ(c[27], -8192);
}

TEST(LowRateFields, LagsStayWithin20To147) {
  struct Case {
    int subframe, field, previous, lag;
  };
  const Case cases[] = {{0, 0, 80, 20},    {0, 127, 80, 147}, {2, 60, 20, 80},
                        {1, 8, 80, 80},    {1, 0, 80, 72},    {3, 15, 80, 87},
                        {1, 0, 22, 20},    {3, 15, 145, 147}};
  for (const Case& c : cases)
    EXPECT_EQ(decodeLag(c.subframe, static_cast<uint8_t>(c.field), c.previous), c.lag)
        << "subframe " << c.subframe << " field " << c.field << " previous " << c.previous;
}

TEST(LowRateFields, DecodedLsfsAscendWithTheirGapForEveryIndexPattern) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 500; ++trial) {
    uint8_t index[kOrder];
    for (int i = 0; i < kOrder; ++i) {
      const unsigned top = (1u << kLsfBits[i]) - 1;
      index[i] = static_cast<uint8_t>(trial == 0 ? 0 : trial == 1 ? top : random() & top);
    }
    Lsf lsf;
    decodeLsf(index, lsf);
    EXPECT_GE(lsf[0], kLsfMinGap);
    EXPECT_LE(lsf[kOrder - 1], kLsfPi - kLsfMinGap);
    for (int i = 1; i < kOrder; ++i) ASSERT_GE(lsf[i] - lsf[i - 1], kLsfMinGap) << trial;
  }
}

// A resonant predictor (what the analysis gives for the autoregressive
// signal below) → LSFs → predictor comes back within rounding.
TEST(LowRatePredictor, LsfConversionRoundTripsAStablePredictor) {
  const Lpc a = {4096, -5790, 2811, 142, -78, 387, 639, -1136, 593, -219, 462};
  Lsf lsf;
  ASSERT_TRUE(lpcToLsf(a, lsf));
  for (int i = 1; i < kOrder; ++i) EXPECT_GT(lsf[i], lsf[i - 1]);
  Lpc back;
  lsfToLpc(lsf, back);
  EXPECT_EQ(back[0], 4096);
  for (int i = 1; i <= kOrder; ++i) EXPECT_NEAR(back[i], a[i], 4) << "a[" << i << "]";
  // Evenly spaced LSFs are the flat predictor A(z) = 1.
  Lsf even;
  initialLsf(even);
  lsfToLpc(even, back);
  for (int i = 1; i <= kOrder; ++i) EXPECT_NEAR(back[i], 0, 2) << "a[" << i << "]";
}

TEST(LowRatePredictor, AnalysisFindsTheResonanceOfAnAutoregressiveSignal) {
  // x[n] = e[n] + 1.6·x[n−1] − 0.9·x[n−2]: a pole pair near 0.95·e^{±j0.56}.
  std::mt19937 random(3);
  int32_t block[kWindowSamples];
  double x1 = 0, x2 = 0;
  for (int n = 0; n < kWindowSamples; ++n) {
    const double x = static_cast<int>(random() % 2001) - 1000 + 1.6 * x1 - 0.9 * x2;
    x2 = x1;
    x1 = x;
    block[n] = static_cast<int32_t>(x) * 4;
  }
  Lpc a;
  ASSERT_TRUE(analyseBlock(block, a));
  EXPECT_NEAR(a[1], -1.6 * 4096, 0.1 * 4096);
  EXPECT_NEAR(a[2], 0.9 * 4096, 0.15 * 4096);
  // Silence gives no predictor, and leaves `a` as it was.
  int32_t silent[kWindowSamples] = {};
  Lpc untouched = {1, 2, 3};
  EXPECT_FALSE(analyseBlock(silent, untouched));
  EXPECT_EQ(untouched[1], 2);
}

TEST(LowRateIntegers, PowersOfTwoAndSquareRootsAreExactWhereTheyShouldBe) {
  EXPECT_EQ(pow2Q10(0), 1);
  EXPECT_EQ(pow2Q10(10 * 1024), 1024);
  EXPECT_EQ(pow2Q10(17 * 1024), 131072);
  EXPECT_NEAR(pow2Q10(10 * 1024 + 512), 1448, 1);  // 2^10.5
  for (uint64_t v : {0ull, 1ull, 2ull, 99ull, 100ull, (1ull << 62) - 1, 123456789012345ull}) {
    const uint64_t r = squareRoot(v);
    EXPECT_LE(r * r, v);
    EXPECT_GT((r + 1) * (r + 1), v);
  }
  // Ratios beyond 64-bit products: 2^40²/2^20 against 2^40²/2^21.
  const int64_t big = int64_t{1} << 40;
  EXPECT_TRUE(greater(squareOver(big, int64_t{1} << 20), squareOver(big, int64_t{1} << 21)));
  EXPECT_FALSE(greater(squareOver(big, int64_t{1} << 21), squareOver(big, int64_t{1} << 20)));
  EXPECT_TRUE(greater(squareOver(3, 1), squareOver(0, 1)));
}

TEST(LowRateIntegers, ExactDivisionByMultiplicationMatchesTheDivideOperator) {
  // The divisors the pitch postfilter uses, the ends of the dividends'
  // range, exact multiples and their neighbours, and random values.
  std::mt19937_64 random(48);
  const int64_t limit = (int64_t{1} << 34) - 1;
  for (int32_t d : {16384, 16385, 17000, 19661, 20479, 20480, 32768}) {
    const ExactDivisor divisor(d);
    std::vector<int64_t> dividends = {0, 1, -1, d - 1, d, d + 1, -d, -d - 1, limit, -limit};
    for (int64_t k : {int64_t{3}, int64_t{12345}, limit / d}) {
      for (int64_t off : {int64_t{-1}, int64_t{0}, int64_t{1}}) {
        dividends.push_back(k * d + off);
        dividends.push_back(-(k * d + off));
      }
    }
    for (int i = 0; i < 2000; ++i)
      dividends.push_back(static_cast<int64_t>(random() % (2 * static_cast<uint64_t>(limit) + 1)) - limit);
    for (int64_t x : dividends) ASSERT_EQ(divisor.divide(x), x / d) << x << " / " << d;
  }
}

}  // namespace
}  // namespace zv::qv48::test
