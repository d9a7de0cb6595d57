#include "codec/speech/pulse_search.h"

#include "codec/speech/lpc_filter.h"

namespace zv::qv80 {
namespace {

constexpr float kBestScoreStart = -6.9f;

thread_local uint32_t tRandomSeed = 1;

// score = c²/e and gain = c/e, both 0 when e is zero.
void scoreAndGain(float c, float e, float& score, float& gain) {
  if (e == 0.0f) {
    score = 0.0f;
    gain = 0.0f;
    return;
  }
  score = static_cast<float>(static_cast<Ext>(c) * c / e);
  gain = static_cast<float>(static_cast<Ext>(c) / e);
}

}  // namespace

int nextRandom15() {
  tRandomSeed = tRandomSeed * 214013u + 2531011u;
  return static_cast<int>((tRandomSeed >> 16) & 0x7FFF);
}

void backwardFilter(const float* weighted, const float* target, int len, float* backward) {
  float buffer[kLpcOrder + kMaxSubframeLength] = {};
  float* reversed = buffer + kLpcOrder;
  for (int i = 0; i < len; ++i) reversed[i] = target[len - 1 - i];
  allPoleFilter(weighted, reversed, reversed, len);
  for (int i = 0; i < len; ++i) backward[i] = reversed[len - 1 - i];
}

void periodicEnergies(const float* impulse, int lag, int len, float* energies) {
  Ext sum = 0.0L;
  for (int i = 0; i < len; ++i) {
    Ext periodic = impulse[i];
    if (i >= lag) periodic += impulse[i - lag];
    if (i >= 2 * lag) periodic += impulse[i - 2 * lag];
    const float hp = static_cast<float>(periodic);
    sum += static_cast<Ext>(hp) * hp;
    energies[i] = static_cast<float>(sum);
  }
}

SinglePulse searchSinglePulse(const float* backward, const float* energies, int lag, int len) {
  SinglePulse best{kNoPulse, 0.0f};
  float bestScore = kBestScoreStart;
  for (int p = 0; p < len; ++p) {
    Ext sum = 0.0L;
    for (int i = p; i < len; i += lag) sum += backward[i];
    float score, gain;
    scoreAndGain(static_cast<float>(sum), energies[len - 1 - p], score, gain);
    if (score > bestScore) {
      bestScore = score;
      best = {p, gain};
    }
  }
  if (best.gain == 0.0f) best.position = kNoPulse;
  return best;
}

PulseTrain searchPulseTrain(const float* backward, const float* impulse, int len) {
  const int count = pulseTrainCount(len);
  PulseTrain best{};
  float bestScore = kBestScoreStart;
  for (int phase = 0; phase < kPulseSpacing; ++phase) {
    PulseTrain train{};
    train.phase = phase;
    Ext correlation = 0.0L;
    for (int k = 0; k < count; ++k) {
      const float b = backward[phase + kPulseSpacing * k];
      train.sign[k] = b > 0.0f ? 1 : -1;
      correlation += train.sign[k] > 0 ? static_cast<Ext>(b) : -static_cast<Ext>(b);
    }
    Ext energy = 0.0L;
    for (int i = phase; i < len; ++i) {
      Ext response = 0.0L;
      for (int k = 0; phase + kPulseSpacing * k <= i; ++k) {
        const float h = impulse[i - phase - kPulseSpacing * k];
        response += train.sign[k] > 0 ? static_cast<Ext>(h) : -static_cast<Ext>(h);
      }
      const float y = static_cast<float>(response);
      energy += static_cast<Ext>(y) * y;
    }
    float score;
    scoreAndGain(static_cast<float>(correlation), static_cast<float>(energy), score, train.gain);
    if (score > bestScore) {
      bestScore = score;
      best = train;
    }
  }
  if (best.gain == 0.0f) return randomPulseTrain(len);
  return best;
}

PulseTrain randomPulseTrain(int len) {
  const int count = pulseTrainCount(len);
  const int rho = nextRandom15();
  PulseTrain train{};
  train.phase = (rho >> 4) & 3;
  train.sign[0] = 1;
  for (int k = 1; k < count; ++k) train.sign[k] = ((rho >> (count - 1 - k)) & 1) ? 1 : -1;
  train.gain = 0.0f;
  return train;
}

void normaliseSigns(PulseTrain& train, int count) {
  if (train.sign[0] > 0) return;
  train.gain = -train.gain;
  for (int k = 0; k < count; ++k) train.sign[k] = -train.sign[k];
}

int pulseTrainCode(const PulseTrain& train, int count) {
  int code = train.phase << (count - 1);
  for (int k = 1; k < count; ++k)
    if (train.sign[k] > 0) code |= 1 << (count - 1 - k);
  return code;
}

}  // namespace zv::qv80
