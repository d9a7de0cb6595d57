#include "codec/speech/open_loop_pitch.h"

#include <cstdlib>

namespace zv::qv80 {
namespace {

constexpr float kRunningMaximumStart = -6969.0f;
constexpr float kPreFilterPole = 0.9f;

// The refinement window n = 150..230 (81 samples).
constexpr int kRefineFirst = 150;
constexpr int kRefineLast = 230;

// Decision constants: a third candidate within 17 of last frame's lag may win
// against a threshold of the best score, relaxed by 0.7 when the lag track is
// steady and by 20/27 (a double constant) when it is far from r1.
constexpr int kTrackWindow = 17;
constexpr int kSteadyTrack = 15;
constexpr float kSteadyFactor = 0.7f;
constexpr double kFarFactor = 0.7407407407407407;
constexpr int kFarDistance = 6;

}  // namespace

void pitchBuffer(const float history[kPitchHistoryLength], const float* recent,
                 float buffer[kPitchBufferLength]) {
  float v = 0.0f;
  for (int n = 0; n < kPitchBufferLength; ++n) {
    const float u = n < kPitchHistoryLength ? history[n] : recent[n - kPitchHistoryLength];
    v = static_cast<float>(u + static_cast<Ext>(kPreFilterPole) * v);
    buffer[n] = v;
  }
}

int correlationSweep(const float buffer[kPitchBufferLength], int start, int span, int low,
                     int high, int fallback) {
  const float* b = buffer + start;
  float best = kRunningMaximumStart;
  int bestLag = fallback;
  for (int lag = high; lag >= low; --lag) {
    Ext sum = 0.0L;
    for (int n = 0; n < span - lag; ++n) sum += static_cast<Ext>(b[n]) * b[n + lag];
    const float r = static_cast<float>(sum);
    if (r > best) {
      best = r;
      bestLag = lag;
    }
  }
  return bestLag;
}

RefinedLag refineLag(const float buffer[kPitchBufferLength], int candidate) {
  RefinedLag best{candidate - 2, kRunningMaximumStart};
  for (int k = candidate - 2; k <= candidate + 2; ++k) {
    Ext backCorrelation = 0.0L, backEnergy = 0.0L, foreCorrelation = 0.0L, foreEnergy = 0.0L;
    for (int n = kRefineFirst; n <= kRefineLast; ++n) {
      backCorrelation += static_cast<Ext>(buffer[n]) * buffer[n - k];
      backEnergy += static_cast<Ext>(buffer[n - k]) * buffer[n - k];
      foreCorrelation += static_cast<Ext>(buffer[n]) * buffer[n + k];
      foreEnergy += static_cast<Ext>(buffer[n + k]) * buffer[n + k];
    }
    const float rb = static_cast<float>(backCorrelation);
    const float eb = static_cast<float>(backEnergy);
    const float rf = static_cast<float>(foreCorrelation);
    const float ef = static_cast<float>(foreEnergy);
    float mb;
    if (rb <= 0.0f) mb = 0.0f;
    else if (eb < 1.0f) mb = rb;
    else mb = static_cast<float>(static_cast<Ext>(rb) * rb / eb);
    const float mf =
        (rf > 0.0f && ef > 1.0f) ? static_cast<float>(static_cast<Ext>(rf) * rf / ef) : 0.0f;
    const float m = static_cast<float>(static_cast<Ext>(mb) + mf);
    if (m > best.score) best = {k, m};
  }
  return best;
}

int decideLag(const RefinedLag refined[3], const OpenLoopLagHistory& lags) {
  const RefinedLag& r1 = refined[0];
  const RefinedLag& r2 = refined[1];
  const RefinedLag& r3 = refined[2];
  int best = r2.score >= r1.score ? r2.lag : r1.lag;
  const float sb = r2.score >= r1.score ? r2.score : r1.score;
  const int l1 = lags.previous;
  if (l1 - kTrackWindow < r3.lag && r3.lag < l1 + kTrackWindow) {
    float t = std::abs(lags.beforePrevious - l1) >= kSteadyTrack
                  ? sb
                  : static_cast<float>(static_cast<Ext>(kSteadyFactor) * sb);
    if (std::abs(r3.lag - r1.lag) > kFarDistance)
      t = static_cast<float>(static_cast<Ext>(t) * kFarFactor);
    if (r3.score > t) best = r3.lag;
  }
  return best;
}

int openLoopPitch(const float history[kPitchHistoryLength], const float* recent,
                  OpenLoopLagHistory& lags) {
  float buffer[kPitchBufferLength];
  pitchBuffer(history, recent, buffer);
  const int c1 = correlationSweep(buffer, 160, 160, 20, 55, 40);
  const int c2 = correlationSweep(buffer, 80, 300, 50, 147, 70);
  const int l1 = lags.previous;
  int c3 = c2 / 2;
  if (l1 - kTrackWindow < c2 / 3 && c2 / 3 < l1 + kTrackWindow &&
      std::abs(l1 - c2 / 2) > std::abs(l1 - c2 / 3))
    c3 = c2 / 3;
  const RefinedLag refined[3] = {refineLag(buffer, c1), refineLag(buffer, c2),
                                 refineLag(buffer, c3)};
  const int lag = decideLag(refined, lags);
  lags.beforePrevious = lags.previous;
  lags.previous = lag;
  return lag;
}

}  // namespace zv::qv80
