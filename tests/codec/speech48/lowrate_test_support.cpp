#include "lowrate_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include <zv/qv48.h>

namespace zv::qv48::test {

namespace {
constexpr uint16_t kCoded = 18;
uint16_t framePcm(uint32_t flags) { return (flags & ZV_CODEC_FLAG_8BIT) ? 240 : 480; }
}  // namespace

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string vectorPath(const std::string& name) { return std::string(ZV_TESTVECTORS_DIR) + "/" + name; }

std::vector<int16_t> samplesFromBytes(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return samples;
}

std::vector<uint8_t> bytesFromSamples(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes(2 * samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(samples[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>((samples[i] >> 8) & 0xFF);
  }
  return bytes;
}

std::vector<uint8_t> encodeStream(std::vector<uint8_t> pcm, uint32_t flags) {
  const uint16_t block = framePcm(flags);
  pcm.resize((pcm.size() + block - 1) / block * block, (flags & ZV_CODEC_FLAG_8BIT) ? 128 : 0);
  std::vector<uint8_t> frames(pcm.size() / block * kCoded);
  void* coder = QV48_Open_Coder(flags);
  EXPECT_NE(coder, nullptr);
  if (!coder) return {};
  for (size_t f = 0; f < pcm.size() / block; ++f) {
    uint16_t pcmBytes = block, codedBytes = kCoded;
    EXPECT_EQ(QV48_Encode(coder, &pcm[f * block], &pcmBytes, &frames[f * kCoded], &codedBytes),
              ZV_CODEC_OK);
  }
  QV48_Close_Coder(coder);
  return frames;
}

std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, uint32_t flags) {
  const uint16_t block = framePcm(flags);
  std::vector<uint8_t> pcm(frames.size() / kCoded * block);
  void* decoder = QV48_Open_Decoder(flags);
  EXPECT_NE(decoder, nullptr);
  if (!decoder) return {};
  for (size_t f = 0; f < frames.size() / kCoded; ++f) {
    uint16_t codedBytes = kCoded, pcmBytes = block;
    EXPECT_EQ(QV48_Decode(decoder, &frames[f * kCoded], &codedBytes, &pcm[f * block], &pcmBytes),
              ZV_CODEC_OK);
  }
  QV48_Close_Decoder(decoder);
  return pcm;
}

long firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i)
    if (a[i] != b[i]) return static_cast<long>(i);
  return a.size() == b.size() ? -1 : static_cast<long>(common);
}

}  // namespace zv::qv48::test
