// Line spectral frequencies from the ten spectral indices of a frame.
//
// Even LSFs come straight from their tables: ω_2j = E_j[e_j]. Each odd LSF
// lies between its quantised even neighbours lo = ω_2j and hi = ω_2j+2 (π for
// ω9): with half = (hi − lo)·0.5 and f = F_j[o_j],
//     ω_2j+1 = lo + f·half   if o_j < n/2 + 1   (n = size of F_j)
//     ω_2j+1 = hi − f·half   otherwise.
// The encoder's quantiser builds its candidates with the same rule, so the
// decoder reconstructs exactly the values the encoder chose.
#ifndef ZV_QV80_LSF_RECONSTRUCT_H
#define ZV_QV80_LSF_RECONSTRUCT_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// Half the gap between an odd LSF's neighbours, rounded to float.
float halfGap(float lo, float hi);

// The odd LSF that index `index` of fraction table `j` (0..4) selects between
// `lo` and `hi`, given half = halfGap(lo, hi). `index` is masked to the
// table's size.
float oddLsf(int j, int index, float lo, float hi, float half);

// The upper neighbour of odd LSF j: ω_2j+2, or π for j = 4.
float upperNeighbour(const float lsf[kLsfCount], int j);

// lsf[0..9] from indices[0..9] (parameter k indexes ω_k); indices are masked
// to their field widths. Results are radians in (0, π).
void reconstructLsf(const int indices[kLsfCount], float lsf[kLsfCount]);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_LSF_RECONSTRUCT_H
