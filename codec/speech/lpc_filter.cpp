#include "codec/speech/lpc_filter.h"

#include <cstring>

namespace zv::qv80 {
namespace {

// The fast pass from sample `from` on: value[i] = in[i] − Σ a_k·w[i−k] in
// double, out[i] = (float)value[i]; w holds the outputs as doubles, with the
// ten memory samples in front.
void fastAllPole(const double* a, const float* in, double* w, double* value, float* out, int from,
                 int n) {
  double newest = w[kLpcOrder + from - 1];
  for (int i = from; i < n; ++i) {
    const double* past = w + kLpcOrder + i;  // past[−k] = out[i − k]
    double sum = a[10] * past[-10];
#pragma GCC unroll 8
    for (int k = 9; k >= 2; --k) sum += a[k] * past[-k];
    sum += a[1] * newest;
    const double v = in[i] - sum;
    const float rounded = static_cast<float>(v);
    value[i] = v;
    out[i] = rounded;
    newest = rounded;
    w[kLpcOrder + i] = newest;
  }
}

// The first sample at or after `from` whose rounding is not certain, or n.
ZV_QV80_VECTOR_CLONES
int firstUncertain(const double* value, double sumBound, int from, int n) {
  for (int i = from; i < n;) {
    // Four at a time while possible.
    if (i + 4 <= n) {
      Double4 v;
      std::memcpy(&v, value + i, sizeof v);
      const Double4 bound = sumBound + 4 * kBoundUnit * (v < 0 ? -v : v);
      const Float4 low = __builtin_convertvector(v - bound, Float4);
      const Float4 high = __builtin_convertvector(v + bound, Float4);
      const Int4 uncertain = (low != high) | (low == 0.0f);
      if ((uncertain[0] | uncertain[1] | uncertain[2] | uncertain[3]) == 0) {
        i += 4;
        continue;
      }
    }
    const double bound = sumBound + 4 * kBoundUnit * magnitude(value[i]);
    if (!roundingIsCertain(value[i], bound)) return i;
    ++i;
  }
  return n;
}


// Certifies out[from..n) of one channel whose fast pass left `value` and `w`,
// recomputing uncertain samples in the reference arithmetic and running the
// fast pass again after any sample that changes.
void verifyAllPole(const float* coefficients, const double* a, double coefficientSize,
                   const float* in, double* w, double* value, float* out, int from, int n) {
  while (from < n) {
    double largest = 0.0;
    for (int i = 0; i < kLpcOrder + n; ++i)
      largest = largest > magnitude(w[i]) ? largest : magnitude(w[i]);
    const double sumBound = 10 * kBoundUnit * coefficientSize * largest;
    int j = firstUncertain(value, sumBound, from, n);
    from = n;
    while (j < n) {
      const float exact = allPoleSampleReference(coefficients, in[j], out + j);
      if (std::memcmp(&exact, &out[j], sizeof exact) != 0) {
        out[j] = exact;
        w[kLpcOrder + j] = exact;
        from = j + 1;  // the samples after it depend on it: run again
        fastAllPole(a, in, w, value, out, from, n);
        break;
      }
      j = firstUncertain(value, sumBound, j + 1, n);
    }
  }
}

struct Coefficients {
  double a[kLpcOrder + 1];
  double size = 0.0;  // Σ|a_k|
  explicit Coefficients(const float* coefficients) {
    a[0] = 1.0;
    for (int k = 1; k <= kLpcOrder; ++k) {
      a[k] = coefficients[k];
      size += magnitude(a[k]);
    }
  }
};

}  // namespace

void allPoleFilter(const float* coefficients, const float* input, float* out, int n) {
  const Coefficients c(coefficients);
  // The input is copied: `in` may be `out`, and a repeated fast pass reads it
  // again.
  float in[kMaxFilterLength];
  std::memcpy(in, input, n * sizeof(float));
  double w[kLpcOrder + kMaxFilterLength];
  for (int k = 1; k <= kLpcOrder; ++k) w[kLpcOrder - k] = out[-k];
  double value[kMaxFilterLength];
  fastAllPole(c.a, in, w, value, out, 0, n);
  verifyAllPole(coefficients, c.a, c.size, in, w, value, out, 0, n);
}

void allPoleFilters(const float* coefficients, const FilterChannel* channels, int count, int n) {
  const Coefficients c(coefficients);
  float in[kMaxFilterChannels][kMaxFilterLength];
  double w[kMaxFilterChannels][kLpcOrder + kMaxFilterLength];
  double value[kMaxFilterChannels][kMaxFilterLength];
  // Lane l carries channel l; unused lanes filter zeros.
  Double4 lanes[kLpcOrder + kMaxFilterLength];
  Double4 input[kMaxFilterLength];
  for (int l = 0; l < kMaxFilterChannels; ++l) {
    const bool used = l < count;
    if (used) std::memcpy(in[l], channels[l].in, n * sizeof(float));
    for (int k = 1; k <= kLpcOrder; ++k) {
      w[l][kLpcOrder - k] = used ? channels[l].out[-k] : 0.0;
      lanes[kLpcOrder - k][l] = w[l][kLpcOrder - k];
    }
    for (int i = 0; i < n; ++i) input[i][l] = used ? in[l][i] : 0.0;
  }
  // The fast pass of all lanes together, as fastAllPole does for one.
  for (int i = 0; i < n; ++i) {
    const Double4* past = lanes + kLpcOrder + i;
    Double4 sum = c.a[10] * past[-10];
#pragma GCC unroll 8
    for (int k = 9; k >= 2; --k) sum += c.a[k] * past[-k];
    sum += c.a[1] * past[-1];
    const Double4 v = input[i] - sum;
    const Float4 rounded = __builtin_convertvector(v, Float4);
    lanes[kLpcOrder + i] = __builtin_convertvector(rounded, Double4);
    for (int l = 0; l < count; ++l) {
      value[l][i] = v[l];
      channels[l].out[i] = rounded[l];
      w[l][kLpcOrder + i] = rounded[l];
    }
  }
  for (int l = 0; l < count; ++l)
    verifyAllPole(coefficients, c.a, c.size, in[l], w[l], value[l], channels[l].out, 0, n);
}

void residualFilter(const float* coefficients, const float* x, float* r, int n) {
  double a[kLpcOrder + 1], size[kLpcOrder + 1];
  for (int k = 1; k <= kLpcOrder; ++k) {
    a[k] = coefficients[k];
    size[k] = magnitude(a[k]);
  }
  for (int i = 0; i < n; ++i) {
    double sum = 0.0, total = 0.0;
#pragma GCC unroll 10
    for (int k = kLpcOrder; k >= 1; --k) {
      const double past = x[i - k];
      sum += a[k] * past;
      total += size[k] * magnitude(past);
    }
    const double value = x[i] + sum;
    const double bound = 10 * kBoundUnit * total + 4 * kBoundUnit * magnitude(value);
    r[i] = roundingIsCertain(value, bound) ? static_cast<float>(value)
                                           : static_cast<float>(x[i] + pastSum(coefficients, x + i));
  }
}

}  // namespace zv::qv80
