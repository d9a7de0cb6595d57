#include "codec/speech/lsf_to_lpc.h"

#include <cmath>

#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

constexpr int kHalfOrder = kLpcOrder / 2;

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
    const Ext twoC = static_cast<Ext>(2.0f) * c[j];
    // Fast path: 2c·old[i−1] is exact in double (2c is a float), so the
    // three terms go through certainSum (x − y is x + (−y) in both
    // precisions, zeros included).
    const double twoCd = 2.0 * c[j];
    for (int i = 2 * j + 2; i >= 1; --i) {
      const double terms[3] = {p[i], -(twoCd * p[i - 1]), p[i - 2]};
      if (!certainSum(terms, 3, 1.0, p[i]))
        p[i] = static_cast<float>(p[i] - twoC * p[i - 1] + p[i - 2]);
    }
  }
}

// a_i = RN24((((P_i + P_i−1) + Q_i) − Q_i−1)·0.5), the sums in extended
// precision; the fast path as in productPolynomial (×0.5 is exact).
float lpcCoefficient(const float* p, const float* q, int i) {
  const double terms[4] = {p[i], p[i - 1], q[i], -static_cast<double>(q[i - 1])};
  float a;
  if (certainSum(terms, 4, 0.5, a)) return a;
  return static_cast<float>((static_cast<Ext>(p[i]) + p[i - 1] + q[i] - q[i - 1]) * 0.5f);
}

// RN24((2·x + y)·(1/3)) with the sum and the product each rounded in
// extended precision (2·x is exact). Fast path: the same two roundings in
// double; with 1/3 the same constant in both, the two results differ by at
// most two roundings in each precision against |v|, bound 4·2⁻⁵²·|v|.
float weightedThird(float x, float y) {
  const double third = 1.0 / 3.0;
  const double value = (2.0 * x + y) * third;
  if (roundingIsCertain(value, 4 * kBoundUnit * magnitude(value))) return static_cast<float>(value);
  return static_cast<float>((2.0f * static_cast<Ext>(x) + y) * static_cast<Ext>(third));
}

}  // namespace

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
  for (int i = 1; i <= kLpcOrder; ++i) lpc.a[i] = lpcCoefficient(p, q, i);
}

void interpolateLpc(const float previous[kLsfCount], const float current[kLsfCount],
                    Lpc lpc[kSubframeCount]) {
  float lsf0[kLsfCount];
  float lsf1[kLsfCount];
  for (int k = 0; k < kLsfCount; ++k) {
    lsf0[k] = weightedThird(previous[k], current[k]);
    lsf1[k] = weightedThird(current[k], previous[k]);
  }
  lsfToLpc(lsf0, lpc[0]);
  lsfToLpc(lsf1, lpc[1]);
  lsfToLpc(current, lpc[2]);
}

}  // namespace zv::ZV_QV80_NAMESPACE
