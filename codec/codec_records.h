// The two information records every codec library fills (layouts in
// zv/codec_api.h), from one description of the codec. Only the named fields
// are written; a name only up to and including its NUL, the rest of the
// caller's field kept.
#ifndef ZV_CODEC_CODEC_RECORDS_H
#define ZV_CODEC_CODEC_RECORDS_H

#include <cstdint>
#include <cstring>

#include <zv/codec_api.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the information records are little-endian; fields are assigned directly");

namespace zv::codec {

// Every codec of the system codes 8000 Hz, 16-bit mono.
inline constexpr uint32_t kSampleRateHz = 8000;
inline constexpr uint16_t kBitsPerSample = 16;

struct CodecRecords {
  uint16_t codecId;
  uint32_t version;  // major << 16 | minor
  uint16_t pcmBytesPerFrame;
  uint16_t maxCodedBytes;
  uint16_t minCodedBytes;
  uint32_t avgCodedBytesPerSecond;
  uint32_t capabilities[4];
  uint16_t capability5;
  const char* shortName;  // CodecInfo, at most 39 characters
  const char* longName;   // CodecInfoEx, at most 79 characters
};

inline CodecInfo* fillCodecInfo(CodecInfo* info, const CodecRecords& codec) {
  if (info == nullptr) return nullptr;
  info->pcmBytesPerFrame = codec.pcmBytesPerFrame;
  info->maxCodedBytes = codec.maxCodedBytes;
  info->bitsPerSample = kBitsPerSample;
  info->sampleRateHz = kSampleRateHz;
  info->codecId = codec.codecId;
  std::memcpy(info->name, codec.shortName, std::strlen(codec.shortName) + 1);
  info->version = codec.version;
  return info;
}

inline void fillCodecInfoEx(CodecInfoEx* info, uint32_t size, const CodecRecords& codec) {
  if (info == nullptr || size != ZV_CODEC_INFO_EX_SIZE) return;
  info->codecId = codec.codecId;
  std::memcpy(info->name, codec.longName, std::strlen(codec.longName) + 1);
  info->capability1 = codec.capabilities[0];
  info->capability2 = codec.capabilities[1];
  info->capability3 = codec.capabilities[2];
  info->capability4 = codec.capabilities[3];
  info->capability5 = codec.capability5;
  info->sampleRateHz = kSampleRateHz;
  info->bitsPerSample = kBitsPerSample;
  info->avgCodedBytesPerSecond = codec.avgCodedBytesPerSecond;
  info->pcmBytesPerFrame = codec.pcmBytesPerFrame;
  info->maxCodedBytes = codec.maxCodedBytes;
  info->minCodedBytes = codec.minCodedBytes;
  info->version = codec.version;
  info->reserved = 0;
}

}  // namespace zv::codec

#endif  // ZV_CODEC_CODEC_RECORDS_H
