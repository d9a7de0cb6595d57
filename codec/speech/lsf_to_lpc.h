// From LSFs to the LPC coefficients of the three subframes, shared by the
// encoder and the decoder.
//
// Interpolation (prev = previous frame's LSFs, cur = this frame's; 1/3 is the
// double-precision constant):
//     subframe 0: (2·prev + cur)·(1/3)
//     subframe 1: (prev + 2·cur)·(1/3)
//     subframe 2: cur
//
// Conversion: with c_k = cos ω_k,
//     P(z) = Π_j (1 − 2·c_2j·z⁻¹ + z⁻²),  Q(z) = Π_j (1 − 2·c_2j+1·z⁻¹ + z⁻²),
//     A(z) = ½[(1 + z⁻¹)·P(z) + (1 − z⁻¹)·Q(z)],
// i.e. a_i = (P_i + P_i−1 + Q_i − Q_i−1)·0.5 for i = 1..10.
#ifndef ZV_QV80_LSF_TO_LPC_H
#define ZV_QV80_LSF_TO_LPC_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// LPC coefficients of the LSFs `lsf` (radians).
void lsfToLpc(const float lsf[kLsfCount], Lpc& lpc);

// The three subframes' coefficients from the previous and current LSFs.
void interpolateLpc(const float previous[kLsfCount], const float current[kLsfCount],
                    Lpc lpc[kSubframeCount]);

// The steps of both, each computed in extended precision and rounded to
// float once:
//   polynomialFactorStep  new[i] = old[i] − 2c·old[i−1] + old[i−2] of one
//                         factor's update, p at old[i];
//   lpcCoefficient        a_i = (P_i + P_i−1 + Q_i − Q_i−1)·0.5, added in
//                         that order;
//   interpolatedLsf       (2·x + y)·(1/3), the interpolated LSF nearer x.
// `certified` takes the certified double path (ARITHMETIC.md) where it can
// decide. It is the faster where Ext is software (WebAssembly, AArch64);
// where Ext is the x87 unit a few extended operations cost less than a
// certificate, so the library computes these steps in Ext directly there.
// The tests take the certified path on every build.
inline constexpr bool kCertifiedLpcSteps = !kHardwareExt;
float polynomialFactorStep(const float* p, float c, bool certified = kCertifiedLpcSteps);
float lpcCoefficient(const float* p, const float* q, int i, bool certified = kCertifiedLpcSteps);
float interpolatedLsf(float x, float y, bool certified = kCertifiedLpcSteps);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_LSF_TO_LPC_H
