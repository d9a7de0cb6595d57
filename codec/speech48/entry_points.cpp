// The eight entry points of QV48W and its ordinal table.
//
// Each handle owns one EncoderState or DecoderState in a malloc'd block (the
// library needs nothing but libc). Every count and pointer is checked before
// the state is touched: on a mismatch the call returns −2 and changes
// nothing.
#include <cstdlib>
#include <new>

#include <zv/qv48.h>
#include "codec/speech48/lowrate_decoder.h"
#include "codec/speech48/lowrate_encoder.h"

namespace {

namespace lowrate = zv::qv48;

constexpr uint16_t kFrameCodedBytes = lowrate::kFrameBytes;

uint16_t framePcmBytes(bool eightBit) {
  return static_cast<uint16_t>(lowrate::kFrameSamples * (eightBit ? 1 : 2));
}

template <typename State>
State* newState(uint32_t flags, void (*init)(State&, bool)) {
  void* block = std::malloc(sizeof(State));
  if (block == nullptr) return nullptr;
  State* state = new (block) State;
  init(*state, (flags & ZV_CODEC_FLAG_8BIT) != 0);
  return state;
}

// The counts a call must bring: exactly one frame each way.
template <typename State>
bool countsMatch(const State* state, const uint16_t* pcmBytes, const uint16_t* codedBytes) {
  return *pcmBytes == framePcmBytes(state->eightBit) && *codedBytes == kFrameCodedBytes;
}

}  // namespace

extern "C" void* QV48_Open_Coder(uint32_t flags) {
  return newState<lowrate::EncoderState>(flags, lowrate::initEncoder);
}

extern "C" int32_t QV48_Encode(void* handle, const void* pcm, uint16_t* pcmBytes, void* coded,
                               uint16_t* codedBytes) {
  if (handle == nullptr || pcm == nullptr || pcmBytes == nullptr || coded == nullptr ||
      codedBytes == nullptr)
    return ZV_CODEC_BAD_SIZES;
  auto* state = static_cast<lowrate::EncoderState*>(handle);
  if (!countsMatch(state, pcmBytes, codedBytes)) return ZV_CODEC_BAD_SIZES;
  lowrate::encodeFrame(*state, static_cast<const uint8_t*>(pcm), static_cast<uint8_t*>(coded));
  return ZV_CODEC_OK;
}

extern "C" int32_t QV48_Close_Coder(void* handle) {
  std::free(handle);  // the states are trivially destructible
  return 0;
}

extern "C" void* QV48_Open_Decoder(uint32_t flags) {
  return newState<lowrate::DecoderState>(flags, lowrate::initDecoder);
}

extern "C" int32_t QV48_Decode(void* handle, const void* coded, uint16_t* codedBytes, void* pcm,
                               uint16_t* pcmBytes) {
  if (handle == nullptr || coded == nullptr || codedBytes == nullptr || pcm == nullptr ||
      pcmBytes == nullptr)
    return ZV_CODEC_BAD_SIZES;
  auto* state = static_cast<lowrate::DecoderState*>(handle);
  if (!countsMatch(state, pcmBytes, codedBytes)) return ZV_CODEC_BAD_SIZES;
  lowrate::decodeFrame(*state, static_cast<const uint8_t*>(coded), static_cast<uint8_t*>(pcm));
  return ZV_CODEC_OK;
}

extern "C" int32_t QV48_Close_Decoder(void* handle) {
  std::free(handle);
  return 0;
}

namespace {
const ZvEntryPoint kOrdinals[] = {
    reinterpret_cast<ZvEntryPoint>(&QV48_Open_Coder),
    reinterpret_cast<ZvEntryPoint>(&QV48_Encode),
    reinterpret_cast<ZvEntryPoint>(&QV48_Close_Coder),
    reinterpret_cast<ZvEntryPoint>(&QV48_Open_Decoder),
    reinterpret_cast<ZvEntryPoint>(&QV48_Decode),
    reinterpret_cast<ZvEntryPoint>(&QV48_Close_Decoder),
    reinterpret_cast<ZvEntryPoint>(&QV48_GetCodecInfo),
    reinterpret_cast<ZvEntryPoint>(&QV48_GetCodecInfoEx),
};
}  // namespace

extern "C" const ZvOrdinalTable zv_ordinal_table = {sizeof kOrdinals / sizeof kOrdinals[0],
                                                    kOrdinals};
