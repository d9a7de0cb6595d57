// Encoder side of a band: scale index, quantiser indices and the two
// mixed-radix codewords.
#ifndef ZV_CODEC_MUSIC_BAND_QUANTISER_H
#define ZV_CODEC_MUSIC_BAND_QUANTISER_H

#include <cstdint>

#include "codec/music/tables.h"

namespace zv::qv160mx {

// Index into kScaleTable for a band whose largest absolute sample is `peak`
// (>= 0): 31 when peak > 9000, else the smallest i with kScaleTable[i] >= peak.
int scaleIndexForPeak(int32_t peak);

// Largest absolute value of the band's samples.
int32_t bandPeak(const int32_t samples[kBandSamples]);

// Quantiser index (0 .. levels-1) of band sample v, for a band of scale value
// `scaleValue` and `levels` levels (3, 5, 7, 9 or 11):
//   q = (v * 8192) / scaleValue, truncated towards zero, saturated to 16 bits;
//   index = position of the first threshold >= q, or levels-1 if none is.
int quantiseSample(int32_t v, int32_t scaleValue, int levels);

// Quantises the band's 16 samples exactly as quantiseSample does and forms
// its codewords: codewords[0] from samples 0..7, codewords[1] from samples
// 8..15, each
//   i0 * L^7 + i1 * L^6 + ... + i7   (first sample most significant).
// It compares against per-band bounds instead of dividing each sample.
void quantiseBand(const int32_t samples[kBandSamples], int32_t scaleValue, int levels,
                  uint32_t codewords[2]);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_BAND_QUANTISER_H
