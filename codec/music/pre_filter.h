// The encoder's input filter: a DC-blocking high-pass with gain 1/2,
//   y[n] = (16384 * (x[n] - x[n-1]) + 30802 * y[n-1]) >> 15,
// 16384 and 30802 being 0.5 and 0.94 in Q15, `>>` rounding towards minus
// infinity. The output saturates to -32768..32767. (Keeping only its low 16
// bits instead would turn a full-scale fall, which computes -32769 once the
// filter has come to rest at -1, into +32767, and that value would be fed
// back as y[n-1]: a loud burst.)
#ifndef ZV_CODEC_MUSIC_PRE_FILTER_H
#define ZV_CODEC_MUSIC_PRE_FILTER_H

#include <cstdint>

namespace zv::qv160mx {

struct PreFilterState {
  int32_t previousInput;   // x[n-1], 16-bit sample
  int32_t previousOutput;  // y[n-1], 16-bit sample
};

// Filters `count` little-endian signed 16-bit samples from `pcm` (bytes,
// any alignment) into out[0 .. count - 1], updating `state`.
void preFilterPcm(PreFilterState& state, const uint8_t* pcm, int count, int32_t* out);

// The same on samples already in integers (each -32768..32767).
void preFilterSamples(PreFilterState& state, const int16_t* in, int count, int32_t* out);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_PRE_FILTER_H
