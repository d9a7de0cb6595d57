// The extended type the build selected (extended_precision.h), whatever it
// is on this target: x87 `long double` on x86-64, SoftExtended where
// `long double` is IEEE quad (AArch64, WebAssembly). Every operation must
// round to a 64-bit significand, neither more nor less: sums whose exact
// value needs more bits land, after one more rounding to float, on the
// other side of a float midpoint when the precision is 53 (double) or 113
// (quad) bits.
#include <gtest/gtest.h>

#include "codec/speech/extended_precision.h"

namespace zv::extended_precision {
namespace {

struct ThreeTermCase {
  const char* name;
  float a, b, c;  // (a + b) + c in Ext, then to float
  float expected;
};

// 1 + 2^-24 is the float midpoint between 1 and 1 + 2^-23.
const ThreeTermCase kCases[] = {
    // 2^-60 is within 64 bits of 1: above the midpoint, rounds up. A 53-bit
    // sum drops it and ties to 1.
    {"kept by 64 bits, lost by 53", 1.0f, 0x1p-24f, 0x1p-60f, 1.0f + 0x1p-23f},
    // 2^-70 is beyond 64 bits: the sum is the midpoint itself, ties to even.
    // A 113-bit sum keeps it and rounds up.
    {"lost by 64 bits, kept by 113", 1.0f, 0x1p-24f, 0x1p-70f, 1.0f},
    // The same on the negative side.
    {"negative side, lost by 64 bits", -1.0f, -0x1p-24f, -0x1p-70f, -1.0f},
    // Half an Ext ulp of 1 exactly (2^-64): a tie in Ext, to even (down), and
    // then the float midpoint again, to even. 113 bits keep it and round up.
    {"tie in Ext itself", 1.0f + 0x1p-23f, -0x1p-24f, 0x1p-64f, 1.0f},
};

TEST(ExtendedPrecision, EverySumRoundsToA64BitSignificand) {
  for (const ThreeTermCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const Ext sum = (Ext(c.a) + Ext(c.b)) + Ext(c.c);
    EXPECT_EQ(static_cast<float>(sum), c.expected);
  }
}

TEST(ExtendedPrecision, ProductsAndQuotientsRoundTo64BitsToo) {
  // x^4 with x = 1 + 2^-20 is 1 + 4·2^-20 + 6·2^-40 + 4·2^-60 + 2^-80: 64 bits
  // drop only the 2^-80 (113 bits keep it, 53 bits drop the 4·2^-60 too), and
  // taking the known terms off again is exact. The results are the x87 unit's.
  const Ext x(1.0f + 0x1p-20f);
  const Ext power = ((x * x) * x) * x;
  const Ext rest = (((power - Ext(1)) - Ext(4 * 0x1p-20f)) - Ext(6 * 0x1p-40f)) - Ext(4 * 0x1p-60f);
  EXPECT_EQ(static_cast<double>(rest), 0.0);
  // 1 / (1 + 2^-23) = 1 - 2^-23 + 2^-46 - 2^-69 + ...: 64 bits end at the
  // 2^-46 term (113 bits keep -2^-69).
  const Ext quotient = Ext(1) / Ext(1.0f + 0x1p-23f);
  EXPECT_EQ(static_cast<double>(((quotient - Ext(1)) + Ext(0x1p-23f)) - Ext(0x1p-46f)), 0.0);
}

}  // namespace
}  // namespace zv::extended_precision
