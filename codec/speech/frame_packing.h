// The 28 parameters of a coded speech frame and their packing into 20 bytes.
//
// A frame is ten 16-bit words, word 0 first, each stored low byte first.
// Fields from bit 15 down:
//
//   word 0   lag code s0 (15..9)  e0 (8..5)  o0 (4..0)
//   word 1   pulse position s0 (15..10)  pitch gain s0 (9..5)  pulse gain s0 (4..0)
//   word 2   the same for subframe 1
//   word 3   the same for subframe 2
//   word 4   pulse-train code s2 (15..2)  o4 (1..0)
//   word 5   train gain s0 (15..11)  train gain s1 (10..6)  o3 (5..3)  e4 (2..0)
//   word 6   o2 (15..12)  e3 (11..8)  lag code s1 (7..4)  lag code s2 (3..0)
//   word 7   e1 (15..11)  e2 (10..6)  o1 (5..2)  train gain s2 bits 4..3 (1..0)
//   word 8   pulse-train code s0 (15..1)  train gain s2 bit 0 (0)
//   word 9   pulse-train code s1 (15..2)  train gain s2 bits 2..1 (1..0)
//
// e0..e4 index the even LSFs ω0, ω2, .., ω8 and o0..o4 the odd ones. Lags are
// coded as lag − 20 (7 bits) in subframe 0 and as lag − previous lag + 7
// (4 bits) in subframes 1 and 2.
#ifndef ZV_QV80_FRAME_PACKING_H
#define ZV_QV80_FRAME_PACKING_H

#include <cstdint>

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

struct SubframeParameters {
  int lag;                // absolute pitch lag, samples: 20..147 from a conforming
                          // encoder; 6..163 are possible in arbitrary frames
  int pitchGainIndex;     // 0..31, index into kPitchGain
  int pulsePosition;      // 0..63; a value ≥ the subframe length means no pulse
  int pulseGainIndex;     // 0..31: bit 4 = negative, bits 3..0 = level (±4·L)
  int trainCode;          // 15 bits (subframe 0) or 14 bits: phase in the top
                          // two bits, then the signs of pulses 1..N−1
  int trainGainIndex;     // 0..31: bit 4 = negative, bits 3..0 = level (±L)
};

struct FrameParameters {
  int lsfIndex[kLsfCount];  // parameter k (k = 0..9) indexes ω_k
  SubframeParameters subframe[kSubframeCount];
};

// Reads the 20 bytes at `bytes` and makes the lags absolute. Every bit
// pattern is a valid frame.
void unpackFrame(const uint8_t* bytes, FrameParameters& params);

// Writes the 20 bytes of `params`. Each field is masked to its width, so for
// parameters within their ranges (lag deltas −7..+8) unpackFrame returns
// exactly `params`, and for any bytes packFrame(unpackFrame(b)) == b.
void packFrame(const FrameParameters& params, uint8_t* bytes);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_FRAME_PACKING_H
