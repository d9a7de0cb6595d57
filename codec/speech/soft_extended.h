// SoftExtended: the x87 extended format (64-bit significand, 15-bit
// exponent) in software, for builds where `long double` is something else
// (WebAssembly, AArch64). extended_precision.h selects it there.
//
// Every operation gives the bits the x87 unit gives in its default mode
// (64-bit precision, round to nearest even):
//   - construction from int, float and double is exact;
//   - + − × ÷ and squareRoot are rounded once from the exact result, with
//     the format's gradual underflow below 2⁻¹⁶³⁸² and overflow to infinity;
//   - conversion to float and to double rounds once, straight from the
//     64-bit significand (no double rounding), into the target's subnormals;
//   - zeros keep their signs as x87 does (x − x is +0, −0 + −0 is −0);
//   - an invalid operation (∞ − ∞, 0·∞, 0/0, ∞/∞, √−x) gives the "real
//     indefinite" NaN (negative, quiet, significand 0xC000000000000000);
//     a NaN operand is passed on quieted, the larger significand of two;
//   - comparisons are IEEE comparisons: NaN is unordered, −0 equals +0.
//
// The value is kept in the x87 memory layout: a 64-bit significand with an
// explicit integer bit and a 16-bit sign-and-biased-exponent word, so a test
// can compare it bit for bit with a real `long double`.
//
// Arithmetic works on unpacked values m·2^e with m a 64-bit significand
// whose top bit is set, and on exact intermediate results in unsigned
// 128-bit integers. Where an exact result needs more than 128 bits (an
// addition of far-apart operands, a quotient), the bits below keep only a
// "sticky" 1 in bit 0 of a result at least two bits wider than the rounding
// point: an odd number is never a rounding boundary nor a tie there, so the
// rounding is that of the exact value.
#ifndef ZV_QV80_SOFT_EXTENDED_H
#define ZV_QV80_SOFT_EXTENDED_H

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace zv::extended_precision {

namespace soft_extended_detail {

using U128 = unsigned __int128;

// A binary floating-point format: `precision` significand bits, normal
// exponents (of the leading bit) minExponent..maxExponent.
struct Format {
  int precision;
  int minExponent;
  int maxExponent;
};
inline constexpr Format kExtended{64, -16382, 16383};
inline constexpr Format kDouble{53, -1022, 1023};
inline constexpr Format kFloat{24, -126, 127};

inline int bitLength(U128 x) {
  const std::uint64_t high = static_cast<std::uint64_t>(x >> 64);
  if (high) return 128 - __builtin_clzll(high);
  const std::uint64_t low = static_cast<std::uint64_t>(x);
  return low ? 64 - __builtin_clzll(low) : 0;
}

// A finite value rounded to a format: significand·2^lsbExponent, with the
// significand below 2^precision (below 2^(precision−1) for a subnormal, 0 for
// a zero), or an overflow to infinity.
struct Rounded {
  std::uint64_t significand;
  int lsbExponent;
  bool overflow;
};

// The high and low halves of x·2^n, 0 ≤ n < 128, the bits above 2¹²⁸ lost.
// (Shifts of unsigned __int128 by a variable count are library calls in
// WebAssembly; these are a few 64-bit operations.)
inline void shiftLeft(U128 x, int n, std::uint64_t& high, std::uint64_t& low) {
  const std::uint64_t h = static_cast<std::uint64_t>(x >> 64);
  const std::uint64_t l = static_cast<std::uint64_t>(x);
  if (n == 0) {
    high = h;
    low = l;
  } else if (n < 64) {
    high = (h << n) | (l >> (64 - n));
    low = l << n;
  } else {
    high = l << (n - 64);
    low = 0;
  }
}

// v·2^n, 0 ≤ n < 64, exactly (the same, for a 64-bit value).
inline U128 widenedShiftLeft(std::uint64_t v, int n) {
  const std::uint64_t high = n == 0 ? 0 : v >> (64 - n);
  return (U128(high) << 64) | (v << n);
}

// roundTo for results below the format's normal range: subnormals and
// values that round to zero. (The computation holds for every result; the
// normal ones take the shorter one in roundTo.)
[[gnu::noinline]] inline Rounded roundToSubnormal(U128 s, int e, Format format) {
  const int msbExponent = e + bitLength(s) - 1;
  int lsbExponent = msbExponent - (format.precision - 1);
  const int subnormalLsb = format.minExponent - (format.precision - 1);
  if (lsbExponent < subnormalLsb) lsbExponent = subnormalLsb;
  const int shift = lsbExponent - e;
  U128 q;
  if (shift <= 0) {
    q = s << -shift;  // exact: fewer than `precision` bits after the shift
  } else if (shift > 128) {
    q = 0;  // below half the smallest step: rounds to zero
  } else {
    q = shift == 128 ? 0 : s >> shift;
    const U128 rest = shift == 128 ? s : s & ((U128(1) << shift) - 1);
    const U128 half = U128(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1))) ++q;
  }
  if (q >> format.precision) {  // rounding carried into a new leading bit
    q >>= 1;
    ++lsbExponent;
  }
  const bool overflow = q != 0 && lsbExponent + bitLength(q) - 1 > format.maxExponent;
  return {static_cast<std::uint64_t>(q), lsbExponent, overflow};
}

// Rounds s·2^e (s > 0 exact, or carrying a sticky bit at least two bits
// below the rounding point) to nearest, ties to even, in `format`.
[[gnu::always_inline]] inline Rounded roundTo(U128 s, int e, Format format) {
  const int length = bitLength(s);
  const int msbExponent = e + length - 1;
  if (msbExponent >= format.minExponent) {
    // A normal result: s moved up to fill 128 bits, the significand is its
    // top `precision` bits and the rest decides the rounding.
    std::uint64_t high, low;
    shiftLeft(s, 128 - length, high, low);
    const int dropped = 64 - format.precision;  // bits of `high` below the significand
    std::uint64_t q = high >> dropped;
    bool above, tie;
    if (dropped == 0) {
      above = low > (std::uint64_t(1) << 63);
      tie = low == (std::uint64_t(1) << 63);
    } else {
      const std::uint64_t rest = high & ((std::uint64_t(1) << dropped) - 1);
      const std::uint64_t half = std::uint64_t(1) << (dropped - 1);
      above = rest > half || (rest == half && low != 0);
      tie = rest == half && low == 0;
    }
    int top = msbExponent;
    if (above || (tie && (q & 1))) {
      ++q;
      if (format.precision == 64 ? q == 0 : (q >> format.precision) != 0) {
        q = std::uint64_t(1) << (format.precision - 1);  // carried into a new leading bit
        ++top;
      }
    }
    return {q, top - (format.precision - 1), top > format.maxExponent};
  }
  return roundToSubnormal(s, e, format);
}

}  // namespace soft_extended_detail

class SoftExtended {
 public:
  // +0.
  constexpr SoftExtended() = default;

  // Exact, as the x87 load instructions are.
  template <typename Integer, std::enable_if_t<std::is_integral_v<Integer>, int> = 0>
  SoftExtended(Integer value) {  // NOLINT: implicit, like the built-in conversion
    const bool negative = value < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (magnitude != 0) *this = finite(negative, magnitude, 0);
    else sign_exponent_ = 0;
  }
  SoftExtended(float value) {  // NOLINT
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    fromBinary(bits >> 31, (bits >> 23) & 0xFF, bits & 0x7FFFFF, soft_extended_detail::kFloat);
  }
  SoftExtended(double value) {  // NOLINT
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    fromBinary(static_cast<unsigned>(bits >> 63), static_cast<unsigned>((bits >> 52) & 0x7FF),
               bits & ((std::uint64_t(1) << 52) - 1), soft_extended_detail::kDouble);
  }

  // The value in the x87 layout: bit 15 of signExponent() is the sign, bits
  // 0..14 the biased exponent; significand() has the explicit integer bit.
  static SoftExtended fromBits(std::uint16_t signExponent, std::uint64_t significand) {
    SoftExtended x;
    x.sign_exponent_ = signExponent;
    x.significand_ = significand;
    return x;
  }
  std::uint16_t signExponent() const { return sign_exponent_; }
  std::uint64_t significand() const { return significand_; }

  explicit operator float() const {
    std::uint64_t fraction;
    unsigned biased;
    toBinary(soft_extended_detail::kFloat, fraction, biased);
    const std::uint32_t bits = (negative() ? 0x80000000u : 0u) | (biased << 23) |
                               static_cast<std::uint32_t>(fraction);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  explicit operator double() const {
    std::uint64_t fraction;
    unsigned biased;
    toBinary(soft_extended_detail::kDouble, fraction, biased);
    const std::uint64_t bits =
        (negative() ? std::uint64_t(1) << 63 : 0) | (std::uint64_t(biased) << 52) | fraction;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // Changes the sign only, of zeros and NaNs too (FCHS).
  SoftExtended operator-() const { return fromBits(sign_exponent_ ^ 0x8000, significand_); }
  SoftExtended operator+() const { return *this; }

  friend SoftExtended operator+(SoftExtended a, SoftExtended b) { return add(a, b); }
  friend SoftExtended operator-(SoftExtended a, SoftExtended b) {
    // A NaN operand passes through with its own sign: only numbers negate.
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    return add(a, -b);
  }
  friend SoftExtended operator*(SoftExtended a, SoftExtended b) { return multiply(a, b); }
  friend SoftExtended operator/(SoftExtended a, SoftExtended b) { return divide(a, b); }
  SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
  SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
  SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
  SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

  friend bool operator==(SoftExtended a, SoftExtended b) { return compare(a, b) == kEqual; }
  friend bool operator!=(SoftExtended a, SoftExtended b) { return compare(a, b) != kEqual; }
  friend bool operator<(SoftExtended a, SoftExtended b) { return compare(a, b) == kLess; }
  friend bool operator>(SoftExtended a, SoftExtended b) { return compare(a, b) == kGreater; }
  friend bool operator<=(SoftExtended a, SoftExtended b) {
    const int c = compare(a, b);
    return c == kLess || c == kEqual;
  }
  friend bool operator>=(SoftExtended a, SoftExtended b) {
    const int c = compare(a, b);
    return c == kGreater || c == kEqual;
  }

  friend SoftExtended squareRoot(SoftExtended x) { return squareRootOf(x); }

 private:
  using U128 = soft_extended_detail::U128;
  static constexpr int kBias = 16383;
  static constexpr std::uint16_t kMaxBiased = 0x7FFF;
  static constexpr std::uint64_t kIntegerBit = std::uint64_t(1) << 63;
  static constexpr std::uint64_t kQuietBit = std::uint64_t(1) << 62;
  enum { kLess, kEqual, kGreater, kUnordered };

  // The parts of a finite non-zero value: significand·2^exponent with the
  // significand's top bit set.
  struct Unpacked {
    bool negative;
    int exponent;
    std::uint64_t significand;
  };

  bool negative() const { return sign_exponent_ & 0x8000; }
  unsigned biased() const { return sign_exponent_ & kMaxBiased; }
  bool isNaN() const { return biased() == kMaxBiased && (significand_ << 1) != 0; }
  bool isInfinity() const { return biased() == kMaxBiased && (significand_ << 1) == 0; }
  bool isZero() const { return biased() == 0 && significand_ == 0; }

  Unpacked unpack() const {
    Unpacked u{negative(), 0, significand_};
    // Denormals (biased exponent 0) have the scale of biased exponent 1.
    int exponent = (biased() == 0 ? 1 : static_cast<int>(biased())) - kBias - 63;
    const int leadingZeros = __builtin_clzll(significand_);
    u.significand = significand_ << leadingZeros;
    u.exponent = exponent - leadingZeros;
    return u;
  }

  static SoftExtended zero(bool negative) { return fromBits(negative ? 0x8000 : 0, 0); }
  static SoftExtended infinity(bool negative) {
    return fromBits((negative ? 0x8000 : 0) | kMaxBiased, kIntegerBit);
  }
  // The x87 "real indefinite".
  static SoftExtended defaultNaN() { return fromBits(0x8000 | kMaxBiased, kIntegerBit | kQuietBit); }

  // A NaN operand, quieted; of two, the one with the larger significand, or
  // the positive one when the significands are equal.
  static SoftExtended propagateNaN(SoftExtended a, SoftExtended b) {
    a.significand_ |= a.isNaN() ? kQuietBit : 0;
    b.significand_ |= b.isNaN() ? kQuietBit : 0;
    if (!a.isNaN()) return b;
    if (!b.isNaN()) return a;
    if (a.significand_ != b.significand_) return a.significand_ > b.significand_ ? a : b;
    return a.negative() ? b : a;
  }

  // Rounds negative ? −s·2^e : s·2^e (s > 0) to the extended format.
  static SoftExtended finite(bool negative, U128 s, int e) {
    const soft_extended_detail::Rounded r = roundTo(s, e, soft_extended_detail::kExtended);
    if (r.overflow) return infinity(negative);
    if (r.significand == 0) return zero(negative);
    const bool normal = r.significand & kIntegerBit;
    const int biasedExponent = normal ? r.lsbExponent + 63 + kBias : 0;
    return fromBits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | biasedExponent),
                    r.significand);
  }

  // From a binary32/binary64 layout (exact: every such value fits).
  void fromBinary(unsigned sign, unsigned biasedExponent, std::uint64_t fraction,
                  soft_extended_detail::Format format) {
    const int fractionBits = format.precision - 1;
    const unsigned maxBiased = static_cast<unsigned>(2 * format.maxExponent + 1);
    const std::uint16_t signBit = sign ? 0x8000 : 0;
    if (biasedExponent == maxBiased) {
      // Infinity, or a NaN whose payload moves to the top, made quiet.
      const std::uint64_t payload = fraction << (63 - fractionBits);
      *this = fromBits(signBit | kMaxBiased,
                       kIntegerBit | (fraction ? payload | kQuietBit : 0));
      return;
    }
    if (biasedExponent == 0 && fraction == 0) {
      *this = zero(sign);
      return;
    }
    const int scale = biasedExponent == 0 ? 1 : static_cast<int>(biasedExponent);
    const std::uint64_t significand =
        biasedExponent == 0 ? fraction : fraction | (std::uint64_t(1) << fractionBits);
    *this = finite(sign, significand, scale - format.maxExponent - fractionBits);
  }

  // To a binary32/binary64 layout: the fraction field and biased exponent.
  void toBinary(soft_extended_detail::Format format, std::uint64_t& fraction,
                unsigned& biasedExponent) const {
    const int fractionBits = format.precision - 1;
    const std::uint64_t fractionMask = (std::uint64_t(1) << fractionBits) - 1;
    const unsigned maxBiased = static_cast<unsigned>(2 * format.maxExponent + 1);
    if (isNaN()) {
      biasedExponent = maxBiased;
      fraction = ((significand_ >> (63 - fractionBits)) & fractionMask) |
                 (std::uint64_t(1) << (fractionBits - 1));
      return;
    }
    if (isInfinity()) {
      biasedExponent = maxBiased;
      fraction = 0;
      return;
    }
    if (isZero()) {
      biasedExponent = 0;
      fraction = 0;
      return;
    }
    const Unpacked u = unpack();
    const soft_extended_detail::Rounded r = roundTo(u.significand, u.exponent, format);
    if (r.overflow) {
      biasedExponent = maxBiased;
      fraction = 0;
    } else if (r.significand >> fractionBits) {
      biasedExponent = static_cast<unsigned>(r.lsbExponent + fractionBits + format.maxExponent);
      fraction = r.significand & fractionMask;
    } else {
      biasedExponent = 0;  // subnormal or zero
      fraction = r.significand;
    }
  }

  static SoftExtended add(SoftExtended a, SoftExtended b) {
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    if (a.isInfinity() || b.isInfinity()) {
      if (a.isInfinity() && b.isInfinity() && a.negative() != b.negative()) return defaultNaN();
      return a.isInfinity() ? a : b;
    }
    if (a.isZero() || b.isZero()) {
      if (a.isZero() && b.isZero()) return zero(a.negative() && b.negative());
      return a.isZero() ? b : a;
    }
    Unpacked x = a.unpack();
    Unpacked y = b.unpack();
    if (x.exponent < y.exponent) std::swap(x, y);
    // x's significand with its top bit at bit 125; y's aligned below it.
    const int distance = x.exponent - y.exponent;
    const U128 big = U128(x.significand) << 62;
    U128 small;
    if (distance <= 62) {
      small = soft_extended_detail::widenedShiftLeft(y.significand, 62 - distance);
    } else if (distance - 62 < 64) {
      const int shift = distance - 62;
      small = U128(y.significand >> shift) |
              ((y.significand & ((std::uint64_t(1) << shift) - 1)) != 0);
    } else {
      small = 1;  // only the sticky bit is left of y
    }
    const int e = x.exponent - 62;
    if (x.negative == y.negative) return finite(x.negative, big + small, e);
    if (big == small) return zero(false);
    return big > small ? finite(x.negative, big - small, e) : finite(y.negative, small - big, e);
  }

  static SoftExtended multiply(SoftExtended a, SoftExtended b) {
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    const bool negative = a.negative() != b.negative();
    if (a.isInfinity() || b.isInfinity()) {
      if (a.isZero() || b.isZero()) return defaultNaN();
      return infinity(negative);
    }
    if (a.isZero() || b.isZero()) return zero(negative);
    const Unpacked x = a.unpack();
    const Unpacked y = b.unpack();
    return finite(negative, U128(x.significand) * y.significand, x.exponent + y.exponent);
  }

  static SoftExtended divide(SoftExtended a, SoftExtended b) {
    if (a.isNaN() || b.isNaN()) return propagateNaN(a, b);
    const bool negative = a.negative() != b.negative();
    if (a.isInfinity()) return b.isInfinity() ? defaultNaN() : infinity(negative);
    if (b.isInfinity()) return zero(negative);
    if (b.isZero()) return a.isZero() ? defaultNaN() : infinity(negative);
    if (a.isZero()) return zero(negative);
    const Unpacked x = a.unpack();
    const Unpacked y = b.unpack();
    // floor(4·2⁶⁴·mx/my) has 66 or 67 bits; a non-zero remainder is sticky.
    const U128 numerator = U128(x.significand) << 64;
    const U128 quotient = numerator / y.significand;
    const U128 remainder4 = (numerator % y.significand) << 2;
    U128 s = (quotient << 2) | (remainder4 / y.significand);
    if (remainder4 % y.significand) s |= 1;
    return finite(negative, s, x.exponent - y.exponent - 66);
  }

  static SoftExtended squareRootOf(SoftExtended x) {
    if (x.isNaN()) return propagateNaN(x, x);
    if (x.isZero()) return x;
    if (x.negative()) return defaultNaN();
    if (x.isInfinity()) return x;
    const Unpacked u = x.unpack();
    // n = m·2^k in [2¹²⁶, 2¹²⁸) with e − k even, so √x = √n·2^((e−k)/2) and
    // r = ⌊√n⌋ has exactly 64 bits.
    const int k = (u.exponent & 1) ? 63 : 64;
    U128 n = U128(u.significand) << k;
    U128 root = 0;
    for (U128 bit = U128(1) << 126; bit != 0; bit >>= 2) {
      if (n >= root + bit) {
        n -= root + bit;
        root = (root >> 1) + bit;
      } else {
        root >>= 1;
      }
    }
    // n now holds the remainder n − r²; √n > r + ½ exactly when it exceeds r
    // (it cannot equal r + ¼). The result lies far inside the exponent range.
    if (n > root) ++root;
    return finite(false, root, (u.exponent - k) / 2);
  }

  static int compare(SoftExtended a, SoftExtended b) {
    if (a.isNaN() || b.isNaN()) return kUnordered;
    if (a.isZero() && b.isZero()) return kEqual;
    // Canonical encodings order like sign-magnitude integers.
    const U128 magnitudeA = (U128(a.biased()) << 64) | a.significand_;
    const U128 magnitudeB = (U128(b.biased()) << 64) | b.significand_;
    if (a.negative() != b.negative()) return a.negative() ? kLess : kGreater;
    if (magnitudeA == magnitudeB) return kEqual;
    return (magnitudeA < magnitudeB) != a.negative() ? kLess : kGreater;
  }

  std::uint64_t significand_ = 0;
  std::uint16_t sign_exponent_ = 0;
};

// Declared here too, so that `using extended_precision::squareRoot` finds it.
SoftExtended squareRoot(SoftExtended x);

}  // namespace zv::extended_precision

#endif  // ZV_QV80_SOFT_EXTENDED_H
