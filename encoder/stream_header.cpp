#include "encoder/stream_header.h"

#include <algorithm>

#include "encoder/byte_order.h"

namespace zv {

namespace {

std::uint32_t reverseBits32(std::uint32_t value) {
  std::uint32_t reversed = 0;
  for (int bit = 0; bit < 32; ++bit) {
    reversed = (reversed << 1) | (value & 1u);
    value >>= 1;
  }
  return reversed;
}

}  // namespace

std::uint32_t computeCheckWord(std::uint32_t sampleCount, std::uint32_t dataBytes,
                               std::uint16_t codecTag) {
  const std::uint32_t mixed = reverseBits32(dataBytes) | sampleCount;
  const std::uint32_t tagWord = (static_cast<std::uint32_t>(codecTag) << 16) | codecTag;
  return mixed ^ ~tagWord;
}

std::array<char, kStreamBannerSize> formatStreamBanner(std::uint32_t encoderVersion,
                                                       std::string_view libraryFile,
                                                       std::uint32_t codecVersion) {
  std::string text = "Z&V Tavelworks Version " + std::to_string(encoderVersion >> 16) + "." +
                     std::to_string(encoderVersion & 0xFFFF) + " - Encoded using QXC DLL '" +
                     std::string(libraryFile) + "' Version " + std::to_string(codecVersion >> 16) +
                     "." + std::to_string(codecVersion & 0xFFFF);
  if (text.size() > kStreamBannerSize - 2) text.resize(kStreamBannerSize - 2);

  std::array<char, kStreamBannerSize> banner;
  banner.fill(' ');
  std::copy(text.begin(), text.end(), banner.begin());
  banner[text.size()] = kBannerEndOfText;
  banner[text.size() + 1] = '\0';
  return banner;
}

StreamHeader makeStreamHeader(std::uint32_t encoderVersion, std::string_view libraryFile,
                              std::uint16_t codecTag, std::uint32_t codecVersion,
                              std::uint32_t sampleCount, std::uint32_t sampleRate,
                              std::uint32_t dataBytes) {
  StreamHeader header;
  header.banner = formatStreamBanner(encoderVersion, libraryFile, codecVersion);
  header.codecTag = codecTag;
  header.encoderVersion = encoderVersion;
  header.codecVersion = codecVersion;
  header.sampleCount = sampleCount;
  header.sampleRate = sampleRate;
  header.dataBytes = dataBytes;
  header.checkWord = computeCheckWord(sampleCount, dataBytes, codecTag);
  return header;
}

std::array<std::uint8_t, kStreamHeaderSize> serializeStreamHeader(const StreamHeader& header) {
  std::array<std::uint8_t, kStreamHeaderSize> bytes{};
  std::copy(header.banner.begin(), header.banner.end(), bytes.begin());
  putLE16(&bytes[128], header.codecTag);
  putLE32(&bytes[130], header.encoderVersion);
  putLE32(&bytes[134], header.codecVersion);
  putLE32(&bytes[138], header.sampleCount);
  putLE32(&bytes[142], header.sampleRate);
  putLE32(&bytes[146], header.dataBytes);
  putLE32(&bytes[150], header.checkWord);
  return bytes;
}

StreamHeader parseStreamHeader(std::span<const std::uint8_t, kStreamHeaderSize> bytes) {
  StreamHeader header;
  std::copy(bytes.begin(), bytes.begin() + kStreamBannerSize, header.banner.begin());
  header.codecTag = getLE16(&bytes[128]);
  header.encoderVersion = getLE32(&bytes[130]);
  header.codecVersion = getLE32(&bytes[134]);
  header.sampleCount = getLE32(&bytes[138]);
  header.sampleRate = getLE32(&bytes[142]);
  header.dataBytes = getLE32(&bytes[146]);
  header.checkWord = getLE32(&bytes[150]);
  return header;
}

std::string streamBannerText(const StreamHeader& header) {
  std::string text;
  for (char c : header.banner) {
    if (c == kBannerEndOfText || c == '\0') break;
    text += c;
  }
  return text;
}

}  // namespace zv
