#include "codec/speech/gain_quantise.h"

#include "codec/speech/speech_tables.h"

namespace zv::ZV_QV80_NAMESPACE {

int quantisePitchGain(float beta) {
  const float* tg = kPitchGainBoundary;
  if (beta < 0.0f) {
    if (beta <= tg[0]) return 0;
    if (beta >= tg[5]) return 6;
    for (int k = 1; k <= 5; ++k)
      if (tg[k - 1] <= beta && beta < tg[k]) return k;
    return 0;  // not reached
  }
  if (beta >= tg[30]) return 31;
  if (beta < tg[7]) return 7;
  for (int k = 8; k <= 30; ++k)
    if (tg[k - 1] <= beta && beta < tg[k]) return k;
  return 7;  // a NaN gain, which no finite signal produces
}

int quantiseLevel(float magnitude) {
  const float* tl = kPulseLevelBoundary;
  if (magnitude >= tl[15]) return 15;
  for (int k = 1; k <= 15; ++k)
    if (tl[k] > magnitude) return k - 1;
  return 0;  // a NaN magnitude, which no finite signal produces
}

int quantiseSignedGain(float gain) {
  const float magnitude = gain < 0.0f ? -gain : gain;
  return quantiseLevel(magnitude) + (gain < 0.0f ? 16 : 0);
}

}  // namespace zv::ZV_QV80_NAMESPACE
