// Exact float results through a double-precision fast path. The model, the
// certificate rule and every kernel's margin are written down in
// ARITHMETIC.md beside this file; read it before changing a kernel.
//
// The codec's reference arithmetic computes each stored value V in x87
// extended precision (64-bit significand) from float operands and rounds it
// to float once: the stored value is RN24(V). Extended-precision operations
// are slow on current processors, above all in recursions, where every
// sample waits for the previous one.
//
// The fast path computes an approximation v of V in double precision
// together with a bound e ≥ |v − V| that follows from the standard error
// bounds of floating-point summation (products of two floats are exact in
// both formats; a sum of n terms carries at most n roundings of relative size
// 2⁻⁵³ in double and 2⁻⁶⁴ in extended precision, relative to Σ|terms|).
// Rounding to float is monotone, so whenever v − e and v + e round to the
// same float, V rounds to it too: that float is bit for bit the reference's
// value. Otherwise, and whenever the result is zero (so that the sign of a
// zero is also the reference's) or not a number, the value is recomputed in
// extended precision exactly as the reference does. The fast path therefore
// never changes a result; it only decides, with proof, when the slow path is
// unnecessary.
#ifndef ZV_QV80_CERTIFIED_ROUNDING_H
#define ZV_QV80_CERTIFIED_ROUNDING_H

#include "codec/cpu_features.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// The reference build (ZV_QV80_REFERENCE_ARITHMETIC, used by the tests)
// certifies nothing, so every value takes the extended-precision path: the
// straightforward arithmetic that the fast path must reproduce bit for bit.
#ifdef ZV_QV80_REFERENCE_ARITHMETIC
constexpr bool kFastPaths = false;
#else
constexpr bool kFastPaths = true;
#endif

// 2⁻⁵²: twice the unit roundoff of double precision. Bounds below are
// multiples of it, so they carry a factor of at least two over the exact
// error terms, which also covers the roundings in computing v ± e and e.
constexpr double kBoundUnit = 0x1p-52;

// True when every value within `bound` of `approx` rounds to the same
// non-zero float, which is then (float)approx.
inline bool roundingIsCertain(double approx, double bound) {
  if (!kFastPaths) return false;
  const float low = static_cast<float>(approx - bound);
  const float high = static_cast<float>(approx + bound);
  return low == high && low != 0.0f;
}

// |x| (clears the sign bit; no branch).
inline double magnitude(double x) { return __builtin_fabs(x); }

// Vector lanes for the approximations: four doubles (one AVX register, or
// two SSE2 registers), four floats, and the masks their comparisons give.
using Double4 = double __attribute__((vector_size(32)));
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));

// The kernels that loop over vectors (this one, approximateDot and
// multiplyAdd in certified_sums.h, the filters of lpc_filter.h and
// firstUncertain) come in one variant per cpu::Arch level (scalar, SSE2,
// AVX2) and take the level of the calling instance, chosen when it was
// opened: `arch`. The variants differ only in the order of the
// double-precision approximations, which the certificates allow, so all
// give the reference's floats.

// Rounds value[i] to float into out[i] for i = 0..count−1 and reports
// whether every element was certain with the bound sumBound[i] +
// 2·2⁻⁵²·|value[i]| (as in roundingIsCertain). The caller recomputes the
// uncertain elements in the reference arithmetic.
bool roundAllCertain(const double* value, const double* sumBound, float* out, int count,
                     cpu::Arch arch);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_CERTIFIED_ROUNDING_H
