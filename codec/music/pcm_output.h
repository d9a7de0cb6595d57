// The decoder's last step: each synthesis output times 16, clamped to
// -32768..32767, stored as 16-bit little-endian PCM. The factor 16 makes up
// the synthesis tree's 1/8 and the encoder pre-filter's 1/2.
#ifndef ZV_CODEC_MUSIC_PCM_OUTPUT_H
#define ZV_CODEC_MUSIC_PCM_OUTPUT_H

#include <cstdint>

namespace zv::qv160mx {

// samples: `count` 32-bit values (any); pcm: 2 * count bytes (any alignment).
void storeAmplifiedPcm(const int32_t* samples, int count, uint8_t* pcm);

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_PCM_OUTPUT_H
