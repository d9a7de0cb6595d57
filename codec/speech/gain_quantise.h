// The encoder's gain quantisers.
//
// Pitch gain β → index into G by the boundaries TG between neighbouring
// entries, negative and non-negative gains searched separately (TG[6] = 0):
//   β < 0:  0 if β ≤ TG[0]; 6 if β ≥ TG[5]; else k in 1..5 with TG[k−1] ≤ β < TG[k]
//   β ≥ 0:  31 if β ≥ TG[30]; 7 if β < TG[7]; else k in 8..30 with TG[k−1] ≤ β < TG[k]
//
// Pulse magnitude m ≥ 0 → level into L: 15 if m ≥ TL[15], else k − 1 for the
// smallest k in 1..15 with TL[k] > m (a zero magnitude gives level 0).
#ifndef ZV_QV80_GAIN_QUANTISE_H
#define ZV_QV80_GAIN_QUANTISE_H

#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// Index 0..31 of the pitch gain `beta` (negative zero counts as ≥ 0).
int quantisePitchGain(float beta);

// Level 0..15 of the magnitude `magnitude` (≥ 0).
int quantiseLevel(float magnitude);

// Index 0..31 of a signed pulse gain: the level of |gain|, plus 16 when the
// gain is negative.
int quantiseSignedGain(float gain);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_GAIN_QUANTISE_H
