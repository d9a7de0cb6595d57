#include "speech_test_support.h"

#include <fstream>
#include <iterator>

#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_encoder.h"

namespace zv::qv80::test {

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> encodeStream(const std::vector<uint8_t>& pcm, bool eightBit) {
  const size_t frameBytes = eightBit ? kFrameSamples : 2 * kFrameSamples;
  std::vector<uint8_t> padded = pcm;
  const size_t frames = (pcm.size() + frameBytes - 1) / frameBytes;
  padded.resize(frames * frameBytes, eightBit ? 128 : 0);
  EncoderState state;
  initEncoder(state, eightBit);
  std::vector<uint8_t> coded(frames * kFrameBytes);
  for (size_t f = 0; f < frames; ++f)
    encodeFrame(state, &padded[f * frameBytes], &coded[f * kFrameBytes]);
  return coded;
}

std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, bool eightBit) {
  const size_t frameBytes = eightBit ? kFrameSamples : 2 * kFrameSamples;
  const size_t count = frames.size() / kFrameBytes;
  DecoderState state;
  initDecoder(state, eightBit);
  std::vector<uint8_t> pcm(count * frameBytes);
  for (size_t f = 0; f < count; ++f)
    decodeFrame(state, &frames[f * kFrameBytes], &pcm[f * frameBytes]);
  return pcm;
}

}  // namespace zv::qv80::test
