// How the samples of a source are stored, as far as mixing them down to
// mono 16-bit needs to know.
#ifndef ZV_ENCODER_SAMPLE_LAYOUT_H
#define ZV_ENCODER_SAMPLE_LAYOUT_H

#include <cstdint>

namespace zv {

enum class SampleEncoding {
  Integer,  // linear PCM: 8 bits unsigned (128 = silence), wider signed
  Float,    // IEEE 754 binary32 or binary64, full scale at +-1.0
};

struct SampleLayout {
  SampleEncoding encoding = SampleEncoding::Integer;
  std::uint16_t channels = 0;
  std::uint32_t sampleRateHz = 0;
  unsigned containerBytes = 0;  // bytes of one sample of one channel: 1..4, or 4/8 for Float
  unsigned validBits = 0;       // significant bits, left-justified in the container
  std::uint32_t frameBytes() const { return static_cast<std::uint32_t>(channels) * containerBytes; }
};

}  // namespace zv

#endif  // ZV_ENCODER_SAMPLE_LAYOUT_H
