// The six working entry points of the library and its ordinal table. Each
// checks its arguments at the boundary and returns a code; nothing here
// throws, prints or allocates per frame.
#include <cstdlib>

#include "codec/music/music_decoder.h"
#include "codec/music/music_encoder.h"
#include <zv/qv160mx.h>

using namespace zv::qv160mx;

extern "C" {

// The open flags select nothing in this codec (its samples are always 16-bit
// and it has one mode); they are accepted and ignored.
void* QV160MX_Open_Coder(uint32_t /*flags*/) {
  const QmfForm form = qmfFormFor(zv::cpu::processorArch());
  auto* encoder = static_cast<MusicEncoder*>(std::malloc(sizeof(MusicEncoder)));
  if (encoder == nullptr) return nullptr;
  initMusicEncoder(*encoder, form);
  return encoder;
}

int32_t QV160MX_Encode(void* handle, const void* pcm, uint16_t* pcmBytes, void* coded,
                       uint16_t* codedBytes) {
  if (handle == nullptr || pcm == nullptr || pcmBytes == nullptr || coded == nullptr ||
      codedBytes == nullptr) {
    return ZV_CODEC_BAD_SIZES;
  }
  if (*pcmBytes < kFramePcmBytes || *codedBytes < kMaxFrameBytes) return ZV_CODEC_BAD_SIZES;
  *pcmBytes = kFramePcmBytes;
  const int frameBytes = encodeMusicFrame(*static_cast<MusicEncoder*>(handle),
                                          static_cast<const uint8_t*>(pcm),
                                          static_cast<uint8_t*>(coded));
  *codedBytes = static_cast<uint16_t>(frameBytes);
  return ZV_CODEC_OK;
}

int32_t QV160MX_Close_Coder(void* handle) {
  std::free(handle);
  return 0;
}

void* QV160MX_Open_Decoder(uint32_t /*flags*/) {
  const QmfForm form = qmfFormFor(zv::cpu::processorArch());
  auto* decoder = static_cast<MusicDecoder*>(std::malloc(sizeof(MusicDecoder)));
  if (decoder == nullptr) return nullptr;
  initMusicDecoder(*decoder, form);
  return decoder;
}

int32_t QV160MX_Decode(void* handle, const void* coded, uint16_t* codedBytes, void* pcm,
                       uint16_t* pcmBytes) {
  if (handle == nullptr || coded == nullptr || codedBytes == nullptr || pcm == nullptr ||
      pcmBytes == nullptr) {
    return ZV_CODEC_BAD_SIZES;
  }
  if (*codedBytes < kMinFrameBytes || *pcmBytes < kFramePcmBytes) return ZV_CODEC_BAD_SIZES;
  *pcmBytes = kFramePcmBytes;
  const int frameBytes = decodeMusicFrame(*static_cast<MusicDecoder*>(handle),
                                          static_cast<const uint8_t*>(coded), *codedBytes,
                                          static_cast<uint8_t*>(pcm));
  if (frameBytes == 0) return ZV_CODEC_BAD_SIZES;  // the frame is longer than what was given
  *codedBytes = static_cast<uint16_t>(frameBytes);
  return ZV_CODEC_OK;
}

int32_t QV160MX_Close_Decoder(void* handle) {
  std::free(handle);
  return 0;
}

namespace {

const ZvEntryPoint kEntryPoints[8] = {
    reinterpret_cast<ZvEntryPoint>(&QV160MX_Open_Coder),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_Encode),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_Close_Coder),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_Open_Decoder),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_Decode),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_Close_Decoder),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_GetCodecInfo),
    reinterpret_cast<ZvEntryPoint>(&QV160MX_GetCodecInfoEx),
};

}  // namespace

const ZvOrdinalTable zv_ordinal_table = {8, kEntryPoints};

}  // extern "C"
