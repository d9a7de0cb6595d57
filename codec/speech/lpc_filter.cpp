#include "codec/speech/lpc_filter.h"

#include <cstring>
#include <new>
#if ZV_CPU_X86_64
#include <immintrin.h>
#endif

#include "codec/speech/certified_recursion.h"

namespace zv::ZV_QV80_NAMESPACE {

namespace {

// One sample's certificate (see certified_recursion.h).
bool sampleIsCertain(double value, double sumBound) {
  return roundingIsCertain(value, sumBound + 4 * kBoundUnit * magnitude(value));
}

int firstUncertainScalar(const double* value, double sumBound, int from, int n) {
  for (int i = from; i < n; ++i)
    if (!sampleIsCertain(value[i], sumBound)) return i;
  return n;
}

#if ZV_CPU_X86_64

// Four samples at a time while all four are certain, then one by one; the
// SSE2 and AVX2 variants compile this body.
[[gnu::always_inline]] inline int firstUncertainLanes(const double* value, double sumBound,
                                                      int from, int n) {
  for (int i = from; i < n;) {
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
    if (!sampleIsCertain(value[i], sumBound)) return i;
    ++i;
  }
  return n;
}

// The fast passes of up to four channels together, channel l in lane l:
// lanes[0..9] hold the memories, lanes[10 + i] receives out[i] as a double;
// values[i] and rounded[i] the pre-rounding values and their floats.
[[gnu::always_inline]] inline void allPoleLanePass(const double* a, const Double4* input,
                                                   Double4* lanes, Double4* values,
                                                   Float4* rounded, int n) {
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
}

int firstUncertainSse2(const double* value, double sumBound, int from, int n) {
  return firstUncertainLanes(value, sumBound, from, n);
}

ZV_TARGET_AVX2
int firstUncertainAvx2(const double* value, double sumBound, int from, int n) {
  return firstUncertainLanes(value, sumBound, from, n);
}

void allPoleLanePassSse2(const double* a, const Double4* input, Double4* lanes, Double4* values,
                         Float4* rounded, int n) {
  allPoleLanePass(a, input, lanes, values, rounded, n);
}

ZV_TARGET_AVX2
void allPoleLanePassAvx2(const double* a, const Double4* input, Double4* lanes, Double4* values,
                         Float4* rounded, int n) {
  allPoleLanePass(a, input, lanes, values, rounded, n);
}

#endif  // ZV_CPU_X86_64

}  // namespace

int firstUncertain(const double* value, double sumBound, int from, int n, cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) return firstUncertainAvx2(value, sumBound, from, n);
  if (arch == cpu::Arch::kSse2) return firstUncertainSse2(value, sumBound, from, n);
#endif
  (void)arch;
  return firstUncertainScalar(value, sumBound, from, n);
}

AllPoleBlock::AllPoleBlock(const float* coefficients, const float* in, float* out, int n,
                           cpu::Arch arch)
    : coefficients_(coefficients), out_(out), n_(n), arch_(arch), coefficient_size_(0.0) {
  a_[0] = 1.0;
  for (int k = 1; k <= kLpcOrder; ++k) {
    a_[k] = coefficients[k];
    coefficient_size_ += magnitude(a_[k]);
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
  return 10 * kBoundUnit * coefficient_size_ * largest;
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

int AllPoleBlock::certify() { return certifyRecursion(*this, 0, n_, arch_); }

void allPoleFilter(const float* coefficients, const float* in, float* out, int n, cpu::Arch arch) {
  AllPoleBlock block(coefficients, in, out, n, arch);
  block.run(0, n);
  block.certify();
}

void allPoleFilters(const float* coefficients, const FilterChannel* channels, int count, int n,
                    cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch != cpu::Arch::kScalar) {
    // Lane l carries channel l (unused lanes filter zeros); the lanes' fast
    // passes run together, then each channel is certified on its own.
    AllPoleBlock* blocks[kMaxFilterChannels];
    alignas(AllPoleBlock) unsigned char storage[kMaxFilterChannels][sizeof(AllPoleBlock)];
    for (int l = 0; l < count; ++l)
      blocks[l] = new (storage[l]) AllPoleBlock(coefficients, channels[l].in, channels[l].out, n, arch);
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
    if (arch == cpu::Arch::kAvx2) allPoleLanePassAvx2(a, input, lanes, values, rounded, n);
    else allPoleLanePassSse2(a, input, lanes, values, rounded, n);
    for (int l = 0; l < count; ++l) {
      blocks[l]->adopt(values, rounded, l);
      blocks[l]->certify();
    }
    return;
  }
#endif
  // One channel after the other.
  for (int l = 0; l < count; ++l) allPoleFilter(coefficients, channels[l].in, channels[l].out, n, arch);
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

#if ZV_CPU_X86_64

// Four samples at a time (AVX2): Σ a_k·x[i−k] and its size in double lanes,
// then the certificate of each lane. Returns the first sample it did not
// take (the caller finishes one by one) and whether all it took were
// certain.
ZV_TARGET_AVX2
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

#endif  // ZV_CPU_X86_64

}  // namespace

// The residual has an AVX2 variant only: below AVX2 it runs sample by
// sample.
void residualFilter(const float* coefficients, const float* x, float* r, int n, cpu::Arch arch) {
  double a[kLpcOrder + 1], size[kLpcOrder + 1];
  for (int k = 1; k <= kLpcOrder; ++k) {
    a[k] = coefficients[k];
    size[k] = magnitude(a[k]);
  }
  bool certain = true;
  int i = 0;
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) i = residualAvx2(a, size, x, r, n, certain);
#endif
  (void)arch;
  for (; i < n; ++i) certain &= residualSample(a, size, x, i, r[i]);
  if (certain) return;
  // Some sample could not be certified: every sample again, one by one.
  for (i = 0; i < n; ++i) {
    float fast;
    if (!residualSample(a, size, x, i, fast))
      r[i] = static_cast<float>(x[i] + pastSum(coefficients, x + i));
  }
}

}  // namespace zv::ZV_QV80_NAMESPACE
