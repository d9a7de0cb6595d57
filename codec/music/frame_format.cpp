#include "codec/music/frame_format.h"

namespace zv::qv160mx {

int levelsForScale(int32_t scaleValue, int32_t maxLevels, int32_t allocScale) {
  if (scaleValue < kAllocSteps[0] * allocScale) return 3;
  if (scaleValue < kAllocSteps[1] * allocScale) return maxLevels > 5 ? 5 : maxLevels;
  if (scaleValue < kAllocSteps[2] * allocScale) return maxLevels > 7 ? 7 : maxLevels;
  return maxLevels;
}

void allocateLevels(const uint8_t scaleIndex[kBandCount], const int32_t* scaleTable,
                    int32_t allocScale, int levels[kBandCount]) {
  for (int band = 0; band < kBandCount; ++band) {
    levels[band] = levelsForScale(scaleTable[scaleIndex[band] & (kScaleCount - 1)],
                                  kBandMaxLevels[band], allocScale);
  }
}

int frameBytesForLevels(const int levels[kBandCount]) {
  int codewordBits = 0;
  for (int band = 0; band < kBandCount; ++band) codewordBits += 2 * codewordBitsFor(levels[band]);
  return kScaleHeaderBytes + (codewordBits + 7) / 8;
}

void readScaleIndices(const uint8_t header[kScaleHeaderBytes], uint8_t scaleIndex[kBandCount]) {
  uint64_t bits = 0;
  for (int i = 0; i < kScaleHeaderBytes; ++i) bits = (bits << 8) | header[i];
  // 40 bits, band 0 in the top five.
  for (int band = 0; band < kBandCount; ++band) {
    scaleIndex[band] = static_cast<uint8_t>((bits >> (35 - kScaleIndexBits * band)) & 31u);
  }
}

int frameBytesFromHeader(const uint8_t header[kScaleHeaderBytes]) {
  uint8_t scaleIndex[kBandCount];
  int levels[kBandCount];
  readScaleIndices(header, scaleIndex);
  allocateLevels(scaleIndex, kDecoderScaleTable, kAllocScale, levels);
  return frameBytesForLevels(levels);
}

}  // namespace zv::qv160mx
