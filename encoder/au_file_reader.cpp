#include "encoder/au_file_reader.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

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
// AU data bytes expanded at a time (even, so 16-bit samples never split).
constexpr std::size_t kReadBlockBytes = 64 * 1024;
// The intermediate WAV's bytes before its samples (see wave_file_writer.h).
constexpr std::uint64_t kWaveHeaderBytes = 58;

enum AuEncoding : std::uint32_t {
  kAuMuLaw8 = 1,
  kAuLinear8 = 2,
  kAuLinear16 = 3,
  kAuALaw8 = 27,
};

void putSample(std::uint8_t* samples, std::size_t index, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  samples[2 * index] = static_cast<std::uint8_t>(bits);
  samples[2 * index + 1] = static_cast<std::uint8_t>(bits >> 8);
}

bool isAuEncoding(std::uint32_t encoding) {
  return encoding == kAuMuLaw8 || encoding == kAuLinear8 || encoding == kAuLinear16 ||
         encoding == kAuALaw8;
}

// The data block by block from the source into the WAV's "data" chunk.
bool expandData(std::FILE* source, std::uint32_t dataBytes, std::uint32_t encoding,
                std::FILE* wav, const std::string& sourcePath, const std::string& wavPath,
                const FailureReport& report) {
  std::vector<std::uint8_t> data;
  std::vector<std::uint8_t> samples;
  try {
    data.resize(kReadBlockBytes);
    samples.resize(2 * kReadBlockBytes);
  } catch (const std::bad_alloc&) {
    return report.fail(kIdsAuOutOfMemory);
  }
  for (std::uint32_t left = dataBytes; left > 0;) {
    const std::size_t count = left < kReadBlockBytes ? left : kReadBlockBytes;
    errno = 0;
    if (std::fread(data.data(), 1, count, source) != count)
      return report.failFileOperation(kIdsWavShortRead, sourcePath,
                                      std::ferror(source) ? errno : 0);
    const std::size_t bytes = expandAuSamples(encoding, data.data(), count, samples.data());
    errno = 0;
    if (std::fwrite(samples.data(), 1, bytes, wav) != bytes)
      return report.failFileOperation(kIdsAuIntermediateNotWritten, wavPath, errno);
    left -= static_cast<std::uint32_t>(count);
  }
  return true;
}

}  // namespace

std::size_t expandAuSamples(std::uint32_t encoding, const std::uint8_t* data, std::size_t count,
                            std::uint8_t* samples) {
  switch (encoding) {
    case kAuMuLaw8:
      for (std::size_t i = 0; i < count; ++i) putSample(samples, i, expandMuLaw(data[i]));
      return 2 * count;
    case kAuALaw8:
      for (std::size_t i = 0; i < count; ++i) putSample(samples, i, expandALaw(data[i]));
      return 2 * count;
    case kAuLinear8:
      for (std::size_t i = 0; i < count; ++i)
        putSample(samples, i, static_cast<std::int16_t>(static_cast<std::int8_t>(data[i]) * 256));
      return 2 * count;
    case kAuLinear16: {
      const std::size_t even = count & ~std::size_t{1};
      for (std::size_t i = 0; i < even; i += 2) {
        samples[i] = data[i + 1];
        samples[i + 1] = data[i];
      }
      return even;
    }
    default:
      return 0;
  }
}

bool ReadAuFile(const std::string& sourcePath, const std::string& wavPath,
                const FailureReport& report) {
  errno = 0;
  FileHandle file = openFile(sourcePath, "rb");
  if (!file) return report.failFileOperation(kIdsFileDoesNotExist, sourcePath, errno);
  const auto length = fileLength(file.get());
  if (!length) return report.failFileOperation(kIdsFileDoesNotExist, sourcePath, errno);

  std::uint8_t header[kAuHeaderFieldBytes];
  if (*length < sizeof header || !readAt(file.get(), 0, header, sizeof header))
    return report.fail(kIdsAuHeaderWrong);
  if (std::memcmp(header, ".snd", 4) != 0) return report.fail(kIdsAuHeaderWrong);
  const std::uint32_t dataOffset = getBE32(header + 4);
  std::uint32_t dataSize = getBE32(header + 8);
  const std::uint32_t encoding = getBE32(header + 12);
  const std::uint32_t sampleRate = getBE32(header + 16);
  const std::uint32_t channels = getBE32(header + 20);
  if (channels != 1) return report.fail(kIdsStereoNotSupported);
  if (dataOffset < kAuHeaderFieldBytes || dataOffset > *length)
    return report.fail(kIdsAuHeaderWrong);
  const std::uint64_t present = *length - dataOffset;
  if (dataSize == kAuUnknownSize || dataSize > present)
    dataSize = static_cast<std::uint32_t>(present);
  if (!isAuEncoding(encoding)) return report.fail(kIdsAuUnsupportedEncoding);
  const std::uint64_t sampleBytes = encoding == kAuLinear16
                                        ? dataSize & ~std::uint64_t{1}
                                        : 2 * static_cast<std::uint64_t>(dataSize);
  if (kWaveHeaderBytes + sampleBytes > 0xFFFFFFFFu) return report.fail(kIdsSoundTooLong);
  if (fseeko(file.get(), static_cast<off_t>(dataOffset), SEEK_SET) != 0)
    return report.failFileOperation(kIdsWavShortRead, sourcePath, errno);

  const WaveFormat format = pcmMono16Format(sampleRate);
  errno = 0;
  FileHandle wav = openFile(wavPath, "wb", kJobStreamBufferBytes);
  if (!wav) return report.failFileOperation(kIdsAuIntermediateNotWritten, wavPath, errno);
  if (!writeWaveHeader(wav.get(), format, sampleBytes))
    return report.failFileOperation(kIdsAuIntermediateNotWritten, wavPath, errno);
  if (!expandData(file.get(), dataSize, encoding, wav.get(), sourcePath, wavPath, report))
    return false;
  errno = 0;
  if (std::fclose(wav.release()) != 0)
    return report.failFileOperation(kIdsAuIntermediateNotWritten, wavPath, errno);
  return true;
}

}  // namespace zv
