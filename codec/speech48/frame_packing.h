// The fields of one 18-byte frame and their packing, most significant bit
// first, in the order of FRAME_FORMAT.md.
#ifndef ZV_QV48_FRAME_PACKING_H
#define ZV_QV48_FRAME_PACKING_H

#include <cstdint>

#include "codec/speech48/lowrate_constants.h"

namespace zv::qv48 {

struct SubframeFields {
  uint8_t lag = 0;         // absolute (subframes 0, 2: lag − 20) or delta + 8 (1, 3)
  uint8_t pulse[3] = {};   // positions on tracks 0, 1 and 2 or 3 (see pulsePosition)
  uint8_t signs = 0;       // bit 2: pulse 0 negative, bit 1: pulse 1, bit 0: pulse 2
  uint8_t pitchGain = 0;   // index into kPitchGainQ14
  uint8_t codeGain = 0;    // index into kCodeGainStepQ10
};

struct FrameFields {
  uint8_t lsf[kOrder] = {};
  SubframeFields subframe[kSubframes];
};

void packFrame(const FrameFields& fields, uint8_t frame[kFrameBytes]);
// Every bit pattern unpacks; values stay within their field widths.
void unpackFrame(const uint8_t frame[kFrameBytes], FrameFields& fields);

// The sample position of pulse `which` (0..2) coded as `index`; 60 or more
// for indices that name no position of the subframe. Pulse 0 is on track 0,
// pulse 1 on track 1; pulse 2's five bits are track 2 (indices 0..15) or
// track 3 (16..31).
int pulsePosition(int which, int index);

}  // namespace zv::qv48

#endif  // ZV_QV48_FRAME_PACKING_H
