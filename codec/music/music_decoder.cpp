#include "codec/music/music_decoder.h"

#include <cstring>

#include "codec/music/band_dequantiser.h"
#include "codec/music/bit_packer.h"
#include "codec/music/frame_format.h"
#include "codec/music/pcm_output.h"

namespace zv::qv160mx {

void initMusicDecoder(MusicDecoder& decoder, QmfForm form) {
  std::memset(&decoder, 0, sizeof decoder);
  decoder.synthesis = qmfStepRoutines(form).synthesis;
}

int decodeMusicFrame(MusicDecoder& decoder, const uint8_t* frame, size_t available, uint8_t* pcm) {
  if (available < static_cast<size_t>(kScaleHeaderBytes)) return 0;
  uint8_t scaleIndex[kBandCount];
  int levels[kBandCount];
  readScaleIndices(frame, scaleIndex);
  allocateLevels(scaleIndex, kDecoderScaleTable, kAllocScale, levels);
  const int frameBytes = frameBytesForLevels(levels);
  if (available < static_cast<size_t>(frameBytes)) return 0;

  std::memcpy(decoder.frame, frame, static_cast<size_t>(frameBytes));
  std::memset(decoder.frame + frameBytes, 0, sizeof decoder.frame - static_cast<size_t>(frameBytes));
  BitReader reader(decoder.frame, sizeof decoder.frame);
  reader.skip(kBandCount * kScaleIndexBits);  // the scale indices, read above

  int32_t* const area = decoder.area;
  for (int band = 0; band < kBandCount; ++band) {
    const int bits = codewordBitsFor(levels[band]);
    uint32_t codewords[2];
    codewords[0] = reader.get(bits);
    codewords[1] = reader.get(bits);
    reconstructBand(codewords, levels[band], kDecoderScaleTable[scaleIndex[band]],
                    area + band * kBandSamples);
  }

  synthesisTree(decoder.synthesis, area, decoder.synthesisStates);

  storeAmplifiedPcm(area + kTreeAreaSamples - kFrameSamples, kFrameSamples, pcm);
  return frameBytes;
}

}  // namespace zv::qv160mx
