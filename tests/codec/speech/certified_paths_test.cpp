// The certified fast path against the reference arithmetic.
//
// The library computes every value in double precision and keeps it only
// when a proven error bound shows that the extended-precision reference
// rounds to the same float; otherwise it recomputes it the reference way.
// These tests run the library, at every kernel level, and its reference build
// (qv80_reference, no fast path at all) on the same material and require
// identical bits: whole
// streams of varied and extreme signals through both encoders and decoders,
// arbitrary frames (unstable ones included) through both decoders, and
// filter blocks built so that values fall exactly on rounding boundaries,
// where only the fallback can decide.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "codec/speech/certified_recursion.h"
#include "codec/speech/certified_sums.h"
#include "codec/speech/lpc_filter.h"
#include "codec/speech/lsf_reconstruct.h"
#include "codec/speech/lsf_to_lpc.h"
#include "codec/speech/speech_tables.h"
#include "tests/codec/kernel_levels.h"
#include "reference_codec.h"
#include "speech_test_support.h"
#include "tools/pcm_wav.h"

namespace zv::qv80::test {
namespace {

using speechtest::referenceAllPoleFilter;
using speechtest::referenceDecode;
using speechtest::referenceEncode;
using speechtest::referenceHalfGap;
using speechtest::referenceInterpolatedLsf;
using speechtest::referenceLpcCoefficient;
using speechtest::referencePolynomialFactorStep;

// Deterministic pseudo-random numbers for the signals.
struct Lcg {
  uint32_t state;
  uint32_t next() { return state = state * 1664525u + 1013904223u; }
  double uniform() { return (next() >> 8) / 16777216.0; }  // [0, 1)
};

std::vector<uint8_t> toPcm16(const std::vector<double>& signal) {
  std::vector<uint8_t> pcm(2 * signal.size());
  for (size_t i = 0; i < signal.size(); ++i) {
    const double clipped = std::fmax(-32768.0, std::fmin(32767.0, std::round(signal[i])));
    const auto s = static_cast<uint16_t>(static_cast<int16_t>(clipped));
    pcm[2 * i] = static_cast<uint8_t>(s & 0xFF);
    pcm[2 * i + 1] = static_cast<uint8_t>(s >> 8);
  }
  return pcm;
}

std::vector<uint8_t> toPcm8(const std::vector<uint8_t>& pcm16) {
  std::vector<uint8_t> pcm(pcm16.size() / 2);
  for (size_t i = 0; i < pcm.size(); ++i)
    pcm[i] = static_cast<uint8_t>((static_cast<int16_t>(pcm16[2 * i] | (pcm16[2 * i + 1] << 8)) >> 8) + 128);
  return pcm;
}

struct Material {
  std::string name;
  std::vector<uint8_t> pcm;
  bool eightBit;
};

// Signals that reach the corners of the arithmetic: full scale and beyond
// (clipped), tiny levels, silence with bursts, constant levels, impulses,
// tones and sweeps, noise; the built-in speech sample in both formats.
std::vector<Material> materials() {
  constexpr double kPi = 3.14159265358979323846;
  constexpr int kRate = 8000;
  std::vector<Material> out;
  auto add16 = [&](const std::string& name, const std::vector<double>& s) {
    out.push_back({name, toPcm16(s), false});
  };
  Lcg random{2024};
  std::vector<double> s;

  s.assign(2 * kRate, 0.0);
  for (double& v : s) v = (random.uniform() - 0.5) * 65535.0;
  add16("full-scale noise", s);
  for (double& v : s) v = (random.uniform() - 0.5) * 6.0;
  add16("noise of a few steps", s);

  s.assign(2 * kRate, 0.0);
  for (size_t n = 0; n < s.size(); ++n) {
    const double t = static_cast<double>(n) / kRate;
    s[n] = 45000.0 * std::sin(2 * kPi * (50.0 * t + 900.0 * t * t));  // clipped sweep 50..3650 Hz
  }
  add16("clipped sweep", s);

  s.assign(kRate, 0.0);
  for (size_t n = 0; n < s.size(); ++n) s[n] = (n / 40) % 2 ? 32767.0 : -32768.0;
  add16("full-scale square", s);
  for (size_t n = 0; n < s.size(); ++n) s[n] = n % 2 ? 32767.0 : -32768.0;
  add16("alternating extremes", s);

  s.assign(kRate, 10000.0);
  add16("constant", s);
  s.assign(kRate, -32768.0);
  add16("constant minimum", s);

  s.assign(kRate, 0.0);
  for (size_t n = 0; n < s.size(); n += 73) s[n] = 30000.0;
  add16("impulses", s);

  s.assign(2 * kRate, 0.0);
  for (size_t n = kRate; n < kRate + 400; ++n) s[n] = 20000.0 * std::sin(0.3 * n) * (random.uniform() + 0.5);
  add16("silence with a burst", s);

  s.assign(kRate, 0.0);
  for (size_t n = 0; n < s.size(); ++n)
    s[n] = 8000.0 * std::sin(2 * kPi * 210.0 * n / kRate) + 3000.0 * std::sin(2 * kPi * 1730.0 * n / kRate);
  add16("two tones", s);

  zv::tools::PcmClip clip;
  std::string error;
  if (zv::tools::readPcm16Wav(std::string(ZV_SOURCE_DIR) + "/data/speech-sample.wav", clip, error)) {
    std::vector<double> speech(clip.samples.begin(), clip.samples.end());
    add16("speech sample", speech);
    out.push_back({"speech sample, 8-bit", toPcm8(toPcm16(speech)), true});
  }
  return out;
}

// Every test runs at each kernel level (GetParam()).
class SpeechCertifiedPaths : public testing::TestWithParam<cpu::Arch> {
 protected:
  void SetUp() override { ZV_SKIP_UNLESS_PROCESSOR_RUNS(GetParam()); }
};

TEST_P(SpeechCertifiedPaths, EncoderAndDecoderMatchTheReferenceArithmetic) {
  const cpu::Arch arch = GetParam();
  const std::vector<Material> all = materials();
  ASSERT_GE(all.size(), 12u);
  for (const Material& m : all) {
    std::vector<uint8_t> fast, reference;
    onFreshThread([&] { fast = encodeStream(m.pcm, m.eightBit, arch); });
    onFreshThread([&] { reference = referenceEncode(m.pcm, m.eightBit); });
    ASSERT_EQ(fast.size(), reference.size()) << m.name;
    for (size_t f = 0; f < fast.size() / kFrameBytes; ++f)
      ASSERT_EQ(std::memcmp(&fast[f * kFrameBytes], &reference[f * kFrameBytes], kFrameBytes), 0)
          << m.name << ": frame " << f;
    EXPECT_EQ(decodeStream(fast, m.eightBit, arch), referenceDecode(fast, m.eightBit)) << m.name;
  }
}

TEST_P(SpeechCertifiedPaths, ArbitraryFramesDecodeAsInTheReferenceArithmetic) {
  const cpu::Arch arch = GetParam();
  // Random bytes: unordered LSFs (unstable synthesis, overflow to infinity
  // and the recovery), lags from 6 to 163, every gain. Both sample formats.
  Lcg random{77};
  std::vector<uint8_t> frames(3000 * kFrameBytes);
  for (uint8_t& b : frames) b = static_cast<uint8_t>(random.next() >> 24);
  for (const bool eightBit : {false, true})
    EXPECT_EQ(decodeStream(frames, eightBit, arch), referenceDecode(frames, eightBit)) << eightBit;
  // A stream that stays unstable until its state overflows.
  std::vector<uint8_t> unstable;
  for (int f = 0; f < 60; ++f) {
    uint8_t frame[kFrameBytes] = {};
    frame[0] = 0xE0;  // e0 = 15, ω0 above ω2
    frame[1] = 0x51;  // lag code 40
    for (int w = 1; w <= 3; ++w) frame[2 * w] = 0xFF, frame[2 * w + 1] = 0x03;  // gains 31
    unstable.insert(unstable.end(), frame, frame + kFrameBytes);
  }
  EXPECT_EQ(decodeStream(unstable, false, arch), referenceDecode(unstable, false));
}

// Values that double precision cannot round like the reference: the exact
// value is 1 + 2⁻²⁴ + 2⁻⁶⁰, just above the midpoint between the floats 1 and
// 1 + 2⁻²³. Extended precision keeps the 2⁻⁶⁰ and rounds up; double loses it,
// lands on the midpoint and rounds to even, 1. Every certified operation must
// notice that it cannot decide and take the reference path.
constexpr float kAboveMidpoint = 1.0f + 0x1p-23f;

TEST_P(SpeechCertifiedPaths, ValuesJustAboveAMidpointTakeTheReferencePath) {
  const cpu::Arch arch = GetParam();
  // Sums of products: 1·1 + 2⁻²⁴·1 + 2⁻⁶⁰·1.
  const float x[3] = {1.0f, 0x1p-24f, 0x1p-60f};
  const float ones[3] = {1.0f, 1.0f, 1.0f};
  EXPECT_EQ(sumOfProducts(x, ones, 3), kAboveMidpoint);
  EXPECT_EQ(sumOfThree(1.0f, 0x1p-24f, 0x1p-60f), kAboveMidpoint);
  const int signs[3] = {1, -1, -1};
  const float negated[3] = {1.0f, -0x1p-24f, -0x1p-60f};
  EXPECT_EQ(signedSum(signs, negated, 3), kAboveMidpoint);
  // a + x·b with x·b = (1 + 2⁻¹²)² = 1 + 2⁻¹¹ + 2⁻²⁴, the midpoint between
  // 1 + 2⁻¹¹ and 1 + 2⁻¹¹ + 2⁻²³, and a = 2⁻⁶⁰ just above it.
  const float factor = 1.0f + 0x1p-12f;
  const float above = 1.0f + 0x1p-11f + 0x1p-23f;
  EXPECT_EQ(multiplyAdd(0x1p-60f, factor, factor), above);
  for (const int n : {8, 9}) {  // vector lanes alone, and with a scalar tail
    float a[9], b[9], out[9];
    for (int i = 0; i < n; ++i) a[i] = 0x1p-60f, b[i] = factor;
    multiplyAdd(a, factor, b, out, n, arch);
    for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], above) << n << ": " << i;
  }

  // The filter: out[0] = 1 − (−2⁻²⁴)·1 − (−2⁻⁶⁰)·1 from memory 1, 1.
  for (const int n : {1, 4, 5}) {
    const float coefficients[kLpcOrder + 1] = {1.0f, -0x1p-24f, -0x1p-60f};
    float in[5] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    float buffer[kLpcOrder + 5] = {};
    buffer[kLpcOrder - 1] = buffer[kLpcOrder - 2] = 1.0f;
    allPoleFilter(coefficients, in, buffer + kLpcOrder, n, arch);
    EXPECT_EQ(buffer[kLpcOrder], kAboveMidpoint) << "block of " << n;
    float reference[kLpcOrder + 5] = {};
    reference[kLpcOrder - 1] = reference[kLpcOrder - 2] = 1.0f;
    referenceAllPoleFilter(coefficients, in, reference + kLpcOrder, n);
    EXPECT_EQ(std::memcmp(buffer, reference, sizeof buffer), 0) << "block of " << n;
    // The same through the lanes of the multi-channel filter.
    float lane[kLpcOrder + 5] = {};
    lane[kLpcOrder - 1] = lane[kLpcOrder - 2] = 1.0f;
    const FilterChannel channel{in, lane + kLpcOrder};
    allPoleFilters(coefficients, &channel, 1, n, arch);
    EXPECT_EQ(std::memcmp(lane, reference, sizeof lane), 0) << "lanes, block of " << n;
  }
  // The residual r = x + a1·x[−1] + a2·x[−2] = 1 + 2⁻²⁴ + 2⁻⁶⁰.
  for (const int n : {1, 4, 5}) {
    const float coefficients[kLpcOrder + 1] = {1.0f, 0x1p-24f, 0x1p-60f};
    float signal[kLpcOrder + 5] = {};
    signal[kLpcOrder - 1] = signal[kLpcOrder - 2] = 1.0f;
    for (int i = 0; i < n; ++i) signal[kLpcOrder + i] = 1.0f;
    float r[5];
    residualFilter(coefficients, signal + kLpcOrder, r, n, arch);
    EXPECT_EQ(r[0], kAboveMidpoint) << "block of " << n;
  }
}

// The vector kernels must notice an undecidable value in any lane and in
// the scalar tail: a double exactly on the midpoint 1 + 2⁻²⁴ among values
// that round safely.
TEST_P(SpeechCertifiedPaths, KernelsFindAnUndecidableValueInEveryPosition) {
  const cpu::Arch arch = GetParam();
  constexpr int kCount = 11;  // two blocks of four and a tail of three
  const double bounds[kCount] = {};
  for (int p = 0; p < kCount; ++p) {
    double values[kCount];
    for (double& v : values) v = 1.5;
    values[p] = 1.0 + 0x1p-24;
    float rounded[kCount];
    EXPECT_FALSE(roundAllCertain(values, bounds, rounded, kCount, arch)) << "position " << p;
    EXPECT_EQ(firstUncertain(values, 0.0, 0, kCount, arch), p);
    EXPECT_EQ(firstUncertain(values, 0.0, p + 1, kCount, arch), kCount) << "after " << p;
  }
  double safe[kCount];
  for (double& v : safe) v = 1.5;
  float rounded[kCount];
  EXPECT_TRUE(roundAllCertain(safe, bounds, rounded, kCount, arch));
  for (float r : rounded) EXPECT_EQ(r, 1.5f);
  // Σx² = 1 + 2⁻²⁴ + 2⁻⁶⁰ through the level's dot product.
  const float x[3] = {1.0f, 0x1p-12f, 0x1p-30f};
  double approximation;
  EXPECT_EQ(sumOfSquares(x, 3, approximation, arch), kAboveMidpoint);
}

TEST_P(SpeechCertifiedPaths, ZeroResultsKeepTheReferenceSign) {
  const cpu::Arch arch = GetParam();
  // A zero is never certified: its sign comes from the reference path.
  // 0 + (−0)·1 = +0 in the reference (a sum that starts from +0).
  const float x[2] = {-0.0f, 0.0f};
  const float y[2] = {1.0f, 1.0f};
  EXPECT_FALSE(std::signbit(sumOfProducts(x, y, 2)));
  const float coefficients[kLpcOrder + 1] = {1.0f, 0.5f};
  float in[1] = {-0.0f};
  float buffer[kLpcOrder + 1] = {};
  allPoleFilter(coefficients, in, buffer + kLpcOrder, 1, arch);  // −0 − (0 + 0.5·0) = −0
  float reference[kLpcOrder + 1] = {};
  referenceAllPoleFilter(coefficients, in, reference + kLpcOrder, 1);
  EXPECT_EQ(std::signbit(buffer[kLpcOrder]), std::signbit(reference[kLpcOrder]));
}

TEST_P(SpeechCertifiedPaths, FilterBlocksOfEveryKindMatchTheReference) {
  const cpu::Arch arch = GetParam();
  // Random predictors, stable and far from it, on inputs spanning many
  // orders of magnitude, with memory.
  Lcg random{5};
  for (int trial = 0; trial < 3000; ++trial) {
    float coefficients[kLpcOrder + 1] = {1.0f};
    const double scale = trial % 3 == 0 ? 0.2 : (trial % 3 == 1 ? 1.0 : 4.0);
    for (int k = 1; k <= kLpcOrder; ++k) coefficients[k] = static_cast<float>((random.uniform() - 0.5) * scale);
    float in[kMaxSubframeLength];
    const int n = trial % 2 ? 56 : 52;
    for (int i = 0; i < n; ++i) {
      const double magnitude = std::pow(10.0, random.uniform() * 8 - 3);
      in[i] = static_cast<float>((random.uniform() - 0.5) * magnitude);
    }
    float fast[kLpcOrder + kMaxSubframeLength], reference[kLpcOrder + kMaxSubframeLength];
    for (int k = 0; k < kLpcOrder; ++k) fast[k] = reference[k] = static_cast<float>(random.uniform() * 100 - 50);
    allPoleFilter(coefficients, in, fast + kLpcOrder, n, arch);
    referenceAllPoleFilter(coefficients, in, reference + kLpcOrder, n);
    ASSERT_EQ(std::memcmp(fast, reference, (kLpcOrder + n) * sizeof(float)), 0) << "trial " << trial;
  }
}

// The scalar steps from LSFs to LPC coefficients on their certified path
// (the one the WebAssembly build takes), on inputs where double
// alone rounds the wrong way: just above a midpoint (the 2⁻⁶⁰ that double
// loses), and after a cancellation, where the error of the double sum is
// large against the result (only the bound's Σ|terms| part catches it).
// The interpolation (2x + y)·(1/3) of these two LSFs lands, in double,
// exactly on a midpoint that extended precision leaves below.
TEST(SpeechCertifiedSteps, LsfToLpcStepsAtRoundingBoundariesTakeTheReferencePath) {
  constexpr float kBig = 0x1p36f;
  constexpr float kOddTail = 1.0f + 0x1p-18f + 0x1p-19f;  // 2³⁶ + it loses the tail in double
  // Factor steps: old[i−2], old[i−1], old[i] and c.
  struct Step {
    const char* name;
    float old[3];
    float c;
    float expected;
  };
  const Step steps[] = {
      {"1 + 2⁻²⁴ + 2⁻⁶⁰", {0x1p-60f, 1.0f, 1.0f}, -0x1p-25f, kAboveMidpoint},
      {"2³⁶ + x − 2³⁶", {-kBig, kOddTail, kBig}, -0.5f, kOddTail},
      {"exactly on the midpoint 1 + 2⁻²⁴ (to even)", {0.0f, 1.0f, 1.0f}, -0x1p-25f, 1.0f},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(polynomialFactorStep(step.old + 2, step.c, true), step.expected) << step.name;
    EXPECT_EQ(referencePolynomialFactorStep(step.old + 2, step.c), step.expected) << step.name;
  }
  // a_1 = (P_1 + P_0 + Q_1 − Q_0)·0.5.
  struct Coefficient {
    const char* name;
    float p[2], q[2];
    float expected;
  };
  const Coefficient coefficients[] = {
      {"(2 + 2⁻²³ + 2⁻⁵⁹)/2", {0x1p-23f, 2.0f}, {0.0f, 0x1p-59f}, kAboveMidpoint},
      {"(2³⁶ + x − 2³⁶)/2", {kOddTail, kBig}, {0.0f, -kBig}, kOddTail * 0.5f},
      {"(2 + 2⁻²³ − 2⁻⁵⁹)/2", {0x1p-23f, 2.0f}, {0x1p-59f, 0.0f}, 1.0f},
  };
  for (const Coefficient& c : coefficients) {
    EXPECT_EQ(lpcCoefficient(c.p, c.q, 1, true), c.expected) << c.name;
    EXPECT_EQ(referenceLpcCoefficient(c.p, c.q, 1), c.expected) << c.name;
  }
  const float x = 0x1.7dee4p+0f, y = 0x1.1d7972p-1f;
  ASSERT_EQ(static_cast<float>((2.0 * x + y) * (1.0 / 3.0)), 0x1.2e3314p+0f);  // double alone
  EXPECT_EQ(interpolatedLsf(x, y, true), 0x1.2e3312p+0f);
  EXPECT_EQ(referenceInterpolatedLsf(x, y), 0x1.2e3312p+0f);
}

// The same certified steps against the reference build on random inputs of the
// ranges they see (cosines, polynomial coefficients up to 2⁸, LSFs in
// [0, π], a few of every other size), a good share of which fall on the
// interpolation's midpoints.
TEST(SpeechCertifiedSteps, LsfToLpcStepsMatchTheReferenceOnRandomInputs) {
  Lcg random{11};
  const auto value = [&](double range) {
    const int shift = static_cast<int>(random.next() % 8 == 0 ? random.next() % 60 : 0);
    return static_cast<float>((random.uniform() * 2 - 1) * range * std::ldexp(1.0, -shift));
  };
  int fallbacks = 0;
  for (int trial = 0; trial < 200000; ++trial) {
    const float old[3] = {value(256), value(256), value(256)};
    const float c = value(1);
    ASSERT_EQ(polynomialFactorStep(old + 2, c, true), referencePolynomialFactorStep(old + 2, c)) << trial;
    const float p[2] = {value(256), value(256)}, q[2] = {value(256), value(256)};
    ASSERT_EQ(lpcCoefficient(p, q, 1, true), referenceLpcCoefficient(p, q, 1)) << trial;
    const float lo = static_cast<float>(random.uniform() * kPiFloat), hi = static_cast<float>(random.uniform() * kPiFloat);
    const float lsf = interpolatedLsf(lo, hi, true);
    ASSERT_EQ(lsf, referenceInterpolatedLsf(lo, hi)) << trial;
    fallbacks += lsf != static_cast<float>((2.0 * lo + hi) * (1.0 / 3.0));
    ASSERT_EQ(halfGap(lo, hi), referenceHalfGap(lo, hi)) << trial;
  }
  EXPECT_GT(fallbacks, 100);  // the inputs reach the cases where double alone is wrong
}

INSTANTIATE_TEST_SUITE_P(KernelLevels, SpeechCertifiedPaths, testing::ValuesIn(cpu::kAllArchs),
                         [](const testing::TestParamInfo<cpu::Arch>& info) {
                           return std::string(cpu::archName(info.param));
                         });

}  // namespace
}  // namespace zv::qv80::test
