// Linear prediction in integers: the analysis of a windowed block, the
// conversions between predictor coefficients and line spectral frequencies,
// bandwidth expansion and the two filter forms.
//
// Coefficients are Q12 with a[0] = 4096: A(z) = 1 + Σ a[i]·z^−i / 4096.
// LSFs are on the scale 0..32768 for 0..π, in ascending order. Filter
// memories hold the last kOrder samples, oldest first.
#ifndef ZV_QV48_LPC_H
#define ZV_QV48_LPC_H

#include <cstdint>

#include "codec/speech48/lowrate_constants.h"

namespace zv::qv48 {

using Lpc = int32_t[kOrder + 1];
using Lsf = int32_t[kOrder];
using FilterMemory = int32_t[kOrder];

// The predictor of the kWindowSamples samples at `block` (internal scale)
// under the analysis window and the lag window. False, with `a` untouched,
// when the block is silent or the recursion would give an unstable filter.
bool analyseBlock(const int32_t* block, Lpc a);

// The LSFs of a stable predictor. False when ten interlaced roots are not
// found on the search grid (then `lsf` is untouched).
bool lpcToLsf(const Lpc a, Lsf lsf);

// The predictor of ascending LSFs in (0, 32768).
void lsfToLpc(const Lsf lsf, Lpc a);

// cos(π·lsf/32768) in Q15, interpolated in the cosine table.
int32_t lsfCosine(int32_t lsf);

// a[i]·γ^i (γ^i in Q15): A(z/γ).
void expandBandwidth(const Lpc a, const int16_t* gammaPowersQ15, Lpc out);

// out[n] = in[n] − Σ a[i]·out[n−i] (all-pole 1/A), saturated to the signal
// range. `in` and `out` may be the same array.
void synthesisFilter(const Lpc a, const int32_t* in, int32_t* out, int count, FilterMemory memory);

// out[n] = Σ a[i]·in[n−i] (all-zero A). `in` and `out` must differ.
void residualFilter(const Lpc a, const int32_t* in, int32_t* out, int count, FilterMemory memory);

// The first `count` samples of the impulse response of
// numerator(z) / (denominator1(z)·denominator2(z)), Q12 (h[0] = 4096).
void impulseResponse(const Lpc numerator, const Lpc denominator1, const Lpc denominator2,
                     int32_t* h, int count);
// The same of numerator(z) / denominator(z).
void impulseResponse(const Lpc numerator, const Lpc denominator, int32_t* h, int count);

// d[n] = Σ_{k=n}^{59} target[k]·h[k − n] for the 60 samples of a subframe:
// the target filtered backwards through the filter whose impulse response is
// h, the correlation of the target with h moved to each position.
void backwardFilter(const int32_t* target, const int32_t* h, int64_t* d);

// LSFs interpolated for subframe `index` of 0..3: (3 − index)/4 of the
// previous frame's and (index + 1)/4 of this frame's.
void interpolateLsf(const Lsf previous, const Lsf current, int index, Lsf out);

}  // namespace zv::qv48

#endif  // ZV_QV48_LPC_H
