// Tenth-order LPC analysis of the encoder's look-ahead window.
//
//   x[n] = S[24 + n]·w[n], n = 0..219        (Hamming window ending at the newest sample)
//   r[k] = Σ_{n=0..219−k} x[n]·x[n + k], k = 0..10
//   r[0] ← r[0]·1.0001                       (white-noise correction, no lag window)
//   k_1..k_10 by the Schur recursion, then the step-up recursion to
//   A(z) = 1 + Σ a_j·z⁻ʲ.
#ifndef ZV_QV80_LPC_ANALYSIS_H
#define ZV_QV80_LPC_ANALYSIS_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"
#include "codec/speech/speech_tables.h"

namespace zv::ZV_QV80_NAMESPACE {

// r[0..10] of the 220 samples `segment` (S[24..243]) after windowing.
void windowedAutocorrelation(const float segment[kWindowLength], float r[kLpcOrder + 1],
                             cpu::Arch arch);

// Reflection coefficients k[1..10] of r[0..10] by the Schur recursion
// (r[0] already corrected). Once the residual energy reaches zero or below,
// the remaining coefficients are 0.
void schurRecursion(const float r[kLpcOrder + 1], float k[kLpcOrder + 1]);

// Predictor a[1..10] from reflection coefficients k[1..10].
void stepUp(const float k[kLpcOrder + 1], Lpc& lpc);

// The whole analysis. Returns false, leaving `lpc` untouched, when the
// windowed segment is entirely zero (r[0] = 0).
bool analyseLpc(const float segment[kWindowLength], Lpc& lpc, cpu::Arch arch);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_LPC_ANALYSIS_H
