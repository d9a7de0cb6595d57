// The all-pole filter 1/A(z) that both sides run many times a subframe:
//
//     out[i] = in[i] − Σ_{k=1..10} a_k·out[i − k]
//
// The Σ is one extended-precision accumulator over k = 1..10 in ascending
// order; out[i] is rounded to float when stored. The caller supplies the ten
// samples before out[0] (the filter memory, or zeros for a zero-state
// response), so every output sample has the same sum of ten products.
//
// The sum starts with the k = 1 product instead of an explicit 0: the two
// differ only in the sign of an all-zero sum, which changes no result that
// either side stores except the sign of a zero sample, and no decision in the
// encoder depends on the sign of a zero.
#ifndef ZV_QV80_LPC_FILTER_H
#define ZV_QV80_LPC_FILTER_H

#include "codec/speech/speech_constants.h"

namespace zv::qv80 {

// Σ_{k=1..10} a[k]·x[−k] in extended precision, k ascending.
inline Ext pastSum(const float* a, const float* x) {
  Ext sum = static_cast<Ext>(a[1]) * x[-1];
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

// out[i] = in[i] − Σ a_k·out[i−k] for i = 0..n−1; out[−10..−1] must hold the
// filter memory. `in` and `out` may be the same buffer.
inline void allPoleFilter(const float* a, const float* in, float* out, int n) {
  for (int i = 0; i < n; ++i) out[i] = static_cast<float>(in[i] - pastSum(a, out + i));
}

}  // namespace zv::qv80

#endif  // ZV_QV80_LPC_FILTER_H
