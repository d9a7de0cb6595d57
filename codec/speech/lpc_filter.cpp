#include "codec/speech/lpc_filter.h"

#include <cstring>
#include <immintrin.h>
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

ZV_QV80_VECTOR_CLONES
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

namespace {

// The residual of one sample with its certificate: v = x[i] + Σ a_k·x[i−k]
// and the bound 10·2⁻⁵²·Σ|a_k·x[i−k]| + 4·2⁻⁵²·|v|.
bool residualSample(const double* a, const double* size, const float* x, int i, float& r) {
  double sum = 0.0, total = 0.0;
  for (int k = kLpcOrder; k >= 1; --k) {
    sum += a[k] * x[i - k];
    total += size[k] * magnitude(x[i - k]);
  }
  const double value = x[i] + sum;
  r = static_cast<float>(value);
  return roundingIsCertain(value, 10 * kBoundUnit * total + 4 * kBoundUnit * magnitude(value));
}

// Four samples at a time (AVX2): Σ a_k·x[i−k] and its size in double lanes,
// then the certificate of each lane. Returns the first sample it did not
// take (the caller finishes one by one) and whether all it took were
// certain.
ZV_QV80_AVX2
int residualAvx2(const double* a, const double* size, const float* x, float* r, int n,
                 bool& certain) {
  const __m256d signMask = _mm256_set1_pd(-0.0);
  const __m256d sumUnit = _mm256_set1_pd(10 * kBoundUnit);
  const __m256d valueUnit = _mm256_set1_pd(4 * kBoundUnit);
  __m128 uncertain = _mm_setzero_ps();
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m256d sum = _mm256_setzero_pd(), total = _mm256_setzero_pd();
    for (int k = kLpcOrder; k >= 1; --k) {
      const __m256d past = _mm256_cvtps_pd(_mm_loadu_ps(x + i - k));
      sum = _mm256_add_pd(sum, _mm256_mul_pd(_mm256_set1_pd(a[k]), past));
      total = _mm256_add_pd(total, _mm256_mul_pd(_mm256_set1_pd(size[k]), _mm256_andnot_pd(signMask, past)));
    }
    const __m256d value = _mm256_add_pd(_mm256_cvtps_pd(_mm_loadu_ps(x + i)), sum);
    const __m256d bound = _mm256_add_pd(_mm256_mul_pd(sumUnit, total),
                                        _mm256_mul_pd(valueUnit, _mm256_andnot_pd(signMask, value)));
    const __m128 low = _mm256_cvtpd_ps(_mm256_sub_pd(value, bound));
    const __m128 high = _mm256_cvtpd_ps(_mm256_add_pd(value, bound));
    uncertain = _mm_or_ps(uncertain, _mm_or_ps(_mm_cmpneq_ps(low, high), _mm_cmpeq_ps(low, _mm_setzero_ps())));
    _mm_storeu_ps(r + i, _mm256_cvtpd_ps(value));
  }
  certain = kFastPaths && _mm_movemask_ps(uncertain) == 0;
  return i;
}

}  // namespace

void residualFilter(const float* coefficients, const float* x, float* r, int n) {
  double a[kLpcOrder + 1], size[kLpcOrder + 1];
  for (int k = 1; k <= kLpcOrder; ++k) {
    a[k] = coefficients[k];
    size[k] = magnitude(a[k]);
  }
  bool certain = true;
  int i = hasAvx2() ? residualAvx2(a, size, x, r, n, certain) : 0;
  for (; i < n; ++i) certain &= residualSample(a, size, x, i, r[i]);
  if (certain) return;
  // Some sample could not be certified: every sample again, one by one.
  for (i = 0; i < n; ++i) {
    float fast;
    if (!residualSample(a, size, x, i, fast))
      r[i] = static_cast<float>(x[i] + pastSum(coefficients, x + i));
  }
}

}  // namespace zv::qv80
