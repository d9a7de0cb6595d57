// The encoder's front half: input path and timing, open-loop pitch, LPC
// analysis, LSF conversion and quantisation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "codec/speech/input_filter.h"
#include "codec/speech/lpc_analysis.h"
#include "codec/speech/lsf_quantise.h"
#include "codec/speech/lsf_reconstruct.h"
#include "codec/speech/lsf_roots.h"
#include "codec/speech/lsf_to_lpc.h"
#include "codec/speech/open_loop_pitch.h"
#include "codec/speech/speech_encoder.h"
#include "codec/speech/speech_tables.h"

namespace zv::qv80::test {
namespace {

TEST(SpeechEncoderInput, FirstCallCodes84ZeroSamplesThenTheFirst76FilteredInputs) {
  std::vector<uint8_t> pcm(2 * kFrameSamples);
  std::vector<float> filtered(kFrameSamples);
  for (int i = 0; i < kFrameSamples; ++i) {
    const int16_t sample = static_cast<int16_t>(1000 * std::sin(0.3 * i) + 50 * i);
    pcm[2 * i] = static_cast<uint8_t>(sample & 0xFF);
    pcm[2 * i + 1] = static_cast<uint8_t>((sample >> 8) & 0xFF);
    filtered[i] = sample;
  }
  InputFilterState filter{};
  highPassFilter(filter, filtered.data(), kFrameSamples, cpu::processorArch());

  EncoderState state;
  initEncoder(state, false, cpu::processorArch());
  FrameParameters params;
  encodeFrameParameters(state, pcm.data(), params);
  // H now holds S[24..183] of this call: S[24..83] were the initial zeros,
  // S[84..183] the first 100 filtered inputs; S[0..83] keep inputs 76..159
  // for the next call.
  for (int i = 0; i < 60; ++i) EXPECT_EQ(state.pitchHistory[i], 0.0f) << i;
  for (int i = 60; i < kPitchHistoryLength; ++i)
    EXPECT_EQ(state.pitchHistory[i], filtered[i - 60]) << i;
  for (int i = 0; i < kCarriedSamples; ++i) EXPECT_EQ(state.signal[i], filtered[76 + i]) << i;
}

TEST(SpeechEncoderInput, EightBitSamplesAreScaledToTheSixteenBitRange) {
  uint8_t pcm[kFrameSamples];
  for (int i = 0; i < kFrameSamples; ++i) pcm[i] = static_cast<uint8_t>(i);
  float out[kFrameSamples];
  convertInput(pcm, true, out);
  EXPECT_EQ(out[0], -32768.0f);
  EXPECT_EQ(out[128], 0.0f);
  EXPECT_EQ(out[159], 31 * 256.0f);
}

TEST(SpeechEncoderInput, SilentInputSettlesNearTheFilterConstantAndIsNeverZero) {
  std::vector<float> samples(4000, 0.0f);
  InputFilterState filter{};
  highPassFilter(filter, samples.data(), static_cast<int>(samples.size()), cpu::processorArch());
  for (float y : samples) ASSERT_GT(y, 0.0f);
  EXPECT_EQ(samples[0], 0.001f);
  EXPECT_NEAR(samples.back(), 0.001 / 0.06, 1e-5);
}

TEST(SpeechOpenLoopPitch, DecisionFollowsTheThresholdRules) {
  struct Case {
    const char* what;
    RefinedLag refined[3];
    OpenLoopLagHistory lags;
    int expected;
  };
  const Case cases[] = {
      {"worked example: 9 > 0.7·12 selects r3", {{52, 10}, {100, 12}, {50, 9}}, {50, 50}, 50},
      {"steady track off: t = sb", {{52, 10}, {100, 12}, {50, 9}}, {50, 70}, 100},
      {"r3 far from r1: t·20/27", {{60, 10}, {100, 12}, {50, 7}}, {50, 50}, 50},
      {"r3 near r1: no relief", {{52, 10}, {100, 12}, {50, 7}}, {50, 50}, 100},
      {"tie between r1 and r2 goes to r2", {{52, 12}, {100, 12}, {130, 99}}, {50, 50}, 100},
      {"r1 wins when strictly better", {{52, 13}, {100, 12}, {130, 99}}, {50, 50}, 52},
      {"r3 outside L1 ± 17 is ignored", {{52, 10}, {100, 12}, {67, 99}}, {50, 50}, 100},
      {"r3 just inside L1 ± 17", {{52, 10}, {100, 12}, {66, 99}}, {50, 50}, 66},
      {"s3 equal to t does not win", {{52, 10}, {100, 10}, {50, 7}}, {50, 50}, 100},
  };
  for (const Case& c : cases) EXPECT_EQ(decideLag(c.refined, c.lags), c.expected) << c.what;
}

TEST(SpeechOpenLoopPitch, SweepTiesGoToTheLargerLagAndRefinementTiesToTheSmaller) {
  float zeros[kPitchBufferLength] = {};
  EXPECT_EQ(correlationSweep(zeros, 160, 160, 20, 55, 40, cpu::processorArch()), 55);
  EXPECT_EQ(correlationSweep(zeros, 80, 300, 50, 147, 70, cpu::processorArch()), 147);
  const RefinedLag refined = refineLag(zeros, 60, cpu::processorArch());
  EXPECT_EQ(refined.lag, 58);
  EXPECT_EQ(refined.score, 0.0f);
  // No correlation above the running maximum's start: the fixed defaults.
  float invalid[kPitchBufferLength];
  for (float& v : invalid) v = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(correlationSweep(invalid, 160, 160, 20, 55, 40, cpu::processorArch()), 40);
  EXPECT_EQ(correlationSweep(invalid, 80, 300, 50, 147, 70, cpu::processorArch()), 70);
}

TEST(SpeechOpenLoopPitch, FindsThePeriodOfAPulseTrain) {
  // A pulse every 57 samples, steady over the whole buffer, with last
  // frame's lag near it.
  for (const int period : {32, 57, 95}) {
    float history[kPitchHistoryLength] = {};
    float recent[220] = {};
    for (int n = 0; n < kPitchBufferLength; n += period)
      (n < kPitchHistoryLength ? history[n] : recent[n - kPitchHistoryLength]) = 1000.0f;
    OpenLoopLagHistory lags{period, period};
    EXPECT_EQ(openLoopPitch(history, recent, lags, cpu::processorArch()), period);
    EXPECT_EQ(lags.previous, period);
    EXPECT_EQ(lags.beforePrevious, period);
  }
}

TEST(SpeechLpcAnalysis, SilentWindowKeepsThePreviousLsfs) {
  float segment[kWindowLength] = {};
  Lpc lpc{};
  EXPECT_FALSE(analyseLpc(segment, lpc, cpu::processorArch()));
  for (float& v : segment) v = 0.0167f;  // what the input filter leaves of silence
  EXPECT_TRUE(analyseLpc(segment, lpc, cpu::processorArch()));
}

TEST(SpeechLpcAnalysis, SchurStopsAdaptingOnceTheResidualEnergyIsZero) {
  // r = 1, −1, 1, −1, ...: k1 = 1 leaves U[0] = 1 + 1·(−1) = 0.
  const float r[kLpcOrder + 1] = {1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1};
  float k[kLpcOrder + 1];
  schurRecursion(r, k);
  EXPECT_EQ(k[1], 1.0f);
  for (int i = 2; i <= kLpcOrder; ++i) EXPECT_EQ(k[i], 0.0f) << i;
}

TEST(SpeechLpcAnalysis, PredictorWhitensAResonantSignal) {
  // Second-order resonator x[n] = 2r·cos θ·x[n−1] − r²·x[n−2] + noise with
  // r = 0.95: the predictor's residual keeps only a small part of the
  // energy (about 0.1 of it), and its first coefficient approaches −2r·cos θ.
  const double r = 0.95, theta = 0.6;
  float segment[kWindowLength];
  double x1 = 0, x2 = 0;
  uint32_t seed = 7;
  for (int n = 0; n < kWindowLength + 500; ++n) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = (static_cast<double>(seed >> 8) / (1 << 24) - 0.5) * 100;
    const double x = 2 * r * std::cos(theta) * x1 - r * r * x2 + noise;
    x2 = x1;
    x1 = x;
    if (n >= 500) segment[n - 500] = static_cast<float>(x);
  }
  Lpc lpc;
  ASSERT_TRUE(analyseLpc(segment, lpc, cpu::processorArch()));
  double signal = 0, residual = 0;
  for (int n = kLpcOrder; n < kWindowLength; ++n) {
    double e = segment[n];
    for (int k = 1; k <= kLpcOrder; ++k) e += lpc.a[k] * segment[n - k];
    signal += static_cast<double>(segment[n]) * segment[n];
    residual += e * e;
  }
  EXPECT_LT(residual / signal, 0.25);
  EXPECT_NEAR(lpc.a[1], -2 * r * std::cos(theta), 0.15);
}

TEST(SpeechLsfConversion, LsfToLpcAndBackReturnsTheLsfs) {
  const float sets[][kLsfCount] = {
      {0.1571f, 0.4713f, 0.7854f, 1.0996f, 1.4138f, 1.7279f, 2.0421f, 2.3562f, 2.6704f, 2.9846f},
      {0.2f, 0.35f, 0.6f, 0.9f, 1.2f, 1.5f, 1.9f, 2.2f, 2.6f, 2.8f},
      {0.059f, 0.1f, 0.3142f, 0.5f, 0.9f, 1.1f, 1.4f, 2.0f, 2.3f, 3.0f},
  };
  for (const auto& lsf : sets) {
    Lpc lpc;
    lsfToLpc(lsf, lpc);
    float back[kLsfCount];
    lpcToLsf(lpc, back);
    for (int k = 0; k < kLsfCount; ++k) EXPECT_NEAR(back[k], lsf[k], 2e-3) << "ω" << k;
  }
}

TEST(SpeechLsfConversion, AnyPredictorGivesLsfsWithin0AndPi) {
  // Predictors far from minimum phase, where the final quadratics can have
  // negative discriminants or a zero leading coefficient.
  const float predictors[][kLpcOrder + 1] = {
      {1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
      {1, -3, 5, -7, 9, -7, 5, -3, 1, 0.5f, 0.25f},
      {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5},
      {1, 100, -100, 100, -100, 100, -100, 100, -100, 100, -100},
      {1, 0.9f, 0.81f, 0.729f, 0.6561f, 0.5905f, 0.5315f, 0.4783f, 0.4305f, 0.3875f, 0.3487f},
  };
  for (const auto& a : predictors) {
    Lpc lpc;
    std::memcpy(lpc.a, a, sizeof lpc.a);
    float lsf[kLsfCount];
    lpcToLsf(lpc, lsf);
    for (int k = 0; k < kLsfCount; ++k) {
      EXPECT_TRUE(std::isfinite(lsf[k])) << "a1 " << a[1] << " ω" << k;
      EXPECT_GE(lsf[k], 0.0f) << "a1 " << a[1] << " ω" << k;
      EXPECT_LE(lsf[k], kPiFloat) << "a1 " << a[1] << " ω" << k;
    }
  }
  EXPECT_EQ(clampCosine(std::numeric_limits<float>::quiet_NaN()), 1.0f);
  EXPECT_EQ(clampCosine(1.5f), 1.0f);
  EXPECT_EQ(clampCosine(-1.5f), -1.0f);
  EXPECT_EQ(clampCosine(0.25f), 0.25f);
}

TEST(SpeechLsfQuantiser, QuantisedLsfsAreWhatTheDecoderReconstructs) {
  const float sets[][kLsfCount] = {
      {0.1571f, 0.4713f, 0.7854f, 1.0996f, 1.4138f, 1.7279f, 2.0421f, 2.3562f, 2.6704f, 2.9846f},
      {0.2f, 0.35f, 0.6f, 0.9f, 1.2f, 1.5f, 1.9f, 2.2f, 2.6f, 2.8f},
      {0.05f, 0.08f, 0.2f, 0.25f, 0.7f, 0.8f, 1.3f, 1.32f, 2.0f, 3.1f},
  };
  for (const auto& lsf : sets) {
    int indices[kLsfCount];
    float quantised[kLsfCount];
    quantiseLsf(lsf, indices, quantised);
    float decoded[kLsfCount];
    reconstructLsf(indices, decoded);
    for (int k = 0; k < kLsfCount; ++k) {
      EXPECT_EQ(decoded[k], quantised[k]) << "ω" << k;
      EXPECT_LT(indices[k], 1 << kLsfIndexBits[k]) << "ω" << k;
    }
    for (int k = 1; k < kLsfCount; ++k) EXPECT_GT(quantised[k], quantised[k - 1]) << "ω" << k;
  }
}

TEST(SpeechLsfQuantiser, EvenLsfBoundAboveTheWholeTableTakesTheLastEntry) {
  // Unquantised ω1 = 1.3 lies above E1's last entry 1.2488: ω2 takes it.
  const float lsf[kLsfCount] = {0.2f, 1.3f, 1.31f, 1.5f, 1.7f, 1.9f, 2.1f, 2.3f, 2.6f, 2.9f};
  int indices[kLsfCount];
  float quantised[kLsfCount];
  quantiseLsf(lsf, indices, quantised);
  EXPECT_EQ(indices[2], 31);
  EXPECT_EQ(quantised[2], 1.2488f);
}

TEST(SpeechLsfQuantiser, EvenLsfTakesOnlyEntriesStrictlyAboveTheBound) {
  // ω2 = 0.40 is nearest 0.4085 (index 3), but the bound
  // max(quantised ω0, unquantised ω1) = 0.42 leaves 0.4399 (index 4).
  const float lsf[kLsfCount] = {0.2f, 0.42f, 0.40f, 1.0f, 1.2f, 1.5f, 1.9f, 2.2f, 2.6f, 2.8f};
  int indices[kLsfCount];
  float quantised[kLsfCount];
  quantiseLsf(lsf, indices, quantised);
  EXPECT_EQ(indices[2], 4);
  // A bound exactly at an entry excludes that entry.
  const float atEntry[kLsfCount] = {0.2f, 0.4085f, 0.40f, 1.0f, 1.2f, 1.5f, 1.9f, 2.2f, 2.6f, 2.8f};
  quantiseLsf(atEntry, indices, quantised);
  EXPECT_EQ(indices[2], 4);
}

TEST(SpeechLsfQuantiser, EqualDistancesKeepTheLowerIndex) {
  // Exactly halfway between E0[5] and E0[6] (their float midpoint is exact).
  const float low = kEvenLsfTables[0].values[5];
  const float high = kEvenLsfTables[0].values[6];
  const float middle = static_cast<float>((static_cast<double>(low) + high) / 2);
  ASSERT_EQ(middle - low, high - middle);
  float lsf[kLsfCount] = {middle, 0.4f, 0.6f, 0.9f, 1.2f, 1.5f, 1.9f, 2.2f, 2.6f, 2.8f};
  int indices[kLsfCount];
  float quantised[kLsfCount];
  quantiseLsf(lsf, indices, quantised);
  EXPECT_EQ(indices[0], 5);
}

}  // namespace
}  // namespace zv::qv80::test
