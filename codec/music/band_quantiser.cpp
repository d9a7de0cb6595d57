#include "codec/music/band_quantiser.h"

#include "codec/music/saturate.h"

namespace zv::qv160mx {

int scaleIndexForPeak(int32_t peak) {
  if (peak > kScaleTable[kScaleCount - 1]) return kScaleCount - 1;
  int index = 0;
  while (kScaleTable[index] < peak) ++index;  // ends at 31 at the latest (9000 >= peak)
  return index;
}

int32_t bandPeak(const int32_t samples[kBandSamples]) {
  // Band samples are 32-bit sums shifted right by 15, so |v| <= 2^16 and the
  // magnitude cannot overflow.
  int32_t peak = 0;
  for (int i = 0; i < kBandSamples; ++i) {
    const int32_t magnitude = samples[i] < 0 ? -samples[i] : samples[i];
    if (magnitude > peak) peak = magnitude;
  }
  return peak;
}

int quantiseSample(int32_t v, int32_t scaleValue, int levels) {
  // Saturating rather than keeping the low 16 bits: a sample far outside the
  // scale must land on the outermost level of its own sign.
  const int32_t q = saturateToInt16(static_cast<int64_t>(v) * 8192 / scaleValue);
  const int16_t* thresholds = decisionThresholdsFor(levels);
  int index = 0;
  while (index < levels - 1 && thresholds[index] < q) ++index;
  return index;
}

void quantiseBand(const int32_t samples[kBandSamples], int32_t scaleValue, int levels,
                  uint32_t codewords[2]) {
  for (int half = 0; half < 2; ++half) {
    uint32_t codeword = 0;
    for (int i = 0; i < 8; ++i) {
      const int index = quantiseSample(samples[8 * half + i], scaleValue, levels);
      codeword = codeword * static_cast<uint32_t>(levels) + static_cast<uint32_t>(index);
    }
    codewords[half] = codeword;
  }
}

}  // namespace zv::qv160mx
