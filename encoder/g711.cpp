#include "encoder/g711.h"

namespace zv {

// µ-law: the code is stored inverted; after inversion bit 7 is the sign
// (set = negative), bits 6..4 the segment s and bits 3..0 the step q. The
// magnitude is ((2q + 33) << s) * 4 - 132, i.e. ((q << 3) + 0x84) << s, less
// the bias 0x84.
std::int16_t expandMuLaw(std::uint8_t code) {
  const unsigned value = static_cast<std::uint8_t>(~code);
  const unsigned segment = (value >> 4) & 0x7u;
  const int magnitude = static_cast<int>((((value & 0x0Fu) << 3) + 0x84u) << segment) - 0x84;
  return static_cast<std::int16_t>((value & 0x80u) ? -magnitude : magnitude);
}

// A-law: even bits are stored inverted (XOR 0x55); then bit 7 set means
// positive, bits 6..4 are the segment s and bits 3..0 the step q. Segment 0
// is linear: (q << 4) + 8; segment s > 0: ((q << 4) + 0x108) << (s - 1).
std::int16_t expandALaw(std::uint8_t code) {
  const unsigned value = code ^ 0x55u;
  const unsigned segment = (value >> 4) & 0x7u;
  int magnitude = static_cast<int>((value & 0x0Fu) << 4);
  if (segment == 0)
    magnitude += 8;
  else
    magnitude = (magnitude + 0x108) << (segment - 1);
  return static_cast<std::int16_t>((value & 0x80u) ? magnitude : -magnitude);
}

}  // namespace zv
