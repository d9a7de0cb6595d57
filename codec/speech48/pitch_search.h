// The encoder's pitch searches: the open-loop lag of a half frame of
// weighted speech, and the closed-loop choice among the lags a subframe's
// field can name.
#ifndef ZV_QV48_PITCH_SEARCH_H
#define ZV_QV48_PITCH_SEARCH_H

#include <cstdint>

#include "codec/speech48/excitation.h"

namespace zv::qv48 {

inline constexpr int kHalfFrame = kFrameSamples / 2;

// The best lag of the kHalfFrame samples at `segment` (with kMaxLag samples
// of history before it) by correlation²/energy, preferring a third or a half
// of it where that scores nearly as well.
int openLoopLag(const int32_t* segment);

// y[n] = Σ_{k≤n} v[k]·h[n − k] / 2^shift, rounded and saturated: the
// zero-state response of the filter whose impulse response is h.
void convolve(const int32_t v[kSubframeSamples], const int32_t h[kSubframeSamples], int shift,
              int32_t y[kSubframeSamples]);

// Of the candidate lags (ascending, 1 ≤ `count` ≤ 16), the one whose
// filtered adaptive vector y scores best by (target·y)²/(y·y); the first of
// equals. Of many candidates only the few that a cheaper score ranks first
// are filtered and scored so.
// Its y (convolve with shift 12) is left in `filtered`.
int closedLoopLag(const ExcitationBuffer excitation, const int32_t h[kSubframeSamples],
                  const int32_t target[kSubframeSamples], const int* candidates, int count,
                  int32_t filtered[kSubframeSamples]);

}  // namespace zv::qv48

#endif  // ZV_QV48_PITCH_SEARCH_H
