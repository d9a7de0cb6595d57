// Sums of floats and of products of floats, rounded to float, on the
// certified fast path (ARITHMETIC.md: the certificate rule, the margins).
//
// Reference: S = Σ_{n=0..count−1} x[n]·y[n], one extended-precision
// accumulator from 0, n ascending, rounded to float once.
//
// Fast path: each product is exact in double; the sum is taken in double in
// any order (here in vector lanes), together with A = Σ|x[n]·y[n]|. Both
// sums round at most count times, so with u = 2⁻⁵³ and 2⁻⁶⁴
//     |S_double − S_reference| ≤ count·(2⁻⁵³ + 2⁻⁶⁴)·A·(1 + tiny),
// and the certificate uses e = count·2⁻⁵²·A + 2·2⁻⁵²·|S_double|.
#ifndef ZV_QV80_CERTIFIED_SUMS_H
#define ZV_QV80_CERTIFIED_SUMS_H

#include "codec/cpu_features.h"
#include "codec/speech/certified_rounding.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// The reference: Σ x[n]·y[n] in extended precision from 0, rounded to float.
float sumOfProductsReference(const float* x, const float* y, int count);

// The reference's float, from a double approximation `sum` of Σ x[n]·y[n]
// (any order) and `size` ≥ Σ|x[n]·y[n]|; falls back to the reference when
// the approximation cannot decide.
float certifySumOfProducts(const float* x, const float* y, int count, double sum, double size);

// The same float, computing the approximation and its size itself.
float sumOfProducts(const float* x, const float* y, int count);

// Σ x[n]² the same way; `approximation` receives the double sum, which is
// within a factor 1 ± 2⁻⁴⁰ of the exact sum (all terms are positive).
float sumOfSquares(const float* x, int count, double& approximation, cpu::Arch arch);

// Σ x[n]·y[n] in double, in any order (no certificate).
double approximateDot(const float* x, const float* y, int count, cpu::Arch arch);
double approximateDot(const double* x, const double* y, int count, cpu::Arch arch);

// An upper bound on Σ|x[n]·y[n]| from double approximations of Σx² and Σy²
// over the same n (Cauchy–Schwarz), each within 1 ± 2⁻⁴⁰ of its exact value.
double cauchySchwarzSize(double squaresX, double squaresY);

// out[i] = RN24(a[i] + x·b[i]) for i = 0..count−1, the reference computing
// a[i] + x·b[i] in extended precision (the product exactly, one rounding).
// Elements are produced in order, four at a time, so `b` may run at least
// four elements behind `out` (b[i] = out[i − d], d ≥ 4: a recursion); `out`
// may otherwise overlap `a` or `b` only element for element.
void multiplyAdd(const float* a, float x, const float* b, float* out, int count, cpu::Arch arch);

// RN24(c²/e) with c² exact and one rounding of the quotient in extended
// precision (e ≠ 0).
float squareOver(float c, float e);

// RN24(a + x·b) for one element (the product exact, one rounding).
float multiplyAdd(float a, float x, float b);

// RN24((a + b) + c) with both additions in extended precision.
float sumOfThree(float a, float b, float c);

// The fast path of a short sum in extended precision, s = ((t[0] + t[1]) +
// t[2]) + … from t[0], every term exact in double (a float, or a product of
// two floats): when the bound count·2⁻⁵²·Σ|t| + 2·2⁻⁵²·|s| certifies it, or
// every double addition is exact (TwoSum), stores RN24(scale·s) in `out` and
// returns true; otherwise returns false (`out` then holds nothing of use)
// and the caller computes the reference. `scale` is a power of two, which multiplies exactly. (Inline:
// the steps from LSFs to LPC coefficients call it a few hundred times a
// frame.)
template <int kCount>
inline bool certainSum(const double (&terms)[kCount], double scale, float& out) {
  if (!kFastPaths) return false;
  // At most count − 1 roundings in each precision against Σ|t| (every
  // partial sum is no larger); scaling by a power of two is exact in both.
  double value = terms[0];
  double size = magnitude(terms[0]);
  for (int k = 1; k < kCount; ++k) {
    value += terms[k];
    size += magnitude(terms[k]);
  }
  const double scaled = value * scale;
  out = static_cast<float>(scaled);
  if (roundingIsCertain(scaled, (kCount * kBoundUnit * size + 2 * kBoundUnit * magnitude(value)) * scale))
    return true;
  // Short sums of floats (and exact products) often add up to a value with
  // a few more significant bits than float has, on a rounding midpoint,
  // where no bound can decide, or to zero. When every double addition is
  // exact (its TwoSum error is zero) the value is the exact sum, which the
  // reference also holds exactly (it fits in 53 bits, so in 64), zeros with
  // the same signs, and both round it the same way.
  double partial = terms[0];
  for (int k = 1; k < kCount; ++k) {
    const double sum = partial + terms[k];
    const double back = sum - partial;
    if ((partial - (sum - back)) + (terms[k] - back) != 0.0) return false;
    partial = sum;
  }
  return true;
}

// v[i] + v[i − period] + v[i − 2·period] for i = 0..count−1 (terms with a
// negative index left out), rounded as the reference rounds it: a lone term
// as it is, two terms as a float addition (which gives the reference's value:
// double-rounding lemma, ARITHMETIC.md), three terms through sumOfThree.
void periodicSum(const float* v, int period, float* out, int count);

// Σ_{k=0..count−1} sign[k]·v[k] with sign[k] = ±1, from 0, k ascending, in
// extended precision, rounded to float (certified).
float signedSum(const int* sign, const float* v, int count);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_CERTIFIED_SUMS_H
