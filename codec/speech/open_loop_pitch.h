// Open-loop pitch estimate of a frame: the starting lag of the closed-loop
// (adaptive-codebook) search of subframe 0.
//
// The 380 most recent filtered input samples are low-pass filtered,
// v[n] = u[n] + 0.9·v[n−1] (restarted from zero every frame), into B. Two
// un-normalised correlation sweeps find a short-lag candidate c1 (20..55, over
// the newest 160 samples) and a long-lag candidate c2 (50..147, over the
// newest 300); c3 is c2/2, or c2/3 when that is closer to last frame's lag.
// Each candidate is refined over ±2 lags by a normalised backward-plus-forward
// score around B[150..230], and a decision with hysteresis towards the
// previous lags picks the result (14..149).
#ifndef ZV_QV80_OPEN_LOOP_PITCH_H
#define ZV_QV80_OPEN_LOOP_PITCH_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

constexpr int kPitchBufferLength = 380;
constexpr int kPitchHistoryLength = 160;

struct OpenLoopLagHistory {
  int previous;        // L1: last frame's open-loop lag, samples (starts at 69)
  int beforePrevious;  // L2: the frame before's (starts at 69)
};

// One refined candidate: its lag and score M = Mb + Mf.
struct RefinedLag {
  int lag;
  float score;
};

// B from the 160 filtered samples before `recent` (`history`) and the 220
// filtered samples `recent` (S[24..243]).
void pitchBuffer(const float history[kPitchHistoryLength], const float* recent,
                 float buffer[kPitchBufferLength], cpu::Arch arch);

// The lag in `low..high` (searched from high down) maximising
// R(T) = Σ_{n=0..span−1−T} B[start + n]·B[start + n + T]; equal values go to the
// larger lag; `fallback` if no R exceeds −6969.
int correlationSweep(const float buffer[kPitchBufferLength], int start, int span, int low,
                     int high, int fallback, cpu::Arch arch);

// The best of lags c−2..c+2 (the smallest on ties) by the score M.
RefinedLag refineLag(const float buffer[kPitchBufferLength], int candidate, cpu::Arch arch);

// The decision among the three refined candidates; updates nothing.
int decideLag(const RefinedLag refined[3], const OpenLoopLagHistory& lags);

// The whole estimate: B, candidates, refinement, decision; then L2 ← L1,
// L1 ← result.
int openLoopPitch(const float history[kPitchHistoryLength], const float* recent,
                  OpenLoopLagHistory& lags, cpu::Arch arch);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_OPEN_LOOP_PITCH_H
