// The six working entry points as the encoding engine calls them: size
// checks, consumed counts, the exact frames of the edge cases, and
// independence of instances. (The ordinal table, NULL arguments and the
// information records: tests/codec/contract.)
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <thread>

#include "codec/music/frame_format.h"
#include <zv/qv160mx.h>
#include "music_test_support.h"

namespace zv::qv160mx::test {
namespace {

struct EncoderHandle {
  void* handle = QV160MX_Open_Coder(1);
  ~EncoderHandle() { QV160MX_Close_Coder(handle); }
};
struct DecoderHandle {
  void* handle = QV160MX_Open_Decoder(1);
  ~DecoderHandle() { QV160MX_Close_Decoder(handle); }
};

// Appends `width` bits of `value`, most significant first, one bit at a time:
// a reference that shares nothing with the codec's word-wise packer.
void appendBits(std::vector<int>& bits, uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i) bits.push_back((value >> i) & 1);
}
std::vector<uint8_t> bytesFromBits(const std::vector<int>& bits) {
  std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
  for (size_t i = 0; i < bits.size(); ++i) {
    if (bits[i]) bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
  }
  return bytes;
}

TEST(MusicEncode, FreshEncoderCodesSilenceAsTheMinimalFrame) {
  // Eight scale indices 0 (5 bits each), then sixteen 13-bit codewords of
  // 3280 = 1*3^7 + 1*3^6 + ... + 1: every sample at the middle of three
  // levels. 40 + 208 = 248 bits fill 31 bytes exactly: no padding bits.
  std::vector<int> bits;
  for (int band = 0; band < 8; ++band) appendBits(bits, 0, 5);
  for (int word = 0; word < 16; ++word) appendBits(bits, 3280, 13);
  ASSERT_EQ(bits.size(), 31u * 8u);
  const auto expected = bytesFromBits(bits);

  EncoderHandle encoder;
  ASSERT_NE(encoder.handle, nullptr);
  const std::array<uint8_t, 256> pcm{};
  std::array<uint8_t, 39> frame;
  frame.fill(0xAA);
  uint16_t pcmBytes = 256, codedBytes = 39;
  ASSERT_EQ(QV160MX_Encode(encoder.handle, pcm.data(), &pcmBytes, frame.data(), &codedBytes), 0);
  ASSERT_EQ(codedBytes, 31);
  EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.begin() + 31), expected);
  EXPECT_EQ(frame[31], 0xAA) << "nothing is written past the frame";
}

struct SizeCase {
  uint16_t pcmBytes;
  uint16_t codedBytes;
  int32_t result;
  uint16_t pcmBytesAfter;
  uint16_t codedBytesAfter;
};

TEST(MusicEncode, ChecksSizesAndReportsWhatItConsumedAndProduced) {
  const SizeCase cases[] = {
      {255, 39, -2, 255, 39},   // less than one frame of PCM
      {256, 38, -2, 256, 38},   // no room for the largest frame
      {0, 0, -2, 0, 0},
      {256, 39, 0, 256, 31},
      {300, 39, 0, 256, 31},    // consumes one frame of what is offered
      {256, 1000, 0, 256, 31},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "pcm " << c.pcmBytes << ", coded " << c.codedBytes);
    EncoderHandle encoder;
    std::vector<uint8_t> pcm(c.pcmBytes + 1u, 0);
    std::vector<uint8_t> coded(c.codedBytes + 1u, 0xAA);
    uint16_t pcmBytes = c.pcmBytes, codedBytes = c.codedBytes;
    EXPECT_EQ(QV160MX_Encode(encoder.handle, pcm.data(), &pcmBytes, coded.data(), &codedBytes),
              c.result);
    EXPECT_EQ(pcmBytes, c.pcmBytesAfter);
    EXPECT_EQ(codedBytes, c.codedBytesAfter);
    if (c.result != 0) {
      EXPECT_EQ(std::count(coded.begin(), coded.end(), 0xAA), static_cast<long>(coded.size()));
    }
  }
}

TEST(MusicEncode, FullScaleNoiseGivesTheLargestFrames) {
  // Full-scale white noise fills every band: bands 0 and 1 reach 9 levels and
  // band 2 5 levels, 5 + ceil(2 * (26 + 26 + 19 + 5 * 13) / 8) = 39 bytes.
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  EncoderHandle encoder;
  for (int frame = 0; frame < 50; ++frame) {
    int16_t pcm[128];
    for (int16_t& s : pcm) s = static_cast<int16_t>(sample(random));
    uint8_t coded[39];
    uint16_t pcmBytes = 256, codedBytes = 39;
    ASSERT_EQ(QV160MX_Encode(encoder.handle, pcm, &pcmBytes, coded, &codedBytes), 0);
    EXPECT_EQ(codedBytes, 39) << "frame " << frame;
  }
}

TEST(MusicEncode, OpenFlagsChangeNothing) {
  // Bit 1 of the flags would select 8-bit samples in the speech codec; the
  // music codec records it and always reads 16-bit samples.
  const auto pcm = readFileBytes(vectorPath("tones.raw"));
  const auto expected = readFileBytes(vectorPath("tones.qv160"));
  void* encoder = QV160MX_Open_Coder(2);
  std::vector<uint8_t> frames;
  for (size_t pos = 0; pos + 256 <= pcm.size(); pos += 256) {
    uint8_t coded[39];
    uint16_t pcmBytes = 256, codedBytes = 39;
    ASSERT_EQ(QV160MX_Encode(encoder, pcm.data() + pos, &pcmBytes, coded, &codedBytes), 0);
    frames.insert(frames.end(), coded, coded + codedBytes);
  }
  QV160MX_Close_Coder(encoder);
  ASSERT_LE(frames.size(), expected.size());
  EXPECT_TRUE(std::equal(frames.begin(), frames.end(), expected.begin()));
}

// A frame whose band 0 has scale index 31 (9000, 9 levels) and every other
// band index 0: 5 + ceil((2 * 26 + 14 * 13) / 8) = 35 bytes.
std::vector<uint8_t> thirtyFiveByteFrame() {
  std::vector<uint8_t> frame(35, 0x5A);
  frame[0] = 0xF8;
  frame[1] = frame[2] = frame[3] = frame[4] = 0;
  return frame;
}

TEST(MusicDecode, ChecksSizesBeforeTouchingAnything) {
  const SizeCase cases[] = {
      {256, 30, -2, 256, 30},   // less than the smallest frame
      {255, 31, -2, 255, 31},   // no room for 128 samples
      {0, 0, -2, 0, 0},
  };
  const auto frame = thirtyFiveByteFrame();
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "pcm " << c.pcmBytes << ", coded " << c.codedBytes);
    DecoderHandle decoder;
    std::vector<uint8_t> pcm(c.pcmBytes + 1u, 0xAA);
    uint16_t pcmBytes = c.pcmBytes, codedBytes = c.codedBytes;
    EXPECT_EQ(QV160MX_Decode(decoder.handle, frame.data(), &codedBytes, pcm.data(), &pcmBytes),
              c.result);
    EXPECT_EQ(pcmBytes, c.pcmBytesAfter);
    EXPECT_EQ(codedBytes, c.codedBytesAfter);
    EXPECT_EQ(std::count(pcm.begin(), pcm.end(), 0xAA), static_cast<long>(pcm.size()));
  }
}

TEST(MusicDecode, RejectsAFrameLongerThanWhatWasGiven) {
  const auto frame = thirtyFiveByteFrame();
  ASSERT_EQ(frameBytesFromHeader(frame.data()), 35);
  // Only 31 bytes of the 35, in a buffer of exactly that size, so that a read
  // past it would be caught by the address sanitizer.
  const std::vector<uint8_t> partial(frame.begin(), frame.begin() + 31);
  DecoderHandle decoder;
  std::vector<uint8_t> pcm(300, 0xAA);
  uint16_t codedBytes = 31, pcmBytes = 300;
  EXPECT_EQ(QV160MX_Decode(decoder.handle, partial.data(), &codedBytes, pcm.data(), &pcmBytes), -2);
  EXPECT_EQ(codedBytes, 31);
  EXPECT_EQ(pcmBytes, 256) << "the PCM count is set before the length check";
  EXPECT_EQ(std::count(pcm.begin(), pcm.end(), 0xAA), 300) << "no samples written";

  // The whole frame then decodes.
  codedBytes = 35;
  pcmBytes = 256;
  EXPECT_EQ(QV160MX_Decode(decoder.handle, frame.data(), &codedBytes, pcm.data(), &pcmBytes), 0);
  EXPECT_EQ(codedBytes, 35);
}

TEST(MusicDecode, ConsumesOnlyTheCurrentFrameOfWhatItIsHanded) {
  // The engine hands the decoder the next 39 bytes of the stream each time
  // and steps back over what was not consumed.
  const auto frames = readFileBytes(vectorPath("vowels.qv160"));
  const auto expected = readFileBytes(vectorPath("vowels.qv160.dec.raw"));
  DecoderHandle decoder;
  std::vector<uint8_t> pcm;
  size_t pos = 0;
  int lengthsSeen[40] = {};
  while (pos < frames.size()) {
    const size_t handed = std::min<size_t>(39, frames.size() - pos);
    std::vector<uint8_t> window(frames.begin() + static_cast<long>(pos),
                                frames.begin() + static_cast<long>(pos + handed));
    uint16_t codedBytes = static_cast<uint16_t>(handed), pcmBytes = 256;
    uint8_t block[256];
    ASSERT_EQ(QV160MX_Decode(decoder.handle, window.data(), &codedBytes, block, &pcmBytes), 0)
        << "at byte " << pos;
    ASSERT_EQ(codedBytes, frameBytesFromHeader(window.data()));
    ASSERT_EQ(pcmBytes, 256);
    ++lengthsSeen[codedBytes];
    pcm.insert(pcm.end(), block, block + 256);
    pos += codedBytes;
  }
  EXPECT_EQ(pcm, expected);
  int distinctLengths = 0;
  for (int count : lengthsSeen) distinctLengths += count > 0;
  EXPECT_GT(distinctLengths, 1) << "the stream should mix frame lengths";
}

TEST(MusicEntryPoints, InstancesOnDifferentThreadsDoNotInterfere) {
  // Every working variable lives in the instance: four encoders and four
  // decoders running at once each reproduce the vectors.
  auto pcm = readFileBytes(vectorPath("vowels.raw"));
  pcm.resize((pcm.size() + 255) / 256 * 256, 0);  // the last frame completed with zeros
  const auto expectedFrames = readFileBytes(vectorPath("vowels.qv160"));
  const auto expectedPcm = readFileBytes(vectorPath("vowels.qv160.dec.raw"));
  std::vector<std::vector<uint8_t>> frames(4), decoded(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      EncoderHandle encoder;
      DecoderHandle decoder;
      for (size_t pos = 0; pos + 256 <= pcm.size(); pos += 256) {
        uint8_t coded[39], block[256];
        uint16_t pcmBytes = 256, codedBytes = 39;
        QV160MX_Encode(encoder.handle, pcm.data() + pos, &pcmBytes, coded, &codedBytes);
        frames[t].insert(frames[t].end(), coded, coded + codedBytes);
        pcmBytes = 256;
        QV160MX_Decode(decoder.handle, coded, &codedBytes, block, &pcmBytes);
        decoded[t].insert(decoded[t].end(), block, block + 256);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(frames[t], expectedFrames) << "thread " << t;
    EXPECT_EQ(decoded[t], expectedPcm) << "thread " << t;
  }
}

}  // namespace
}  // namespace zv::qv160mx::test
