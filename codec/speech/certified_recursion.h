// Certified fast path for recursions: out[i] depends on earlier outputs
// (see ARITHMETIC.md).
//
// A fast pass runs the recursion in double, each output rounded to float as
// soon as it is computed (the next samples use the rounded value, as the
// reference does), and keeps every pre-rounding value v[i]. The whole block
// is then certified at once with bounds of the form
//     |v[i] − V[i]| ≤ B + 4·2⁻⁵²·|v[i]|,
// B a per-block bound on the sums' errors. A sample that cannot be certified
// is recomputed in the reference arithmetic; if that changes it, the fast
// pass runs again from the next sample, whose inputs have changed.
#ifndef ZV_QV80_CERTIFIED_RECURSION_H
#define ZV_QV80_CERTIFIED_RECURSION_H

#include "codec/speech/certified_rounding.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// The first i in from..n−1 for which value[i] ± (sumBound + 4·2⁻⁵²·|value[i]|)
// do not round to the same non-zero float, or n.
// (One variant per cpu::Arch level.)
int firstUncertain(const double* value, double sumBound, int from, int n, cpu::Arch arch);

// Certifies samples from..n−1 of `recursion`, whose fast pass has run over
// them. Recursion provides:
//   const double* values() const   the pre-rounding values of the fast pass
//   double sumBound() const        B for the block as it stands
//   bool settle(int i)             recomputes sample i in the reference
//                                  arithmetic; true when that changed it
//   void run(int from, int n)      the fast pass over from..n−1
// Returns the first sample that the certification changed, or n. `arch` is
// the kernel level of the calling instance.
template <typename Recursion>
int certifyRecursion(Recursion& recursion, int from, int n, cpu::Arch arch) {
  int firstChanged = n;
  while (from < n) {
    const double sumBound = recursion.sumBound();
    int i = firstUncertain(recursion.values(), sumBound, from, n, arch);
    from = n;
    while (i < n) {
      if (recursion.settle(i)) {
        if (i < firstChanged) firstChanged = i;
        from = i + 1;
        recursion.run(from, n);
        break;
      }
      i = firstUncertain(recursion.values(), sumBound, i + 1, n, arch);
    }
  }
  return firstChanged;
}

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_CERTIFIED_RECURSION_H
