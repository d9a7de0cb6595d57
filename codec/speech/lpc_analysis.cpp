#include "codec/speech/lpc_analysis.h"

#include "codec/speech/certified_sums.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {
constexpr float kWhiteNoiseCorrection = 1.0001f;
}

void windowedAutocorrelation(const float segment[kWindowLength], float r[kLpcOrder + 1],
                             cpu::Arch arch) {
  float x[kWindowLength];
  for (int n = 0; n < kWindowLength / 2; ++n) {
    // Products of two floats: float arithmetic rounds them as the reference
    // (double-rounding lemma, ARITHMETIC.md).
    x[n] = segment[n] * kHammingHalf[n];
    x[kWindowLength - 1 - n] = segment[kWindowLength - 1 - n] * kHammingHalf[n];
  }
  // r[0] is a sum of squares; by Cauchy–Schwarz every Σ|x[n]·x[n+k]| is at
  // most r[0], which bounds the other sums.
  double energy;
  r[0] = sumOfSquares(x, kWindowLength, energy, arch);
  const double size = cauchySchwarzSize(energy, energy);
  for (int k = 1; k <= kLpcOrder; ++k) {
    const int count = kWindowLength - k;
    r[k] = certifySumOfProducts(x, x + k, count, approximateDot(x, x + k, count, arch), size);
  }
}

void schurRecursion(const float r[kLpcOrder + 1], float k[kLpcOrder + 1]) {
  float u[kLpcOrder + 1];
  float v[kLpcOrder + 1];
  for (int m = 0; m <= kLpcOrder; ++m) u[m] = v[m] = r[m];
  k[0] = 0.0f;
  for (int i = 1; i <= kLpcOrder; ++i) {
    if (u[0] <= 0.0f) {
      k[i] = 0.0f;
      u[0] = 0.0f;
      continue;
    }
    const float ki = static_cast<float>(-static_cast<Ext>(v[1]) / u[0]);
    k[i] = ki;
    u[0] = static_cast<float>(u[0] + static_cast<Ext>(ki) * v[1]);
    // Both updates read the values from before this step: v[m + 1] is not
    // yet overwritten when m is processed in ascending order.
    for (int m = 1; m <= kLpcOrder - i; ++m) {
      const float vNext = v[m + 1];
      const float uOld = u[m];
      v[m] = static_cast<float>(vNext + static_cast<Ext>(ki) * uOld);
      u[m] = static_cast<float>(uOld + static_cast<Ext>(ki) * vNext);
    }
  }
}

void stepUp(const float k[kLpcOrder + 1], Lpc& lpc) {
  float* a = lpc.a;
  a[0] = 1.0f;
  for (int i = 1; i <= kLpcOrder; ++i) {
    // a_j ← a_j + k_i·a_{i−j}, j = 1..i−1, in pairs from the old values.
    for (int j = 1; j <= i / 2; ++j) {
      const float low = a[j];
      const float high = a[i - j];
      a[j] = static_cast<float>(low + static_cast<Ext>(k[i]) * high);
      if (i - j != j) a[i - j] = static_cast<float>(high + static_cast<Ext>(k[i]) * low);
    }
    a[i] = k[i];
  }
}

bool analyseLpc(const float segment[kWindowLength], Lpc& lpc, cpu::Arch arch) {
  float r[kLpcOrder + 1];
  windowedAutocorrelation(segment, r, arch);
  if (r[0] == 0.0f) return false;
  r[0] = r[0] * kWhiteNoiseCorrection;
  float k[kLpcOrder + 1];
  schurRecursion(r, k);
  stepUp(k, lpc);
  return true;
}

}  // namespace zv::ZV_QV80_NAMESPACE
