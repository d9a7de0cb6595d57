// The encoder's back half: search ranges, gain quantisers, the pulse
// searches, the per-thread random code, and the encoder's excitation
// history staying in step with the decoder's.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codec/speech/adaptive_codebook.h"
#include "codec/speech/gain_quantise.h"
#include "codec/speech/pulse_search.h"
#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_encoder.h"
#include "codec/speech/speech_tables.h"
#include "speech_test_support.h"

namespace zv::qv80::test {
namespace {

TEST(SpeechAdaptiveCodebook, SearchRangeStaysWithin20And147) {
  struct Case {
    int start, low, high;
  };
  for (const Case c : {Case{22, 20, 30}, Case{149, 142, 147}, Case{69, 62, 77}, Case{14, 20, 22},
                       Case{27, 20, 35}, Case{139, 132, 147}}) {
    EXPECT_EQ(lowestSearchLag(c.start), c.low) << c.start;
    EXPECT_EQ(highestSearchLag(c.start), c.high) << c.start;
  }
}

TEST(SpeechAdaptiveCodebook, FindsTheLagThatRepeatsThePast) {
  // History: a decaying pulse every 37 samples. With the identity filter
  // (ã = 0, h = δ, so the first candidate's response is its truncated
  // vector) the target equal to the history 37 back is matched exactly at
  // lag 37 with gain 1.
  float history[kHistoryLength] = {};
  for (int i = kHistoryLength - 1, k = 0; i >= 0; i -= 37, ++k) history[i] = 1000.0f / (k + 1);
  history[kHistoryLength - 5] = 300.0f;
  float impulse[56] = {1.0f};
  float first[56];
  truncatedPastExcitation(history, lowestSearchLag(40), 56, first);
  float target[56];
  adaptiveExcitation(history, 37, 1.0f, 56, target);
  const PitchSearchResult result =
      searchAdaptiveCodebook(history, first, impulse, target, 56, 40, cpu::processorArch());
  EXPECT_EQ(result.lag, 37);
  EXPECT_EQ(result.gain, 1.0f);
}

TEST(SpeechGainQuantiser, PitchGainBoundaries) {
  const float* tg = kPitchGainBoundary;
  struct Case {
    float beta;
    int index;
  };
  const Case cases[] = {{-0.908f, 0}, {-5.0f, 0},   {-0.9f, 1},  {-0.185f, 6}, {-0.1f, 6},
                        {0.0f, 7},    {-0.0f, 7},   {0.028f, 7}, {0.029f, 8},  {1.807f, 31},
                        {2.5f, 31},   {1.8f, 30},   {0.5f, 19},  {-0.62f, 3}};
  for (const Case& c : cases) EXPECT_EQ(quantisePitchGain(c.beta), c.index) << c.beta;
  // Each boundary TG[k−1] belongs to index k (TG[0] itself to index 0, and
  // TG[6] = 0 starts the non-negative side at 7).
  for (int k = 2; k <= 5; ++k) EXPECT_EQ(quantisePitchGain(tg[k - 1]), k) << k;
  for (int k = 8; k <= 30; ++k) EXPECT_EQ(quantisePitchGain(tg[k - 1]), k) << k;
  // And the quantised gain is always the nearest side of its boundaries.
  for (int k = 1; k < 31; ++k) {
    EXPECT_LE(kPitchGain[k - 1], tg[k - 1]) << k;
    EXPECT_GE(kPitchGain[k], tg[k - 1]) << k;
  }
}

TEST(SpeechGainQuantiser, PulseLevels) {
  struct Case {
    float magnitude;
    int level;
  };
  const Case cases[] = {{0.0f, 0},      {1.72f, 0},     {1.73f, 1},    {6.24f, 2},
                        {1075.6f, 14},  {1075.69f, 15}, {5000.0f, 15}, {757.76f, 14},
                        {757.75f, 13}};
  for (const Case& c : cases) EXPECT_EQ(quantiseLevel(c.magnitude), c.level) << c.magnitude;
  for (int k = 1; k < 16; ++k) EXPECT_EQ(quantiseLevel(kPulseLevelBoundary[k]), k) << k;
  // A single-pulse gain of −5: g′ = −1.25 → level 0, index 16 (amplitude −4).
  EXPECT_EQ(quantiseSignedGain(-5.0f * 0.25f), 16);
  EXPECT_EQ(quantiseSignedGain(2000.0f), 15);
  EXPECT_EQ(quantiseSignedGain(-2000.0f), 31);
  EXPECT_EQ(quantiseSignedGain(0.0f), 0);
  EXPECT_EQ(quantiseSignedGain(-0.0f), 0);
}

TEST(SpeechPulseSearch, SinglePulseFindsThePeakAndGivesUpOnZeroGain) {
  float impulse[56] = {1.0f};
  float energies[56];
  periodicEnergies(impulse, 40, 56, energies);
  // hp = δ + δ(−40): E = 1 up to k = 39, 2 from 40.
  EXPECT_EQ(energies[0], 1.0f);
  EXPECT_EQ(energies[39], 1.0f);
  EXPECT_EQ(energies[40], 2.0f);

  float backward[56] = {};
  backward[9] = -30.0f;
  backward[12] = 20.0f;
  // Position 9 repeats at 49: c = b[9] + b[49] = −30, e = E[46] = 2.
  SinglePulse pulse = searchSinglePulse(backward, energies, 40, 56);
  EXPECT_EQ(pulse.position, 9);
  EXPECT_EQ(pulse.gain, -15.0f);
  // Equal scores keep the smaller position.
  backward[12] = 30.0f;
  pulse = searchSinglePulse(backward, energies, 40, 56);
  EXPECT_EQ(pulse.position, 9);
  // No correlation anywhere: no pulse.
  const float zeros[56] = {};
  pulse = searchSinglePulse(zeros, energies, 40, 56);
  EXPECT_EQ(pulse.position, kNoPulse);
  EXPECT_EQ(pulse.gain, 0.0f);
}

TEST(SpeechPulseSearch, PulseTrainSignsFollowTheBackwardTarget) {
  float impulse[52] = {1.0f};
  float backward[52] = {};
  // Phase 2 carries the strongest train; pulse 0 there is negative.
  for (int k = 0; k < 13; ++k) backward[2 + 4 * k] = (k % 3 == 0) ? -10.0f : 10.0f;
  backward[1] = 50.0f;
  PulseTrain train = searchPulseTrain(backward, impulse, 52, cpu::processorArch());
  EXPECT_EQ(train.phase, 2);
  EXPECT_EQ(train.sign[0], -1);
  EXPECT_EQ(train.gain, 10.0f);
  normaliseSigns(train, 13);
  EXPECT_EQ(train.sign[0], 1);
  EXPECT_EQ(train.gain, -10.0f);
  // Signs after normalisation: + where k % 3 == 0, − elsewhere.
  int expected = 2 << 12;
  for (int k = 1; k < 13; ++k)
    if (k % 3 == 0) expected |= 1 << (12 - k);
  EXPECT_EQ(pulseTrainCode(train, 13), expected);
}

TEST(SpeechPulseSearch, RandomGeneratorIsPerThreadAndStartsAtSeedOne) {
  // seed ← seed·214013 + 2531011, ρ = (seed >> 16) & 0x7FFF from seed 1.
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  std::vector<int> first, second;
  onFreshThread([&] {
    for (int i = 0; i < 4; ++i) first.push_back(nextRandom15());
    // Another thread's draws do not disturb this thread's sequence.
    onFreshThread([&] {
      for (int i = 0; i < 8; ++i) second.push_back(nextRandom15());
    });
    for (int i = 0; i < 4; ++i) first.push_back(nextRandom15());
  });
  EXPECT_EQ(first, std::vector<int>(std::begin(expected), std::end(expected)));
  EXPECT_EQ(second, std::vector<int>(std::begin(expected), std::end(expected)));
}

TEST(SpeechPulseSearch, RandomTrainStaysWithinItsField) {
  onFreshThread([] {
    for (int draw = 0; draw < 5000; ++draw) {
      for (const int len : {56, 52}) {
        const int count = pulseTrainCount(len);
        const PulseTrain train = randomPulseTrain(len);
        ASSERT_EQ(train.sign[0], 1);
        ASSERT_EQ(train.gain, 0.0f);
        ASSERT_LT(pulseTrainCode(train, count), 1 << (count + 1)) << "len " << len;
        ASSERT_LE(train.phase + 4 * (count - 1), len - 1);
      }
    }
  });
}

TEST(SpeechEncoder, FirstSubframeOfSilenceUsesTheRandomCode) {
  // Zero input: S[0..55] is zero, XH and the synthesis memory are zero, so
  // every score is 0: the lag is the lowest searched, βq = G[7] = 0.013, no
  // single pulse, and the pulse train is the first random draw (ρ = 41:
  // phase 2, signs from bits 12..0) with level 0 (amplitude +1).
  onFreshThread([] {
    EncoderState state;
    initEncoder(state, false, cpu::processorArch());
    const std::vector<uint8_t> silence(2 * kFrameSamples, 0);
    FrameParameters params;
    encodeFrameParameters(state, silence.data(), params);
    const SubframeParameters& s = params.subframe[0];
    EXPECT_EQ(s.lag, lowestSearchLag(state.lags.previous));
    EXPECT_EQ(s.pitchGainIndex, 7);
    EXPECT_EQ(s.pulsePosition, kNoPulse);
    EXPECT_EQ(s.trainGainIndex, 0);
    EXPECT_EQ(s.trainCode, (2 << 13) | (41 & 0x1FFF));
    // The excitation then holds ±1 pulses only (the history has kept the
    // subframe's samples 12..55).
    for (int i = 12; i < 56; ++i) {
      const float v = state.excitation[i - 12];
      EXPECT_TRUE(v == 0.0f || v == 1.0f || v == -1.0f) << i << ": " << v;
    }
  });
}

TEST(SpeechEncoder, ExcitationHistoryStaysInStepWithTheDecoders) {
  const std::vector<uint8_t> pcm = readFile(std::string(ZV_TESTVECTORS_DIR) + "/vowels.raw");
  ASSERT_FALSE(pcm.empty());
  onFreshThread([&] {
    EncoderState encoder;
    initEncoder(encoder, false, cpu::processorArch());
    DecoderState decoder;
    initDecoder(decoder, false, cpu::processorArch());
    for (size_t f = 0; f < pcm.size() / (2 * kFrameSamples); ++f) {
      uint8_t frame[kFrameBytes];
      uint8_t out[2 * kFrameSamples];
      encodeFrame(encoder, &pcm[f * 2 * kFrameSamples], frame);
      decodeFrame(decoder, frame, out);
      ASSERT_EQ(std::memcmp(encoder.excitation, decoder.excitation, kHistoryLength * sizeof(float)),
                0)
          << "frame " << f;
    }
  });
}

TEST(SpeechEncoder, EncodersOnDifferentThreadsDoNotInterfere) {
  // Two streams coded at the same time on two threads each match their
  // vectors, though both draw random codes.
  const std::string dir = ZV_TESTVECTORS_DIR;
  const std::vector<uint8_t> silence = readFile(dir + "/silence.raw");
  const std::vector<uint8_t> noise = readFile(dir + "/noise.raw");
  std::vector<uint8_t> codedSilence, codedNoise;
  std::thread first([&] { codedSilence = encodeStream(silence, false); });
  std::thread second([&] { codedNoise = encodeStream(noise, false); });
  first.join();
  second.join();
  EXPECT_EQ(codedSilence, readFile(dir + "/silence.qv80"));
  EXPECT_EQ(codedNoise, readFile(dir + "/noise.qv80"));
}

TEST(SpeechEncoder, EncodersOnOneThreadShareTheRandomSequence) {
  // A fresh encoder's first frame of silence draws a random code in its
  // first subframe. On a thread where another encoder has drawn first, the
  // same frame gets the next number of the sequence.
  const std::vector<uint8_t> silence(2 * kFrameSamples, 0);
  uint8_t alone[kFrameBytes], first[kFrameBytes], second[kFrameBytes];
  onFreshThread([&] {
    EncoderState a;
    initEncoder(a, false, cpu::processorArch());
    encodeFrame(a, silence.data(), alone);
  });
  onFreshThread([&] {
    EncoderState a, b;
    initEncoder(a, false, cpu::processorArch());
    initEncoder(b, false, cpu::processorArch());
    encodeFrame(b, silence.data(), first);
    encodeFrame(a, silence.data(), second);
  });
  EXPECT_EQ(std::memcmp(first, alone, kFrameBytes), 0);
  FrameParameters p;
  unpackFrame(second, p);
  // ρ = 18467 = 0b100_1000_0010_0011: phase (ρ >> 4) & 3 = 2, signs from
  // bits 12..0.
  EXPECT_EQ(p.subframe[0].trainCode, (2 << 13) | (18467 & 0x1FFF));
}

}  // namespace
}  // namespace zv::qv80::test
