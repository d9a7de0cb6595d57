#include "encoder/wave_file_reader.h"

#include <cstring>
#include <new>

#include "encoder/byte_order.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "encoder/pcm_converter.h"
#include "encoder/riff_chunks.h"

namespace zv {

namespace {

constexpr std::uint32_t kMinFmtBytes = 16;

WaveFormat parseFmtBody(const std::uint8_t* body, std::uint32_t size) {
  WaveFormat format;
  format.formatTag = getLE16(body + 0);
  format.channels = getLE16(body + 2);
  format.samplesPerSec = getLE32(body + 4);
  format.avgBytesPerSec = getLE32(body + 8);
  format.blockAlign = getLE16(body + 12);
  format.bitsPerSample = getLE16(body + 14);
  format.extraSize = size >= kWaveFormatSize ? getLE16(body + 16) : 0;
  return format;
}

// Failure with LastErrorText set to message `id`.
bool fail(GuardedText& lastError, std::vector<std::uint8_t>& samples, unsigned id,
          std::string_view value = {}) {
  samples.clear();
  lastError.set(engineMessage(id, value));
  return false;
}

}  // namespace

bool ReadWaveFile(const std::string& path, WaveFormat& format, std::vector<std::uint8_t>& samples,
                  GuardedText& lastError) {
  samples.clear();
  FileHandle file = openFile(path, "rb");
  if (!file) return fail(lastError, samples, kIdsInvalidFileName, path);
  const auto length = fileLength(file.get());
  if (!length) return fail(lastError, samples, kIdsInvalidFileName, path);

  std::uint8_t riff[12];
  if (*length < sizeof riff || !readAt(file.get(), 0, riff, sizeof riff) ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
    return fail(lastError, samples, kIdsNotSupportedWav);
  // The sub-chunks are looked for inside the RIFF chunk. Many writers leave
  // a RIFF size larger than the file (streamed recordings): the file's end
  // bounds the search then.
  std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(getLE32(riff + 4));
  if (riffEnd > *length) riffEnd = *length;

  RiffChunk fmt;
  switch (findRiffChunk(file.get(), *length, sizeof riff, riffEnd, "fmt ", fmt)) {
    case ChunkSearch::Found: break;
    case ChunkSearch::NotFound: return fail(lastError, samples, kIdsNotSupportedWav);
    case ChunkSearch::Truncated: return fail(lastError, samples, kIdsWavChunkPastEnd);
  }
  if (fmt.size < kMinFmtBytes) return fail(lastError, samples, kIdsNotSupportedWav);
  std::uint8_t fmtBody[kWaveFormatSize] = {};
  const std::uint32_t fmtRead = fmt.size < kWaveFormatSize ? fmt.size : kWaveFormatSize;
  if (!readAt(file.get(), fmt.bodyOffset, fmtBody, fmtRead))
    return fail(lastError, samples, kIdsWavShortRead, path);
  const WaveFormat fileFormat = parseFmtBody(fmtBody, fmt.size);
  if (fileFormat.formatTag != kWaveFormatPcm) return fail(lastError, samples, kIdsWavNotPcm);

  RiffChunk data;
  switch (findRiffChunk(file.get(), *length, sizeof riff, riffEnd, "data", data)) {
    case ChunkSearch::Found: break;
    case ChunkSearch::NotFound: return fail(lastError, samples, kIdsWavNoAudioData);
    case ChunkSearch::Truncated: return fail(lastError, samples, kIdsWavChunkPastEnd);
  }
  if (data.size == 0) return fail(lastError, samples, kIdsWavNoAudioData);
  // Refused before any memory is spent on the samples: these fields decide
  // how the samples are counted and mixed.
  if (!isConvertiblePcmLayout(fileFormat)) return fail(lastError, samples, kIdsWavImpossibleFormat);

  std::vector<std::uint8_t> fileSamples;
  try {
    fileSamples.resize(data.size);
  } catch (const std::bad_alloc&) {
    return fail(lastError, samples, kIdsWavOutOfMemory);
  }
  if (!readAt(file.get(), data.bodyOffset, fileSamples.data(), fileSamples.size()))
    return fail(lastError, samples, kIdsWavShortRead, path);
  file.reset();

  const WaveFormat codec = codecPcmFormat();
  if (isCodecPcm(fileFormat) && fileFormat.blockAlign == codec.blockAlign &&
      fileFormat.avgBytesPerSec == codec.avgBytesPerSec) {
    format = fileFormat;
    samples = std::move(fileSamples);
    return true;
  }
  return ConvertPcm(fileFormat, std::move(fileSamples), format, samples, lastError);
}

}  // namespace zv
