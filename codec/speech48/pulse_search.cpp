// The fixed-codebook search (pulse_search.h).
//
// The first two pulses are tried only at the few positions of their tracks
// where |d| is largest, the third at every position of tracks 2 and 3: a
// pulse where the backward-filtered target is small rarely belongs to the
// best triple, and this cuts the triples from 15 × 15 × 30 to 6 × 6 × 30.
// The inner loop is a few operations on contiguous rows: the correlations a
// triple needs are gathered once per subframe, and the energy of the first
// pulse with every third one is summed once per first pulse.
#include "codec/speech48/pulse_search.h"

#include "codec/speech48/lowrate_constants.h"
#include "codec/speech48/lpc.h"

namespace zv::qv48 {

namespace {

constexpr int kCodebookScaleBits = 14;
constexpr int kThirdPositions = 2 * kTrackPositions;  // tracks 2 and 3
constexpr int kCandidates = 6;                        // of tracks 0 and 1 each

// The sample position of the third pulse's search index j (0..29): track 2
// first, then track 3.
constexpr int thirdPosition(int j) {
  return (j < kTrackPositions ? 2 : 3) + kTrackStep * (j % kTrackPositions);
}

// The positions of track `track` (0 or 1) with the kCandidates largest
// values of dn, in ascending order of position; of equal values the earlier
// position is taken.
void strongestPositions(const int32_t dn[kSubframeSamples], int track, int out[kCandidates]) {
  bool taken[kTrackPositions] = {};
  for (int c = 0; c < kCandidates; ++c) {
    int best = -1;
    for (int t = 0; t < kTrackPositions; ++t) {
      if (taken[t]) continue;
      if (best < 0 || dn[track + kTrackStep * t] > dn[track + kTrackStep * best]) best = t;
    }
    taken[best] = true;
  }
  int count = 0;
  for (int t = 0; t < kTrackPositions; ++t)
    if (taken[t]) out[count++] = track + kTrackStep * t;
}

}  // namespace

void searchPulses(const int32_t target[kSubframeSamples], const int32_t h[kSubframeSamples],
                  PulseSearchScratch& scratch, SubframeFields& fields) {
  static_assert(kSubframeSamples == 60 && kTrackPositions == 15);
  auto& running = scratch.running;

  // d and its largest magnitude, for the scale.
  int64_t d[kSubframeSamples];
  backwardFilter(target, h, d);
  int64_t largest = 0;
  for (int n = 0; n < kSubframeSamples; ++n) {
    const int64_t magnitude = d[n] < 0 ? -d[n] : d[n];
    if (magnitude > largest) largest = magnitude;
  }
  // Φ(i, j) = Σ_{m=0}^{59−j} h[m + j − i]·h[m] for i ≤ j, from running sums.
  for (int delta = 0; delta < kSubframeSamples; ++delta) {
    int64_t sum = 0;
    for (int m = 0; m + delta < kSubframeSamples; ++m) {
      sum += int64_t{h[m + delta]} * h[m];
      running[delta][m] = sum;
    }
  }
  // Both scaled below 2^14: by Cauchy–Schwarz no |Φ(i, j)| exceeds Φ(0, 0)
  // = running[0][59], so every sum of the search below fits 32 bits and
  // every product of the comparison 64.
  int dShift = 0;
  while ((largest >> dShift) >= (int64_t{1} << kCodebookScaleBits)) ++dShift;
  int phiShift = 0;
  while ((running[0][kSubframeSamples - 1] >> phiShift) >= (int64_t{1} << kCodebookScaleBits))
    ++phiShift;

  int32_t dn[kSubframeSamples];
  int sign[kSubframeSamples];
  for (int n = 0; n < kSubframeSamples; ++n) {
    sign[n] = d[n] < 0 ? -1 : 1;
    dn[n] = static_cast<int32_t>((d[n] < 0 ? -d[n] : d[n]) >> dShift);
  }
  // Φ with the signs of d folded in.
  auto phi = [&](int i, int j) {
    if (i > j) {
      const int swap = i;
      i = j;
      j = swap;
    }
    const auto value = static_cast<int32_t>(running[j - i][kSubframeSamples - 1 - j] >> phiShift);
    return sign[i] * sign[j] * value;
  };

  int first[kCandidates], second[kCandidates];
  strongestPositions(dn, 0, first);
  strongestPositions(dn, 1, second);

  // The rows of the third pulse: its d, its own energy, and its
  // correlation with each candidate of the first two pulses.
  int32_t thirdD[kThirdPositions], thirdEnergy[kThirdPositions];
  int32_t withFirst[kCandidates][kThirdPositions];
  int32_t withSecond[kCandidates][kThirdPositions];
  for (int j = 0; j < kThirdPositions; ++j) {
    const int m2 = thirdPosition(j);
    thirdD[j] = dn[m2];
    thirdEnergy[j] = phi(m2, m2);
    for (int c = 0; c < kCandidates; ++c) {
      withFirst[c][j] = 2 * phi(first[c], m2);
      withSecond[c][j] = 2 * phi(second[c], m2);
    }
  }

  bool found = false;
  int64_t bestSquare = 0;  // (Σ d)² of the best so far
  int32_t bestEnergy = 1;
  int best[3] = {0, 1, 2};
  for (int c0 = 0; c0 < kCandidates; ++c0) {
    const int m0 = first[c0];
    int32_t firstAndThird[kThirdPositions];
    for (int j = 0; j < kThirdPositions; ++j) firstAndThird[j] = thirdEnergy[j] + withFirst[c0][j];
    for (int c1 = 0; c1 < kCandidates; ++c1) {
      const int m1 = second[c1];
      const int32_t c01 = dn[m0] + dn[m1];
      const int32_t e01 = phi(m0, m0) + phi(m1, m1) + 2 * phi(m0, m1);
      const int32_t* withThis = withSecond[c1];
      for (int j = 0; j < kThirdPositions; ++j) {
        const int32_t e = e01 + firstAndThird[j] + withThis[j];
        if (e <= 0) continue;
        const int64_t c = c01 + thirdD[j];
        const int64_t square = c * c;
        if (!found || square * bestEnergy > bestSquare * e) {
          found = true;
          bestSquare = square;
          bestEnergy = e;
          best[0] = m0;
          best[1] = m1;
          best[2] = thirdPosition(j);
        }
      }
    }
  }
  fields.pulse[0] = static_cast<uint8_t>(best[0] / kTrackStep);
  fields.pulse[1] = static_cast<uint8_t>((best[1] - 1) / kTrackStep);
  fields.pulse[2] = static_cast<uint8_t>((best[2] % kTrackStep == 3 ? 16 : 0) + best[2] / kTrackStep);
  fields.signs = static_cast<uint8_t>((sign[best[0]] < 0 ? 4 : 0) | (sign[best[1]] < 0 ? 2 : 0) |
                                      (sign[best[2]] < 0 ? 1 : 0));
}

}  // namespace zv::qv48
