// The fixed-codebook search of the encoder: three signed pulses on their
// tracks against a target, by the usual correlation²/energy criterion.
#ifndef ZV_QV48_PULSE_SEARCH_H
#define ZV_QV48_PULSE_SEARCH_H

#include <cstdint>

#include "codec/speech48/frame_packing.h"

namespace zv::qv48 {

// The correlations of h with itself, kept in the encoder's state rather
// than on the stack.
struct PulseSearchScratch {
  int64_t running[kSubframeSamples][kSubframeSamples];  // [j − i][59 − j]
};

// Sets fields.pulse and fields.signs to the three pulses that maximise
// (Σ d)²/E, where d is the target filtered backwards through h and E the
// energy of the pulses' filtered sum; each sign is that of d at its pulse.
// The first two pulses are tried only where |d| is largest on their tracks.
// Of equally good choices the first in the order track 0, 1, 2/3 wins.
void searchPulses(const int32_t target[kSubframeSamples], const int32_t h[kSubframeSamples],
                  PulseSearchScratch& scratch, SubframeFields& fields);

}  // namespace zv::qv48

#endif  // ZV_QV48_PULSE_SEARCH_H
