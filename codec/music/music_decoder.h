// The music decoder: one frame of 31..39 bytes in, 128 PCM samples out.
//
//   scale indices -> level counts (and the frame length) -> codewords
//   -> band samples -> synthesis tree -> x16, clamp to 16 bits
//
// There is no de-emphasis: the output is the encoder's pre-filtered signal;
// the factor 16 undoes the pre-filter's 1/2 and the synthesis tree's 1/8.
#ifndef ZV_CODEC_MUSIC_MUSIC_DECODER_H
#define ZV_CODEC_MUSIC_MUSIC_DECODER_H

#include <cstddef>
#include <cstdint>

#include "codec/music/qmf_form.h"
#include "codec/music/qmf_tree.h"
#include "codec/music/tables.h"

namespace zv::qv160mx {

struct MusicDecoder {
  // Configuration, fixed at open.
  QmfSynthesisStep synthesis;        // form of the filter-bank step
  // Adaptive state, zero at open, carried from frame to frame.
  QmfState synthesisStates[kTreeSteps];
  // Working area of one frame.
  alignas(16) int32_t area[kTreeAreaSamples];  // bands, then the tree's levels
  // The frame's bytes with zero padding, so the bit reader can load whole
  // 64-bit words without looking past what the caller gave.
  uint8_t frame[kMaxFrameBytes + 9];
};

// Prepares a freshly allocated decoder: clears the state and uses the step
// routines of `form`.
void initMusicDecoder(MusicDecoder& decoder, QmfForm form);

// Decodes the frame at `frame` (`available` bytes readable) into 128
// little-endian 16-bit samples at pcm (256 bytes). Reads only the first five
// bytes until it knows the frame length; if `available` is less than that,
// returns 0 and writes nothing. Otherwise returns the frame length (31..39),
// the number of bytes consumed.
int decodeMusicFrame(MusicDecoder& decoder, const uint8_t* frame, size_t available, uint8_t* pcm);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_MUSIC_DECODER_H
