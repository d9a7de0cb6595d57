// The pitch searches (pitch_search.h).
#include "codec/speech48/pitch_search.h"

#include <cstring>

#include "codec/speech48/fixed_point.h"

namespace zv::qv48 {

namespace {

// A lag of a half, a third of the best is preferred when its score
// (correlation²/energy) reaches this share of the best's, Q15.
constexpr int32_t kSubmultipleShareQ15 = 23592;  // 0.72
constexpr int kAdaptiveShift = 12;
// Of more candidate lags than this, only this many, chosen by a cheaper
// score, are filtered and scored exactly.
constexpr int kExactCandidates = 3;

Scaled share(const Scaled& value, int32_t shareQ15) {
  if (value.mantissa == 0) return value;
  Scaled out = scaled((value.mantissa * shareQ15) >> 15);
  out.exponent += value.exponent;
  return out;
}

Scaled score(int64_t correlation, int64_t energy) {
  return correlation > 0 && energy > 0 ? squareOver(correlation, energy) : Scaled{};
}

// The unrounded sums of convolve, and the rounding of them. Only the
// nonzero samples of v contribute; the fixed codebook's vectors have a
// handful.
void convolveSums(const int32_t* v, const int32_t* h, int64_t sums[kSubframeSamples]) {
  for (int n = 0; n < kSubframeSamples; ++n) sums[n] = 0;
  for (int k = 0; k < kSubframeSamples; ++k) {
    if (v[k] == 0) continue;
    const int64_t value = v[k];
    for (int n = k; n < kSubframeSamples; ++n) sums[n] += value * h[n - k];
  }
}

void roundSums(const int64_t sums[kSubframeSamples], int shift, int32_t* y) {
  for (int n = 0; n < kSubframeSamples; ++n) y[n] = saturateSignal(roundShift(sums[n], shift));
}

// The kExactCandidates of `count` candidate lags (ascending) that score
// best by (v·d)²/(v·v), where d is the target filtered backwards through h:
// v·d is the correlation of the filtered vector with the target without
// filtering each vector, and v·v stands in for the filtered energy. The
// chosen lags are written ascending; returns how many.
int preselectLags(const ExcitationBuffer excitation, const int32_t h[kSubframeSamples],
                  const int32_t target[kSubframeSamples], const int* candidates, int count,
                  int chosen[kExactCandidates]) {
  int64_t sums[kSubframeSamples];
  backwardFilter(target, h, sums);
  int32_t d[kSubframeSamples];
  roundSums(sums, kAdaptiveShift, d);
  Scaled scores[16];
  for (int i = 0; i < count; ++i) {
    int32_t v[kSubframeSamples];
    adaptiveVector(excitation, candidates[i], v);
    scores[i] = score(dot(v, d, kSubframeSamples), dot(v, v, kSubframeSamples));
  }
  bool taken[16] = {};
  for (int c = 0; c < kExactCandidates; ++c) {
    int best = -1;
    for (int i = 0; i < count; ++i)
      if (!taken[i] && (best < 0 || greater(scores[i], scores[best]))) best = i;
    taken[best] = true;
  }
  int chosenCount = 0;
  for (int i = 0; i < count; ++i)
    if (taken[i]) chosen[chosenCount++] = candidates[i];
  return chosenCount;
}

}  // namespace

int openLoopLag(const int32_t* segment) {
  // Every second lag is first scored on every second sample, with the
  // energy of the segment `lag` samples back carried from lag to lag + 2
  // (one sample enters at the far end, one leaves at the near end). The best
  // of these and its neighbours are then scored on every sample, as is any
  // lag considered as a third or a half of it.
  int64_t energy = 0;
  for (int n = 0; n < kHalfFrame; n += 2) energy += int64_t{segment[n - kMinLag]} * segment[n - kMinLag];
  Scaled coarseBest;
  int coarseLag = kMinLag;
  for (int lag = kMinLag; lag <= kMaxLag; lag += 2) {
    if (lag > kMinLag) {
      const int64_t entering = segment[-lag];
      const int64_t leaving = segment[kHalfFrame - lag];
      energy += entering * entering - leaving * leaving;
    }
    int64_t correlation = 0;
    for (int n = 0; n < kHalfFrame; n += 2) correlation += int64_t{segment[n]} * segment[n - lag];
    const Scaled s = score(correlation, energy);
    if (greater(s, coarseBest)) {
      coarseBest = s;
      coarseLag = lag;
    }
  }

  auto fullScore = [segment](int lag) {
    return score(dot(segment, segment - lag, kHalfFrame),
                 dot(segment - lag, segment - lag, kHalfFrame));
  };
  Scaled best;
  int bestLag = coarseLag;
  for (int lag = coarseLag - 1; lag <= coarseLag + 1; ++lag) {
    if (lag < kMinLag || lag > kMaxLag) continue;
    const Scaled s = fullScore(lag);
    if (greater(s, best)) {
      best = s;
      bestLag = lag;
    }
  }
  if (best.mantissa == 0) return bestLag;
  for (int divisor = 3; divisor >= 2; --divisor) {
    const int centre = (bestLag + divisor / 2) / divisor;
    for (int lag = centre - 1; lag <= centre + 1; ++lag) {
      if (lag < kMinLag || lag > kMaxLag) continue;
      if (!greater(share(best, kSubmultipleShareQ15), fullScore(lag))) return lag;
    }
  }
  return bestLag;
}

void convolve(const int32_t v[kSubframeSamples], const int32_t h[kSubframeSamples], int shift,
              int32_t y[kSubframeSamples]) {
  int64_t sums[kSubframeSamples];
  convolveSums(v, h, sums);
  roundSums(sums, shift, y);
}

int closedLoopLag(const ExcitationBuffer excitation, const int32_t h[kSubframeSamples],
                  const int32_t target[kSubframeSamples], const int* candidates, int count,
                  int32_t filtered[kSubframeSamples]) {
  int chosen[kExactCandidates];
  if (count > kExactCandidates) {
    count = preselectLags(excitation, h, target, candidates, count, chosen);
    candidates = chosen;
  }
  const int32_t* now = excitation + kExcitationHistory;
  int64_t sums[kSubframeSamples];
  int previous = -1;  // the lag `sums` belongs to
  int bestLag = candidates[0];
  Scaled bestScore;
  for (int i = 0; i < count; ++i) {
    const int lag = candidates[i];
    if (previous >= kSubframeSamples && lag == previous + 1) {
      // A lag of a whole subframe or more reads the history only, so the
      // next lag's vector is this one moved on by a sample with one new
      // sample in front: its sums follow from these exactly.
      const int64_t entering = now[-lag];
      for (int n = kSubframeSamples - 1; n > 0; --n) sums[n] = sums[n - 1] + entering * h[n];
      sums[0] = entering * h[0];
    } else {
      int32_t v[kSubframeSamples];
      adaptiveVector(excitation, lag, v);
      convolveSums(v, h, sums);
    }
    previous = lag;
    int32_t y[kSubframeSamples];
    roundSums(sums, kAdaptiveShift, y);
    const Scaled s = score(dot(target, y, kSubframeSamples), dot(y, y, kSubframeSamples));
    const bool better = greater(s, bestScore);
    if (better) {
      bestScore = s;
      bestLag = lag;
    }
    if (better || i == 0) std::memcpy(filtered, y, sizeof(int32_t) * kSubframeSamples);
  }
  return bestLag;
}

}  // namespace zv::qv48
