// The coder's frames and the decoder's samples must match the QV48W
// conformance vectors byte for byte (tests/data/vectors/README.md). The
// codec computes in integers only, so every target gives these files: the
// arm64 preset runs this test under qemu and the WebAssembly tests decode
// the same frames.
#include <gtest/gtest.h>

#include <string>

#include <zv/qv48.h>
#include "lowrate_test_support.h"

namespace zv::qv48::test {
namespace {

struct Vector {
  const char* input;    // X.raw
  uint32_t flags;       // open flags
  const char* decoded;  // suffix of the decoded file
};

void PrintTo(const Vector& vector, std::ostream* out) { *out << vector.input; }

const Vector kVectors[] = {
    {"vowels", 1, ".dec.raw"},  {"tones", 1, ".dec.raw"},   {"noise", 1, ".dec.raw"},
    {"silence", 1, ".dec.raw"}, {"vowels-short", 1, ".dec.raw"},
    {"vowels8", ZV_CODEC_FLAG_8BIT, ".dec8.raw"},
};

class LowRateConformance : public testing::TestWithParam<Vector> {};

TEST_P(LowRateConformance, EncoderReproducesTheFrames) {
  const Vector& v = GetParam();
  const auto pcm = readFileBytes(vectorPath(std::string(v.input) + ".raw"));
  const auto expected = readFileBytes(vectorPath(std::string(v.input) + ".qv48"));
  ASSERT_FALSE(pcm.empty());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(firstDifference(encodeStream(pcm, v.flags), expected), -1);
}

TEST_P(LowRateConformance, DecoderReproducesTheSamples) {
  const Vector& v = GetParam();
  const auto frames = readFileBytes(vectorPath(std::string(v.input) + ".qv48"));
  const auto expected = readFileBytes(vectorPath(std::string(v.input) + ".qv48" + v.decoded));
  ASSERT_FALSE(frames.empty());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(firstDifference(decodeStream(frames, v.flags), expected), -1);
}

INSTANTIATE_TEST_SUITE_P(Vectors, LowRateConformance, testing::ValuesIn(kVectors),
                         [](const testing::TestParamInfo<Vector>& info) {
                           std::string name = info.param.input;
                           std::erase(name, '-');
                           return name;
                         });

// vowels-short (5000 samples) is 20 whole frames of vowels and one completed
// with zeros: its first 20 frames are those of vowels.
TEST(LowRateConformanceShort, WholeFramesAreThoseOfTheLongStream) {
  const auto shortFrames = readFileBytes(vectorPath("vowels-short.qv48"));
  const auto longFrames = readFileBytes(vectorPath("vowels.qv48"));
  ASSERT_EQ(shortFrames.size(), 21u * 18u);
  ASSERT_GE(longFrames.size(), 20u * 18u);
  EXPECT_TRUE(std::equal(shortFrames.begin(), shortFrames.begin() + 20 * 18, longFrames.begin()));
}

}  // namespace
}  // namespace zv::qv48::test
