// Compiled against the reference build (qv80_reference): every name of the
// codec below lives in zv::qv80_reference.
#include "reference_codec.h"

#include <cstddef>

#include "codec/speech/lpc_filter.h"
#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_encoder.h"

#ifndef ZV_QV80_REFERENCE_ARITHMETIC
#error "reference_codec.cpp must be compiled against the reference build"
#endif

namespace zv::speechtest {

namespace codec = zv::qv80;  // zv::qv80_reference in this file

std::vector<uint8_t> referenceEncode(const std::vector<uint8_t>& pcm, bool eightBit) {
  const std::size_t frameBytes = eightBit ? codec::kFrameSamples : 2 * codec::kFrameSamples;
  const std::size_t frames = (pcm.size() + frameBytes - 1) / frameBytes;
  std::vector<uint8_t> padded = pcm;
  padded.resize(frames * frameBytes, eightBit ? 128 : 0);
  codec::EncoderState state;
  codec::initEncoder(state, eightBit);
  std::vector<uint8_t> coded(frames * codec::kFrameBytes);
  for (std::size_t f = 0; f < frames; ++f)
    codec::encodeFrame(state, &padded[f * frameBytes], &coded[f * codec::kFrameBytes]);
  return coded;
}

std::vector<uint8_t> referenceDecode(const std::vector<uint8_t>& frames, bool eightBit) {
  const std::size_t frameBytes = eightBit ? codec::kFrameSamples : 2 * codec::kFrameSamples;
  const std::size_t count = frames.size() / codec::kFrameBytes;
  codec::DecoderState state;
  codec::initDecoder(state, eightBit);
  std::vector<uint8_t> pcm(count * frameBytes);
  for (std::size_t f = 0; f < count; ++f)
    codec::decodeFrame(state, &frames[f * codec::kFrameBytes], &pcm[f * frameBytes]);
  return pcm;
}

void referenceAllPoleFilter(const float* coefficients, const float* in, float* out, int n) {
  codec::allPoleFilter(coefficients, in, out, n);
}

}  // namespace zv::speechtest
