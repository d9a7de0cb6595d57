#include "codec/speech/certified_sums.h"

#include <cmath>
#include <cstring>

#include "codec/speech/certified_rounding.h"
#include "codec/speech/speech_constants.h"

namespace zv::qv80 {
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
  Ext sum = 0.0L;
  for (int n = 0; n < count; ++n) sum += static_cast<Ext>(x[n]) * y[n];
  return static_cast<float>(sum);
}

// The approximations run four lanes wide; on processors with AVX2 the
// compiler's AVX2 clone does that in one register, elsewhere in two SSE2
// registers. Lane order does not matter: these are approximations whose
// error the certificates bound for any order.
ZV_QV80_VECTOR_CLONES
double approximateDot(const float* x, const float* y, int count) {
  Double4 sum0 = {}, sum1 = {};
  int n = 0;
  for (; n + 8 <= count; n += 8) {
    Float4 x0, y0, x1, y1;
    std::memcpy(&x0, x + n, sizeof x0);
    std::memcpy(&y0, y + n, sizeof y0);
    std::memcpy(&x1, x + n + 4, sizeof x1);
    std::memcpy(&y1, y + n + 4, sizeof y1);
    sum0 += __builtin_convertvector(x0, Double4) * __builtin_convertvector(y0, Double4);
    sum1 += __builtin_convertvector(x1, Double4) * __builtin_convertvector(y1, Double4);
  }
  const Double4 total = sum0 + sum1;
  double sum = (total[0] + total[1]) + (total[2] + total[3]);
  for (; n < count; ++n) sum += static_cast<double>(x[n]) * y[n];
  return sum;
}

ZV_QV80_VECTOR_CLONES
double approximateDot(const double* x, const double* y, int count) {
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

ZV_QV80_VECTOR_CLONES
bool roundAllCertain(const double* value, const double* sumBound, float* out, int count) {
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
  for (; i < count; ++i) {
    certain &= roundingIsCertain(value[i], sumBound[i] + 2 * kBoundUnit * magnitude(value[i]));
    out[i] = static_cast<float>(value[i]);
  }
  return certain;
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

float sumOfSquares(const float* x, int count, double& approximation) {
  approximation = approximateDot(x, x, count);
  return certifySumOfProducts(x, x, count, approximation, approximation * (1 + 0x1p-40));
}

ZV_QV80_VECTOR_CLONES
void multiplyAdd(const float* a, float x, const float* b, float* out, int count) {
  // One rounding of each precision: |v − V| ≤ 2·2⁻⁵²·|v| with room to spare.
  // Four lanes at a time; a lane that cannot be certified (or is zero) sends
  // the whole call through the element-wise check below.
  const double factor = x;
  const Double4 factor4 = {factor, factor, factor, factor};
  Int4 uncertain = {};
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    Float4 a4, b4;
    std::memcpy(&a4, a + i, sizeof a4);
    std::memcpy(&b4, b + i, sizeof b4);
    const Double4 value =
        __builtin_convertvector(a4, Double4) + factor4 * __builtin_convertvector(b4, Double4);
    const Double4 bound = 2 * kBoundUnit * (value < 0 ? -value : value);
    const Float4 low = __builtin_convertvector(value - bound, Float4);
    const Float4 high = __builtin_convertvector(value + bound, Float4);
    const Float4 rounded = __builtin_convertvector(value, Float4);
    uncertain |= (low != high) | (low == 0.0f);
    std::memcpy(out + i, &rounded, sizeof rounded);
  }
  bool certain = kFastPaths && (uncertain[0] | uncertain[1] | uncertain[2] | uncertain[3]) == 0;
  for (; i < count; ++i) {
    const double value = a[i] + factor * b[i];
    certain &= roundingIsCertain(value, 2 * kBoundUnit * magnitude(value));
    out[i] = static_cast<float>(value);
  }
  if (certain) return;
  for (i = 0; i < count; ++i) {
    const double value = a[i] + factor * b[i];
    if (!roundingIsCertain(value, 2 * kBoundUnit * magnitude(value)))
      out[i] = static_cast<float>(a[i] + static_cast<Ext>(x) * b[i]);
  }
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
  // Two roundings of each precision against |a| + |b| + |c|.
  const double value = (static_cast<double>(a) + b) + c;
  const double size = magnitude(a) + magnitude(b) + magnitude(c);
  if (roundingIsCertain(value, 3 * kBoundUnit * size + 2 * kBoundUnit * magnitude(value)))
    return static_cast<float>(value);
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
  Ext reference = 0.0L;
  for (int k = 0; k < count; ++k)
    reference += sign[k] > 0 ? static_cast<Ext>(v[k]) : -static_cast<Ext>(v[k]);
  return static_cast<float>(reference);
}

}  // namespace zv::qv80
