// The extended-precision type `Ext` of the speech codec's reference
// arithmetic (see ARITHMETIC.md).
//
// Every value the codec stores is defined as computed with a 64-bit
// significand (the x87 extended format: round to nearest even on every
// operation, 15-bit exponent) and rounded to float once. Where `long double`
// is that format (x86-64 Linux), `Ext` is `long double`: the significand is
// what is checked, not the size, because IEEE quad also takes 16 bytes.
//
// A build where `long double` is not the x87 format (WebAssembly, AArch64)
// must supply an `Ext` that rounds every operation to a 64-bit significand
// exactly as x87 does, or its frames differ from everyone else's. That type
// is selected here and nowhere else: soft_extended.h defines the class
// zv::extended_precision::SoftExtended with
//   - exact construction from int, float and double;
//   - + − × ÷ with another Ext, a float or an int on either side, unary −,
//     += and the comparisons, each operation rounded once to 64 bits;
//   - explicit conversion to float and to double, rounded once, as x87 does;
//   - squareRoot(SoftExtended), correctly rounded to 64 bits.
#ifndef ZV_QV80_EXTENDED_PRECISION_H
#define ZV_QV80_EXTENDED_PRECISION_H

#include <cfloat>

#if LDBL_MANT_DIG == 64

namespace zv::extended_precision {
using Ext = long double;
inline Ext squareRoot(Ext x) { return __builtin_sqrtl(x); }
// Ext operations are the processor's own (a few cycles each).
inline constexpr bool kHardwareExt = true;
}  // namespace zv::extended_precision

#else

#include "codec/speech/soft_extended.h"

namespace zv::extended_precision {
using Ext = SoftExtended;
inline constexpr bool kHardwareExt = false;
}  // namespace zv::extended_precision

#endif

#endif  // ZV_QV80_EXTENDED_PRECISION_H
