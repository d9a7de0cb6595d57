#include "codec/music/band_dequantiser.h"

namespace zv::qv160mx {

namespace {

// Samples of both codewords for a level count known at compile time, so
// that the divisions become multiplications. Each codeword is first cut at
// L^4: the low part gives digits 7..4, the quotient digits 3..0 (taking those
// modulo L exactly as the one-digit-at-a-time rule does, also for a corrupt
// codeword above L^8 - 1), and the two halves no longer wait on each other.
template <uint32_t L>
void samplesFromCodewords(const uint32_t codewords[2], const int32_t* value,
                          int32_t samples[kBandSamples]) {
  constexpr uint32_t kL4 = L * L * L * L;
  for (int half = 0; half < 2; ++half) {
    uint32_t high = codewords[half] / kL4;
    uint32_t low = codewords[half] - high * kL4;
    int32_t* out = samples + 8 * half;
    for (int i = 3; i >= 0; --i) {
      out[4 + i] = value[low % L];
      low /= L;
      out[i] = value[high % L];
      high /= L;
    }
  }
}

}  // namespace

void reconstructBand(const uint32_t codewords[2], int levels, int32_t scaleValue,
                     int32_t samples[kBandSamples]) {
  const int16_t* recon = reconstructionLevelsFor(levels);
  if (recon == nullptr) {  // not a count the allocation produces
    for (int i = 0; i < kBandSamples; ++i) samples[i] = 0;
    return;
  }
  // The band's few possible sample values, computed once per band. The
  // products stay below 7373 * 9000 < 2^27; `>>` rounds towards minus
  // infinity, so the most negative value is -8101.
  int32_t value[9];
  for (int d = 0; d < levels; ++d) value[d] = (recon[d] * scaleValue) >> 13;
  switch (levels) {
    case 3: samplesFromCodewords<3>(codewords, value, samples); break;
    case 5: samplesFromCodewords<5>(codewords, value, samples); break;
    case 7: samplesFromCodewords<7>(codewords, value, samples); break;
    default: samplesFromCodewords<9>(codewords, value, samples); break;
  }
}

}  // namespace zv::qv160mx
