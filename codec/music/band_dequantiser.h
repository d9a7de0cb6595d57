// Decoder side of a band: the digits of its two codewords and the
// reconstructed band samples.
#ifndef ZV_CODEC_MUSIC_BAND_DEQUANTISER_H
#define ZV_CODEC_MUSIC_BAND_DEQUANTISER_H

#include <cstdint>

#include "codec/music/tables.h"

namespace zv::qv160mx {

// Rebuilds the band's 16 samples from its codewords. Samples 15 down to 8
// take digit = codeword mod L, codeword = codeword div L from codewords[1],
// samples 7 down to 0 the same from codewords[0]; each sample is
//   (kReconTables[L][digit] * scaleValue) >> 13.
// Any codeword value is accepted (digits are always < L; a codeword above
// L^8 - 1 leaves a remainder that is ignored). `levels` must be 3, 5, 7 or 9
// and `scaleValue` an entry of kDecoderScaleTable, so that
// |sample| <= (7373 * 9000) >> 13 rounded down in magnitude = 8101.
void reconstructBand(const uint32_t codewords[2], int levels, int32_t scaleValue,
                     int32_t samples[kBandSamples]);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_BAND_DEQUANTISER_H
