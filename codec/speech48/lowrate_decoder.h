// The decoder: fields → excitation → synthesis → postfilter → PCM.
#ifndef ZV_QV48_LOWRATE_DECODER_H
#define ZV_QV48_LOWRATE_DECODER_H

#include <cstdint>

#include "codec/speech48/excitation.h"

namespace zv::qv48 {

// How much of the synthesised speech the long-term postfilter reads back.
inline constexpr int kSpeechHistory = kMaxLag;

struct DecoderState {
  bool eightBit = false;
  Lsf previousLsf = {};
  ExcitationBuffer excitation = {};
  FilterMemory synthesis = {};
  int32_t speech[kSpeechHistory + kSubframeSamples] = {};  // synthesised, for the pitch postfilter
  FilterMemory postNumerator = {};
  FilterMemory postDenominator = {};
  int32_t tiltPrevious = 0;
  int32_t agcGainQ14 = 16384;
  int previousLag = kMinLag;
  uint8_t previousPitchGain = 0;
  int32_t logGainQ10 = kLogGainStartQ10;
};

void initDecoder(DecoderState& state, bool eightBit);

// Decodes one frame of kFrameBytes into 240 samples: 480 bytes of 16-bit
// little-endian PCM, or 240 unsigned 8-bit bytes.
void decodeFrame(DecoderState& state, const uint8_t frame[kFrameBytes], uint8_t* pcm);

// The decoder's steps without the PCM conversion, for the tests: 240
// samples on the 16-bit scale.
void decodeSamples(DecoderState& state, const uint8_t frame[kFrameBytes],
                   int16_t samples[kFrameSamples]);

}  // namespace zv::qv48

#endif  // ZV_QV48_LOWRATE_DECODER_H
