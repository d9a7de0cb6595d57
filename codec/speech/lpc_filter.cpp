#include "codec/speech/lpc_filter.h"

#include <cstring>
#include <new>

#include "codec/speech/certified_recursion.h"

namespace zv::qv80 {

ZV_QV80_VECTOR_CLONES
int firstUncertain(const double* value, double sumBound, int from, int n) {
  for (int i = from; i < n;) {
    // Four at a time while possible.
    if (kFastPaths && i + 4 <= n) {
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

AllPoleBlock::AllPoleBlock(const float* coefficients, const float* in, float* out, int n)
    : coefficients_(coefficients), out_(out), n_(n), coefficientSize_(0.0) {
  a_[0] = 1.0;
  for (int k = 1; k <= kLpcOrder; ++k) {
    a_[k] = coefficients[k];
    coefficientSize_ += magnitude(a_[k]);
  }
  std::memcpy(in_, in, n * sizeof(float));
  for (int k = 1; k <= kLpcOrder; ++k) w_[kLpcOrder - k] = out[-k];
}

double AllPoleBlock::sumBound() const {
  // Ten roundings of each precision over the sum against Σ|a_k|·M, M the
  // largest |out| of memory and block, twice over.
  double largest = 0.0;
  for (int i = 0; i < kLpcOrder + n_; ++i)
    largest = largest > magnitude(w_[i]) ? largest : magnitude(w_[i]);
  return 10 * kBoundUnit * coefficientSize_ * largest;
}

bool AllPoleBlock::settle(int i) {
  const float exact = allPoleSampleReference(coefficients_, in_[i], out_ + i);
  if (std::memcmp(&exact, &out_[i], sizeof exact) == 0) return false;
  out_[i] = exact;
  w_[kLpcOrder + i] = exact;
  return true;
}

void AllPoleBlock::adopt(const Double4* values, const Float4* rounded, int lane) {
  for (int i = 0; i < n_; ++i) {
    value_[i] = values[i][lane];
    out_[i] = rounded[i][lane];
    w_[kLpcOrder + i] = rounded[i][lane];
  }
}

int AllPoleBlock::certify() { return certifyRecursion(*this, 0, n_); }

void allPoleFilter(const float* coefficients, const float* in, float* out, int n) {
  AllPoleBlock block(coefficients, in, out, n);
  block.run(0, n);
  block.certify();
}

void allPoleFilters(const float* coefficients, const FilterChannel* channels, int count, int n) {
  // Lane l carries channel l (unused lanes filter zeros); the lanes' fast
  // passes run together, then each channel is certified on its own.
  AllPoleBlock* blocks[kMaxFilterChannels];
  alignas(AllPoleBlock) unsigned char storage[kMaxFilterChannels][sizeof(AllPoleBlock)];
  for (int l = 0; l < count; ++l)
    blocks[l] = new (storage[l]) AllPoleBlock(coefficients, channels[l].in, channels[l].out, n);
  double a[kLpcOrder + 1];
  for (int k = 1; k <= kLpcOrder; ++k) a[k] = coefficients[k];
  Double4 lanes[kLpcOrder + kMaxFilterLength];
  Double4 input[kMaxFilterLength];
  for (int l = 0; l < kMaxFilterChannels; ++l) {
    const bool used = l < count;
    for (int k = 1; k <= kLpcOrder; ++k) lanes[kLpcOrder - k][l] = used ? channels[l].out[-k] : 0.0;
    for (int i = 0; i < n; ++i) input[i][l] = used ? channels[l].in[i] : 0.0;
  }
  Double4 values[kMaxFilterLength];
  Float4 rounded[kMaxFilterLength];
  Double4 previous = lanes[kLpcOrder - 1];
  for (int i = 0; i < n; ++i) {
    const Double4* past = lanes + kLpcOrder + i;
    Double4 sum = a[10] * past[-10];
#pragma GCC unroll 8
    for (int k = 9; k >= 2; --k) sum += a[k] * past[-k];
    const Double4 v = (input[i] - sum) - a[1] * previous;
    const Float4 r = __builtin_convertvector(v, Float4);
    previous = __builtin_convertvector(r, Double4);
    lanes[kLpcOrder + i] = previous;
    values[i] = v;
    rounded[i] = r;
  }
  for (int l = 0; l < count; ++l) {
    blocks[l]->adopt(values, rounded, l);
    blocks[l]->certify();
  }
}

ZV_QV80_VECTOR_CLONES
void residualFilter(const float* coefficients, const float* x, float* r, int n) {
  double a[kLpcOrder + 1], size[kLpcOrder + 1];
  for (int k = 1; k <= kLpcOrder; ++k) {
    a[k] = coefficients[k];
    size[k] = magnitude(a[k]);
  }
  // Four samples at a time: Σ a_k·x[i−k] and its size Σ|a_k|·|x[i−k]| in
  // double lanes, then the certificate of each lane.
  bool certain = true;
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    Double4 sum = {}, total = {};
    for (int k = kLpcOrder; k >= 1; --k) {
      Float4 past;
      std::memcpy(&past, x + i - k, sizeof past);
      const Double4 p = __builtin_convertvector(past, Double4);
      sum += a[k] * p;
      total += size[k] * (p < 0 ? -p : p);
    }
    Float4 current;
    std::memcpy(&current, x + i, sizeof current);
    const Double4 value = __builtin_convertvector(current, Double4) + sum;
    const Double4 bound = 10 * kBoundUnit * total + 4 * kBoundUnit * (value < 0 ? -value : value);
    const Float4 low = __builtin_convertvector(value - bound, Float4);
    const Float4 high = __builtin_convertvector(value + bound, Float4);
    const Int4 uncertain = (low != high) | (low == 0.0f);
    certain &= kFastPaths && (uncertain[0] | uncertain[1] | uncertain[2] | uncertain[3]) == 0;
    const Float4 rounded = __builtin_convertvector(value, Float4);
    std::memcpy(r + i, &rounded, sizeof rounded);
  }
  for (; i < n; ++i) {
    double sum = 0.0, total = 0.0;
    for (int k = kLpcOrder; k >= 1; --k) {
      sum += a[k] * x[i - k];
      total += size[k] * magnitude(x[i - k]);
    }
    const double value = x[i] + sum;
    certain &= roundingIsCertain(value, 10 * kBoundUnit * total + 4 * kBoundUnit * magnitude(value));
    r[i] = static_cast<float>(value);
  }
  if (certain) return;
  // Some sample could not be certified: every sample again, one by one.
  for (i = 0; i < n; ++i) {
    double sum = 0.0, total = 0.0;
    for (int k = kLpcOrder; k >= 1; --k) {
      sum += a[k] * x[i - k];
      total += size[k] * magnitude(x[i - k]);
    }
    const double value = x[i] + sum;
    if (!roundingIsCertain(value, 10 * kBoundUnit * total + 4 * kBoundUnit * magnitude(value)))
      r[i] = static_cast<float>(x[i] + pastSum(coefficients, x + i));
  }
}

}  // namespace zv::qv80
