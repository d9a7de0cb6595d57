// The music encoder: 128 PCM samples in, one frame of 31..39 bytes out.
//
//   pre-filter (DC block, gain 1/2) -> analysis tree (8 bands of 16)
//   -> per band: peak -> scale index -> level count -> quantiser indices
//   -> two mixed-radix codewords -> bit packing
#ifndef ZV_CODEC_MUSIC_MUSIC_ENCODER_H
#define ZV_CODEC_MUSIC_MUSIC_ENCODER_H

#include <cstdint>

#include "codec/music/pre_filter.h"
#include "codec/music/qmf_form.h"
#include "codec/music/qmf_tree.h"
#include "codec/music/tables.h"

namespace zv::qv160mx {

struct MusicEncoder {
  // Configuration, fixed at open.
  QmfAnalysisStep analysis;          // form of the filter-bank step
  // Adaptive state, zero at open, carried from frame to frame.
  PreFilterState preFilter;          // x[n-1], y[n-1]
  QmfState analysisStates[kTreeSteps];
  // Working area of one frame.
  alignas(16) int32_t area[kTreeAreaSamples];  // input, then the tree's levels
  uint8_t scaleIndex[kBandCount];    // 0..31
  int levels[kBandCount];            // 3, 5, 7 or 9
  uint32_t codewords[2 * kBandCount];
};

// Prepares a freshly allocated encoder: clears the state and uses the step
// routines of `form`.
void initMusicEncoder(MusicEncoder& encoder, QmfForm form);

// Encodes 128 little-endian 16-bit samples (pcm, 256 bytes, any alignment)
// into `frame`, which has room for kMaxFrameBytes. Returns the frame length
// (31..39).
int encodeMusicFrame(MusicEncoder& encoder, const uint8_t* pcm, uint8_t* frame);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_MUSIC_ENCODER_H
