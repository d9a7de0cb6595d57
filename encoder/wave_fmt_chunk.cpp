#include "encoder/wave_fmt_chunk.h"

#include <cstring>
#include <string>

#include "encoder/byte_order.h"
#include "encoder/engine_strings.h"

namespace zv {

namespace {

constexpr std::uint32_t kMinFmtBytes = 16;
constexpr std::uint16_t kExtensibleCbSize = 22;

// Bytes 2 to 15 of every sub-format GUID made from a format tag.
constexpr std::uint8_t kStandardGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

EngineNotice refused(unsigned id, std::string value = {}) { return {id, std::move(value), {}}; }

}  // namespace

EngineNotice parseWaveFmtChunk(const std::uint8_t* body, std::uint32_t size, WaveFormat& record,
                               SampleLayout& layout) {
  if (size < kMinFmtBytes) return refused(kIdsNotSupportedWav);
  record = WaveFormat{};
  record.formatTag = getLE16(body + 0);
  record.channels = getLE16(body + 2);
  record.samplesPerSec = getLE32(body + 4);
  record.avgBytesPerSec = getLE32(body + 8);
  record.blockAlign = getLE16(body + 12);
  record.bitsPerSample = getLE16(body + 14);
  record.extraSize = size >= kWaveFormatSize ? getLE16(body + 16) : 0;

  std::uint16_t sampleTag = record.formatTag;
  unsigned validBits = record.bitsPerSample;
  if (record.formatTag == kWaveFormatExtensible) {
    if (size < kWaveFmtExtensibleBytes || record.extraSize < kExtensibleCbSize)
      return refused(kIdsWavExtensionTooShort);
    if (std::memcmp(body + 26, kStandardGuidTail, sizeof kStandardGuidTail) != 0)
      return refused(kIdsWavUnknownSubFormat);
    sampleTag = getLE16(body + 24);
    const std::uint16_t declaredValid = getLE16(body + 18);
    if (declaredValid != 0) validBits = declaredValid;
  }
  if (sampleTag != kWaveFormatPcm && sampleTag != kWaveFormatIeeeFloat)
    return refused(kIdsWavNotPcm);

  const unsigned bits = record.bitsPerSample;
  const bool isFloat = sampleTag == kWaveFormatIeeeFloat;
  const bool widthUsable = isFloat ? (bits == 32 || bits == 64) : (bits >= 1 && bits <= 32);
  const unsigned containerBytes = (bits + 7u) / 8u;
  if (record.channels == 0 || record.samplesPerSec == 0 || !widthUsable ||
      record.blockAlign != record.channels * containerBytes)
    return refused(kIdsWavImpossibleFormat);
  if (validBits > bits) return refused(kIdsWavValidBitsAboveContainer, std::to_string(validBits));

  layout.encoding = isFloat ? SampleEncoding::Float : SampleEncoding::Integer;
  layout.channels = record.channels;
  layout.sampleRateHz = record.samplesPerSec;
  layout.containerBytes = containerBytes;
  // Samples are left-justified in their container (20 bits in 24 leave the
  // low 4 clear): the valid bits count from the container's top.
  layout.validBits = isFloat ? 8 * containerBytes : validBits;
  return {};
}

}  // namespace zv
