// The encoding library's own product version, compiled in from the build's
// project version (the stand-in for reading the library's version resource).
#ifndef ZV_ENCODER_ENCODER_VERSION_H
#define ZV_ENCODER_ENCODER_VERSION_H

#include <cstdint>

namespace zv {

// major << 16 | minor; 0x00010000 for version 1.0.
std::uint32_t encoderVersionWord();

}  // namespace zv

#endif  // ZV_ENCODER_ENCODER_VERSION_H
