// Integer helpers of the codec: saturation, rounding shifts, dot products, 2^x, an integer
// square root and a comparison of ratios x²/y that cannot overflow.
#ifndef ZV_QV48_FIXED_POINT_H
#define ZV_QV48_FIXED_POINT_H

#include <cstdint>

#include "codec/speech48/lowrate_constants.h"
#include "codec/speech48/tables.h"

namespace zv::qv48 {

inline int32_t saturate(int64_t value, int32_t limit) {
  if (value > limit - 1) return limit - 1;
  if (value < -limit) return -limit;
  return static_cast<int32_t>(value);
}

inline int32_t saturateSignal(int64_t value) { return saturate(value, kSignalLimit); }

// value / 2^shift rounded half up (shift ≥ 1); right shifts of negative
// values are arithmetic on every target the codec is built for.
inline int64_t roundShift(int64_t value, int shift) {
  return (value + (int64_t{1} << (shift - 1))) >> shift;
}

// Σ x[n]·y[n].
inline int64_t dot(const int32_t* x, const int32_t* y, int count) {
  int64_t sum = 0;
  for (int n = 0; n < count; ++n) sum += int64_t{x[n]} * y[n];
  return sum;
}

// 2^(logQ10 / 1024) for logQ10 in 0..kLogGainMaxQ10, rounded to an integer:
// the table gives 2^(k/32) in Q14, the rest of the fraction is interpolated.
inline int32_t pow2Q10(int32_t logQ10) {
  const int32_t whole = logQ10 >> 10;
  const int32_t fraction = logQ10 & 1023;
  const int32_t k = fraction >> 5;
  const int32_t rest = fraction & 31;
  const int64_t mantissaQ14 =
      kPow2Q14[k] + (((kPow2Q14[k + 1] - kPow2Q14[k]) * rest + 16) >> 5);
  return static_cast<int32_t>(roundShift(mantissaQ14 << whole, 14));
}

// floor(√value), bit by bit.
inline uint32_t squareRoot(uint64_t value) {
  if (value == 0) return 0;
  uint64_t root = 0;
  // The highest even power of two not above value: where the digits start.
  uint64_t bit = uint64_t{1} << ((63 - __builtin_clzll(value)) & ~1);
  while (bit != 0) {
    if (value >= root + bit) {
      value -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<uint32_t>(root);
}

// Division by one divisor of 2^14..2^15 of many dividends below 2^34 in
// magnitude, exactly as the / operator divides (truncating towards zero),
// by a multiplication: floor(2^44/d)/2^44 underestimates 1/d by less than
// 2^−44 (and the product stays below 2^64), so the quotient it gives is the
// true one or one less, and one comparison settles which.
class ExactDivisor {
 public:
  explicit ExactDivisor(int32_t divisor)
      : divisor_(static_cast<uint64_t>(divisor)), reciprocal_((uint64_t{1} << 44) / divisor_) {}

  int64_t divide(int64_t dividend) const {
    const uint64_t magnitude =
        dividend < 0 ? uint64_t{0} - static_cast<uint64_t>(dividend) : static_cast<uint64_t>(dividend);
    uint64_t quotient = (magnitude * reciprocal_) >> 44;
    if ((quotient + 1) * divisor_ <= magnitude) ++quotient;
    const auto value = static_cast<int64_t>(quotient);
    return dividend < 0 ? -value : value;
  }

 private:
  uint64_t divisor_;
  uint64_t reciprocal_;
};

// A number m·2^e with m in [2^30, 2^31) (or zero), to compare ratios such as
// correlation²/energy whose exact products would overflow 64 bits.
struct Scaled {
  int64_t mantissa = 0;
  int exponent = 0;
};

inline Scaled scaled(int64_t value) {  // value ≥ 0
  Scaled s;
  if (value <= 0) return s;
  int e = 0;
  while (value >= (int64_t{1} << 31)) {
    value >>= 1;
    ++e;
  }
  while (value < (int64_t{1} << 30)) {
    value <<= 1;
    --e;
  }
  s.mantissa = value;
  s.exponent = e;
  return s;
}

// c²/energy as a Scaled (c ≥ 0, energy > 0).
inline Scaled squareOver(int64_t c, int64_t energy) {
  const Scaled a = scaled(c);
  const Scaled b = scaled(energy);
  if (a.mantissa == 0 || b.mantissa == 0) return Scaled{};
  // (a.m² / b.m) lies in [2^29, 2^32): shift it back into [2^30, 2^31).
  int64_t q = (a.mantissa * a.mantissa) / b.mantissa;
  int e = 2 * a.exponent - b.exponent;
  while (q >= (int64_t{1} << 31)) {
    q >>= 1;
    ++e;
  }
  while (q < (int64_t{1} << 30)) {
    q <<= 1;
    --e;
  }
  return Scaled{q, e};
}

// a > b.
inline bool greater(const Scaled& a, const Scaled& b) {
  if (a.mantissa == 0) return false;
  if (b.mantissa == 0) return true;
  if (a.exponent != b.exponent) return a.exponent > b.exponent;
  return a.mantissa > b.mantissa;
}

}  // namespace zv::qv48

#endif  // ZV_QV48_FIXED_POINT_H
