#include "codec/speech/pulse_search.h"

#include <cstring>

#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"
#include "codec/speech/lpc_filter.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

constexpr float kBestScoreStart = -6.9f;

// One seed per thread, shared by every encoder on it. The initial-exec model
// keeps the four bytes in the C library's static TLS reserve, which also
// serves libraries loaded at run time, so no dynamic TLS lookup (and no
// dependency on the dynamic loader's library) is needed.
__attribute__((tls_model("initial-exec"))) thread_local uint32_t tRandomSeed = 1;

// score = c²/e and gain = c/e, both 0 when e is zero.
void scoreAndGain(float c, float e, float& score, float& gain) {
  if (e == 0.0f) {
    score = 0.0f;
    gain = 0.0f;
    return;
  }
  score = squareOver(c, e);
  gain = c / e;  // float division is the reference (double-rounding lemma, ARITHMETIC.md)
}

}  // namespace

int nextRandom15() {
  tRandomSeed = tRandomSeed * 214013u + 2531011u;
  return static_cast<int>((tRandomSeed >> 16) & 0x7FFF);
}

void backwardFilter(const float* weighted, const float* target, int len, float* backward,
                    cpu::Arch arch) {
  float buffer[kLpcOrder + kMaxSubframeLength] = {};
  float* reversed = buffer + kLpcOrder;
  for (int i = 0; i < len; ++i) reversed[i] = target[len - 1 - i];
  allPoleFilter(weighted, reversed, reversed, len, arch);
  for (int i = 0; i < len; ++i) backward[i] = reversed[len - 1 - i];
}

void periodicEnergies(const float* impulse, int lag, int len, float* energies) {
  float periodic[kMaxSubframeLength];
  periodicSum(impulse, lag, periodic, len);
  // E[k]: one running sum of squares, rounded at every k. The reference's
  // running sum after k + 1 terms and the double one each carry at most k + 1
  // roundings relative to the sum itself (all terms are positive).
  double sum = 0.0;
  bool certain = true;
  for (int i = 0; i < len; ++i) {
    sum += static_cast<double>(periodic[i]) * periodic[i];
    certain &= roundingIsCertain(sum, (i + 3) * kBoundUnit * sum);
    energies[i] = static_cast<float>(sum);
  }
  if (certain) return;
  Ext reference = 0;
  for (int i = 0; i < len; ++i) {
    reference += static_cast<Ext>(periodic[i]) * periodic[i];
    energies[i] = static_cast<float>(reference);
  }
}

SinglePulse searchSinglePulse(const float* backward, const float* energies, int lag, int len) {
  SinglePulse best{kNoPulse, 0.0f};
  float bestScore = kBestScoreStart;
  for (int p = 0; p < len; ++p) {
    // c = 0 + b[p] + b[p + T] + ...: at most three terms (T ≥ 20,
    // len ≤ 56). The first two additions are float additions (exact, see
    // periodicSum), the third goes through sumOfThree.
    const float first = 0.0f + backward[p];
    float c;
    if (p + lag >= len) c = first;
    else if (p + 2 * lag >= len) c = first + backward[p + lag];
    else c = sumOfThree(first, backward[p + lag], backward[p + 2 * lag]);
    float score, gain;
    scoreAndGain(c, energies[len - 1 - p], score, gain);
    if (score > bestScore) {
      bestScore = score;
      best = {p, gain};
    }
  }
  if (best.gain == 0.0f) best.position = kNoPulse;
  return best;
}

namespace {

// response[m] = Σ_k sign[k]·h[m − 4k] over 4k ≤ m, m = 0..span−1, in double
// (any order: an approximation for the certificate). One variant per
// cpu::Arch level.
void signedCombSumScalar(const double* h, const int* sign, int count, int span, double* response) {
  for (int m = 0; m < span; ++m) response[m] = 0.0;
  for (int k = 0; k < count && kPulseSpacing * k < span; ++k) {
    const int shift = kPulseSpacing * k;
    const double s = sign[k];
    for (int m = shift; m < span; ++m) response[m] += s * h[m - shift];
  }
}

#if ZV_CPU_X86_64

// Four lanes at a time; the SSE2 and AVX2 variants compile this body.
[[gnu::always_inline]] inline void signedCombSumLanes(const double* h, const int* sign, int count,
                                                      int span, double* response) {
  for (int m = 0; m < span; ++m) response[m] = 0.0;
  for (int k = 0; k < count && kPulseSpacing * k < span; ++k) {
    const int shift = kPulseSpacing * k;
    const double s = sign[k];
    const Double4 s4 = {s, s, s, s};
    int m = shift;
    for (; m + 4 <= span; m += 4) {
      Double4 r, x;
      std::memcpy(&r, response + m, sizeof r);
      std::memcpy(&x, h + m - shift, sizeof x);
      r += s4 * x;
      std::memcpy(response + m, &r, sizeof r);
    }
    for (; m < span; ++m) response[m] += s * h[m - shift];
  }
}

void signedCombSumSse2(const double* h, const int* sign, int count, int span, double* response) {
  signedCombSumLanes(h, sign, count, span, response);
}

ZV_TARGET_AVX2
void signedCombSumAvx2(const double* h, const int* sign, int count, int span, double* response) {
  signedCombSumLanes(h, sign, count, span, response);
}

#endif  // ZV_CPU_X86_64

void signedCombSum(const double* h, const int* sign, int count, int span, double* response,
                   cpu::Arch arch) {
#if ZV_CPU_X86_64
  if (arch == cpu::Arch::kAvx2) return signedCombSumAvx2(h, sign, count, span, response);
  if (arch == cpu::Arch::kSse2) return signedCombSumSse2(h, sign, count, span, response);
#endif
  (void)arch;
  signedCombSumScalar(h, sign, count, span, response);
}

// y[m] of one phase in the reference arithmetic.
float trainResponseReference(const float* impulse, const int* sign, int m) {
  Ext reference = 0;
  for (int k = 0; kPulseSpacing * k <= m; ++k) {
    const float h = impulse[m - kPulseSpacing * k];
    reference += sign[k] > 0 ? static_cast<Ext>(h) : -static_cast<Ext>(h);
  }
  return static_cast<float>(reference);
}

}  // namespace

PulseTrain searchPulseTrain(const float* backward, const float* impulse, int len, cpu::Arch arch) {
  const int count = pulseTrainCount(len);
  // h in double, and comb[m] = Σ_k |h[m − 4k]|: the size of every response
  // sample at offset m from the phase, whatever the signs; at most `count`
  // roundings of each precision against it.
  double h[kMaxSubframeLength];
  double combBound[kMaxSubframeLength];
  double comb[kMaxSubframeLength];
  for (int m = 0; m < len; ++m) {
    h[m] = impulse[m];
    comb[m] = magnitude(h[m]) + (m >= kPulseSpacing ? comb[m - kPulseSpacing] : 0.0);
    combBound[m] = count * kBoundUnit * comb[m];
  }

  PulseTrain best{};
  float bestScore = kBestScoreStart;
  for (int phase = 0; phase < kPulseSpacing; ++phase) {
    PulseTrain train{};
    train.phase = phase;
    float picked[kMaxSubframeLength / kPulseSpacing];
    for (int k = 0; k < count; ++k) {
      picked[k] = backward[phase + kPulseSpacing * k];
      train.sign[k] = picked[k] > 0.0f ? 1 : -1;
    }
    const float correlation = signedSum(train.sign, picked, count);

    // y[φ + m] = Σ_k σ_k·h[m − 4k] (y is zero before the phase), certified.
    const int span = len - phase;
    double response[kMaxSubframeLength];
    signedCombSum(h, train.sign, count, span, response, arch);
    float y[kMaxSubframeLength];
    if (!roundAllCertain(response, combBound, y, span, arch)) {
      for (int m = 0; m < span; ++m)
        if ((m < kPulseSpacing || m >= 3 * kPulseSpacing) &&
            !roundingIsCertain(response[m], combBound[m] + 2 * kBoundUnit * magnitude(response[m])))
          y[m] = trainResponseReference(impulse, train.sign, m);
    }
    // Up to three terms (m < 12) the sum is 0 + t0 + t1 + t2 with
    // t_k = σ_k·h[m − 4k]: exact as float additions for two terms and through
    // sumOfThree for three, without the reference path that a value on a
    // rounding midpoint would otherwise need.
    for (int m = kPulseSpacing; m < 3 * kPulseSpacing && m < span; ++m) {
      const float t0 = 0.0f + (train.sign[0] > 0 ? impulse[m] : -impulse[m]);
      const float t1 = train.sign[1] > 0 ? impulse[m - 4] : -impulse[m - 4];
      y[m] = m < 2 * kPulseSpacing
                 ? t0 + t1
                 : sumOfThree(t0, t1, train.sign[2] > 0 ? impulse[m - 8] : -impulse[m - 8]);
    }
    double approximation;
    const float energy = sumOfSquares(y, span, approximation, arch);

    float score;
    scoreAndGain(correlation, energy, score, train.gain);
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

}  // namespace zv::ZV_QV80_NAMESPACE
