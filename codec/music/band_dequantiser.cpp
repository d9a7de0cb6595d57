#include "codec/music/band_dequantiser.h"

namespace zv::qv160mx {

namespace {

// Digits of both codewords for a level count known at compile time, so that
// the divisions become multiplications.
template <uint32_t L>
void splitDigits(const uint32_t codewords[2], uint8_t digits[kBandSamples]) {
  for (int half = 1; half >= 0; --half) {
    uint32_t codeword = codewords[half];
    for (int i = 7; i >= 0; --i) {
      digits[8 * half + i] = static_cast<uint8_t>(codeword % L);
      codeword /= L;
    }
  }
}

}  // namespace

void reconstructBand(const uint32_t codewords[2], int levels, int32_t scaleValue,
                     int32_t samples[kBandSamples]) {
  uint8_t digits[kBandSamples];
  switch (levels) {
    case 3: splitDigits<3>(codewords, digits); break;
    case 5: splitDigits<5>(codewords, digits); break;
    case 7: splitDigits<7>(codewords, digits); break;
    case 9: splitDigits<9>(codewords, digits); break;
    default:  // no table: not a count the allocation produces
      for (int i = 0; i < kBandSamples; ++i) samples[i] = 0;
      return;
  }
  // The band's few possible sample values, computed once per band. The
  // products stay below 7373 * 9000 < 2^27; `>>` rounds towards minus
  // infinity, so the most negative value is -8101.
  const int16_t* recon = reconstructionLevelsFor(levels);
  int32_t value[9];
  for (int d = 0; d < levels; ++d) value[d] = (recon[d] * scaleValue) >> 13;
  for (int i = 0; i < kBandSamples; ++i) samples[i] = value[digits[i]];
}

}  // namespace zv::qv160mx
