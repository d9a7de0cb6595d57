// Saturation and wrapping helpers for the codec's integer arithmetic.
#ifndef ZV_CODEC_MUSIC_SATURATE_H
#define ZV_CODEC_MUSIC_SATURATE_H

#include <cstdint>

namespace zv::qv160mx {

// Clamps to the signed 16-bit range -32768..32767.
inline int32_t saturateToInt16(int64_t value) {
  if (value > 32767) return 32767;
  if (value < -32768) return -32768;
  return static_cast<int32_t>(value);
}

// The low 16 bits of `value` as a signed number (what a 16-bit register keeps).
inline int32_t lowInt16(int32_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value)));
}

// Reads a 32-bit pattern as a signed value (two's complement, as C++20 defines).
inline int32_t asInt32(uint32_t bits) { return static_cast<int32_t>(bits); }

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_SATURATE_H
