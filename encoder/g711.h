// ITU-T G.711 expansion of 8-bit µ-law and A-law codes to 16-bit linear
// samples (the standard tables: µ-law 0x80 -> 32124, 0x00 -> -32124, 0xFF
// and 0x7F -> 0; A-law 0x80 -> 5504, 0xD5 -> 8, 0x55 -> -8).
#ifndef ZV_ENCODER_G711_H
#define ZV_ENCODER_G711_H

#include <cstdint>

namespace zv {

std::int16_t expandMuLaw(std::uint8_t code);
std::int16_t expandALaw(std::uint8_t code);

}  // namespace zv

#endif  // ZV_ENCODER_G711_H
