#include "codec/speech/certified_sums.h"

#include <cmath>
#include <cstring>

#include "codec/cpu_features.h"
#if ZV_CPU_X86_64
#include <immintrin.h>
#endif

#include "codec/speech/certified_rounding.h"
#include "codec/speech/speech_constants.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

// Two lanes of doubles: one SSE2 register, available on every x86-64.
using Double2 = double __attribute__((vector_size(16)));

using Float2 = float __attribute__((vector_size(8)));

Double2 loadFloats(const float* p) {
  Float2 f;
  std::memcpy(&f, p, sizeof f);
  return __builtin_convertvector(f, Double2);
}

Double2 lanesMagnitude(Double2 v) { return v < 0 ? -v : v; }

double horizontalSum(Double2 v) { return v[0] + v[1]; }

}  // namespace

float sumOfProductsReference(const float* x, const float* y, int count) {
  Ext sum = 0;
  for (int n = 0; n < count; ++n) sum += static_cast<Ext>(x[n]) * y[n];
  return static_cast<float>(sum);
}

// The approximations come in one variant per cpu::Arch level. Lane order
// does not matter: these are approximations whose error the certificates
// bound for any order.
namespace {

double approximateDotScalar(const float* x, const float* y, int count) {
  double sum = 0.0;
  for (int n = 0; n < count; ++n) sum += static_cast<double>(x[n]) * y[n];
  return sum;
}

double approximateDotScalar(const double* x, const double* y, int count) {
  double sum = 0.0;
  for (int n = 0; n < count; ++n) sum += x[n] * y[n];
  return sum;
}

// Elements from..count−1 one by one (the whole scalar variant, and the
// tail of the vector ones).
[[gnu::always_inline]] inline bool roundEachCertain(const double* value, const double* sumBound,
                                                    float* out, int from, int count) {
  bool certain = true;
  for (int i = from; i < count; ++i) {
    certain &= roundingIsCertain(value[i], sumBound[i] + 2 * kBoundUnit * magnitude(value[i]));
    out[i] = static_cast<float>(value[i]);
  }
  return certain;
}

bool roundAllCertainScalar(const double* value, const double* sumBound, float* out, int count) {
  return roundEachCertain(value, sumBound, out, 0, count);
}

#if ZV_CPU_X86_64

// The bodies written once in four-lane vectors of doubles, compiled into
// the SSE2 variant (two registers a vector) and the AVX2 variant (one).
[[gnu::always_inline]] inline double approximateDotLanes(const double* x, const double* y,
                                                         int count) {
  Double4 sum0 = {}, sum1 = {};
  int n = 0;
  for (; n + 8 <= count; n += 8) {
    Double4 x0, y0, x1, y1;
    std::memcpy(&x0, x + n, sizeof x0);
    std::memcpy(&y0, y + n, sizeof y0);
    std::memcpy(&x1, x + n + 4, sizeof x1);
    std::memcpy(&y1, y + n + 4, sizeof y1);
    sum0 += x0 * y0;
    sum1 += x1 * y1;
  }
  const Double4 total = sum0 + sum1;
  double sum = (total[0] + total[1]) + (total[2] + total[3]);
  for (; n < count; ++n) sum += x[n] * y[n];
  return sum;
}

[[gnu::always_inline]] inline bool roundAllCertainLanes(const double* value,
                                                        const double* sumBound, float* out,
                                                        int count) {
  Int4 uncertain = {};
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    Double4 v, e;
    std::memcpy(&v, value + i, sizeof v);
    std::memcpy(&e, sumBound + i, sizeof e);
    e += 2 * kBoundUnit * (v < 0 ? -v : v);
    const Float4 low = __builtin_convertvector(v - e, Float4);
    const Float4 high = __builtin_convertvector(v + e, Float4);
    const Float4 rounded = __builtin_convertvector(v, Float4);
    uncertain |= (low != high) | (low == 0.0f);
    std::memcpy(out + i, &rounded, sizeof rounded);
  }
  bool certain = kFastPaths && (uncertain[0] | uncertain[1] | uncertain[2] | uncertain[3]) == 0;
  return roundEachCertain(value, sumBound, out, i, count) && certain;
}

// Floats converted to doubles as they are loaded: intrinsics, since the
// generic vector conversion compiles poorly.
double approximateDotSse2(const float* x, const float* y, int count) {
  __m128d sum0 = _mm_setzero_pd(), sum1 = _mm_setzero_pd();
  int n = 0;
  for (; n + 4 <= count; n += 4) {
    const __m128 x4 = _mm_loadu_ps(x + n), y4 = _mm_loadu_ps(y + n);
    sum0 = _mm_add_pd(sum0, _mm_mul_pd(_mm_cvtps_pd(x4), _mm_cvtps_pd(y4)));
    sum1 = _mm_add_pd(sum1, _mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(x4, x4)),
                                       _mm_cvtps_pd(_mm_movehl_ps(y4, y4))));
  }
  const __m128d total = _mm_add_pd(sum0, sum1);
  double sum = _mm_cvtsd_f64(total) + _mm_cvtsd_f64(_mm_unpackhi_pd(total, total));
  for (; n < count; ++n) sum += static_cast<double>(x[n]) * y[n];
  return sum;
}

ZV_TARGET_AVX2
double approximateDotAvx2(const float* x, const float* y, int count) {
  __m256d sum0 = _mm256_setzero_pd(), sum1 = _mm256_setzero_pd();
  int n = 0;
  for (; n + 8 <= count; n += 8) {
    sum0 = _mm256_add_pd(sum0, _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(x + n)),
                                             _mm256_cvtps_pd(_mm_loadu_ps(y + n))));
    sum1 = _mm256_add_pd(sum1, _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(x + n + 4)),
                                             _mm256_cvtps_pd(_mm_loadu_ps(y + n + 4))));
  }
  const __m256d total4 = _mm256_add_pd(sum0, sum1);
  const __m128d total =
      _mm_add_pd(_mm256_castpd256_pd128(total4), _mm256_extractf128_pd(total4, 1));
  double sum = _mm_cvtsd_f64(total) + _mm_cvtsd_f64(_mm_unpackhi_pd(total, total));
  for (; n < count; ++n) sum += static_cast<double>(x[n]) * y[n];
  return sum;
}

double approximateDotSse2(const double* x, const double* y, int count) {
  return approximateDotLanes(x, y, count);
}

ZV_TARGET_AVX2
double approximateDotAvx2(const double* x, const double* y, int count) {
  return approximateDotLanes(x, y, count);
}

bool roundAllCertainSse2(const double* value, const double* sumBound, float* out, int count) {
  return roundAllCertainLanes(value, sumBound, out, count);
}

ZV_TARGET_AVX2
bool roundAllCertainAvx2(const double* value, const double* sumBound, float* out, int count) {
  return roundAllCertainLanes(value, sumBound, out, count);
}

#endif  // ZV_CPU_X86_64

}  // namespace

double approximateDot(const float* x, const float* y, int count, cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) return approximateDotAvx2(x, y, count);
  if (arch == cpu::Arch::kSse2) return approximateDotSse2(x, y, count);
#endif
  (void)arch;
  return approximateDotScalar(x, y, count);
}

double approximateDot(const double* x, const double* y, int count, cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) return approximateDotAvx2(x, y, count);
  if (arch == cpu::Arch::kSse2) return approximateDotSse2(x, y, count);
#endif
  (void)arch;
  return approximateDotScalar(x, y, count);
}

bool roundAllCertain(const double* value, const double* sumBound, float* out, int count,
                     cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) return roundAllCertainAvx2(value, sumBound, out, count);
  if (arch == cpu::Arch::kSse2) return roundAllCertainSse2(value, sumBound, out, count);
#endif
  (void)arch;
  return roundAllCertainScalar(value, sumBound, out, count);
}

double cauchySchwarzSize(double squaresX, double squaresY) {
  constexpr double kSlack = 1 + 0x1p-40;
  return std::sqrt(squaresX * kSlack * (squaresY * kSlack)) * (1 + 0x1p-48);
}

float certifySumOfProducts(const float* x, const float* y, int count, double sum, double size) {
  // count roundings in each precision against the size, twice over, and
  // room for rounding sum ± bound.
  const double bound = count * kBoundUnit * size + 2 * kBoundUnit * magnitude(sum);
  if (roundingIsCertain(sum, bound)) return static_cast<float>(sum);
  return sumOfProductsReference(x, y, count);
}

float sumOfProducts(const float* x, const float* y, int count) {
  Double2 sum0 = {}, sum1 = {}, size0 = {}, size1 = {};
  int n = 0;
  for (; n + 4 <= count; n += 4) {
    const Double2 p0 = loadFloats(x + n) * loadFloats(y + n);
    const Double2 p1 = loadFloats(x + n + 2) * loadFloats(y + n + 2);
    sum0 += p0;
    sum1 += p1;
    size0 += lanesMagnitude(p0);
    size1 += lanesMagnitude(p1);
  }
  double sum = horizontalSum(sum0 + sum1);
  double size = horizontalSum(size0 + size1);
  for (; n < count; ++n) {
    const double p = static_cast<double>(x[n]) * y[n];
    sum += p;
    size += magnitude(p);
  }
  return certifySumOfProducts(x, y, count, sum, size);
}

float sumOfSquares(const float* x, int count, double& approximation, cpu::Arch arch) {
  approximation = approximateDot(x, x, count, arch);
  return certifySumOfProducts(x, x, count, approximation, approximation * (1 + 0x1p-40));
}

namespace {

// The element-wise part of multiplyAdd: every element again, in order,
// in the reference arithmetic where its certificate fails. Every element is
// rewritten, not only the uncertain ones, because in a recursion (b behind
// out) a corrected element is a later element's operand.
void multiplyAddSettle(const float* a, float x, const float* b, float* out, int count) {
  const double factor = x;
  for (int i = 0; i < count; ++i) {
    const double value = a[i] + factor * b[i];
    out[i] = roundingIsCertain(value, 2 * kBoundUnit * magnitude(value))
                 ? static_cast<float>(value)
                 : static_cast<float>(a[i] + static_cast<Ext>(x) * b[i]);
  }
}

// The scalar tail of multiplyAdd from element i; returns whether all were
// certain.
bool multiplyAddTail(const float* a, double factor, const float* b, float* out, int i, int count) {
  bool certain = true;
  for (; i < count; ++i) {
    const double value = a[i] + factor * b[i];
    certain &= roundingIsCertain(value, 2 * kBoundUnit * magnitude(value));
    out[i] = static_cast<float>(value);
  }
  return certain;
}

// One rounding of each precision: |v − V| ≤ 2·2⁻⁵²·|v| with room to spare.
// Several lanes at a time; a lane that cannot be certified (or is zero) sends
// the whole call through the element-wise check.
void multiplyAddScalar(const float* a, float x, const float* b, float* out, int count) {
  if (!multiplyAddTail(a, x, b, out, 0, count)) multiplyAddSettle(a, x, b, out, count);
}

#if ZV_CPU_X86_64

void multiplyAddSse2(const float* a, float x, const float* b, float* out, int count) {
  const double factor = x;
  const __m128d factor2 = _mm_set1_pd(factor);
  const __m128d unit = _mm_set1_pd(2 * kBoundUnit);
  const __m128d signMask = _mm_set1_pd(-0.0);
  __m128 uncertain = _mm_setzero_ps();
  int i = 0;
  for (; i + 2 <= count; i += 2) {
    const __m128d a2 = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + i))));
    const __m128d b2 = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(b + i))));
    const __m128d value = _mm_add_pd(a2, _mm_mul_pd(factor2, b2));
    const __m128d bound = _mm_mul_pd(unit, _mm_andnot_pd(signMask, value));
    const __m128 low = _mm_cvtpd_ps(_mm_sub_pd(value, bound));
    const __m128 high = _mm_cvtpd_ps(_mm_add_pd(value, bound));
    const __m128 rounded = _mm_cvtpd_ps(value);
    uncertain = _mm_or_ps(uncertain, _mm_or_ps(_mm_cmpneq_ps(low, high), _mm_cmpeq_ps(low, _mm_setzero_ps())));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_castps_si128(rounded));
  }
  // Only the two lanes that were used count.
  bool certain = kFastPaths && (_mm_movemask_ps(uncertain) & 3) == 0;
  certain &= multiplyAddTail(a, factor, b, out, i, count);
  if (!certain) multiplyAddSettle(a, x, b, out, count);
}

ZV_TARGET_AVX2
void multiplyAddAvx2(const float* a, float x, const float* b, float* out, int count) {
  const double factor = x;
  const __m256d factor4 = _mm256_set1_pd(factor);
  const __m256d unit = _mm256_set1_pd(2 * kBoundUnit);
  const __m256d signMask = _mm256_set1_pd(-0.0);
  __m128 uncertain = _mm_setzero_ps();
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d value = _mm256_add_pd(_mm256_cvtps_pd(_mm_loadu_ps(a + i)),
                                        _mm256_mul_pd(factor4, _mm256_cvtps_pd(_mm_loadu_ps(b + i))));
    const __m256d bound = _mm256_mul_pd(unit, _mm256_andnot_pd(signMask, value));
    const __m128 low = _mm256_cvtpd_ps(_mm256_sub_pd(value, bound));
    const __m128 high = _mm256_cvtpd_ps(_mm256_add_pd(value, bound));
    uncertain = _mm_or_ps(uncertain, _mm_or_ps(_mm_cmpneq_ps(low, high), _mm_cmpeq_ps(low, _mm_setzero_ps())));
    _mm_storeu_ps(out + i, _mm256_cvtpd_ps(value));
  }
  bool certain = kFastPaths && _mm_movemask_ps(uncertain) == 0;
  certain &= multiplyAddTail(a, factor, b, out, i, count);
  if (!certain) multiplyAddSettle(a, x, b, out, count);
}

#endif  // ZV_CPU_X86_64

}  // namespace

void multiplyAdd(const float* a, float x, const float* b, float* out, int count, cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) return multiplyAddAvx2(a, x, b, out, count);
  if (arch == cpu::Arch::kSse2) return multiplyAddSse2(a, x, b, out, count);
#endif
  (void)arch;
  multiplyAddScalar(a, x, b, out, count);
}

float squareOver(float c, float e) {
  // c² is exact in double; the quotient rounds once in each precision.
  const double value = static_cast<double>(c) * c / e;
  if (roundingIsCertain(value, 2 * kBoundUnit * magnitude(value))) return static_cast<float>(value);
  return static_cast<float>(static_cast<Ext>(c) * c / e);
}

float multiplyAdd(float a, float x, float b) {
  const double value = a + static_cast<double>(x) * b;
  if (roundingIsCertain(value, 2 * kBoundUnit * magnitude(value))) return static_cast<float>(value);
  return static_cast<float>(a + static_cast<Ext>(x) * b);
}

float sumOfThree(float a, float b, float c) {
  const double terms[3] = {a, b, c};
  float sum;
  if (certainSum(terms, 1.0, sum)) return sum;
  return static_cast<float>(static_cast<Ext>(a) + b + c);
}

void periodicSum(const float* v, int period, float* out, int count) {
  for (int i = 0; i < count; ++i) {
    if (i < period) out[i] = v[i];
    else if (i < 2 * period) out[i] = v[i] + v[i - period];
    else out[i] = sumOfThree(v[i], v[i - period], v[i - 2 * period]);
  }
}

float signedSum(const int* sign, const float* v, int count) {
  double sum = 0.0, size = 0.0;
  for (int k = 0; k < count; ++k) {
    const double term = sign[k] > 0 ? static_cast<double>(v[k]) : -static_cast<double>(v[k]);
    sum += term;
    size += magnitude(term);
  }
  if (roundingIsCertain(sum, count * kBoundUnit * size + 2 * kBoundUnit * magnitude(sum)))
    return static_cast<float>(sum);
  Ext reference = 0;
  for (int k = 0; k < count; ++k)
    reference += sign[k] > 0 ? static_cast<Ext>(v[k]) : -static_cast<Ext>(v[k]);
  return static_cast<float>(reference);
}

}  // namespace zv::ZV_QV80_NAMESPACE
