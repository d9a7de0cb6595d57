#include "codec/speech/lsf_roots.h"

#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"

#include <cmath>
#include <cstring>

namespace zv::ZV_QV80_NAMESPACE {
namespace {

constexpr int kHalfOrder = kLpcOrder / 2;
constexpr int kRootIterations = 10;

// Y[0..5] of the symmetric polynomial F[0..5] in x = cos ω.
void cosinePolynomial(const float f[kHalfOrder + 1], float y[kHalfOrder + 1]) {
  y[5] = static_cast<float>(16.0f * static_cast<Ext>(f[0]));
  y[4] = static_cast<float>(8.0f * static_cast<Ext>(f[1]));
  y[3] = static_cast<float>(4.0f * (f[2] - 5.0f * static_cast<Ext>(f[0])));
  y[2] = static_cast<float>(2.0f * (f[3] - 4.0f * static_cast<Ext>(f[1])));
  y[1] = static_cast<float>(5.0f * static_cast<Ext>(f[0]) - 3.0f * static_cast<Ext>(f[2]) + f[4]);
  y[0] = static_cast<float>(0.5f * static_cast<Ext>(f[5]) - f[3] + f[1]);
}

// Y(x) and Y′(x) for the degree-n polynomial y[0..n], each by Horner's
// scheme in one extended-precision pass (Y′ over the coefficients i·y[i],
// exact in both precisions), each rounded to float. Certified with Higham's
// bound for Horner's scheme, |Ŷ − Y| ≤ γ_2n·Σ|c_i|·|x|^i in each precision
// (the magnitudes again by Horner, in double, a factor two to spare). The
// two passes run side by side so that their chains overlap.
void hornerValueAndDerivative(const float* y, int n, float x, float& value, float& derivative) {
  const double xd = x, size = magnitude(xd);
  double v = y[n], vTotal = magnitude(v);
  double d = static_cast<double>(n) * y[n], dTotal = magnitude(d);
  for (int i = n - 1; i >= 1; --i) {
    const double coefficient = static_cast<double>(i) * y[i];
    v = v * xd + y[i];
    vTotal = vTotal * size + magnitude(y[i]);
    d = d * xd + coefficient;
    dTotal = dTotal * size + magnitude(coefficient);
  }
  v = v * xd + y[0];
  vTotal = vTotal * size + magnitude(y[0]);
  if (roundingIsCertain(v, 2 * n * kBoundUnit * vTotal * (1 + 0x1p-40) + 2 * kBoundUnit * magnitude(v))) {
    value = static_cast<float>(v);
  } else {
    Ext reference = y[n];
    for (int i = n - 1; i >= 0; --i) reference = reference * x + y[i];
    value = static_cast<float>(reference);
  }
  if (roundingIsCertain(d, 2 * n * kBoundUnit * dTotal * (1 + 0x1p-40) + 2 * kBoundUnit * magnitude(d))) {
    derivative = static_cast<float>(d);
  } else {
    Ext reference = static_cast<Ext>(n) * y[n];
    for (int i = n - 1; i >= 1; --i) reference = reference * x + static_cast<Ext>(i) * y[i];
    derivative = static_cast<float>(reference);
  }
}

// Ten steps x ← x + δ − 3δ², δ = −Y(x)/Y′(x) (0 when Y′(x) = 0), from x.
// Each step is a function of x alone, so once a step leaves x unchanged
// every later step does too, and the remaining steps are skipped.
// δ is a quotient of two floats, which float division rounds as the
// reference; 3δ and 3δ·δ are exact in double, so the update rounds twice in
// each precision.
float findRoot(const float* y, int n, float x) {
  for (int step = 0; step < kRootIterations; ++step) {
    float value, derivative;
    hornerValueAndDerivative(y, n, x, value, derivative);
    const float delta = derivative == 0.0f ? 0.0f : -value / derivative;
    const double correction = 3.0 * delta * delta;
    const double next = (static_cast<double>(x) + delta) - correction;
    const double size = magnitude(x) + magnitude(delta) + correction;
    const float updated =
        roundingIsCertain(next, 4 * kBoundUnit * size + 2 * kBoundUnit * magnitude(next))
            ? static_cast<float>(next)
            : static_cast<float>(x + static_cast<Ext>(delta) - 3.0f * static_cast<Ext>(delta) * delta);
    if (std::memcmp(&updated, &x, sizeof x) == 0) break;
    x = updated;
  }
  return x;
}

// y ← y / (x − root), the Horner quotient (the remainder is dropped);
// degree n becomes n − 1.
void deflate(float* y, int n, float root) {
  float carry = y[n];
  for (int i = n - 1; i >= 0; --i) {
    const float next = multiplyAdd(y[i], root, carry);
    y[i] = carry;
    carry = next;
  }
}

// The roots p/2 ± √(p²/4 − q) of y[2]x² + y[1]x + y[0], p = −y[1]/y[2],
// q = y[0]/y[2]; the square root in extended precision, a negative
// discriminant taken as zero (a double root).
void quadraticRoots(const float y[3], float& plus, float& minus) {
  const float p = static_cast<float>(-static_cast<Ext>(y[1]) / y[2]);
  const float q = static_cast<float>(static_cast<Ext>(y[0]) / y[2]);
  Ext discriminant = static_cast<Ext>(p) * p / 4.0f - q;
  if (discriminant < 0) discriminant = 0;
  const Ext root = squareRoot(discriminant);
  plus = static_cast<float>(static_cast<Ext>(p) / 2.0f + root);
  minus = static_cast<float>(static_cast<Ext>(p) / 2.0f - root);
}

float toFrequency(float x) {
  return static_cast<float>(std::acos(static_cast<double>(clampCosine(x))));
}

}  // namespace

float clampCosine(float x) {
  if (std::isnan(x)) return 1.0f;
  if (x > 1.0f) return 1.0f;
  if (x < -1.0f) return -1.0f;
  return x;
}

void lpcToLsf(const Lpc& lpc, float lsf[kLsfCount]) {
  const float* a = lpc.a;
  float f1[kHalfOrder + 1];
  float f2[kHalfOrder + 1];
  f1[0] = f2[0] = 1.0f;
  for (int m = 1; m <= kHalfOrder; ++m) {
    f1[m] = static_cast<float>(static_cast<Ext>(a[m]) + a[kLpcOrder + 1 - m] - f1[m - 1]);
    f2[m] = static_cast<float>(static_cast<Ext>(a[m]) - a[kLpcOrder + 1 - m] + f2[m - 1]);
  }
  float y1[kHalfOrder + 1];
  float y2[kHalfOrder + 1];
  cosinePolynomial(f1, y1);
  cosinePolynomial(f2, y2);

  // Largest x (smallest ω) first, alternating Y1 → ω0, ω2, ω4 and
  // Y2 → ω1, ω3, ω5, each search continuing from the previous root.
  float x = 1.0f;
  for (int n = 5; n >= 3; --n) {
    x = findRoot(y1, n, x);
    lsf[10 - 2 * n] = toFrequency(x);
    deflate(y1, n, x);
    x = findRoot(y2, n, x);
    lsf[11 - 2 * n] = toFrequency(x);
    deflate(y2, n, x);
  }
  float plus, minus;
  quadraticRoots(y1, plus, minus);
  lsf[6] = toFrequency(plus);
  lsf[8] = toFrequency(minus);
  quadraticRoots(y2, plus, minus);
  lsf[7] = toFrequency(plus);
  lsf[9] = toFrequency(minus);
}

}  // namespace zv::ZV_QV80_NAMESPACE
