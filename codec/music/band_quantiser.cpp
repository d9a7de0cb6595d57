#include "codec/music/band_quantiser.h"

#include "codec/music/saturate.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The index counts the thresholds t below q = trunc(N / SF), N = v * 8192.
// Every threshold lies within +-7004 and SF <= 9000, so
//  - saturating q to 16 bits never changes that count, and neither does
//    saturating v to 16 bits first (any |v| > 7696 already counts every
//    threshold on its side);
//  - for integers t and SF > 0
//      N >= 0: t < trunc(N / SF) = floor(N / SF)  <=>  N >= (t + 1) * SF
//      N <  0: t < trunc(N / SF) = ceil(N / SF)   <=>  N > t * SF
// so each sample needs only comparisons with bounds computed once per band:
//   index = #{ t : N > bound_t },  bound_t = (t + 1) * SF - 1 or t * SF,
// all within 32 bits once |v| <= 32768.
namespace {

struct BandBounds {
  int count;                    // thresholds, levels - 1 (at most 10)
  int32_t ifPositive[10];       // (t + 1) * SF - 1
  int32_t ifNegative[10];       // t * SF
};

BandBounds boundsFor(int32_t scaleValue, int levels) {
  BandBounds bounds;
  const int16_t* thresholds = decisionThresholdsFor(levels);
  bounds.count = levels - 1;
  for (int t = 0; t < bounds.count; ++t) {
    bounds.ifPositive[t] = (thresholds[t] + 1) * scaleValue - 1;
    bounds.ifNegative[t] = thresholds[t] * scaleValue;
  }
  return bounds;
}

// Quantiser indices of the band's 16 samples.
void bandIndices(const int32_t samples[kBandSamples], const BandBounds& bounds,
                 uint32_t indices[kBandSamples]) {
#if defined(__SSE2__)
  for (int i = 0; i < kBandSamples; i += 8) {
    const __m128i v16 = _mm_packs_epi32(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i)),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i + 4)));
    // v * 65536 >> 3 = v * 8192, exactly, in 32-bit lanes.
    const __m128i zero = _mm_setzero_si128();
    const __m128i n[2] = {_mm_srai_epi32(_mm_unpacklo_epi16(zero, v16), 3),
                          _mm_srai_epi32(_mm_unpackhi_epi16(zero, v16), 3)};
    for (int h = 0; h < 2; ++h) {
      const __m128i negative = _mm_srai_epi32(n[h], 31);
      __m128i index = zero;
      for (int t = 0; t < bounds.count; ++t) {
        const __m128i bound =
            _mm_or_si128(_mm_andnot_si128(negative, _mm_set1_epi32(bounds.ifPositive[t])),
                         _mm_and_si128(negative, _mm_set1_epi32(bounds.ifNegative[t])));
        index = _mm_sub_epi32(index, _mm_cmpgt_epi32(n[h], bound));  // true is -1
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(indices + i + 4 * h), index);
    }
  }
#else
  for (int i = 0; i < kBandSamples; ++i) {
    const int32_t n = saturateToInt16(samples[i]) * 8192;
    const int32_t* bound = n >= 0 ? bounds.ifPositive : bounds.ifNegative;
    uint32_t index = 0;
    for (int t = 0; t < bounds.count; ++t) index += n > bound[t] ? 1u : 0u;
    indices[i] = index;
  }
#endif
}

}  // namespace

void quantiseBand(const int32_t samples[kBandSamples], int32_t scaleValue, int levels,
                  uint32_t codewords[2]) {
  uint32_t indices[kBandSamples];
  bandIndices(samples, boundsFor(scaleValue, levels), indices);
  const uint32_t radix = static_cast<uint32_t>(levels);
  for (int half = 0; half < 2; ++half) {
    uint32_t codeword = 0;
    for (int i = 0; i < 8; ++i) codeword = codeword * radix + indices[8 * half + i];
    codewords[half] = codeword;
  }
}

}  // namespace zv::qv160mx
