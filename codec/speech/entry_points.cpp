// The coder and decoder entry points of QV80W and its ordinal table.
//
// A handle is a heap block holding one EncoderState or DecoderState,
// allocated with malloc (the library links nothing but libc and libm).
// Counts are checked before anything is touched: a wrong count or a NULL
// pointer returns −2 and leaves the state, the counts and the buffers as
// they were.
#include <cstdlib>
#include <new>

#include <zv/qv80.h>
#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_encoder.h"
#include "codec/speech/speech_namespace.h"

// The codec's internals: zv::qv80 in the library, zv::qv80_reference when
// the same sources are built in the reference arithmetic.
namespace speech = zv::ZV_QV80_NAMESPACE;

namespace {

using speech::DecoderState;
using speech::EncoderState;

constexpr uint16_t kCodedBytes = speech::kFrameBytes;

bool eightBitFlag(uint32_t flags) { return (flags & ZV_CODEC_FLAG_8BIT) != 0; }

uint16_t pcmBytesFor(bool eightBit) {
  return static_cast<uint16_t>(eightBit ? speech::kFrameSamples : 2 * speech::kFrameSamples);
}

template <typename State>
State* allocateState() {
  void* block = std::malloc(sizeof(State));
  return block ? new (block) State : nullptr;
}

}  // namespace

extern "C" void* QV80_Open_Coder(uint32_t flags) {
  EncoderState* state = allocateState<EncoderState>();
  if (state) speech::initEncoder(*state, eightBitFlag(flags), zv::cpu::processorArch());
  return state;
}

extern "C" int32_t QV80_Encode(void* handle, const void* pcm, uint16_t* pcmBytes, void* coded,
                               uint16_t* codedBytes) {
  if (!handle || !pcm || !pcmBytes || !coded || !codedBytes) return ZV_CODEC_BAD_SIZES;
  auto* state = static_cast<EncoderState*>(handle);
  if (*pcmBytes != pcmBytesFor(state->eightBit) || *codedBytes != kCodedBytes)
    return ZV_CODEC_BAD_SIZES;
  speech::encodeFrame(*state, static_cast<const uint8_t*>(pcm), static_cast<uint8_t*>(coded));
  return ZV_CODEC_OK;
}

extern "C" int32_t QV80_Close_Coder(void* handle) {
  std::free(handle);
  return 0;
}

extern "C" void* QV80_Open_Decoder(uint32_t flags) {
  DecoderState* state = allocateState<DecoderState>();
  if (state) speech::initDecoder(*state, eightBitFlag(flags), zv::cpu::processorArch());
  return state;
}

extern "C" int32_t QV80_Decode(void* handle, const void* coded, uint16_t* codedBytes, void* pcm,
                               uint16_t* pcmBytes) {
  if (!handle || !coded || !codedBytes || !pcm || !pcmBytes) return ZV_CODEC_BAD_SIZES;
  auto* state = static_cast<DecoderState*>(handle);
  if (*codedBytes != kCodedBytes || *pcmBytes != pcmBytesFor(state->eightBit))
    return ZV_CODEC_BAD_SIZES;
  speech::decodeFrame(*state, static_cast<const uint8_t*>(coded), static_cast<uint8_t*>(pcm));
  return ZV_CODEC_OK;
}

extern "C" int32_t QV80_Close_Decoder(void* handle) {
  std::free(handle);
  return 0;
}

namespace {
const ZvEntryPoint kEntryPoints[] = {
    reinterpret_cast<ZvEntryPoint>(&QV80_Open_Coder),
    reinterpret_cast<ZvEntryPoint>(&QV80_Encode),
    reinterpret_cast<ZvEntryPoint>(&QV80_Close_Coder),
    reinterpret_cast<ZvEntryPoint>(&QV80_Open_Decoder),
    reinterpret_cast<ZvEntryPoint>(&QV80_Decode),
    reinterpret_cast<ZvEntryPoint>(&QV80_Close_Decoder),
    reinterpret_cast<ZvEntryPoint>(&QV80_GetCodecInfo),
    reinterpret_cast<ZvEntryPoint>(&QV80_GetCodecInfoEx),
};
}  // namespace

extern "C" const ZvOrdinalTable zv_ordinal_table = {
    sizeof kEntryPoints / sizeof kEntryPoints[0], kEntryPoints};
