// Whole streams through the codec's encoder and decoder state functions,
// written once for both builds: speech_test_support.cpp compiles it against
// the library (zv::qv80), reference_codec.cpp against the reference build
// (zv::qv80_reference); ZV_QV80_NAMESPACE names the one compiled against.
// Internal linkage, so that the two compilations never meet.
#ifndef ZV_TESTS_SPEECH_STREAM_CODING_H
#define ZV_TESTS_SPEECH_STREAM_CODING_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_encoder.h"

namespace {

// PCM bytes to frames with a fresh encoder at kernel level `arch`; a short
// final frame is completed with silence (0, or 128 in 8-bit mode).
std::vector<uint8_t> encodeWholeStream(const std::vector<uint8_t>& pcm, bool eightBit,
                                       zv::cpu::Arch arch) {
  namespace codec = zv::ZV_QV80_NAMESPACE;
  const std::size_t frameBytes = eightBit ? codec::kFrameSamples : 2 * codec::kFrameSamples;
  const std::size_t frames = (pcm.size() + frameBytes - 1) / frameBytes;
  std::vector<uint8_t> padded = pcm;
  padded.resize(frames * frameBytes, eightBit ? 128 : 0);
  codec::EncoderState state;
  codec::initEncoder(state, eightBit, arch);
  std::vector<uint8_t> coded(frames * codec::kFrameBytes);
  for (std::size_t f = 0; f < frames; ++f)
    codec::encodeFrame(state, &padded[f * frameBytes], &coded[f * codec::kFrameBytes]);
  return coded;
}

// Frames to PCM bytes with a fresh decoder at kernel level `arch`.
std::vector<uint8_t> decodeWholeStream(const std::vector<uint8_t>& frames, bool eightBit,
                                       zv::cpu::Arch arch) {
  namespace codec = zv::ZV_QV80_NAMESPACE;
  const std::size_t frameBytes = eightBit ? codec::kFrameSamples : 2 * codec::kFrameSamples;
  const std::size_t count = frames.size() / codec::kFrameBytes;
  codec::DecoderState state;
  codec::initDecoder(state, eightBit, arch);
  std::vector<uint8_t> pcm(count * frameBytes);
  for (std::size_t f = 0; f < count; ++f)
    codec::decodeFrame(state, &frames[f * codec::kFrameBytes], &pcm[f * frameBytes]);
  return pcm;
}

}  // namespace

#endif  // ZV_TESTS_SPEECH_STREAM_CODING_H
