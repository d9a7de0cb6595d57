// The codec's constant tables (values in tables.cpp and, for the quantisers,
// in quantiser_tables.cpp; all listed in FRAME_FORMAT.md).
#ifndef ZV_QV48_TABLES_H
#define ZV_QV48_TABLES_H

#include <cstdint>

#include "codec/speech48/lowrate_constants.h"

namespace zv::qv48 {

extern const int16_t kAnalysisWindowQ15[kWindowSamples];
extern const int16_t kLagWindowQ15[kOrder + 1];
extern const int16_t kCosineQ15[kCosineSteps];
extern const int16_t kWeightNumeratorQ15[kOrder + 1];
extern const int16_t kWeightDenominatorQ15[kOrder + 1];
extern const int16_t kPostNumeratorQ15[kOrder + 1];
extern const int16_t kPostDenominatorQ15[kOrder + 1];
extern const int32_t kPow2Q14[33];

// The LSF quantiser: LSF i (0-based) has 2^kLsfBits[i] levels,
// kLsfLowest[i] + (2k + 1)·kLsfStep[i]/2 for level k (LSF scale 0..32768).
extern const int32_t kLsfLowest[kOrder];
extern const int32_t kLsfStep[kOrder];

// Adaptive-codebook gains, Q14, by index.
extern const int32_t kPitchGainQ14[8];
// Corrections of the predicted log2 codebook gain, Q10, by index.
extern const int32_t kCodeGainStepQ10[8];

}  // namespace zv::qv48

#endif  // ZV_QV48_TABLES_H
