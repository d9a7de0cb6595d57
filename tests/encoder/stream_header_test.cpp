// Golden tests of the stream header: the worked check words, the banner's
// exact bytes, and whole headers against the conformance stream files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "encoder/encoder_version.h"
#include "encoder/stream_header.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

TEST(StreamHeader, CheckWordWorkedExamples) {
  // Reversed 2000 is 0x0BE00000; OR 8000 gives 0x0BE01F40; XOR 0xFFFEFFFE.
  EXPECT_EQ(computeCheckWord(8000, 2000, 1), 0xF41EE0BEu);
  EXPECT_EQ(computeCheckWord(0, 0, 1), 0xFFFEFFFEu);
  // OR, not XOR: bits set in both the reversed length and the count stay set.
  EXPECT_EQ(computeCheckWord(0x80000000u, 1, 0), ~0x80000000u);
  // The tag fills both halves before the inversion.
  EXPECT_EQ(computeCheckWord(0, 0, 2022), ~((2022u << 16) | 2022u));
}

TEST(StreamHeader, MusicBannerIs77CharactersThenEndMarkZeroAndSpaces) {
  const auto banner = formatStreamBanner(0x00010000, "QV160MXW.DLL", 0x00030000);
  const std::string expected =
      "Z&V Tavelworks Version 1.0 - Encoded using QXC DLL 'QV160MXW.DLL' Version 3.0";
  ASSERT_EQ(expected.size(), 77u);
  EXPECT_EQ(std::string(banner.data(), 77), expected);
  EXPECT_EQ(banner[77], 0x1A);
  EXPECT_EQ(banner[78], '\0');
  for (std::size_t i = 79; i < banner.size(); ++i) EXPECT_EQ(banner[i], ' ') << "byte " << i;
}

TEST(StreamHeader, BannerPrintsVersionWordsAsMajorDotMinor) {
  const auto banner = formatStreamBanner(0x0002000Cu, "QV80W.DLL", 0xFFFFFFFFu);
  const std::string text(banner.data(), std::strlen(banner.data()) - 1);  // less the 0x1A
  EXPECT_EQ(text, "Z&V Tavelworks Version 2.12 - Encoded using QXC DLL 'QV80W.DLL' Version 65535.65535");
}

TEST(StreamHeader, OverlongLibraryNameStillLeavesEndMarkAndZero) {
  const auto banner = formatStreamBanner(0x00010000, std::string(200, 'x'), 0x00030000);
  EXPECT_EQ(banner[126], 0x1A);
  EXPECT_EQ(banner[127], '\0');
}

TEST(StreamHeader, EncoderVersionComesFromTheProjectVersion) {
  EXPECT_EQ(encoderVersionWord(), 0x00010000u);
}

// Whole 154-byte headers of the conformance files, built from their field
// values: the codec identifiers are 1 (music) and 2022 (speech), vowels.raw
// is 24000 samples at 8000 Hz, and the frames take 5888 and 3000 bytes.
TEST(StreamHeader, SerializedHeadersMatchTheConformanceStreamFiles) {
  struct Case {
    const char* file;
    const char* library;
    std::uint16_t tag;
    std::uint32_t dataBytes;
  } cases[] = {
      {"vowels-music.zvsa", "QV160MXW.DLL", 1, 5888},
      {"vowels-speech.zvsa", "QV80W.DLL", 2022, 3000},
  };
  for (const Case& c : cases) {
    const test::Bytes file = test::readFile(std::string(ZV_TESTVECTORS_DIR) + "/" + c.file);
    ASSERT_GE(file.size(), kStreamHeaderSize);
    const StreamHeader header =
        makeStreamHeader(0x00010000, c.library, c.tag, 0x00030000, 24000, 8000, c.dataBytes);
    const auto bytes = serializeStreamHeader(header);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), file.begin())) << c.file;
    EXPECT_EQ(file.size(), kStreamHeaderSize + c.dataBytes) << c.file;

    const StreamHeader parsed = parseStreamHeader(std::span<const std::uint8_t, kStreamHeaderSize>(
        file.data(), kStreamHeaderSize));
    EXPECT_EQ(parsed.codecTag, c.tag);
    EXPECT_EQ(parsed.sampleCount, 24000u);
    EXPECT_EQ(parsed.dataBytes, c.dataBytes);
    EXPECT_EQ(parsed.checkWord, computeCheckWord(24000, c.dataBytes, c.tag));
    EXPECT_EQ(streamBannerText(parsed).substr(0, 23), "Z&V Tavelworks Version ");
  }
}

TEST(StreamHeader, FieldsSitAtTheirOffsetsLittleEndian) {
  StreamHeader header;
  header.banner.fill('b');
  header.codecTag = 0x0102;
  header.encoderVersion = 0x03040506;
  header.codecVersion = 0x0708090A;
  header.sampleCount = 0x0B0C0D0E;
  header.sampleRate = 0x0F101112;
  header.dataBytes = 0x13141516;
  header.checkWord = 0x1718191A;
  const auto bytes = serializeStreamHeader(header);
  const std::uint8_t expected[26] = {0x02, 0x01, 0x06, 0x05, 0x04, 0x03, 0x0A, 0x09, 0x08,
                                     0x07, 0x0E, 0x0D, 0x0C, 0x0B, 0x12, 0x11, 0x10, 0x0F,
                                     0x16, 0x15, 0x14, 0x13, 0x1A, 0x19, 0x18, 0x17};
  EXPECT_EQ(std::memcmp(bytes.data() + 128, expected, sizeof expected), 0);
  EXPECT_EQ(bytes[127], 'b');
}

}  // namespace
}  // namespace zv
