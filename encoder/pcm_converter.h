// ConvertPcm: any PCM brought to what the codecs take, 8000 Hz mono 16-bit.
//
//  1. channels are mixed down to one (their mean);
//  2. samples of 8 bits (unsigned, 128 = silence) or 16, 24 or 32 bits
//     (signed) become 16-bit, rounding to nearest; a width of 9 to 32 bits
//     is read in its whole-byte container (block alignment / channels);
//  3. the rate is changed to 8000 Hz with libsoxr's high-quality resampler,
//     the whole buffer in one call, no dither; at 8000 Hz it is left alone.
// The source buffer is released as soon as it has been mixed down, so the
// peak memory is the source plus its mono 16-bit copy plus the output.
#ifndef ZV_ENCODER_PCM_CONVERTER_H
#define ZV_ENCODER_PCM_CONVERTER_H

#include <cstdint>
#include <vector>

#include "encoder/guarded_text.h"
#include "encoder/wave_format.h"

namespace zv {

// Source rates outside this range are refused (message 10415): below it the
// output would grow without bound, above it no sound card goes.
inline constexpr std::uint32_t kMinSourceRateHz = 1000;
inline constexpr std::uint32_t kMaxSourceRateHz = 1000000;

// True when `format` is PCM with channels, a rate, a width of 1 to 32 bits
// and a block alignment of channels * ceil(width / 8): the fields the
// conversion relies on.
bool isConvertiblePcmLayout(const WaveFormat& format);

// Converts `samples` (described by `source`) into `converted`, described by
// `target` (always codecPcmFormat()). On failure sets `lastError` to the
// reason's message and returns false; `converted` is then empty. A trailing
// partial sample frame is dropped.
bool ConvertPcm(const WaveFormat& source, std::vector<std::uint8_t> samples, WaveFormat& target,
                std::vector<std::uint8_t>& converted, GuardedText& lastError);

}  // namespace zv

#endif  // ZV_ENCODER_PCM_CONVERTER_H
