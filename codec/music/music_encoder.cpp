#include "codec/music/music_encoder.h"

#include <cstring>

#include "codec/music/band_quantiser.h"
#include "codec/music/bit_packer.h"
#include "codec/music/frame_format.h"

namespace zv::qv160mx {

void initMusicEncoder(MusicEncoder& encoder, QmfForm form) {
  std::memset(&encoder, 0, sizeof encoder);
  encoder.analysis = qmfStepRoutines(form).analysis;
}

int encodeMusicFrame(MusicEncoder& encoder, const uint8_t* pcm, uint8_t* frame) {
  int32_t* const area = encoder.area;
  preFilterPcm(encoder.preFilter, pcm, kFrameSamples, area);
  analysisTree(encoder.analysis, area, encoder.analysisStates);

  const int32_t* bands = area + kTreeAreaSamples - kFrameSamples;
  for (int band = 0; band < kBandCount; ++band) {
    const int32_t* samples = bands + band * kBandSamples;
    const int index = scaleIndexForPeak(bandPeak(samples));
    const int32_t scaleValue = kScaleTable[index];
    encoder.scaleIndex[band] = static_cast<uint8_t>(index);
    encoder.levels[band] = levelsForScale(scaleValue, kBandMaxLevels[band], kAllocScale);
    quantiseBand(samples, scaleValue, encoder.levels[band], encoder.codewords + 2 * band);
  }

  BitWriter writer(frame, kMaxFrameBytes);
  for (int band = 0; band < kBandCount; ++band) writer.put(encoder.scaleIndex[band], kScaleIndexBits);
  for (int band = 0; band < kBandCount; ++band) {
    const int bits = codewordBitsFor(encoder.levels[band]);
    writer.put(encoder.codewords[2 * band], bits);
    writer.put(encoder.codewords[2 * band + 1], bits);
  }
  return static_cast<int>(writer.finish());
}

}  // namespace zv::qv160mx
