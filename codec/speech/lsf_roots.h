// LPC coefficients to line spectral frequencies.
//
// The sum and difference polynomials of A(z), divided by their trivial roots
// at z = −1 and z = 1, are symmetric of degree 10:
//     F1[m] = a_m + a_{11−m} − F1[m−1],  F2[m] = a_m − a_{11−m} + F2[m−1],
//     F1[0] = F2[0] = 1, m = 1..5.
// On the unit circle each becomes a fifth-degree polynomial Y in x = cos ω:
//     Y[5] = 16F[0]            Y[4] = 8F[1]              Y[3] = 4(F[2] − 5F[0])
//     Y[2] = 2(F[3] − 4F[1])   Y[1] = 5F[0] − 3F[2] + F[4]
//     Y[0] = 0.5F[5] − F[3] + F[1]
// The roots alternate between Y1 (even LSFs) and Y2 (odd LSFs). Starting at
// x = 1 and going down, three roots of each are found by ten Newton-like
// steps x ← x + δ − 3δ² (δ = −Y(x)/Y′(x)), each followed by deflation; the
// remaining quadratics are solved directly. ω = arccos x.
#ifndef ZV_QV80_LSF_ROOTS_H
#define ZV_QV80_LSF_ROOTS_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// The ten LSFs of `lpc`, radians in 0..π, ω0 the smallest for a
// minimum-phase predictor. A negative discriminant of a final quadratic is
// taken as zero, and every root is clamped to [−1, 1] (NaN to 1) before the
// arccos, so any predictor yields LSFs within 0..π.
void lpcToLsf(const Lpc& lpc, float lsf[kLsfCount]);

// x clamped to [−1, 1], NaN to 1.
float clampCosine(float x);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_LSF_ROOTS_H
