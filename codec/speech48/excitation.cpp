// The decoded fields made into excitation (excitation.h).
#include "codec/speech48/excitation.h"

#include <cstring>

#include "codec/speech48/fixed_point.h"
#include "codec/speech48/tables.h"

namespace zv::qv48 {

void initialLsf(Lsf lsf) {
  for (int i = 0; i < kOrder; ++i) lsf[i] = (i + 1) * kLsfPi / (kOrder + 1);
}

void decodeLsf(const uint8_t index[kOrder], Lsf lsf) {
  for (int i = 0; i < kOrder; ++i) lsf[i] = kLsfLowest[i] + ((2 * index[i] + 1) * kLsfStep[i]) / 2;
  // Upwards, then downwards from the top: the ranges overlap, and every
  // neighbour must keep its distance.
  if (lsf[0] < kLsfMinGap) lsf[0] = kLsfMinGap;
  for (int i = 1; i < kOrder; ++i)
    if (lsf[i] < lsf[i - 1] + kLsfMinGap) lsf[i] = lsf[i - 1] + kLsfMinGap;
  if (lsf[kOrder - 1] > kLsfPi - kLsfMinGap) lsf[kOrder - 1] = kLsfPi - kLsfMinGap;
  for (int i = kOrder - 2; i >= 0; --i)
    if (lsf[i] > lsf[i + 1] - kLsfMinGap) lsf[i] = lsf[i + 1] - kLsfMinGap;
}

int decodeLag(int subframe, uint8_t field, int previousLag) {
  int lag = subframe % 2 == 0 ? kMinLag + field : previousLag + field - kDeltaLagOffset;
  if (lag < kMinLag) lag = kMinLag;
  if (lag > kMaxLag) lag = kMaxLag;
  return lag;
}

void adaptiveVector(const ExcitationBuffer buffer, int lag, int32_t v[kSubframeSamples]) {
  const int32_t* now = buffer + kExcitationHistory;
  for (int n = 0; n < kSubframeSamples; ++n) v[n] = n < lag ? now[n - lag] : v[n - lag];
}

int32_t sharpeningQ14(uint8_t previousPitchGainIndex) {
  const int32_t gain = kPitchGainQ14[previousPitchGainIndex & 7];
  if (gain < 3277) return 3277;
  if (gain > 13107) return 13107;
  return gain;
}

void codeVector(const SubframeFields& fields, int lag, int32_t betaQ14,
                int32_t c[kSubframeSamples]) {
  for (int n = 0; n < kSubframeSamples; ++n) c[n] = 0;
  for (int p = 0; p < 3; ++p) {
    const int position = pulsePosition(p, fields.pulse[p]);
    if (position >= kSubframeSamples) continue;
    const bool negative = (fields.signs >> (2 - p)) & 1u;
    c[position] += negative ? -16384 : 16384;
  }
  if (lag < kSubframeSamples) {
    for (int n = lag; n < kSubframeSamples; ++n)
      c[n] += static_cast<int32_t>(roundShift(int64_t{betaQ14} * c[n - lag], 14));
  }
}

int32_t codeGain(int32_t previousLogQ10, uint8_t index, int32_t* logQ10) {
  // The prediction leaks 1/32 of the way to the starting value each
  // subframe, so that a decoder whose gain state was thrown off (by a
  // damaged frame) comes back to the encoder's within a few frames.
  const int32_t predicted = previousLogQ10 - ((previousLogQ10 - kLogGainStartQ10) >> 5);
  int32_t log = predicted + kCodeGainStepQ10[index & 7];
  if (log < kLogGainMinQ10) log = kLogGainMinQ10;
  if (log > kLogGainMaxQ10) log = kLogGainMaxQ10;
  *logQ10 = log;
  return pow2Q10(log);
}

void buildExcitation(const int32_t v[kSubframeSamples], const int32_t c[kSubframeSamples],
                     int32_t pitchGainQ14, int32_t gain, ExcitationBuffer buffer) {
  int32_t* now = buffer + kExcitationHistory;
  for (int n = 0; n < kSubframeSamples; ++n) {
    const int64_t adaptive = roundShift(int64_t{pitchGainQ14} * v[n], 14);
    const int64_t fixed = roundShift(int64_t{gain} * c[n], 14);
    now[n] = saturateSignal(adaptive + fixed);
  }
}

void shiftExcitation(ExcitationBuffer buffer) {
  std::memmove(buffer, buffer + kSubframeSamples, sizeof(int32_t) * kExcitationHistory);
}

}  // namespace zv::qv48
