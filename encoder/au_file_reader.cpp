#include "encoder/au_file_reader.h"

#include <cstring>
#include <new>

#include "encoder/byte_order.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "encoder/g711.h"
#include "encoder/riff_chunks.h"
#include "encoder/wave_file_writer.h"
#include "encoder/wave_format.h"

namespace zv {

namespace {

constexpr std::uint32_t kAuHeaderFieldBytes = 24;
constexpr std::uint32_t kAuUnknownSize = 0xFFFFFFFFu;

enum AuEncoding : std::uint32_t {
  kAuMuLaw8 = 1,
  kAuLinear8 = 2,
  kAuLinear16 = 3,
  kAuALaw8 = 27,
};

void putSample(std::vector<std::uint8_t>& samples, std::size_t index, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  samples[2 * index] = static_cast<std::uint8_t>(bits);
  samples[2 * index + 1] = static_cast<std::uint8_t>(bits >> 8);
}

bool fail(GuardedText& lastError, unsigned id, std::string_view value = {}) {
  lastError.set(engineMessage(id, value));
  return false;
}

}  // namespace

bool expandAuSamples(std::uint32_t encoding, const std::vector<std::uint8_t>& data,
                     std::vector<std::uint8_t>& samples) {
  switch (encoding) {
    case kAuMuLaw8:
    case kAuALaw8:
    case kAuLinear8: {
      samples.resize(data.size() * 2);
      for (std::size_t i = 0; i < data.size(); ++i) {
        std::int16_t value;
        if (encoding == kAuMuLaw8)
          value = expandMuLaw(data[i]);
        else if (encoding == kAuALaw8)
          value = expandALaw(data[i]);
        else
          value = static_cast<std::int16_t>(static_cast<std::int8_t>(data[i]) * 256);
        putSample(samples, i, value);
      }
      return true;
    }
    case kAuLinear16: {
      const std::size_t count = data.size() / 2;
      samples.resize(count * 2);
      for (std::size_t i = 0; i < count; ++i) {
        samples[2 * i] = data[2 * i + 1];
        samples[2 * i + 1] = data[2 * i];
      }
      return true;
    }
    default:
      return false;
  }
}

bool ReadAuFile(const std::string& sourcePath, const std::string& wavPath, GuardedText& lastError) {
  FileHandle file = openFile(sourcePath, "rb");
  if (!file) return fail(lastError, kIdsFileDoesNotExist, sourcePath);
  const auto length = fileLength(file.get());
  if (!length) return fail(lastError, kIdsFileDoesNotExist, sourcePath);

  std::uint8_t header[kAuHeaderFieldBytes];
  if (*length < sizeof header || !readAt(file.get(), 0, header, sizeof header))
    return fail(lastError, kIdsAuHeaderWrong);
  if (std::memcmp(header, ".snd", 4) != 0) return fail(lastError, kIdsAuHeaderWrong);
  const std::uint32_t dataOffset = getBE32(header + 4);
  std::uint32_t dataSize = getBE32(header + 8);
  const std::uint32_t encoding = getBE32(header + 12);
  const std::uint32_t sampleRate = getBE32(header + 16);
  const std::uint32_t channels = getBE32(header + 20);
  if (channels != 1) return fail(lastError, kIdsStereoNotSupported);
  if (dataOffset < kAuHeaderFieldBytes || dataOffset > *length)
    return fail(lastError, kIdsAuHeaderWrong);
  const std::uint64_t present = *length - dataOffset;
  if (dataSize == kAuUnknownSize || dataSize > present)
    dataSize = static_cast<std::uint32_t>(present);
  if (encoding != kAuMuLaw8 && encoding != kAuLinear8 && encoding != kAuLinear16 &&
      encoding != kAuALaw8)
    return fail(lastError, kIdsAuUnsupportedEncoding);

  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> samples;
  try {
    data.resize(dataSize);
    if (dataSize > 0 && !readAt(file.get(), dataOffset, data.data(), data.size()))
      return fail(lastError, kIdsAuHeaderWrong);
    file.reset();
    expandAuSamples(encoding, data, samples);
  } catch (const std::bad_alloc&) {
    return fail(lastError, kIdsAuOutOfMemory);
  }
  std::vector<std::uint8_t>().swap(data);

  WaveFormat format;
  format.formatTag = kWaveFormatPcm;
  format.channels = 1;
  format.samplesPerSec = sampleRate;
  format.avgBytesPerSec = sampleRate * 2;
  format.blockAlign = 2;
  format.bitsPerSample = 16;
  format.extraSize = 0;
  if (!WriteWaveFile(wavPath, format, samples))
    return fail(lastError, kIdsAuIntermediateNotWritten, wavPath);
  return true;
}

}  // namespace zv
