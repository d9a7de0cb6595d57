#include "codec/speech/adaptive_codebook.h"

#include <cstring>

#include "codec/speech/certified_sums.h"

namespace zv::ZV_QV80_NAMESPACE {

void adaptiveExcitation(const float history[kHistoryLength], int lag, float beta, int len,
                        float* u) {
  ZV_QV80_CHECK(lag >= 1 && lag <= kHistoryLength);
  const float* past = history + kHistoryLength - lag;
  // β·XH is a product of two floats: exact in extended precision, so the
  // reference's value is the float product (double-rounding lemma,
  // ARITHMETIC.md).
  for (int i = 0, k = 0; i < len; ++i) {
    u[i] = beta * past[k];
    if (++k == lag) k = 0;
  }
}

int lowestSearchLag(int startLag) { return startLag - 7 < kMinLag ? kMinLag : startLag - 7; }
int highestSearchLag(int startLag) { return startLag + 8 > kMaxLag ? kMaxLag : startLag + 8; }

void truncatedPastExcitation(const float history[kHistoryLength], int lag, int len, float* v) {
  const int copied = lag < len ? lag : len;
  for (int i = 0; i < copied; ++i) v[i] = history[kHistoryLength - lag + i];
  for (int i = copied; i < len; ++i) v[i] = 0.0f;
}

PitchSearchResult searchAdaptiveCodebook(const float history[kHistoryLength],
                                         const float* firstResponse, const float* impulse,
                                         const float* target, int len, int startLag,
                                         cpu::Arch arch) {
  const int low = lowestSearchLag(startLag);
  const int high = highestSearchLag(startLag);
  float current[kMaxSubframeLength];
  std::memcpy(current, firstResponse, len * sizeof(float));
  float* y = current;

  // Σ t0² bounds the size of every correlation with the target.
  const double targetEnergy = approximateDot(target, target, len, arch);
  PitchSearchResult best{low, 0.0f};
  float bestScore = 0.0f;
  float other[kMaxSubframeLength];
  float* spare = other;
  float periodic[kMaxSubframeLength];
  for (int lag = low; lag <= high; ++lag) {
    if (lag > low) {
      // y_T[0] = XH[148 − T], y_T[i] = y_T−1[i − 1] + XH[148 − T]·h[i].
      const float newest = history[kHistoryLength - lag];
      spare[0] = newest;
      multiplyAdd(y, newest, impulse + 1, spare + 1, len - 1, arch);
      float* previous = y;
      y = spare;
      spare = previous;
    }
    const float* response = y;
    if (lag < len) {
      periodicSum(y, lag, periodic, len);
      response = periodic;
    }
    double energy;
    const float e = sumOfSquares(response, len, energy, arch);
    const float c = certifySumOfProducts(target, response, len,
                                         approximateDot(target, response, len, arch),
                                         cauchySchwarzSize(targetEnergy, energy));
    float score = 0.0f, gain = 0.0f;
    if (e != 0.0f) {
      score = squareOver(c, e);
      gain = c / e;  // float division is the reference (double-rounding lemma, ARITHMETIC.md)
    }
    if (lag == low || score > bestScore) {
      bestScore = score;
      best = {lag, gain};
    }
  }
  return best;
}

}  // namespace zv::ZV_QV80_NAMESPACE
