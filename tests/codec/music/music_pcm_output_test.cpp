// The decoder's final x16, clamp and 16-bit little-endian store.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "codec/music/pcm_output.h"

namespace zv::qv160mx {
namespace {

TEST(MusicPcmOutput, AmplifiesBySixteenAndClampsEveryValue) {
  // 19 values: two blocks of eight for the packed path and three for the
  // per-sample tail, each holding the clamp edges (+-2048 is where x16 leaves
  // 16 bits), values beyond 16 bits and the 32-bit extremes.
  const std::vector<int32_t> samples = {
      0,      1,      -1,       2047,    2048,    -2048,  -2049, 2049,  40000, -40000,
      INT32_MAX, INT32_MIN, 32767, -32768, 1234, -1234, 2048, -2049, 100};
  std::vector<uint8_t> pcm(2 * samples.size() + 2, 0xEE);
  storeAmplifiedPcm(samples.data(), static_cast<int>(samples.size()), pcm.data());
  for (size_t i = 0; i < samples.size(); ++i) {
    int64_t expected = static_cast<int64_t>(samples[i]) * 16;
    expected = expected > 32767 ? 32767 : expected < -32768 ? -32768 : expected;
    const auto stored = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8)));
    EXPECT_EQ(stored, expected) << "sample " << i << " = " << samples[i];
  }
  EXPECT_EQ(pcm[2 * samples.size()], 0xEE) << "wrote past the end";
}

}  // namespace
}  // namespace zv::qv160mx
