#include "codec/speech/lsf_to_lpc.h"

#include <cmath>

#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

constexpr int kHalfOrder = kLpcOrder / 2;

// The steps (lsf_to_lpc.h), inlined where the conversion uses them.
//
// The reference: old[i] − 2c·old[i−1] + old[i−2] with twoC = 2c (exact).
[[gnu::always_inline]] inline float factorStepReference(const float* p, Ext twoC) {
  return static_cast<float>(p[0] - twoC * p[-1] + p[-2]);
}

[[gnu::always_inline]] inline float factorStep(const float* p, float c, bool certified) {
  // Fast path: 2c·old[i−1] is exact in double (2c is a float), so the three
  // terms go through certainSum (x − y is x + (−y) in both precisions, zeros
  // included): exact, or two roundings in each precision against Σ|terms|.
  if (certified) {
    const double terms[3] = {p[0], -(2.0 * c * p[-1]), p[-2]};
    float value;
    if (certainSum(terms, 1.0, value)) return value;
  }
  return factorStepReference(p, static_cast<Ext>(2.0f) * c);
}

[[gnu::always_inline]] inline float coefficient(const float* p, const float* q, int i,
                                                bool certified) {
  // Fast path as in factorStep, with three roundings of the sum; ×0.5 is
  // exact in both precisions.
  if (certified) {
    const double terms[4] = {p[i], p[i - 1], q[i], -static_cast<double>(q[i - 1])};
    float a;
    if (certainSum(terms, 0.5, a)) return a;
  }
  return static_cast<float>((static_cast<Ext>(p[i]) + p[i - 1] + q[i] - q[i - 1]) * 0.5f);
}

[[gnu::always_inline]] inline float weightedThird(float x, float y, bool certified) {
  const double third = 1.0 / 3.0;  // the double constant, widened exactly in the reference
  // Fast path: the same two roundings (of the sum, of the product) in
  // double. Each result is within two roundings of its precision of the
  // exact (2x + y)·third, so they differ by less than 2·(2⁻⁵³ + 2⁻⁶⁴)·|v|·
  // (1 + 2⁻⁵²); the bound 4·2⁻⁵²·|v| leaves a factor of two.
  if (certified) {
    const double value = (2.0 * x + y) * third;
    if (roundingIsCertain(value, 4 * kBoundUnit * magnitude(value))) return static_cast<float>(value);
  }
  return static_cast<float>((2.0f * static_cast<Ext>(x) + y) * static_cast<Ext>(third));
}

// Π_j (1 − 2·c[j]·z⁻¹ + z⁻²), j = 0..4, multiplied in order. Each factor
// updates the coefficients from the highest down,
//     new[i] = old[i] − 2c·old[i−1] + old[i−2],
// so that every coefficient is rounded to float once per factor. poly has
// two leading zeros (poly[0], poly[1]) standing for old[−2], old[−1], and
// the coefficient of z⁻ⁱ at poly[2 + i].
void productPolynomial(const float c[kHalfOrder], float poly[kLpcOrder + 3]) {
  for (int i = 0; i < kLpcOrder + 3; ++i) poly[i] = 0.0f;
  float* p = poly + 2;
  p[0] = 1.0f;
  p[1] = -2.0f * c[0];
  p[2] = 1.0f;
  for (int j = 1; j < kHalfOrder; ++j) {
    if (kCertifiedLpcSteps) {
      for (int i = 2 * j + 2; i >= 1; --i) p[i] = factorStep(p + i, c[j], true);
    } else {  // x87: the reference directly, 2c once per factor
      const Ext twoC = static_cast<Ext>(2.0f) * c[j];
      for (int i = 2 * j + 2; i >= 1; --i) p[i] = factorStepReference(p + i, twoC);
    }
  }
}

}  // namespace

float polynomialFactorStep(const float* p, float c, bool certified) {
  return factorStep(p, c, certified);
}

float lpcCoefficient(const float* p, const float* q, int i, bool certified) {
  return coefficient(p, q, i, certified);
}

float interpolatedLsf(float x, float y, bool certified) { return weightedThird(x, y, certified); }

void lsfToLpc(const float lsf[kLsfCount], Lpc& lpc) {
  float evenCos[kHalfOrder];
  float oddCos[kHalfOrder];
  for (int j = 0; j < kHalfOrder; ++j) {
    evenCos[j] = static_cast<float>(std::cos(static_cast<double>(lsf[2 * j])));
    oddCos[j] = static_cast<float>(std::cos(static_cast<double>(lsf[2 * j + 1])));
  }
  float pBuffer[kLpcOrder + 3];
  float qBuffer[kLpcOrder + 3];
  productPolynomial(evenCos, pBuffer);
  productPolynomial(oddCos, qBuffer);
  const float* p = pBuffer + 2;
  const float* q = qBuffer + 2;
  lpc.a[0] = 1.0f;
  for (int i = 1; i <= kLpcOrder; ++i) lpc.a[i] = coefficient(p, q, i, kCertifiedLpcSteps);
}

void interpolateLpc(const float previous[kLsfCount], const float current[kLsfCount],
                    Lpc lpc[kSubframeCount]) {
  float lsf0[kLsfCount];
  float lsf1[kLsfCount];
  for (int k = 0; k < kLsfCount; ++k) {
    lsf0[k] = weightedThird(previous[k], current[k], kCertifiedLpcSteps);
    // prev + 2·cur: a single addition commutes.
    lsf1[k] = weightedThird(current[k], previous[k], kCertifiedLpcSteps);
  }
  lsfToLpc(lsf0, lpc[0]);
  lsfToLpc(lsf1, lpc[1]);
  lsfToLpc(current, lpc[2]);
}

}  // namespace zv::ZV_QV80_NAMESPACE
