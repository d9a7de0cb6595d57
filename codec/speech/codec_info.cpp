// The speech codec's two information records (layouts in zv/codec_api.h).
#include <cstring>

#include <zv/qv80.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the information records are little-endian; fields are assigned directly");

namespace {

constexpr uint16_t kCodecId = 2022;
constexpr uint32_t kVersion = 0x00030000;  // 3.0
constexpr uint16_t kPcmBytesPerFrame = 320;
constexpr uint16_t kCodedBytesPerFrame = 20;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint32_t kSampleRateHz = 8000;
constexpr uint32_t kCodedBytesPerSecond = 1000;

constexpr char kShortName[] = "Quaverline(TM)80 Codec";
constexpr char kLongName[] = "Quaverline(TM)80 Codec (8.0 kbps, 8 kHz)";
static_assert(sizeof kShortName == 23 && sizeof kShortName <= sizeof(CodecInfo{}.name));
static_assert(sizeof kLongName == 41 && sizeof kLongName <= sizeof(CodecInfoEx{}.name));

}  // namespace

extern "C" CodecInfo* QV80_GetCodecInfo(CodecInfo* info) {
  if (info == nullptr) return info;
  info->pcmBytesPerFrame = kPcmBytesPerFrame;
  info->maxCodedBytes = kCodedBytesPerFrame;
  info->bitsPerSample = kBitsPerSample;
  info->sampleRateHz = kSampleRateHz;
  info->codecId = kCodecId;
  std::memcpy(info->name, kShortName, sizeof kShortName);  // the name and its NUL only
  info->version = kVersion;
  return info;
}

extern "C" void QV80_GetCodecInfoEx(CodecInfoEx* info, uint32_t size) {
  if (info == nullptr || size != ZV_CODEC_INFO_EX_SIZE) return;
  info->codecId = kCodecId;
  std::memcpy(info->name, kLongName, sizeof kLongName);
  info->capability1 = 0;
  info->capability2 = 0;
  info->capability3 = 1;
  info->capability4 = 1;
  info->capability5 = 1;
  info->sampleRateHz = kSampleRateHz;
  info->bitsPerSample = kBitsPerSample;
  info->avgCodedBytesPerSecond = kCodedBytesPerSecond;
  info->pcmBytesPerFrame = kPcmBytesPerFrame;
  info->maxCodedBytes = kCodedBytesPerFrame;
  info->minCodedBytes = kCodedBytesPerFrame;
  info->version = kVersion;
  info->reserved = 0;
}
