// The coder's frames and the decoder's samples must match the conformance
// vectors byte for byte, in both forms of the filter bank: the vectors stay
// within 16 bits everywhere, where the two forms are defined to agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "codec/music/frame_format.h"
#include "codec/music/tables.h"
#include "music_test_support.h"

namespace zv::qv160mx::test {
namespace {

// Index of the first differing byte, or -1 when equal (sizes included).
long firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) return static_cast<long>(i);
  }
  return a.size() == b.size() ? -1 : static_cast<long>(common);
}

std::string testLabel(const std::string& vector, QmfForm form) {
  std::string label = vector;
  std::erase(label, '-');
  return label + "_" + formName(form);
}

using VectorAndForm = std::tuple<std::string, QmfForm>;

std::string paramLabel(const testing::TestParamInfo<VectorAndForm>& info) {
  return testLabel(std::get<0>(info.param), std::get<1>(info.param));
}

class MusicEncoderConformance : public testing::TestWithParam<VectorAndForm> {};

// Both forms run whatever the machine; the SIMD form is skipped, with a
// message, where this build or processor has none.
void skipUnlessOffered(QmfForm form) {
  if (form == QmfForm::kSimd && !processorOffersSimdQmf())
    GTEST_SKIP() << "this processor or build has no SIMD filter bank";
}

TEST_P(MusicEncoderConformance, ReproducesTheFrames) {
  const auto& [name, form] = GetParam();
  skipUnlessOffered(form);
  if (testing::Test::IsSkipped()) return;
  const auto pcm = readFileBytes(vectorPath(name + ".raw"));
  const auto expected = readFileBytes(vectorPath(name + ".qv160"));
  ASSERT_FALSE(pcm.empty());
  ASSERT_FALSE(expected.empty());
  const auto frames = encodeStream(pcm, form);
  EXPECT_EQ(frames.size(), expected.size());
  EXPECT_EQ(firstDifference(frames, expected), -1);
}

// Every input, including vowels-short, whose last frame is completed with
// zero samples.
INSTANTIATE_TEST_SUITE_P(
    Vectors, MusicEncoderConformance,
    testing::Combine(testing::Values("vowels", "tones", "noise", "silence", "vowels-short"),
                     testing::Values(QmfForm::kScalar, QmfForm::kSimd)),
    paramLabel);

class MusicDecoderConformance : public testing::TestWithParam<VectorAndForm> {};

TEST_P(MusicDecoderConformance, ReproducesTheSamples) {
  const auto& [name, form] = GetParam();
  skipUnlessOffered(form);
  if (testing::Test::IsSkipped()) return;
  const auto frames = readFileBytes(vectorPath(name + ".qv160"));
  const auto expected = readFileBytes(vectorPath(name + ".qv160.dec.raw"));
  ASSERT_FALSE(frames.empty());
  ASSERT_FALSE(expected.empty());
  const auto pcm = decodeStream(frames, form);
  EXPECT_EQ(pcm.size(), expected.size());
  EXPECT_EQ(firstDifference(pcm, expected), -1);
}

// The inputs with a decoded vector (vowels-short is checked below).
INSTANTIATE_TEST_SUITE_P(
    Vectors, MusicDecoderConformance,
    testing::Combine(testing::Values("vowels", "tones", "noise", "silence"),
                     testing::Values(QmfForm::kScalar, QmfForm::kSimd)),
    paramLabel);

// vowels-short is the first 5000 samples of vowels: 39 whole frames and 8
// samples completed with zeros. Its frames must be the first 39 frames of
// vowels plus one of its own, and decode to the same first 39 x 128 samples.
TEST(MusicConformanceShort, ShortStreamSharesItsWholeFramesWithTheLongOne) {
  const auto shortFrames = readFileBytes(vectorPath("vowels-short.qv160"));
  const auto longFrames = readFileBytes(vectorPath("vowels.qv160"));
  const auto longDecoded = readFileBytes(vectorPath("vowels.qv160.dec.raw"));
  for (QmfForm form : availableForms()) {
    SCOPED_TRACE(formName(form));
    const auto decoded = decodeStream(shortFrames, form);
    ASSERT_EQ(decoded.size(), 40u * kFramePcmBytes);
    const std::vector<uint8_t> wholeFrames(decoded.begin(), decoded.begin() + 39 * kFramePcmBytes);
    const std::vector<uint8_t> longPrefix(longDecoded.begin(),
                                          longDecoded.begin() + 39 * kFramePcmBytes);
    EXPECT_EQ(firstDifference(wholeFrames, longPrefix), -1);
  }
  // The frames themselves: the first 39 are the long stream's first 39,
  // then one frame of its own.
  const auto shortPcm = readFileBytes(vectorPath("vowels-short.raw"));
  ASSERT_EQ(shortPcm.size(), 10000u);
  const auto wholeFrameBytes = encodeStream(
      std::vector<uint8_t>(shortPcm.begin(), shortPcm.begin() + 39 * kFramePcmBytes),
      QmfForm::kScalar);
  ASSERT_LT(wholeFrameBytes.size(), shortFrames.size());
  EXPECT_TRUE(std::equal(wholeFrameBytes.begin(), wholeFrameBytes.end(), shortFrames.begin()));
  EXPECT_TRUE(std::equal(wholeFrameBytes.begin(), wholeFrameBytes.end(), longFrames.begin()));
  const size_t lastFrameBytes = shortFrames.size() - wholeFrameBytes.size();
  EXPECT_EQ(lastFrameBytes,
            static_cast<size_t>(frameBytesFromHeader(shortFrames.data() + wholeFrameBytes.size())));
}

}  // namespace
}  // namespace zv::qv160mx::test
