// The conformance vectors: the encoder's frames must match bit for bit and
// the decoder's samples byte for byte, at every kernel level. On a mismatch
// the first differing frame and its parameters are reported, which points
// at the stage that disagrees.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <tuple>

#include "codec/speech/frame_packing.h"
#include "tests/codec/kernel_levels.h"
#include "speech_test_support.h"

namespace zv::qv80::test {
namespace {

struct Vector {
  const char* name;    // frames X.qv80, from input X.raw
  bool eightBit;       // open flags 2 instead of 1
  const char* output;  // the encoder's input X.raw, or the decoder's output
};

void PrintTo(const Vector& v, std::ostream* out) { *out << v.name; }

const Vector kEncoderVectors[] = {
    {"vowels", false, "vowels.raw"},
    {"tones", false, "tones.raw"},
    {"noise", false, "noise.raw"},
    {"silence", false, "silence.raw"},
    // 5000 samples: the last frame is completed with zero samples.
    {"vowels-short", false, "vowels-short.raw"},
    {"vowels8", true, "vowels8.raw"},
};

const Vector kDecoderVectors[] = {
    {"vowels", false, "vowels.qv80.dec.raw"},
    {"tones", false, "tones.qv80.dec.raw"},
    {"noise", false, "noise.qv80.dec.raw"},
    {"silence", false, "silence.qv80.dec.raw"},
    {"vowels8", true, "vowels8.qv80.dec8.raw"},
};

std::string vectorPath(const std::string& file) { return std::string(ZV_TESTVECTORS_DIR) + "/" + file; }

std::string describeFrame(const uint8_t* bytes) {
  FrameParameters p;
  unpackFrame(bytes, p);
  std::ostringstream out;
  out << "lsf";
  for (int index : p.lsfIndex) out << ' ' << index;
  for (const SubframeParameters& s : p.subframe)
    out << " | lag " << s.lag << " pitch " << s.pitchGainIndex << " pos " << s.pulsePosition
        << " pulse " << s.pulseGainIndex << " code " << s.trainCode << " train "
        << s.trainGainIndex;
  return out.str();
}

using VectorAtLevel = std::tuple<Vector, cpu::Arch>;

std::string testName(const testing::TestParamInfo<VectorAtLevel>& info) {
  std::string name = std::get<0>(info.param).name;
  for (char& c : name)
    if (c == '-') c = '_';
  return name + "_" + cpu::archName(std::get<1>(info.param));
}

class SpeechEncoderVectorTest : public testing::TestWithParam<VectorAtLevel> {};
class SpeechDecoderVectorTest : public testing::TestWithParam<VectorAtLevel> {};

TEST_P(SpeechEncoderVectorTest, FramesMatchBitForBit) {
  const auto& [v, arch] = GetParam();
  ZV_SKIP_UNLESS_PROCESSOR_RUNS(arch);
  const std::vector<uint8_t> input = readFile(vectorPath(v.output));
  const std::vector<uint8_t> expected = readFile(vectorPath(std::string(v.name) + ".qv80"));
  ASSERT_FALSE(input.empty());
  ASSERT_FALSE(expected.empty());
  std::vector<uint8_t> coded;
  onFreshThread([&] { coded = encodeStream(input, v.eightBit, arch); });
  ASSERT_EQ(coded.size(), expected.size());
  for (size_t f = 0; f < coded.size() / kFrameBytes; ++f) {
    const uint8_t* ours = &coded[f * kFrameBytes];
    const uint8_t* theirs = &expected[f * kFrameBytes];
    ASSERT_EQ(std::memcmp(ours, theirs, kFrameBytes), 0)
        << "frame " << f << "\n  ours:     " << describeFrame(ours)
        << "\n  expected: " << describeFrame(theirs);
  }
}

TEST_P(SpeechDecoderVectorTest, SamplesMatchByteForByte) {
  const auto& [v, arch] = GetParam();
  ZV_SKIP_UNLESS_PROCESSOR_RUNS(arch);
  const std::vector<uint8_t> frames = readFile(vectorPath(std::string(v.name) + ".qv80"));
  const std::vector<uint8_t> expected = readFile(vectorPath(v.output));
  ASSERT_FALSE(frames.empty());
  const std::vector<uint8_t> decoded = decodeStream(frames, v.eightBit, arch);
  ASSERT_EQ(decoded.size(), expected.size());
  const size_t frameBytes = v.eightBit ? kFrameSamples : 2 * kFrameSamples;
  for (size_t f = 0; f < decoded.size() / frameBytes; ++f)
    ASSERT_EQ(std::memcmp(&decoded[f * frameBytes], &expected[f * frameBytes], frameBytes), 0)
        << "frame " << f << ": " << describeFrame(&frames[f * kFrameBytes]);
}

INSTANTIATE_TEST_SUITE_P(Vectors, SpeechEncoderVectorTest,
                         testing::Combine(testing::ValuesIn(kEncoderVectors),
                                          testing::ValuesIn(cpu::kAllArchs)),
                         testName);
INSTANTIATE_TEST_SUITE_P(Vectors, SpeechDecoderVectorTest,
                         testing::Combine(testing::ValuesIn(kDecoderVectors),
                                          testing::ValuesIn(cpu::kAllArchs)),
                         testName);

}  // namespace
}  // namespace zv::qv80::test
