#include "codec/speech/open_loop_pitch.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "codec/speech/certified_recursion.h"
#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"

namespace zv::ZV_QV80_NAMESPACE {
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

namespace {

// The pre-filter v[n] = u[n] + 0.9·v[n−1] over B on the certified fast path
// (certified_recursion.h): the product is exact in double and the sum
// rounds once in each precision, so the per-block bound is zero and
// 4·2⁻⁵²·|v| covers the rest.
class PreFilterBlock {
 public:
  explicit PreFilterBlock(float* buffer) : b_(buffer) {}

  void setInput(int n, float u) { input_[n] = u; }

  const double* values() const { return value_; }
  double sumBound() const { return 0.0; }
  bool settle(int n) {
    const float previous = n > 0 ? b_[n - 1] : 0.0f;
    const float exact = static_cast<float>(input_[n] + static_cast<Ext>(kPreFilterPole) * previous);
    if (std::memcmp(&exact, &b_[n], sizeof exact) == 0) return false;
    b_[n] = exact;
    return true;
  }
  void run(int from, int n) {
    const double pole = kPreFilterPole;
    double v = from > 0 ? b_[from - 1] : 0.0;
    for (int i = from; i < n; ++i) {
      const double value = input_[i] + pole * v;
      const float rounded = static_cast<float>(value);
      value_[i] = value;
      b_[i] = rounded;
      v = rounded;
    }
  }

 private:
  float* b_;
  float input_[kPitchBufferLength];
  double value_[kPitchBufferLength];
};

}  // namespace

void pitchBuffer(const float history[kPitchHistoryLength], const float* recent,
                 float buffer[kPitchBufferLength], cpu::Arch arch) {
  PreFilterBlock block(buffer);
  for (int n = 0; n < kPitchBufferLength; ++n)
    block.setInput(n, n < kPitchHistoryLength ? history[n] : recent[n - kPitchHistoryLength]);
  block.run(0, kPitchBufferLength);
  certifyRecursion(block, 0, kPitchBufferLength, arch);
}

namespace {

// B in double and its prefix energies P[n] = Σ_{m<n} B[m]², shared by the
// two sweeps of a frame.
struct SweepBuffer {
  double value[kPitchBufferLength];
  double prefix[kPitchBufferLength + 1];
  double slack;  // the error of any range energy P[b] − P[a]

  explicit SweepBuffer(const float buffer[kPitchBufferLength]) {
    prefix[0] = 0.0;
    for (int n = 0; n < kPitchBufferLength; ++n) {
      value[n] = buffer[n];
      prefix[n + 1] = prefix[n] + value[n] * value[n];
    }
    // Each prefix is within 380·2⁻⁵³ of the total energy of its exact value.
    slack = 0x1p-40 * prefix[kPitchBufferLength];
  }
};

// The sweep of correlationSweep over a prepared buffer. The size of each
// sum follows from Cauchy–Schwarz and the mean of two numbers bounding their
// geometric mean: Σ|B[n]·B[n+T]| ≤ √(E1·E2) ≤ (E1 + E2)/2.
int sweep(const SweepBuffer& b, const float buffer[kPitchBufferLength], int start, int span,
          int low, int high, int fallback, cpu::Arch arch) {
  float best = kRunningMaximumStart;
  int bestLag = fallback;
  const double* p = b.prefix;
  for (int lag = high; lag >= low; --lag) {
    // R(T) = Σ_{n=0..span−1−T} B[start+n]·B[start+n+T].
    const int count = span - lag;
    const double sum = approximateDot(b.value + start, b.value + start + lag, count, arch);
    const double energies =
        (p[start + count] - p[start]) + (p[start + span] - p[start + lag]) + 2 * b.slack;
    const double bound =
        count * kBoundUnit * 0.5 * energies * (1 + 0x1p-48) + 2 * kBoundUnit * magnitude(sum);
    // The reference's R lies between the two roundings below. Only a lag
    // whose R may exceed the running maximum needs its exact value.
    const float upper = static_cast<float>(sum + bound);
    if (kFastPaths && !(upper > best)) continue;
    const float r = roundingIsCertain(sum, bound)
                        ? static_cast<float>(sum)
                        : sumOfProductsReference(buffer + start, buffer + start + lag, count);
    if (r > best) {
      best = r;
      bestLag = lag;
    }
  }
  return bestLag;
}

constexpr int kShortStart = 160, kShortSpan = 160, kShortLow = 20, kShortHigh = 55, kShortDefault = 40;
constexpr int kLongStart = 80, kLongSpan = 300, kLongLow = 50, kLongHigh = 147, kLongDefault = 70;

}  // namespace

int correlationSweep(const float buffer[kPitchBufferLength], int start, int span, int low,
                     int high, int fallback, cpu::Arch arch) {
  return sweep(SweepBuffer(buffer), buffer, start, span, low, high, fallback, arch);
}

RefinedLag refineLag(const float buffer[kPitchBufferLength], int candidate, cpu::Arch arch) {
  constexpr int kCount = kRefineLast - kRefineFirst + 1;
  const float* window = buffer + kRefineFirst;
  // The correlations' sizes follow from the energies (Cauchy–Schwarz).
  const double windowEnergy = approximateDot(window, window, kCount, arch);
  RefinedLag best{candidate - 2, kRunningMaximumStart};
  for (int k = candidate - 2; k <= candidate + 2; ++k) {
    double backEnergy, foreEnergy;
    const float eb = sumOfSquares(window - k, kCount, backEnergy, arch);
    const float ef = sumOfSquares(window + k, kCount, foreEnergy, arch);
    const float rb = certifySumOfProducts(window, window - k, kCount,
                                          approximateDot(window, window - k, kCount, arch),
                                          cauchySchwarzSize(windowEnergy, backEnergy));
    const float rf = certifySumOfProducts(window, window + k, kCount,
                                          approximateDot(window, window + k, kCount, arch),
                                          cauchySchwarzSize(windowEnergy, foreEnergy));
    float mb;
    if (rb <= 0.0f) mb = 0.0f;
    else if (eb < 1.0f) mb = rb;
    else mb = squareOver(rb, eb);
    const float mf =
        (rf > 0.0f && ef > 1.0f) ? squareOver(rf, ef) : 0.0f;
    const float m = mb + mf;  // float addition is the reference (double-rounding lemma)
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
                  OpenLoopLagHistory& lags, cpu::Arch arch) {
  float buffer[kPitchBufferLength];
  pitchBuffer(history, recent, buffer, arch);
  const SweepBuffer prepared(buffer);
  const int c1 = sweep(prepared, buffer, kShortStart, kShortSpan, kShortLow, kShortHigh, kShortDefault,
                       arch);
  const int c2 = sweep(prepared, buffer, kLongStart, kLongSpan, kLongLow, kLongHigh, kLongDefault, arch);
  const int l1 = lags.previous;
  int c3 = c2 / 2;
  if (l1 - kTrackWindow < c2 / 3 && c2 / 3 < l1 + kTrackWindow &&
      std::abs(l1 - c2 / 2) > std::abs(l1 - c2 / 3))
    c3 = c2 / 3;
  const RefinedLag refined[3] = {refineLag(buffer, c1, arch), refineLag(buffer, c2, arch),
                                 refineLag(buffer, c3, arch)};
  const int lag = decideLag(refined, lags);
  lags.beforePrevious = lags.previous;
  lags.previous = lag;
  return lag;
}

}  // namespace zv::ZV_QV80_NAMESPACE
