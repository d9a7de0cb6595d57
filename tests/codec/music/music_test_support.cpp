#include "music_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "codec/music/frame_format.h"
#include "codec/music/music_decoder.h"
#include "codec/music/music_encoder.h"

namespace zv::qv160mx::test {

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string vectorPath(const std::string& name) { return std::string(ZV_TESTVECTORS_DIR) + "/" + name; }
std::string testDataPath(const std::string& name) { return std::string(ZV_TEST_DATA_DIR) + "/" + name; }

std::vector<int16_t> samplesFromBytes(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  }
  return samples;
}

std::vector<uint8_t> bytesFromSamples(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes(samples.size() * 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    const auto bits = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<uint8_t>(bits & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(bits >> 8);
  }
  return bytes;
}

std::vector<uint8_t> encodeStream(const std::vector<uint8_t>& pcm, QmfForm form) {
  auto encoder = std::make_unique<MusicEncoder>();
  initMusicEncoder(*encoder, form);
  std::vector<uint8_t> frames;
  for (size_t pos = 0; pos < pcm.size(); pos += kFramePcmBytes) {
    uint8_t block[kFramePcmBytes] = {};
    std::copy_n(pcm.begin() + static_cast<std::ptrdiff_t>(pos),
                std::min<size_t>(kFramePcmBytes, pcm.size() - pos), block);
    uint8_t frame[kMaxFrameBytes];
    const int length = encodeMusicFrame(*encoder, block, frame);
    frames.insert(frames.end(), frame, frame + length);
  }
  return frames;
}

std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, QmfForm form) {
  auto decoder = std::make_unique<MusicDecoder>();
  initMusicDecoder(*decoder, form);
  std::vector<uint8_t> pcm;
  size_t pos = 0;
  while (pos < frames.size()) {
    uint8_t block[kFramePcmBytes];
    const int consumed = decodeMusicFrame(*decoder, frames.data() + pos, frames.size() - pos, block);
    if (consumed == 0) {
      ADD_FAILURE() << "frame at byte " << pos << " is longer than the " << frames.size() - pos
                    << " bytes left";
      break;
    }
    pcm.insert(pcm.end(), block, block + kFramePcmBytes);
    pos += static_cast<size_t>(consumed);
  }
  return pcm;
}

std::vector<QmfForm> availableForms() {
  if (processorOffersSimdQmf()) return {QmfForm::kScalar, QmfForm::kSimd};
  return {QmfForm::kScalar};
}

const char* formName(QmfForm form) { return form == QmfForm::kSimd ? "Simd" : "Scalar"; }

}  // namespace zv::qv160mx::test
