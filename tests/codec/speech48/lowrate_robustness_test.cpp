// What the library does with input it was not made for: frames of arbitrary
// bytes, calls with the wrong counts, and full-scale signals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <span>
#include <vector>

#include <zv/qv48.h>
#include "lowrate_test_support.h"
#include "tools/audio_quality.h"

namespace zv::qv48::test {
namespace {

double rms(std::span<const int16_t> samples) {
  double sum = 0;
  for (int16_t s : samples) sum += double(s) * s;
  return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

// Garbage, then a real stream: every frame decodes, and once the garbage
// is over the decoder follows the real frames again. (Its excitation history
// and filters hold at most 147 samples, so after a few frames the output is
// the real stream's.)
TEST(LowRateRobustness, ArbitraryFramesDecodeAndTheDecoderRecovers) {
  std::mt19937 random(4800);
  std::vector<uint8_t> garbage(18 * 300);
  for (auto& byte : garbage) byte = static_cast<uint8_t>(random());
  std::memset(garbage.data() + 18 * 100, 0xFF, 18 * 20);  // all ones: every field at its top
  std::memset(garbage.data() + 18 * 200, 0x00, 18 * 20);
  const auto vowels = readFileBytes(vectorPath("vowels.qv48"));
  ASSERT_FALSE(vowels.empty());
  std::vector<uint8_t> stream = garbage;
  stream.insert(stream.end(), vowels.begin(), vowels.end());

  const std::vector<int16_t> decoded = samplesFromBytes(decodeStream(stream, 1));
  ASSERT_EQ(decoded.size(), stream.size() / 18 * 240);
  const std::vector<int16_t> clean =
      samplesFromBytes(readFileBytes(vectorPath("vowels.qv48.dec.raw")));
  // The last two seconds of the real part against the clean decode.
  const size_t tail = 16000;
  const std::span<const int16_t> after(decoded.data() + decoded.size() - tail, tail);
  const std::span<const int16_t> reference(clean.data() + clean.size() - tail, tail);
  EXPECT_GT(quality::normalisedCorrelation(reference, after, 0), 0.99);
  EXPECT_NEAR(rms(after) / rms(reference), 1.0, 0.05);
}

struct CountCase {
  uint32_t flags;
  uint16_t pcmBytes;
  uint16_t codedBytes;
};

// One frame each way, exactly: 480 (16-bit) or 240 (8-bit) PCM bytes and 18
// coded bytes. A rejected call changes neither its buffers nor the counts
// nor the state: the stream around it codes and decodes as without it.
TEST(LowRateRobustness, WrongCountsAreRejectedAndChangeNothing) {
  const CountCase bad[] = {{1, 240, 18}, {1, 480, 17}, {1, 480, 19},
                           {0, 0, 18},   {1, 481, 18}, {1, 480, 0}};
  const auto pcm = readFileBytes(vectorPath("vowels.raw"));
  const auto expectedFrames = readFileBytes(vectorPath("vowels.qv48"));
  ASSERT_GE(pcm.size(), 3u * 480u);
  for (const CountCase& c : bad) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << ", " << c.pcmBytes << " PCM, "
                                    << c.codedBytes << " coded");
    void* coder = QV48_Open_Coder(c.flags);
    void* decoder = QV48_Open_Decoder(c.flags);
    std::vector<uint8_t> frames(3 * 18), decoded(3 * 480);
    for (int f = 0; f < 3; ++f) {
      if (f == 1) {
        std::vector<uint8_t> untouched(600, 0xA5);
        uint16_t pcmBytes = c.pcmBytes, codedBytes = c.codedBytes;
        EXPECT_EQ(QV48_Encode(coder, pcm.data(), &pcmBytes, untouched.data(), &codedBytes), -2);
        EXPECT_EQ(QV48_Decode(decoder, frames.data(), &codedBytes, untouched.data(), &pcmBytes), -2);
        EXPECT_EQ(pcmBytes, c.pcmBytes);
        EXPECT_EQ(codedBytes, c.codedBytes);
        EXPECT_EQ(untouched, std::vector<uint8_t>(600, 0xA5));
      }
      uint16_t pcmBytes = 480, codedBytes = 18;
      ASSERT_EQ(QV48_Encode(coder, &pcm[480 * f], &pcmBytes, &frames[18 * f], &codedBytes), 0);
      ASSERT_EQ(QV48_Decode(decoder, &frames[18 * f], &codedBytes, &decoded[480 * f], &pcmBytes), 0);
      EXPECT_EQ(pcmBytes, 480);
      EXPECT_EQ(codedBytes, 18);
    }
    QV48_Close_Coder(coder);
    QV48_Close_Decoder(decoder);
    EXPECT_TRUE(std::equal(frames.begin(), frames.end(), expectedFrames.begin()));
  }
  // In 8-bit mode the counts are 240 and 18.
  void* coder = QV48_Open_Coder(ZV_CODEC_FLAG_8BIT);
  void* decoder = QV48_Open_Decoder(ZV_CODEC_FLAG_8BIT);
  uint8_t frame[18] = {};
  std::vector<uint8_t> out(480);
  for (const CountCase& c : {CountCase{2, 480, 18}, CountCase{2, 239, 18}, CountCase{2, 240, 17}}) {
    uint16_t pcmBytes = c.pcmBytes, codedBytes = c.codedBytes;
    EXPECT_EQ(QV48_Encode(coder, pcm.data(), &pcmBytes, frame, &codedBytes), -2);
    EXPECT_EQ(QV48_Decode(decoder, frame, &codedBytes, out.data(), &pcmBytes), -2);
  }
  uint16_t pcmBytes = 240, codedBytes = 18;
  EXPECT_EQ(QV48_Encode(coder, pcm.data(), &pcmBytes, frame, &codedBytes), 0);
  EXPECT_EQ(QV48_Decode(decoder, frame, &codedBytes, out.data(), &pcmBytes), 0);
  QV48_Close_Coder(coder);
  QV48_Close_Decoder(decoder);
}

// Full-scale square waves, clipped noise and a sawtooth: the coder's
// integers must neither overflow (the sanitizer preset runs this) nor lose
// the signal. The periodic signals keep their level (the codec: 0.83 and 1.0 of
// the source's RMS); white noise, which three pulses a subframe cannot
// follow, keeps about 0.6 of it: analysis by synthesis scales down what it
// cannot match (to about 0.3 by the weighted error alone), the encoder's
// energy term in the gain search brings part of it back. A coder that
// saturates or wraps a signal falls far outside, or goes silent.
TEST(LowRateRobustness, FullScaleSignalsCodeWithoutLosingTheirLevel) {
  std::mt19937 random(1);
  std::vector<int16_t> source;
  for (int n = 0; n < 8000; ++n) source.push_back((n / 3) % 2 ? 32767 : -32768);
  for (int n = 0; n < 8000; ++n) source.push_back(random() % 2 ? 32767 : -32768);
  for (int n = 0; n < 8000; ++n) source.push_back(static_cast<int16_t>(32767 * ((n % 40) / 20.0 - 1)));
  const std::vector<int16_t> decoded =
      samplesFromBytes(decodeStream(encodeStream(bytesFromSamples(source), 1), 1));
  const double lowest[3] = {0.6, 0.45, 0.6};
  for (int part = 0; part < 3; ++part) {
    SCOPED_TRACE(testing::Message() << "part " << part);
    const std::span<const int16_t> s(source.data() + 8000 * part + 1000, 6000);
    const std::span<const int16_t> d(decoded.data() + 8000 * part + 1060, 6000);
    EXPECT_GT(rms(d), lowest[part] * rms(s));
    EXPECT_LT(rms(d), 1.3 * rms(s));
  }
}

}  // namespace
}  // namespace zv::qv48::test
