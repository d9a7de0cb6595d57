// Linear prediction in integers (lpc.h).
#include "codec/speech48/lpc.h"

#include <cstring>

#include "codec/speech48/fixed_point.h"
#include "codec/speech48/tables.h"

namespace zv::qv48 {

namespace {

constexpr int kGridSteps = 512;  // LSF root search: ω = π·j/512
constexpr int64_t kUnitQ24 = int64_t{1} << 24;
// Reflection coefficients must stay below 0.999 in magnitude.
constexpr int64_t kMaxReflectionQ24 = 16760438;

// The symmetric halves of P(z)/(1 + z^−1) and Q(z)/(1 − z^−1), Q12, i = 0..5.
void lsfPolynomials(const Lpc a, int64_t p[6], int64_t q[6]) {
  p[0] = 4096;
  q[0] = 4096;
  for (int i = 1; i <= 5; ++i) {
    const int64_t forward = a[i];
    const int64_t backward = 11 - i <= kOrder ? a[11 - i] : 0;
    p[i] = forward + backward - p[i - 1];
    q[i] = forward - backward + q[i - 1];
  }
}

// Σ c[i]·cos((5 − i)·ω_j) for i < 5, plus c[5]/2: the polynomial's value on
// the unit circle without its linear-phase factor, Q27.
int64_t gridValue(const int64_t c[6], int j) {
  int64_t sum = c[5] * 16384;
  for (int i = 0; i < 5; ++i) sum += c[i] * kCosineQ15[((5 - i) * j) % kCosineSteps];
  return sum;
}

// The roots of one polynomial on the grid, linearly interpolated; returns
// how many were found (at most 5 are kept).
int gridRoots(const int64_t c[6], int32_t roots[5]) {
  int found = 0;
  int64_t previous = gridValue(c, 0);
  for (int j = 1; j <= kGridSteps && found < 5; ++j) {
    const int64_t value = gridValue(c, j);
    if ((previous > 0 && value <= 0) || (previous < 0 && value >= 0)) {
      // previous / (previous − value) of one step, 64 LSF units per step.
      const int64_t fraction = (previous * 64) / (previous - value);
      roots[found++] = static_cast<int32_t>(64 * (j - 1) + fraction);
    }
    previous = value;
  }
  return found;
}

// Multiplies out Π (1 − 2·x_k·z^−1 + z^−2) over five cosines x_k (Q15):
// coefficients 0..10, Q24.
void rootProduct(const int32_t cosines[5], int64_t out[11]) {
  out[0] = kUnitQ24;
  for (int i = 1; i <= 10; ++i) out[i] = 0;
  for (int k = 0; k < 5; ++k) {
    const int degree = 2 * (k + 1);
    for (int i = degree; i >= 1; --i) {
      const int64_t twoBack = i >= 2 ? out[i - 2] : 0;
      out[i] = out[i] + twoBack - ((2 * cosines[k] * out[i - 1]) >> 15);
    }
  }
}

}  // namespace

bool analyseBlock(const int32_t* block, Lpc a) {
  int32_t windowed[kWindowSamples];
  for (int n = 0; n < kWindowSamples; ++n)
    windowed[n] = static_cast<int32_t>(roundShift(int64_t{block[n]} * kAnalysisWindowQ15[n], 15));
  int64_t r[kOrder + 1];
  for (int k = 0; k <= kOrder; ++k) {
    int64_t sum = 0;
    for (int n = k; n < kWindowSamples; ++n) sum += int64_t{windowed[n]} * windowed[n - k];
    r[k] = sum;
  }
  if (r[0] < 256) return false;  // silence: keep the previous predictor
  r[0] += r[0] >> 10;            // a noise floor 30 dB down
  // (r[k] < 2^46, so the product stays below 2^61.)
  for (int k = 1; k <= kOrder; ++k) r[k] = (r[k] * kLagWindowQ15[k]) >> 15;
  // Normalise so that r[0] lies in [2^23, 2^24).
  int shift = 0;
  while ((r[0] >> shift) >= (int64_t{1} << 24)) ++shift;
  int up = 0;
  while ((r[0] << up) < (int64_t{1} << 23)) ++up;
  for (int k = 0; k <= kOrder; ++k) r[k] = shift ? (r[k] >> shift) : r[k] * (int64_t{1} << up);

  // Levinson–Durbin, coefficients Q24.
  int64_t c[kOrder + 1] = {kUnitQ24};
  int64_t error = r[0];
  for (int i = 1; i <= kOrder; ++i) {
    int64_t acc = 0;
    for (int j = 0; j < i; ++j) acc += c[j] * r[i - j];
    const int64_t k = -(acc / error);
    if (k >= kMaxReflectionQ24 || k <= -kMaxReflectionQ24) return false;
    int64_t next[kOrder + 1];
    for (int j = 1; j < i; ++j) next[j] = c[j] + roundShift(k * c[i - j], 24);
    for (int j = 1; j < i; ++j) c[j] = next[j];
    c[i] = k;
    const int64_t k2 = roundShift(k * k, 24);
    error -= roundShift(error * k2, 24);
    if (error <= 0) return false;
  }
  a[0] = 4096;
  for (int i = 1; i <= kOrder; ++i) a[i] = saturate(roundShift(c[i], 12), 1 << 20);
  return true;
}

bool lpcToLsf(const Lpc a, Lsf lsf) {
  int64_t p[6], q[6];
  lsfPolynomials(a, p, q);
  int32_t pRoots[5], qRoots[5];
  if (gridRoots(p, pRoots) != 5 || gridRoots(q, qRoots) != 5) return false;
  for (int k = 0; k < 5; ++k) {
    if (!(pRoots[k] < qRoots[k]) || (k > 0 && !(qRoots[k - 1] < pRoots[k]))) return false;
  }
  for (int k = 0; k < 5; ++k) {
    lsf[2 * k] = pRoots[k];
    lsf[2 * k + 1] = qRoots[k];
  }
  return true;
}

int32_t lsfCosine(int32_t lsf) {
  if (lsf < 0) lsf = 0;
  if (lsf > kLsfPi - 1) lsf = kLsfPi - 1;
  const int32_t m = lsf >> 6;  // 64 LSF units per table step
  const int32_t fraction = lsf & 63;
  return kCosineQ15[m] + (((kCosineQ15[m + 1] - kCosineQ15[m]) * fraction) >> 6);
}

void lsfToLpc(const Lsf lsf, Lpc a) {
  int32_t pCos[5], qCos[5];
  for (int k = 0; k < 5; ++k) {
    pCos[k] = lsfCosine(lsf[2 * k]);
    qCos[k] = lsfCosine(lsf[2 * k + 1]);
  }
  int64_t p[11], q[11];
  rootProduct(pCos, p);
  rootProduct(qCos, q);
  a[0] = 4096;
  for (int i = 1; i <= kOrder; ++i) {
    const int64_t pi = p[i] + p[i - 1];  // · (1 + z^−1)
    const int64_t qi = q[i] - q[i - 1];  // · (1 − z^−1)
    a[i] = saturate(roundShift(pi + qi, 13), 1 << 20);
  }
}

void expandBandwidth(const Lpc a, const int16_t* gammaPowersQ15, Lpc out) {
  out[0] = a[0];
  for (int i = 1; i <= kOrder; ++i)
    out[i] = static_cast<int32_t>(roundShift(int64_t{a[i]} * gammaPowersQ15[i], 15));
}

// Both filters keep their coefficients and their last kOrder samples in
// locals, newest first, so that the compiler can hold them in registers
// rather than reload them for every sample (the output may alias them).

void synthesisFilter(const Lpc a, const int32_t* in, int32_t* out, int count,
                     FilterMemory memory) {
  int64_t coefficient[kOrder], past[kOrder];  // past[i] = out[n − 1 − i]
  for (int i = 0; i < kOrder; ++i) {
    coefficient[i] = a[i + 1];
    past[i] = memory[kOrder - 1 - i];
  }
  for (int n = 0; n < count; ++n) {
    // Oldest first: the newest output, which the previous sample has only
    // just given, then joins the sum last.
    int64_t acc = int64_t{in[n]} * 4096;
#pragma GCC unroll 10
    for (int i = kOrder - 1; i >= 0; --i) acc -= coefficient[i] * past[i];
    const int32_t value = saturateSignal(roundShift(acc, 12));
#pragma GCC unroll 10
    for (int i = kOrder - 1; i > 0; --i) past[i] = past[i - 1];
    past[0] = value;
    out[n] = value;
  }
  for (int i = 0; i < kOrder; ++i) memory[kOrder - 1 - i] = static_cast<int32_t>(past[i]);
}

void residualFilter(const Lpc a, const int32_t* in, int32_t* out, int count,
                    FilterMemory memory) {
  int64_t coefficient[kOrder], past[kOrder];  // past[i] = in[n − 1 − i]
  for (int i = 0; i < kOrder; ++i) {
    coefficient[i] = a[i + 1];
    past[i] = memory[kOrder - 1 - i];
  }
  for (int n = 0; n < count; ++n) {
    const int64_t now = in[n];
    int64_t acc = now * 4096;
#pragma GCC unroll 10
    for (int i = 0; i < kOrder; ++i) acc += coefficient[i] * past[i];
#pragma GCC unroll 10
    for (int i = kOrder - 1; i > 0; --i) past[i] = past[i - 1];
    past[0] = now;
    out[n] = saturateSignal(roundShift(acc, 12));
  }
  for (int i = 0; i < kOrder; ++i) memory[kOrder - 1 - i] = static_cast<int32_t>(past[i]);
}

void impulseResponse(const Lpc numerator, const Lpc denominator, int32_t* h, int count) {
  // The all-zero filter's response to a unit impulse (4096) is its own
  // coefficients, rounded and saturated as the filter would give them.
  for (int n = 0; n < count; ++n) h[n] = n <= kOrder ? saturateSignal(numerator[n]) : 0;
  FilterMemory zero = {};
  synthesisFilter(denominator, h, h, count, zero);
}

void impulseResponse(const Lpc numerator, const Lpc denominator1, const Lpc denominator2,
                     int32_t* h, int count) {
  FilterMemory zero = {};
  impulseResponse(numerator, denominator1, h, count);
  synthesisFilter(denominator2, h, h, count, zero);
}

void backwardFilter(const int32_t* target, const int32_t* h, int64_t* d) {
  for (int n = 0; n < kSubframeSamples; ++n) {
    int64_t sum = 0;
    for (int k = n; k < kSubframeSamples; ++k) sum += int64_t{target[k]} * h[k - n];
    d[n] = sum;
  }
}

void interpolateLsf(const Lsf previous, const Lsf current, int index, Lsf out) {
  const int32_t weight = index + 1;  // quarters of the current frame's LSFs
  for (int i = 0; i < kOrder; ++i)
    out[i] = (previous[i] * (4 - weight) + current[i] * weight + 2) >> 2;
}

}  // namespace zv::qv48
