// SoftExtended against the x87 unit itself.
//
// The WebAssembly build of the speech codec computes its extended-precision
// values with SoftExtended; its frames equal the native library's only if
// every operation gives the x87 bits. Here each operation runs on both, on
// edge operands (zeros of both signs, infinities, NaNs, the smallest and
// largest values, float and double subnormals, the extended format's own
// denormals) and on many random ones drawn so that ties, cancellations and
// carries are common, and the 80 bits must be identical.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "codec/speech/soft_extended.h"

#if LDBL_MANT_DIG == 64

namespace zv::extended_precision {
namespace {

struct Bits {
  std::uint16_t signExponent;
  std::uint64_t significand;
  bool operator==(const Bits&) const = default;
};

Bits bitsOf(long double x) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &x, sizeof x);
  Bits b{};
  std::memcpy(&b.significand, bytes, 8);
  std::memcpy(&b.signExponent, bytes + 8, 2);
  return b;
}

Bits bitsOf(SoftExtended x) { return {x.signExponent(), x.significand()}; }

long double hardOf(Bits b) {
  long double x = 0;
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &b.significand, 8);
  std::memcpy(bytes + 8, &b.signExponent, 2);
  std::memcpy(&x, bytes, sizeof x);
  return x;
}

SoftExtended softOf(Bits b) { return SoftExtended::fromBits(b.signExponent, b.significand); }

std::string show(Bits b) {
  char text[64];
  std::snprintf(text, sizeof text, "%04x:%016llx", b.signExponent,
                static_cast<unsigned long long>(b.significand));
  return text;
}

template <typename T>
std::uint64_t rawBits(T value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

// The x87 results come from values the compiler cannot see through, so
// every operation runs on the unit at run time.
long double opaque(long double x) {
  volatile long double v = x;
  return v;
}

Bits make(bool negative, int biased, std::uint64_t significand) {
  return {static_cast<std::uint16_t>((negative ? 0x8000 : 0) | biased), significand};
}

constexpr std::uint64_t kTop = std::uint64_t(1) << 63;

// Operands that sit on the format's edges.
std::vector<Bits> edgeOperands() {
  std::vector<Bits> v;
  for (bool negative : {false, true}) {
    v.push_back(make(negative, 0, 0));                        // zero
    v.push_back(make(negative, 0x7FFF, kTop));                // infinity
    v.push_back(make(negative, 0x7FFF, kTop | kTop >> 1));    // quiet NaN
    v.push_back(make(negative, 0x7FFF, kTop | kTop >> 1 | 0x1234));  // with a payload
    v.push_back(make(negative, 0, 1));                        // smallest denormal
    v.push_back(make(negative, 0, kTop - 1));                 // largest denormal
    v.push_back(make(negative, 1, kTop));                     // smallest normal
    v.push_back(make(negative, 0x7FFE, ~std::uint64_t(0)));   // largest finite
    v.push_back(make(negative, 16383, kTop));                 // 1
    v.push_back(make(negative, 16383, kTop | 1));             // 1 + ulp
    v.push_back(make(negative, 16383, ~std::uint64_t(0)));    // 2 − ulp
    v.push_back(make(negative, 16382, kTop | kTop >> 1));     // 0.75
    for (float f : {std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::min(),
                    std::numeric_limits<float>::max(), 1.0f / 3.0f, 16384.0f, 32767.0f})
      v.push_back(bitsOf(negative ? -static_cast<long double>(f) : static_cast<long double>(f)));
    for (double d : {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::max(), 1.0 / 3.0})
      v.push_back(bitsOf(negative ? -static_cast<long double>(d) : static_cast<long double>(d)));
  }
  return v;
}

// Random operands: a random sign, an exponent around `center`, and a
// significand that is random, sparse (a few bits, so that sums and products
// land exactly on ties) or a run of ones (so that rounding carries).
class OperandSource {
 public:
  explicit OperandSource(std::uint64_t seed) : random_(seed) {}

  Bits next(int center, int spread) {
    const bool negative = random_() & 1;
    const int biased = center + static_cast<int>(random_() % (2 * spread + 1)) - spread;
    std::uint64_t significand;
    switch (random_() % 4) {
      case 0: {
        significand = kTop;
        const int count = 1 + static_cast<int>(random_() % 3);
        for (int i = 0; i < count; ++i) significand |= std::uint64_t(1) << (random_() % 64);
        break;
      }
      case 1: {
        const int length = 1 + static_cast<int>(random_() % 63);
        significand = kTop | ((std::uint64_t(1) << length) - 1) << (random_() % (64 - length));
        break;
      }
      default: significand = random_() | kTop;
    }
    if (biased <= 0) return make(negative, 0, significand >> (1 - biased));
    if (biased >= 0x7FFF) return make(negative, 0x7FFE, significand);
    return make(negative, biased, significand);
  }

  std::uint64_t raw() { return random_(); }

 private:
  std::mt19937_64 random_;
};

enum class Operation { kAdd, kSubtract, kMultiply, kDivide };

Bits hardResult(Operation op, Bits a, Bits b) {
  const long double x = opaque(hardOf(a)), y = opaque(hardOf(b));
  switch (op) {
    case Operation::kAdd: return bitsOf(opaque(x + y));
    case Operation::kSubtract: return bitsOf(opaque(x - y));
    case Operation::kMultiply: return bitsOf(opaque(x * y));
    case Operation::kDivide: return bitsOf(opaque(x / y));
  }
  return {};
}

Bits softResult(Operation op, Bits a, Bits b) {
  const SoftExtended x = softOf(a), y = softOf(b);
  switch (op) {
    case Operation::kAdd: return bitsOf(x + y);
    case Operation::kSubtract: return bitsOf(x - y);
    case Operation::kMultiply: return bitsOf(x * y);
    case Operation::kDivide: return bitsOf(x / y);
  }
  return {};
}

const char* nameOf(Operation op) {
  switch (op) {
    case Operation::kAdd: return "+";
    case Operation::kSubtract: return "-";
    case Operation::kMultiply: return "*";
    case Operation::kDivide: return "/";
  }
  return "?";
}

constexpr Operation kOperations[] = {Operation::kAdd, Operation::kSubtract, Operation::kMultiply,
                                     Operation::kDivide};

// Checks everything one operand pair allows: the four operations, the
// comparisons, and for the first operand the square root, the conversions
// to float and double and the round trip through them. Returns the number
// of mismatches (each one reported).
int checkPair(Bits a, Bits b) {
  int mismatches = 0;
  for (Operation op : kOperations) {
    const Bits hard = hardResult(op, a, b), soft = softResult(op, a, b);
    if (hard != soft) {
      ADD_FAILURE() << show(a) << ' ' << nameOf(op) << ' ' << show(b) << ": x87 " << show(hard)
                    << ", soft " << show(soft);
      ++mismatches;
    }
  }
  const long double x = opaque(hardOf(a)), y = opaque(hardOf(b));
  const SoftExtended sx = softOf(a), sy = softOf(b);
  const bool hardCompare[] = {x == y, x != y, x < y, x <= y, x > y, x >= y};
  const bool softCompare[] = {sx == sy, sx != sy, sx < sy, sx <= sy, sx > sy, sx >= sy};
  for (int i = 0; i < 6; ++i) {
    if (hardCompare[i] != softCompare[i]) {
      ADD_FAILURE() << "comparison " << i << " of " << show(a) << " and " << show(b);
      ++mismatches;
    }
  }
  if (bitsOf(opaque(__builtin_sqrtl(x))) != bitsOf(squareRoot(sx))) {
    ADD_FAILURE() << "square root of " << show(a) << ": x87 " << show(bitsOf(__builtin_sqrtl(x)))
                  << ", soft " << show(bitsOf(squareRoot(sx)));
    ++mismatches;
  }
  const float hardFloat = static_cast<float>(x);
  const double hardDouble = static_cast<double>(x);
  if (rawBits(hardFloat) != rawBits(static_cast<float>(sx))) {
    ADD_FAILURE() << "to float of " << show(a);
    ++mismatches;
  }
  if (rawBits(hardDouble) != rawBits(static_cast<double>(sx))) {
    ADD_FAILURE() << "to double of " << show(a);
    ++mismatches;
  }
  if (bitsOf(static_cast<long double>(hardFloat)) != bitsOf(SoftExtended(hardFloat)) ||
      bitsOf(static_cast<long double>(hardDouble)) != bitsOf(SoftExtended(hardDouble))) {
    ADD_FAILURE() << "from float or double of " << show(a);
    ++mismatches;
  }
  return mismatches;
}

TEST(SoftExtended, EdgeOperandsInEveryPairing) {
  const std::vector<Bits> edges = edgeOperands();
  for (Bits a : edges)
    for (Bits b : edges) checkPair(a, b);
}

// Operands close in exponent (cancellation, ties in sums), far apart (the
// sticky bit), and around the float and double subnormal ranges (where the
// conversions round to fewer bits) and the extended format's own limits.
TEST(SoftExtended, RandomOperandsAgreeBitForBit) {
  struct Range {
    const char* what;
    int center;
    int spread;
  };
  const Range ranges[] = {
      {"near one", 16383, 3},
      {"sample scale", 16383 + 15, 20},
      {"far apart", 16383, 90},
      {"float subnormals", 16383 - 137, 14},
      {"double subnormals", 16383 - 1060, 40},
      {"extended underflow", 40, 45},
      {"extended overflow", 0x7FFE - 40, 40},
  };
  OperandSource source(20261210);
  for (const Range& r : ranges) {
    SCOPED_TRACE(r.what);
    int mismatches = 0;
    for (int i = 0; i < 40000 && mismatches < 20; ++i) {
      const Bits a = source.next(r.center, r.spread);
      // Half of the pairs share most of a's exponent, for cancellation.
      const Bits b = (i & 1) ? source.next(r.center, r.spread) : source.next(a.signExponent & 0x7FFF, 2);
      mismatches += checkPair(a, b);
    }
  }
}

// Values exactly halfway between two floats, two doubles and two extended
// values, and just beside them: the conversions and the sums must break
// ties to even, including at the edge of the subnormals.
TEST(SoftExtended, TiesRoundToEven) {
  const int floatExponents[] = {16383, 16383 + 14, 16383 - 126, 16383 - 130, 16383 - 149, 16383 - 150};
  for (int biased : floatExponents) {
    for (std::uint64_t low : {0ull, 1ull}) {
      for (std::uint64_t keep : {0x800000ull, 0x800001ull, 0xFFFFFFull}) {
        // 24 kept bits, then a 1 (the half), then zeros or a final 1.
        const std::uint64_t significand = keep << 40 | std::uint64_t(1) << 39 | low;
        for (bool negative : {false, true}) checkPair(make(negative, biased, significand), make(false, 16383, kTop));
      }
    }
  }
  for (std::uint64_t keep : {(std::uint64_t(1) << 52), (std::uint64_t(1) << 53) - 1}) {
    const std::uint64_t significand = keep << 11 | std::uint64_t(1) << 10;
    for (int biased : {16383, 16383 - 1022, 16383 - 1040}) checkPair(make(false, biased, significand), make(true, 16383, kTop));
  }
  // 1 + 2⁻⁶⁴ (a tie to even: stays 1) and 1 + 3·2⁻⁶⁴ (a tie to even: rounds up).
  const Bits one = make(false, 16383, kTop);
  const Bits halfUlp = make(false, 16383 - 64, kTop);
  const Bits threeHalfUlps = make(false, 16383 - 63, kTop | kTop >> 1);
  EXPECT_EQ(checkPair(one, halfUlp), 0);
  EXPECT_EQ(checkPair(one, threeHalfUlps), 0);
  EXPECT_EQ(bitsOf(softOf(one) + softOf(halfUlp)), one);
}

// What the codec does most: exact float operands, products of two floats
// and sums of such products, rounded back to float.
TEST(SoftExtended, FloatExpressionsAsTheCodecWritesThem) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(-32768.0f, 32768.0f);
  std::uniform_real_distribution<float> coefficient(-2.0f, 2.0f);
  int mismatches = 0;
  for (int i = 0; i < 20000 && mismatches < 20; ++i) {
    float a[10], x[10];
    for (int k = 0; k < 10; ++k) {
      a[k] = coefficient(random);
      x[k] = sample(random);
    }
    long double hard = 0;
    SoftExtended soft = 0;
    for (int k = 0; k < 10; ++k) {
      hard = opaque(hard + static_cast<long double>(a[k]) * x[k]);
      soft += static_cast<SoftExtended>(a[k]) * x[k];
    }
    const float third = static_cast<float>(opaque((2.0f * static_cast<long double>(x[0]) + x[1]) * (1.0 / 3.0)));
    const float softThird = static_cast<float>((2.0f * static_cast<SoftExtended>(x[0]) + x[1]) * SoftExtended(1.0 / 3.0));
    const float quotient = static_cast<float>(opaque(-static_cast<long double>(x[2]) / x[3]));
    const float softQuotient = static_cast<float>(-static_cast<SoftExtended>(x[2]) / x[3]);
    if (bitsOf(hard) != bitsOf(soft) || rawBits(third) != rawBits(softThird) ||
        rawBits(quotient) != rawBits(softQuotient)) {
      ADD_FAILURE() << "expression " << i;
      ++mismatches;
    }
  }
}

TEST(SoftExtended, IntegersConvertExactly) {
  for (long long v : {0ll, 1ll, -1ll, 7ll, -147ll, 32767ll, -32768ll, 2147483647ll,
                      -2147483647ll - 1, (1ll << 62) + 1, std::numeric_limits<long long>::min()}) {
    EXPECT_EQ(bitsOf(SoftExtended(v)), bitsOf(static_cast<long double>(v))) << v;
  }
  for (int v : {0, 5, -5, 2022}) EXPECT_EQ(bitsOf(SoftExtended(v)), bitsOf(static_cast<long double>(v))) << v;
}

}  // namespace
}  // namespace zv::extended_precision

#else
TEST(SoftExtended, NeedsTheX87FormatToCompareWith) { GTEST_SKIP() << "long double is not x87 here"; }
#endif
