// The all-pole filter 1/A(z) that both sides run many times a subframe:
//
//     out[i] = in[i] − Σ_{k=1..10} a_k·out[i − k]
//
// Reference arithmetic: the Σ is one extended-precision accumulator that
// starts at 0 and adds the products for k = 1..10 in ascending order; the
// difference is taken in extended precision and out[i] is that value rounded
// to float. The caller supplies the ten samples before out[0] (the filter
// memory, or zeros for a zero-state response).
//
// The filter runs on the certified fast path (certified_rounding.h,
// ARITHMETIC.md). A fast pass runs the recursion in double, oldest term
// first so that the newest output enters last and each sample waits only
// for one multiply-add on the one before; it keeps every pre-rounding value
// v. A vectorised check then certifies all samples at once with the bound
//     |v − V| ≤ 10·2⁻⁵²·Σ|a_k|·M + 4·2⁻⁵²·|v|,
// M the largest |out| of the memory and the block, which is at least every
// |out[i−k]|: ten roundings of each precision over the sum, one of each for
// the difference, a factor two to spare. A sample that cannot be certified
// is recomputed in the reference arithmetic; if that changes it, the fast
// pass runs again from the next sample.
#ifndef ZV_QV80_LPC_FILTER_H
#define ZV_QV80_LPC_FILTER_H

#include "codec/speech/certified_rounding.h"
#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// Σ_{k=1..10} a[k]·x[−k] in extended precision, from 0, k ascending.
inline Ext pastSum(const float* a, const float* x) {
  Ext sum = 0;
  sum += static_cast<Ext>(a[1]) * x[-1];
  sum += static_cast<Ext>(a[2]) * x[-2];
  sum += static_cast<Ext>(a[3]) * x[-3];
  sum += static_cast<Ext>(a[4]) * x[-4];
  sum += static_cast<Ext>(a[5]) * x[-5];
  sum += static_cast<Ext>(a[6]) * x[-6];
  sum += static_cast<Ext>(a[7]) * x[-7];
  sum += static_cast<Ext>(a[8]) * x[-8];
  sum += static_cast<Ext>(a[9]) * x[-9];
  sum += static_cast<Ext>(a[10]) * x[-10];
  return sum;
}

// One output of the filter in the reference arithmetic.
inline float allPoleSampleReference(const float* a, float in, const float* out) {
  return static_cast<float>(in - pastSum(a, out));
}

// The longest block the filters take (one subframe).
constexpr int kMaxFilterLength = kMaxSubframeLength;

// One block of the all-pole filter on the certified fast path, for callers
// that interleave its fast pass with other work: construct, call step(i)
// for i = 0..n−1, then certify().
class AllPoleBlock {
 public:
  // `out[−10..−1]` is the memory; `in` is copied (it may be `out`). `arch`
  // is the kernel level of the calling instance.
  AllPoleBlock(const float* coefficients, const float* in, float* out, int n, cpu::Arch arch);

  // The fast pass for sample i, given out[i − 1] (as a double, so that a
  // caller's loop keeps it in a register); returns out[i] as a double.
  double step(int i, double previous) {
    const double* past = w_ + kLpcOrder + i;  // past[−k] = out[i − k]
    double sum = a_[10] * past[-10];
#pragma GCC unroll 8
    for (int k = 9; k >= 2; --k) sum += a_[k] * past[-k];
    // The newest output enters last: the recursion waits for one multiply
    // and one subtraction (the extra rounding of in − sum is within the
    // bound's margin).
    const double v = (in_[i] - sum) - a_[1] * previous;
    const float rounded = static_cast<float>(v);
    value_[i] = v;
    out_[i] = rounded;
    w_[kLpcOrder + i] = rounded;
    return rounded;
  }

  // out[i − 1] as a double (the memory for i = 0).
  double previous(int i) const { return w_[kLpcOrder + i - 1]; }

  // The outputs as doubles, out[−10..n−1] (valid for the samples computed).
  const double* outputs() const { return w_ + kLpcOrder; }

  // Takes a fast pass computed elsewhere in vector lanes: lane `lane` of
  // the values and of their roundings, for every sample.
  void adopt(const Double4* values, const Float4* rounded, int lane);

  // Certifies the block (see certified_recursion.h); returns the first
  // output that changed, or n.
  int certify();

  // The certifyRecursion interface.
  const double* values() const { return value_; }
  double sumBound() const;
  bool settle(int i);
  void run(int from, int n) {
    double last = from < n ? previous(from) : 0.0;
    for (int i = from; i < n; ++i) last = step(i, last);
  }

 private:
  const float* coefficients_;
  float* out_;
  int n_;
  cpu::Arch arch_;
  double a_[kLpcOrder + 1];
  double coefficient_size_;                   // Σ|a_k|
  float in_[kMaxFilterLength];
  double w_[kLpcOrder + kMaxFilterLength];   // outputs as doubles, memory in front
  double value_[kMaxFilterLength];           // pre-rounding values of the fast pass
};

// out[i] = in[i] − Σ a_k·out[i−k] for i = 0..n−1 (n ≤ 56); out[−10..−1] must
// hold the filter memory. `in` and `out` may be the same buffer. The results
// are the reference's bit for bit.
void allPoleFilter(const float* coefficients, const float* in, float* out, int n, cpu::Arch arch);

// One signal of allPoleFilters: `in[0..n)` filtered into `out[0..n)`, with the
// ten samples before out[0] as its memory.
struct FilterChannel {
  const float* in;
  float* out;
};

// Up to four independent signals through the same filter at once (their
// recursions overlap in vector lanes); each result is the reference's.
constexpr int kMaxFilterChannels = 4;
void allPoleFilters(const float* coefficients, const FilterChannel* channels, int count, int n,
                    cpu::Arch arch);

// The inverse filter A(z) with the past taken from the same signal:
//     r[i] = x[i] + Σ_{k=1..10} a_k·x[i − k],   i = 0..n−1,
// x[−10..−1] the samples before x[0]. Reference: x[i] plus the extended Σ
// from 0, k ascending, rounded to float. Certified as allPoleFilter, with
// the size Σ|a_k·x[i−k]| itself.
void residualFilter(const float* coefficients, const float* x, float* r, int n, cpu::Arch arch);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_LPC_FILTER_H
