#include "encoder/encoder_version.h"

#ifndef ZV_ENCODER_VERSION_MAJOR
#error "ZV_ENCODER_VERSION_MAJOR must come from the build's project version"
#endif
#ifndef ZV_ENCODER_VERSION_MINOR
#error "ZV_ENCODER_VERSION_MINOR must come from the build's project version"
#endif

namespace zv {

std::uint32_t encoderVersionWord() {
  return (static_cast<std::uint32_t>(ZV_ENCODER_VERSION_MAJOR & 0xFFFF) << 16) |
         static_cast<std::uint32_t>(ZV_ENCODER_VERSION_MINOR & 0xFFFF);
}

}  // namespace zv
