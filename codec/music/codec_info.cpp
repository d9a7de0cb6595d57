// The two information records with this codec's values. Only the named
// fields are written; the name only up to and including its NUL.
#include <cstring>

#include <zv/qv160mx.h>
#include "codec/music/tables.h"

namespace {

constexpr char kDisplayName[] = "QV160MX Codec (16kbps,8kHz)";
static_assert(sizeof kDisplayName == 28, "27 characters and the NUL");

constexpr uint16_t kCodecTag = 1;
constexpr uint32_t kVersion = 0x00030000;  // 3.0
constexpr uint32_t kSampleRateHz = 8000;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint32_t kCodedBytesPerSecond = 2000;

}  // namespace

extern "C" {

CodecInfo* QV160MX_GetCodecInfo(CodecInfo* info) {
  if (info == nullptr) return nullptr;
  info->pcmBytesPerFrame = zv::qv160mx::kFramePcmBytes;
  info->maxCodedBytes = zv::qv160mx::kMaxFrameBytes;
  info->bitsPerSample = kBitsPerSample;
  info->sampleRateHz = kSampleRateHz;
  info->codecId = kCodecTag;
  std::memcpy(info->name, kDisplayName, sizeof kDisplayName);
  info->version = kVersion;
  return info;
}

void QV160MX_GetCodecInfoEx(CodecInfoEx* info, uint32_t size) {
  if (info == nullptr || size != ZV_CODEC_INFO_EX_SIZE) return;
  info->codecId = kCodecTag;
  std::memcpy(info->name, kDisplayName, sizeof kDisplayName);
  info->capability1 = 1;
  info->capability2 = 1;
  info->capability3 = 1;
  info->capability4 = 0;
  info->capability5 = 1;
  info->sampleRateHz = kSampleRateHz;
  info->bitsPerSample = kBitsPerSample;
  info->avgCodedBytesPerSecond = kCodedBytesPerSecond;
  info->pcmBytesPerFrame = zv::qv160mx::kFramePcmBytes;
  info->maxCodedBytes = zv::qv160mx::kMaxFrameBytes;
  info->minCodedBytes = zv::qv160mx::kMinFrameBytes;
  info->version = kVersion;
  info->reserved = 0;
}

}  // extern "C"
