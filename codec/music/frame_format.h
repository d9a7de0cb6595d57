// Frame format and level allocation of the QV160MX music codec.
//
// One frame codes 128 samples as 8 subbands of 16 samples. Bits are packed
// most significant bit first, fields may cross bytes:
//
//   field                                   width
//   scale index of band 0 .. band 7         5 bits each (bytes 0..4 exactly)
//   codewords: band 0 samples 0-7, 8-15,    codewordBitsFor(L_band) each
//              band 1 samples 0-7, ..., band 7 samples 8-15
//   zero fill up to the end of the byte     0..7 bits
//
// The level count L of a band is not transmitted: both sides derive it from
// the band's scale value, so the first five bytes fix the frame length,
//   bytes = 5 + ceil(2 * sum_b codewordBitsFor(L_b) / 8),
// which lets frames be stored back to back. Bands 3..7 always have 3 levels,
// bands 0 and 1 take 3, 5, 7 or 9 and band 2 3 or 5, so a frame is 31 bytes
// (all at 3 levels) up to 39 bytes; 32 never occurs.
#ifndef ZV_CODEC_MUSIC_FRAME_FORMAT_H
#define ZV_CODEC_MUSIC_FRAME_FORMAT_H

#include <cstdint>

#include "codec/music/tables.h"

namespace zv::qv160mx {

// Factor applied to kAllocSteps.
inline constexpr int32_t kAllocScale = 2;

// Bytes holding the eight 5-bit scale indices.
inline constexpr int kScaleHeaderBytes = 5;

// Level count of a band with scale value `scaleValue` whose largest count is
// `maxLevels` (kBandMaxLevels). With allocScale 2 the step boundaries are
// 1250, 2500 and 5000; a value equal to a boundary belongs to the higher step:
//   SF < 1250: 3;  SF < 2500: min(5, M);  SF < 5000: min(7, M);  else M.
int levelsForScale(int32_t scaleValue, int32_t maxLevels, int32_t allocScale);

// Levels of all eight bands from their scale indices (each 0..31), looked up
// in `scaleTable` (kScaleTable for the encoder, kDecoderScaleTable for the
// decoder). Writes levels[0..7].
void allocateLevels(const uint8_t scaleIndex[kBandCount], const int32_t* scaleTable,
                    int32_t allocScale, int levels[kBandCount]);

// Frame length in bytes for the given level counts (31..39 for counts the
// allocation produces).
int frameBytesForLevels(const int levels[kBandCount]);

// Reads the eight 5-bit scale indices from the first five bytes of a frame.
void readScaleIndices(const uint8_t header[kScaleHeaderBytes], uint8_t scaleIndex[kBandCount]);

// Length in bytes of the frame whose first five bytes are `header`, as the
// decoder derives it (kDecoderScaleTable, allocScale 2). Any five bytes give
// 31..39. This is what a reader needs to step from frame to frame.
int frameBytesFromHeader(const uint8_t header[kScaleHeaderBytes]);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_FRAME_FORMAT_H
