// Sample frames of any layout mixed down to mono 16-bit, block by block.
//
// Integer samples: the bits below the valid ones are cleared (they carry no
// signal and some writers leave noise in them), then the channels' mean is
// scaled to 16 bits and rounded to nearest, ties to even:
//     x16 = round(mean(x) * 2^(16 - 8 * containerBytes))
// Float samples (and the normalised samples of other decoders): NaN and the
// infinities count as 0, values beyond full scale are clipped to +-1, then
//     x16 = round(mean(x) * 32768), limited to [-32768, 32767].
#ifndef ZV_ENCODER_MONO_MIXDOWN_H
#define ZV_ENCODER_MONO_MIXDOWN_H

#include <cstddef>
#include <cstdint>

#include "encoder/sample_layout.h"

namespace zv {

// `frames` frames of little-endian samples in `layout` at `bytes` into
// `mono` (room for `frames` samples).
void mixDownFrames(const SampleLayout& layout, const std::uint8_t* bytes, std::size_t frames,
                   std::int16_t* mono);

// `frames` frames of `channels` interleaved normalised samples (full scale
// +-1.0) into `mono`.
void mixDownNormalized(const double* samples, std::size_t frames, unsigned channels,
                       std::int16_t* mono);

}  // namespace zv

#endif  // ZV_ENCODER_MONO_MIXDOWN_H
