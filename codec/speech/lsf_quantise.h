// Quantisation of the ten LSFs into the indices of the frame.
//
// Even LSFs first, then odd ones; distances are absolute differences and a
// nearest-entry search keeps the lowest index among equal distances.
//   ω0:            the nearest entry of E0.
//   ω2j, j = 1..4: the nearest entry of E_j strictly above
//                  b = max(quantised ω2j−2, unquantised ω2j−1), which keeps
//                  the quantised LSFs ordered; E_j's last entry if none is.
//   ω2j+1:         the nearest of the n candidates the decoder's
//                  reconstruction rule builds between the quantised even
//                  neighbours (π above ω9).
// The quantised LSFs are exactly those the decoder reconstructs.
#ifndef ZV_QV80_LSF_QUANTISE_H
#define ZV_QV80_LSF_QUANTISE_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// Indices of `lsf` (parameter k indexes ω_k) and the quantised LSFs.
void quantiseLsf(const float lsf[kLsfCount], int indices[kLsfCount],
                 float quantised[kLsfCount]);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_LSF_QUANTISE_H
