// StreamHeader: the 154-byte header of a .zvsa stream file, followed in the
// file by the codec's frames back to back.
//
//   offset size field           content (integers little-endian)
//   0      128  banner          "Z&V Tavelworks Version %d.%d - Encoded using
//                               QXC DLL '%s' Version %d.%d", 0x1A, 0, then
//                               spaces to the end of the 128 bytes
//   128    2    codecTag        codec identifier (CodecInfoEx offset 0)
//   130    4    encoderVersion  version of the encoding library, major<<16|minor
//   134    4    codecVersion    the codec's version word (CodecInfoEx offset 116)
//   138    4    sampleCount     PCM samples encoded
//   142    4    sampleRate      Hz of the PCM input
//   146    4    dataBytes       bytes of coded frames after the header
//   150    4    checkWord       computeCheckWord(sampleCount, dataBytes, codecTag)
#ifndef ZV_ENCODER_STREAM_HEADER_H
#define ZV_ENCODER_STREAM_HEADER_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zv {

inline constexpr std::size_t kStreamHeaderSize = 154;
inline constexpr std::size_t kStreamBannerSize = 128;
inline constexpr char kBannerEndOfText = 0x1A;

struct StreamHeader {
  std::array<char, kStreamBannerSize> banner{};
  std::uint16_t codecTag = 0;
  std::uint32_t encoderVersion = 0;
  std::uint32_t codecVersion = 0;
  std::uint32_t sampleCount = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t dataBytes = 0;
  std::uint32_t checkWord = 0;
};

// (bit-reverse(dataBytes) OR sampleCount) XOR NOT(codecTag << 16 | codecTag).
// Note the OR: the check value is weak by design and is never verified by the
// decode job; readers may show whether it matches.
std::uint32_t computeCheckWord(std::uint32_t sampleCount, std::uint32_t dataBytes,
                               std::uint16_t codecTag);

// The 128 banner bytes: spaces, then the formatted text, 0x1A and a zero.
// A text longer than 126 characters (only with library names far longer than
// the table's) is cut to 126 so that its 0x1A and zero still fit.
std::array<char, kStreamBannerSize> formatStreamBanner(std::uint32_t encoderVersion,
                                                       std::string_view libraryFile,
                                                       std::uint32_t codecVersion);

// A complete header: banner from the versions and library name, the fields
// as given, and the check word computed from them.
StreamHeader makeStreamHeader(std::uint32_t encoderVersion, std::string_view libraryFile,
                              std::uint16_t codecTag, std::uint32_t codecVersion,
                              std::uint32_t sampleCount, std::uint32_t sampleRate,
                              std::uint32_t dataBytes);

// The 154 file bytes of `header`.
std::array<std::uint8_t, kStreamHeaderSize> serializeStreamHeader(const StreamHeader& header);

// The fields of 154 file bytes, read field by field; no field is checked.
StreamHeader parseStreamHeader(std::span<const std::uint8_t, kStreamHeaderSize> bytes);

// The banner's text: its bytes up to the first 0x1A or zero (all 128 when
// there is neither).
std::string streamBannerText(const StreamHeader& header);

}  // namespace zv

#endif  // ZV_ENCODER_STREAM_HEADER_H
