// ReadAuFile: the four AU encodings expanded to 16-bit PCM in the
// intermediate WAV file, the G.711 expansions, and the AU messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "encoder/au_file_reader.h"
#include "encoder/engine_strings.h"
#include "encoder/g711.h"
#include "encoder/wave_file_reader.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

using test::AuHeader;
using test::Bytes;

TEST(G711, StandardExpansionValues) {
  EXPECT_EQ(expandMuLaw(0x80), 32124);
  EXPECT_EQ(expandMuLaw(0x00), -32124);
  EXPECT_EQ(expandMuLaw(0xFF), 0);
  EXPECT_EQ(expandMuLaw(0x7F), 0);
  EXPECT_EQ(expandMuLaw(0xFE), 8);
  EXPECT_EQ(expandALaw(0x80), 5504);
  EXPECT_EQ(expandALaw(0xD5), 8);
  EXPECT_EQ(expandALaw(0x55), -8);
  EXPECT_EQ(expandALaw(0xAA), 32256);
  EXPECT_EQ(expandALaw(0x2A), -32256);
}

// Both laws are sign-symmetric (the sign is one bit) and, within one sign,
// monotonic in the code: µ-law magnitudes fall as the code rises, A-law
// magnitudes follow the code with its even bits inverted.
TEST(G711, ExpansionsAreSymmetricAndMonotonic) {
  for (int code = 0; code < 256; ++code) {
    EXPECT_EQ(expandMuLaw(static_cast<std::uint8_t>(code)),
              -expandMuLaw(static_cast<std::uint8_t>(code ^ 0x80)))
        << code;
    EXPECT_EQ(expandALaw(static_cast<std::uint8_t>(code)),
              -expandALaw(static_cast<std::uint8_t>(code ^ 0x80)))
        << code;
  }
  for (int code = 0x80; code < 0xFF; ++code)
    EXPECT_GT(expandMuLaw(static_cast<std::uint8_t>(code)), expandMuLaw(static_cast<std::uint8_t>(code + 1)));
  for (int step = 0x80; step < 0xFF; ++step)
    EXPECT_LT(expandALaw(static_cast<std::uint8_t>(step ^ 0x55)),
              expandALaw(static_cast<std::uint8_t>((step + 1) ^ 0x55)));
}

struct AuResult {
  bool ok = false;
  std::string error;
  Bytes wav;
};

AuResult readAu(const Bytes& au) {
  test::TempDir dir;
  const std::string source = dir.file("in.au");
  const std::string wav = dir.file("out.wav");
  test::writeFile(source, au);
  GuardedText error;
  AuResult result;
  result.ok = ReadAuFile(source, wav, error);
  result.error = error.get();
  if (test::fileExists(wav)) result.wav = test::readFile(wav);
  return result;
}

// The intermediate WAV: "fmt " of 18 bytes, "fact" of 4, then "data".
Bytes wavData(const Bytes& wav) {
  const std::size_t dataHeader = 12 + 8 + 18 + 8 + 4;
  EXPECT_GE(wav.size(), dataHeader + 8);
  EXPECT_EQ(std::memcmp(&wav[12], "fmt \x12\0\0\0", 8), 0);
  EXPECT_EQ(std::memcmp(&wav[38], "fact\x04\0\0\0\0\0\0\0", 12), 0);
  EXPECT_EQ(std::memcmp(&wav[dataHeader], "data", 4), 0);
  const std::uint32_t size = wav[dataHeader + 4] | (wav[dataHeader + 5] << 8) |
                             (wav[dataHeader + 6] << 16) | (wav[dataHeader + 7] << 24);
  return Bytes(wav.begin() + dataHeader + 8, wav.begin() + dataHeader + 8 + size);
}

TEST(ReadAuFile, FourEncodingsExpandTo16BitLittleEndian) {
  const struct Case {
    const char* name;
    std::uint32_t encoding;
    Bytes data;
    Bytes expected;
  } cases[] = {
      {"mu-law", 1, {0x80, 0x00, 0xFF}, test::pcm16({32124, -32124, 0})},
      {"8-bit linear", 2, {0x80, 0x7F, 0x01}, test::pcm16({-32768, 32512, 256})},
      {"16-bit linear, odd trailing byte dropped", 3, {0x12, 0x34, 0xFF, 0xFE, 0x77},
       {0x34, 0x12, 0xFE, 0xFF}},
      {"A-law", 27, {0x80, 0xD5, 0x55}, test::pcm16({5504, 8, -8})},
  };
  for (const Case& c : cases) {
    const AuResult result = readAu(test::auFile({.encoding = c.encoding, .sampleRate = 11025}, c.data));
    ASSERT_TRUE(result.ok) << c.name << ": " << result.error;
    EXPECT_EQ(wavData(result.wav), c.expected) << c.name;
    // Format record: PCM, mono, 11025 Hz, 22050 bytes/s, align 2, 16 bits.
    const Bytes format(result.wav.begin() + 20, result.wav.begin() + 38);
    EXPECT_EQ(format, (Bytes{1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x22, 0x56, 0, 0, 2, 0, 16, 0, 0, 0})) << c.name;
  }
}

TEST(ReadAuFile, SixteenBitFileOf2nBytesGivesADataChunkOf2nBytes) {
  Bytes data(2 * 1000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
  const AuResult result = readAu(test::auFile({.dataOffset = 40}, data));
  ASSERT_TRUE(result.ok) << result.error;
  const Bytes pcm = wavData(result.wav);
  ASSERT_EQ(pcm.size(), data.size());
  for (std::size_t i = 0; i < data.size(); i += 2) {
    EXPECT_EQ(pcm[i], data[i + 1]);
    EXPECT_EQ(pcm[i + 1], data[i]);
  }
}

// A data size beyond the end of the file (or the "unknown" size) takes the
// bytes that are there: never undefined samples.
TEST(ReadAuFile, DataSizePastTheEndUsesOnlyTheSamplesPresent) {
  for (std::uint32_t declared : {std::uint32_t{5000}, 0xFFFFFFFFu}) {
    const AuResult result = readAu(test::auFile({.dataSize = declared, .encoding = 2}, {1, 2, 3}));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(wavData(result.wav), test::pcm16({256, 512, 768})) << declared;
  }
}

TEST(ReadAuFile, EveryBadFileGetsItsMessage) {
  Bytes shortHeader = test::auFile({}, {});
  shortHeader.resize(20);
  Bytes offsetPastEnd = test::auFile({}, {1, 2});
  offsetPastEnd[6] = 0x0F;  // data offset 0x0F1C, the file is 30 bytes
  const struct Case {
    const char* name;
    Bytes file;
    unsigned message;
  } cases[] = {
      {"magic", test::auFile({.magic = 0x2E736E65}, {1, 2}), kIdsAuHeaderWrong},
      {"header shorter than its fields", shortHeader, kIdsAuHeaderWrong},
      {"data offset past the end", offsetPastEnd, kIdsAuHeaderWrong},
      {"data offset inside the header", test::auFile({.dataOffset = 8}, {1, 2}), kIdsAuHeaderWrong},
      {"stereo", test::auFile({.channels = 2}, {1, 2}), kIdsStereoNotSupported},
      {"no channels", test::auFile({.channels = 0}, {1, 2}), kIdsStereoNotSupported},
      {"32-bit linear", test::auFile({.encoding = 5}, {1, 2, 3, 4}), kIdsAuUnsupportedEncoding},
      {"float", test::auFile({.encoding = 6}, {1, 2, 3, 4}), kIdsAuUnsupportedEncoding},
  };
  for (const Case& c : cases) {
    const AuResult result = readAu(c.file);
    EXPECT_FALSE(result.ok) << c.name;
    EXPECT_EQ(result.error, engineMessage(c.message)) << c.name;
  }
}

TEST(ReadAuFile, UnopenableSourceAndUnwritableWavAreNamed) {
  test::TempDir dir;
  GuardedText error;
  EXPECT_FALSE(ReadAuFile(dir.file("absent.au"), dir.file("out.wav"), error));
  EXPECT_EQ(error.get(), "The file \"" + dir.file("absent.au") +
                             "\" does not exist.  Please select a valid audio file.");

  test::writeFile(dir.file("in.au"), test::auFile({}, {1, 2}));
  const std::string wav = dir.file("missing-folder/out.wav");
  EXPECT_FALSE(ReadAuFile(dir.file("in.au"), wav, error));
  EXPECT_EQ(error.get(), engineMessage(kIdsAuIntermediateNotWritten, wav));
}

}  // namespace
}  // namespace zv
