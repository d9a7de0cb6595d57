// The coder and decoder entry points: count checks that change nothing.
// (The ordinal table, NULL arguments and the information records:
// tests/codec/contract.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <zv/qv80.h>
#include "speech_test_support.h"

namespace zv::qv80::test {
namespace {

struct CountCase {
  uint32_t flags;
  uint16_t pcmBytes;
  uint16_t codedBytes;
};

// Codes the first two frames of `pcm` on a fresh thread with a fresh coder;
// with `bad`, a call with the wrong counts comes between them. Returns the
// 40 coded bytes; the rejected call's results are checked here.
std::vector<uint8_t> codeTwoFrames(const std::vector<uint8_t>& pcm, uint32_t flags,
                                   const CountCase* bad) {
  std::vector<uint8_t> coded(40);
  onFreshThread([&] {
    void* coder = QV80_Open_Coder(flags);
    ASSERT_NE(coder, nullptr);
    const uint16_t good = (flags & 2) ? 160 : 320;
    for (int f = 0; f < 2; ++f) {
      if (f == 1 && bad) {
        uint8_t untouched[40];
        std::memset(untouched, 0xA5, sizeof untouched);
        uint16_t pcmBytes = bad->pcmBytes, codedBytes = bad->codedBytes;
        EXPECT_EQ(QV80_Encode(coder, pcm.data(), &pcmBytes, untouched, &codedBytes), -2);
        EXPECT_EQ(pcmBytes, bad->pcmBytes);
        EXPECT_EQ(codedBytes, bad->codedBytes);
        for (uint8_t byte : untouched) EXPECT_EQ(byte, 0xA5);
      }
      uint16_t pcmBytes = good, codedBytes = 20;
      EXPECT_EQ(QV80_Encode(coder, pcm.data() + f * good, &pcmBytes, &coded[20 * f], &codedBytes), 0);
      EXPECT_EQ(pcmBytes, good);  // counts are never changed
      EXPECT_EQ(codedBytes, 20);
    }
    QV80_Close_Coder(coder);
  });
  return coded;
}

TEST(SpeechEntryPoints, EncodeRejectsWrongCountsAndChangesNothing) {
  // 16-bit mode wants 320, 8-bit mode 160; the coded count must be 20.
  const CountCase bad[] = {{1, 160, 20}, {2, 320, 20}, {1, 320, 19}, {1, 320, 21},
                           {2, 160, 19}, {2, 160, 21}, {0, 0, 20},   {1, 321, 20}};
  const std::vector<uint8_t> pcm = readFile(std::string(ZV_TESTVECTORS_DIR) + "/vowels.raw");
  ASSERT_GE(pcm.size(), 2u * 320u);
  for (const CountCase& c : bad) {
    // A stream with a rejected call in the middle codes exactly like one
    // without it: the state did not move.
    EXPECT_EQ(codeTwoFrames(pcm, c.flags, &c), codeTwoFrames(pcm, c.flags, nullptr))
        << "flags " << c.flags << " pcm " << c.pcmBytes << " coded " << c.codedBytes;
  }
}

TEST(SpeechEntryPoints, DecodeRejectsWrongCountsAndChangesNothing) {
  struct Case {
    uint32_t flags;
    uint16_t codedBytes;
    uint16_t pcmBytes;
  };
  const Case bad[] = {{1, 20, 160}, {2, 20, 320}, {1, 19, 320}, {1, 21, 320}, {3, 20, 320},
                      {0, 0, 0}};
  const std::vector<uint8_t> frames = readFile(std::string(ZV_TESTVECTORS_DIR) + "/vowels.qv80");
  ASSERT_GE(frames.size(), 40u);
  for (const Case& c : bad) {
    void* decoder = QV80_Open_Decoder(c.flags);
    void* reference = QV80_Open_Decoder(c.flags);
    ASSERT_NE(decoder, nullptr);
    const uint16_t good = (c.flags & 2) ? 160 : 320;
    std::vector<uint8_t> out(2 * good), expected(2 * good);
    uint16_t codedBytes = 20, pcmBytes = good;
    ASSERT_EQ(QV80_Decode(decoder, frames.data(), &codedBytes, out.data(), &pcmBytes), 0);
    std::vector<uint8_t> untouched(400, 0x5A);
    uint16_t badCoded = c.codedBytes, badPcm = c.pcmBytes;
    EXPECT_EQ(QV80_Decode(decoder, frames.data() + 20, &badCoded, untouched.data(), &badPcm), -2);
    EXPECT_EQ(badCoded, c.codedBytes);
    EXPECT_EQ(badPcm, c.pcmBytes);
    EXPECT_EQ(untouched, std::vector<uint8_t>(400, 0x5A));
    ASSERT_EQ(QV80_Decode(decoder, frames.data() + 20, &codedBytes, out.data() + good, &pcmBytes), 0);
    EXPECT_EQ(codedBytes, 20);
    EXPECT_EQ(pcmBytes, good);
    for (int f = 0; f < 2; ++f)
      ASSERT_EQ(QV80_Decode(reference, frames.data() + 20 * f, &codedBytes,
                            expected.data() + good * f, &pcmBytes),
                0);
    EXPECT_EQ(out, expected) << "flags " << c.flags;
    QV80_Close_Decoder(decoder);
    QV80_Close_Decoder(reference);
  }
}

}  // namespace
}  // namespace zv::qv80::test
