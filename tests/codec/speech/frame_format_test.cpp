// The coded frame: field packing, the zero frame, pulse positions beyond the
// subframe and LSF reconstruction.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "codec/speech/frame_packing.h"
#include "codec/speech/lsf_reconstruct.h"
#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_tables.h"

namespace zv::qv80::test {
namespace {

bool sameParameters(const FrameParameters& a, const FrameParameters& b) {
  for (int k = 0; k < kLsfCount; ++k)
    if (a.lsfIndex[k] != b.lsfIndex[k]) return false;
  for (int s = 0; s < kSubframeCount; ++s) {
    const SubframeParameters& x = a.subframe[s];
    const SubframeParameters& y = b.subframe[s];
    if (x.lag != y.lag || x.pitchGainIndex != y.pitchGainIndex ||
        x.pulsePosition != y.pulsePosition || x.pulseGainIndex != y.pulseGainIndex ||
        x.trainCode != y.trainCode || x.trainGainIndex != y.trainGainIndex)
      return false;
  }
  return true;
}

// Parameter sets at the edges of every field: all zero, all at their
// maximum, alternating bit patterns, and the lag deltas −7 and +8.
const FrameParameters kParameterSets[] = {
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     {{20, 0, 0, 0, 0, 0}, {20, 0, 0, 0, 0, 0}, {20, 0, 0, 0, 0, 0}}},
    {{15, 31, 31, 15, 31, 15, 15, 7, 7, 3},
     {{147, 31, 63, 31, 32767, 31}, {147, 31, 63, 31, 16383, 31}, {147, 31, 63, 31, 16383, 31}}},
    {{10, 21, 10, 5, 21, 10, 5, 2, 5, 2},
     {{62, 21, 42, 21, 0x5555, 10}, {55, 10, 21, 10, 0x2AAA, 21}, {63, 21, 42, 21, 0x1555, 22}}},
    {{5, 10, 21, 10, 10, 5, 10, 5, 2, 1},
     {{40, 10, 21, 10, 0x2AAA, 21}, {33, 21, 42, 21, 0x1555, 10}, {41, 10, 21, 10, 0x2AAA, 9}}},
    {{1, 17, 16, 9, 16, 8, 8, 4, 4, 2},
     {{100, 7, 55, 16, 0x4001, 16}, {108, 25, 51, 15, 0x2000, 15}, {101, 0, 52, 1, 0x3FFF, 1}}},
};

TEST(SpeechFrame, PackingAndUnpackingAreExactInverses) {
  for (const FrameParameters& params : kParameterSets) {
    uint8_t bytes[kFrameBytes];
    packFrame(params, bytes);
    FrameParameters back;
    unpackFrame(bytes, back);
    EXPECT_TRUE(sameParameters(params, back)) << "lag " << params.subframe[0].lag;
  }
  // Every bit pattern is a frame: unpacking then packing returns the bytes.
  uint32_t seed = 12345;
  for (int trial = 0; trial < 2000; ++trial) {
    uint8_t bytes[kFrameBytes];
    for (uint8_t& b : bytes) {
      seed = seed * 1103515245u + 12345u;
      b = static_cast<uint8_t>(seed >> 23);
    }
    FrameParameters params;
    unpackFrame(bytes, params);
    uint8_t again[kFrameBytes];
    packFrame(params, again);
    ASSERT_EQ(std::memcmp(bytes, again, kFrameBytes), 0) << "trial " << trial;
  }
}

TEST(SpeechFrame, EachFieldOccupiesItsDocumentedBits) {
  // One field at a time set to all ones shows exactly where it lands.
  struct FieldCase {
    const char* field;
    void (*set)(FrameParameters&);
    uint16_t words[kFrameWords];
  };
  const FieldCase cases[] = {
      {"lag code s0", [](FrameParameters& p) { p.subframe[0].lag = 147; },
       {0xFE00, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"e0", [](FrameParameters& p) { p.lsfIndex[0] = 15; }, {0x01E0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"o0", [](FrameParameters& p) { p.lsfIndex[1] = 31; }, {0x001F, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"pulse position s1", [](FrameParameters& p) { p.subframe[1].pulsePosition = 63; },
       {0, 0, 0xFC00, 0, 0, 0, 0, 0, 0, 0}},
      {"pitch gain s2", [](FrameParameters& p) { p.subframe[2].pitchGainIndex = 31; },
       {0, 0, 0, 0x03E0, 0, 0, 0, 0, 0, 0}},
      {"pulse gain s0", [](FrameParameters& p) { p.subframe[0].pulseGainIndex = 31; },
       {0, 0x001F, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"train code s2", [](FrameParameters& p) { p.subframe[2].trainCode = 0x3FFF; },
       {0, 0, 0, 0, 0xFFFC, 0, 0, 0, 0, 0}},
      {"o4", [](FrameParameters& p) { p.lsfIndex[9] = 3; }, {0, 0, 0, 0, 0x0003, 0, 0, 0, 0, 0}},
      {"train gain s0", [](FrameParameters& p) { p.subframe[0].trainGainIndex = 31; },
       {0, 0, 0, 0, 0, 0xF800, 0, 0, 0, 0}},
      {"train gain s1", [](FrameParameters& p) { p.subframe[1].trainGainIndex = 31; },
       {0, 0, 0, 0, 0, 0x07C0, 0, 0, 0, 0}},
      {"o3", [](FrameParameters& p) { p.lsfIndex[7] = 7; }, {0, 0, 0, 0, 0, 0x0038, 0, 0, 0, 0}},
      {"e4", [](FrameParameters& p) { p.lsfIndex[8] = 7; }, {0, 0, 0, 0, 0, 0x0007, 0, 0, 0, 0}},
      {"o2", [](FrameParameters& p) { p.lsfIndex[5] = 15; }, {0, 0, 0, 0, 0, 0, 0xF000, 0, 0, 0}},
      {"e3", [](FrameParameters& p) { p.lsfIndex[6] = 15; }, {0, 0, 0, 0, 0, 0, 0x0F00, 0, 0, 0}},
      {"lag code s1", [](FrameParameters& p) { p.subframe[1].lag = 28; },
       {0, 0, 0, 0, 0, 0, 0x00F0, 0, 0, 0}},
      {"lag code s2", [](FrameParameters& p) { p.subframe[2].lag = 21; },
       {0, 0, 0, 0, 0, 0, 0x000F, 0, 0, 0}},
      {"e1", [](FrameParameters& p) { p.lsfIndex[2] = 31; }, {0, 0, 0, 0, 0, 0, 0, 0xF800, 0, 0}},
      {"e2", [](FrameParameters& p) { p.lsfIndex[4] = 31; }, {0, 0, 0, 0, 0, 0, 0, 0x07C0, 0, 0}},
      {"o1", [](FrameParameters& p) { p.lsfIndex[3] = 15; }, {0, 0, 0, 0, 0, 0, 0, 0x003C, 0, 0}},
      {"train gain s2", [](FrameParameters& p) { p.subframe[2].trainGainIndex = 31; },
       {0, 0, 0, 0, 0, 0, 0, 0x0003, 0x0001, 0x0003}},
      {"train code s0", [](FrameParameters& p) { p.subframe[0].trainCode = 0x7FFF; },
       {0, 0, 0, 0, 0, 0, 0, 0, 0xFFFE, 0}},
      {"train code s1", [](FrameParameters& p) { p.subframe[1].trainCode = 0x3FFF; },
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFC}},
  };
  for (const FieldCase& c : cases) {
    // Base: everything zero, lags 20, 13, 6 (codes 0).
    FrameParameters p{};
    p.subframe[0].lag = 20;
    p.subframe[1].lag = 13;
    p.subframe[2].lag = 6;
    c.set(p);
    if (p.subframe[0].lag != 20) {  // keep the other lag codes at 0
      p.subframe[1].lag = p.subframe[0].lag - 7;
      p.subframe[2].lag = p.subframe[1].lag - 7;
    } else if (p.subframe[1].lag != 13) {
      p.subframe[2].lag = p.subframe[1].lag - 7;
    }
    uint8_t bytes[kFrameBytes];
    packFrame(p, bytes);
    for (int w = 0; w < kFrameWords; ++w)
      EXPECT_EQ(bytes[2 * w] | (bytes[2 * w + 1] << 8), c.words[w]) << c.field << ", word " << w;
  }
}

TEST(SpeechFrame, TwentyZeroBytesDecodeToTheDocumentedParameters) {
  const uint8_t zeros[kFrameBytes] = {};
  FrameParameters p;
  unpackFrame(zeros, p);
  for (int k = 0; k < kLsfCount; ++k) EXPECT_EQ(p.lsfIndex[k], 0);
  // Delta codes of 0 mean −7.
  EXPECT_EQ(p.subframe[0].lag, 20);
  EXPECT_EQ(p.subframe[1].lag, 13);
  EXPECT_EQ(p.subframe[2].lag, 6);
  for (const SubframeParameters& s : p.subframe) {
    EXPECT_EQ(kPitchGain[s.pitchGainIndex], -0.993f);
    EXPECT_EQ(s.pulsePosition, 0);
    EXPECT_EQ(s.pulseGainIndex, 0);  // amplitude +4·L[0] = 4
    EXPECT_EQ(s.trainCode, 0);       // phase 0, pulses 1.. negative
    EXPECT_EQ(s.trainGainIndex, 0);  // amplitude +L[0] = 1
  }
  // And the frame decodes to finite, bounded samples.
  DecoderState state;
  initDecoder(state, false, cpu::processorArch());
  int16_t samples[kFrameSamples];
  decodeFrameSamples(state, zeros, samples);
  int nonZero = 0;
  for (int16_t s : samples) nonZero += s != 0;
  EXPECT_GT(nonZero, 0);
}

// Decodes one frame with the pulse position of subframe `sf` set to
// `position` (everything else fixed) from a fresh decoder.
std::vector<int16_t> decodeWithPulseAt(int sf, int position) {
  FrameParameters p{};
  for (int k = 0; k < kLsfCount; ++k) p.lsfIndex[k] = 3;
  for (SubframeParameters& s : p.subframe) s = {60, 20, 63, 9, 0x1234, 3};
  p.subframe[sf].pulsePosition = position;
  uint8_t bytes[kFrameBytes];
  packFrame(p, bytes);
  DecoderState state;
  initDecoder(state, false, cpu::processorArch());
  std::vector<int16_t> samples(kFrameSamples);
  decodeFrameSamples(state, bytes, samples.data());
  return samples;
}

TEST(SpeechFrame, PulsePositionsBeyondTheSubframeAddNoPulse) {
  struct Case {
    int subframe;
    int lastPosition;  // len − 1
  };
  for (const Case c : {Case{0, 55}, Case{1, 51}, Case{2, 51}}) {
    const std::vector<int16_t> none = decodeWithPulseAt(c.subframe, 63);
    for (int position = c.lastPosition + 1; position < 63; ++position)
      EXPECT_EQ(decodeWithPulseAt(c.subframe, position), none)
          << "subframe " << c.subframe << " position " << position;
    EXPECT_NE(decodeWithPulseAt(c.subframe, c.lastPosition), none) << "subframe " << c.subframe;
  }
}

TEST(SpeechFrame, OddIndexHalfOfTheTablePutsTheLsfAtTheMidpoint) {
  for (int j = 0; j < 5; ++j) {
    int indices[kLsfCount] = {2, 0, 4, 0, 6, 0, 8, 0, 3, 0};
    const int n = 1 << kLsfIndexBits[2 * j + 1];
    indices[2 * j + 1] = n / 2;
    float lsf[kLsfCount];
    reconstructLsf(indices, lsf);
    const float lo = lsf[2 * j];
    const float hi = j < 4 ? lsf[2 * j + 2] : kPiFloat;
    EXPECT_EQ(lsf[2 * j + 1], static_cast<float>(lo + static_cast<double>(halfGap(lo, hi))))
        << "odd LSF " << 2 * j + 1;
    EXPECT_NEAR(lsf[2 * j + 1], (static_cast<double>(lo) + hi) / 2, 1e-6) << "odd LSF " << 2 * j + 1;
  }
}

TEST(SpeechFrame, OddLsfsLieBetweenTheirEvenNeighbours) {
  // For every odd index of every table, with ordered even neighbours.
  int indices[kLsfCount] = {7, 0, 15, 0, 15, 0, 7, 0, 4, 0};
  for (int j = 0; j < 5; ++j) {
    const int n = 1 << kLsfIndexBits[2 * j + 1];
    for (int index = 0; index < n; ++index) {
      indices[2 * j + 1] = index;
      float lsf[kLsfCount];
      reconstructLsf(indices, lsf);
      const float hi = j < 4 ? lsf[2 * j + 2] : kPiFloat;
      EXPECT_GT(lsf[2 * j + 1], lsf[2 * j]) << "j " << j << " index " << index;
      EXPECT_LT(lsf[2 * j + 1], hi) << "j " << j << " index " << index;
    }
  }
}

}  // namespace
}  // namespace zv::qv80::test
