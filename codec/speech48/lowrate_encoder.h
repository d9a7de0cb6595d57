// The encoder: analysis by synthesis of each 60-sample subframe against the
// perceptually weighted input, with the decoder's own state kept alongside.
#ifndef ZV_QV48_LOWRATE_ENCODER_H
#define ZV_QV48_LOWRATE_ENCODER_H

#include <cstdint>

#include "codec/speech48/excitation.h"
#include "codec/speech48/pulse_search.h"

namespace zv::qv48 {

// The input buffer: the last kLookaheadSamples of the previous frame that was
// coded, the frame being coded, and the lookahead.
inline constexpr int kInputBuffer = kLookaheadSamples + kFrameSamples + kLookaheadSamples;
// The weighted speech the open-loop lag search reads back.
inline constexpr int kWeightedHistory = kMaxLag;

struct EncoderState {
  bool eightBit = false;
  // Input high-pass filter.
  int32_t highPassInput = 0;
  int64_t highPassOutputQ16 = 0;
  int32_t input[kInputBuffer] = {};
  // The analysis.
  Lsf previousLsf = {};           // unquantised
  Lsf previousQuantisedLsf = {};  // as the decoder has it
  int32_t weighted[kWeightedHistory + kFrameSamples] = {};
  FilterMemory weightedNumerator = {};
  FilterMemory weightedDenominator = {};
  // The decoder's state, and the weighted error's filter memories.
  ExcitationBuffer excitation = {};
  FilterMemory synthesis = {};
  FilterMemory errorNumerator = {};
  FilterMemory errorDenominator = {};
  int previousLag = kMinLag;
  uint8_t previousPitchGain = 0;
  int32_t logGainQ10 = kLogGainStartQ10;
  PulseSearchScratch pulseSearch;
};

void initEncoder(EncoderState& state, bool eightBit);

// Codes 240 samples (480 bytes of 16-bit little-endian PCM, or 240 unsigned
// 8-bit bytes) into one frame of kFrameBytes.
void encodeFrame(EncoderState& state, const uint8_t* pcm, uint8_t frame[kFrameBytes]);

// The same from samples, for the tests.
void encodeSamples(EncoderState& state, const int16_t samples[kFrameSamples],
                   uint8_t frame[kFrameBytes]);

}  // namespace zv::qv48

#endif  // ZV_QV48_LOWRATE_ENCODER_H
