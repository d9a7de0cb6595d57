#include "codec/speech/adaptive_codebook.h"

#include "codec/speech/lpc_filter.h"

namespace zv::qv80 {

void adaptiveExcitation(const float history[kHistoryLength], int lag, float beta, int len,
                        float* u) {
  ZV_QV80_CHECK(lag >= 1 && lag <= kHistoryLength);
  const float* past = history + kHistoryLength - lag;
  // β·XH is a product of two floats: exact in extended precision, so the
  // reference's value is the correctly rounded float product.
  for (int i = 0, k = 0; i < len; ++i) {
    u[i] = beta * past[k];
    if (++k == lag) k = 0;
  }
}

int lowestSearchLag(int startLag) { return startLag - 7 < kMinLag ? kMinLag : startLag - 7; }
int highestSearchLag(int startLag) { return startLag + 8 > kMaxLag ? kMaxLag : startLag + 8; }

PitchSearchResult searchAdaptiveCodebook(const float history[kHistoryLength],
                                         const float* weighted, const float* impulse,
                                         const float* target, int len, int startLag) {
  const int low = lowestSearchLag(startLag);
  const int high = highestSearchLag(startLag);

  // y_low by filtering its truncated vector from zero state.
  float buffer[kLpcOrder + kMaxSubframeLength] = {};
  float* y = buffer + kLpcOrder;
  const int copied = low < len ? low : len;
  for (int i = 0; i < copied; ++i) y[i] = history[kHistoryLength - low + i];
  allPoleFilter(weighted, y, y, len);

  PitchSearchResult best{low, 0.0f};
  float bestScore = 0.0f;
  float periodic[kMaxSubframeLength];
  for (int lag = low; lag <= high; ++lag) {
    if (lag > low) {
      const float newest = history[kHistoryLength - lag];
      for (int i = len - 1; i >= 1; --i)
        y[i] = static_cast<float>(y[i - 1] + static_cast<Ext>(newest) * impulse[i]);
      y[0] = newest;
    }
    const float* response = y;
    if (lag < len) {
      for (int i = 0; i < len; ++i) {
        Ext value = y[i];
        if (i >= lag) value += y[i - lag];
        if (i >= 2 * lag) value += y[i - 2 * lag];
        periodic[i] = static_cast<float>(value);
      }
      response = periodic;
    }
    Ext correlationSum = 0.0L, energySum = 0.0L;
    for (int i = 0; i < len; ++i) {
      correlationSum += static_cast<Ext>(target[i]) * response[i];
      energySum += static_cast<Ext>(response[i]) * response[i];
    }
    const float c = static_cast<float>(correlationSum);
    const float e = static_cast<float>(energySum);
    float score = 0.0f, gain = 0.0f;
    if (e != 0.0f) {
      score = static_cast<float>(static_cast<Ext>(c) * c / e);
      gain = static_cast<float>(static_cast<Ext>(c) / e);
    }
    if (lag == low || score > bestScore) {
      bestScore = score;
      best = {lag, gain};
    }
  }
  return best;
}

}  // namespace zv::qv80
