#include "encoder/wave_file_reader.h"

#include <cerrno>
#include <cstring>

#include "encoder/byte_order.h"
#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "encoder/mono_mixdown.h"
#include "encoder/pcm_converter.h"
#include "encoder/riff_chunks.h"
#include "encoder/wave_fmt_chunk.h"

namespace zv {

namespace {

// Source bytes read at a time (at least one whole frame).
constexpr std::size_t kReadBlockBytes = 64 * 1024;

// Reads exactly `count` bytes from the current position; on failure reports
// 10414 with the path and the system's reason (none at an early end).
bool readBlock(std::FILE* file, std::uint8_t* into, std::size_t count, const std::string& path,
               const FailureReport& report) {
  errno = 0;
  if (std::fread(into, 1, count, file) == count) return true;
  return report.failFileOperation(kIdsWavShortRead, path, std::ferror(file) ? errno : 0);
}

// Codec PCM already: the data chunk's bytes, as they are, to the sink.
bool copySamples(std::FILE* file, std::uint32_t dataBytes, PcmSink& sink, const std::string& path,
                 const FailureReport& report) {
  std::vector<std::uint8_t> block(kReadBlockBytes);
  for (std::uint32_t left = dataBytes; left > 0;) {
    const std::size_t count = left < block.size() ? left : block.size();
    if (!readBlock(file, block.data(), count, path, report)) return false;
    if (!sink.write(block.data(), count)) return report.fail(sink.failure());
    left -= static_cast<std::uint32_t>(count);
    sink.sourceRead(dataBytes - left, dataBytes);
  }
  return true;
}

// Every whole frame mixed down and converted.
bool convertSamples(std::FILE* file, std::uint32_t dataBytes, const SampleLayout& layout,
                    PcmSink& sink, const std::string& path, const FailureReport& report) {
  PcmConverter converter(layout.sampleRateHz, sink);
  if (converter.failure().id != 0) return report.fail(converter.failure());
  const std::uint32_t frameBytes = layout.frameBytes();
  const std::size_t blockFrames = frameBytes >= kReadBlockBytes ? 1 : kReadBlockBytes / frameBytes;
  std::vector<std::uint8_t> block(blockFrames * frameBytes);
  std::vector<std::int16_t> mono(blockFrames);
  const std::uint32_t totalFrames = dataBytes / frameBytes;
  for (std::uint32_t framesLeft = totalFrames; framesLeft > 0;) {
    const std::size_t frames = framesLeft < blockFrames ? framesLeft : blockFrames;
    if (!readBlock(file, block.data(), frames * frameBytes, path, report)) return false;
    mixDownFrames(layout, block.data(), frames, mono.data());
    if (!converter.push(mono.data(), frames)) return report.fail(converter.failure());
    framesLeft -= static_cast<std::uint32_t>(frames);
    sink.sourceRead(totalFrames - framesLeft, totalFrames);
  }
  if (!converter.finish()) return report.fail(converter.failure());
  return true;
}

}  // namespace

bool ReadWaveFile(const std::string& path, WaveFormat& format, PcmSink& sink,
                  const FailureReport& report) {
  errno = 0;
  FileHandle file = openFile(path, "rb");
  if (!file) return report.failFileOperation(kIdsInvalidFileName, path, errno);
  const auto length = fileLength(file.get());
  if (!length) return report.failFileOperation(kIdsInvalidFileName, path, errno);

  std::uint8_t riff[12];
  if (*length < sizeof riff || !readAt(file.get(), 0, riff, sizeof riff) ||
      std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
    return report.fail(kIdsNotSupportedWav);
  // The sub-chunks are looked for inside the RIFF chunk. Many writers leave
  // a RIFF size larger than the file (streamed recordings): the file's end
  // bounds the search then.
  std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(getLE32(riff + 4));
  if (riffEnd > *length) riffEnd = *length;

  RiffChunk fmt;
  switch (findRiffChunk(file.get(), *length, sizeof riff, riffEnd, "fmt ", fmt)) {
    case ChunkSearch::Found: break;
    case ChunkSearch::NotFound: return report.fail(kIdsNotSupportedWav);
    case ChunkSearch::Truncated: return report.fail(kIdsWavChunkPastEnd);
  }
  std::uint8_t fmtBody[kWaveFmtExtensibleBytes] = {};
  const std::uint32_t fmtRead = fmt.size < sizeof fmtBody ? fmt.size : sizeof fmtBody;
  if (!readAt(file.get(), fmt.bodyOffset, fmtBody, fmtRead))
    return report.failFileOperation(kIdsWavShortRead, path, std::ferror(file.get()) ? errno : 0);
  WaveFormat fileFormat;
  SampleLayout layout;
  if (EngineNotice refusal = parseWaveFmtChunk(fmtBody, fmt.size, fileFormat, layout);
      refusal.id != 0)
    return report.fail(refusal);

  RiffChunk data;
  switch (findRiffChunk(file.get(), *length, sizeof riff, riffEnd, "data", data)) {
    case ChunkSearch::Found: break;
    case ChunkSearch::NotFound: return report.fail(kIdsWavNoAudioData);
    case ChunkSearch::Truncated: return report.fail(kIdsWavChunkPastEnd);
  }
  if (data.size == 0) return report.fail(kIdsWavNoAudioData);
  if (!isConvertibleRate(layout.sampleRateHz))
    return report.fail(kIdsWavRateNotConvertible, std::to_string(layout.sampleRateHz));
  if (fseeko(file.get(), static_cast<off_t>(data.bodyOffset), SEEK_SET) != 0)
    return report.failFileOperation(kIdsWavShortRead, path, errno);

  const WaveFormat codec = codecPcmFormat();
  if (isCodecPcm(fileFormat) && fileFormat.blockAlign == codec.blockAlign &&
      fileFormat.avgBytesPerSec == codec.avgBytesPerSec) {
    if (!copySamples(file.get(), data.size, sink, path, report)) return false;
    format = fileFormat;
    return true;
  }
  if (!convertSamples(file.get(), data.size, layout, sink, path, report)) return false;
  format = codec;
  return true;
}

bool ReadWaveFile(const std::string& path, WaveFormat& format, std::vector<std::uint8_t>& samples,
                  const FailureReport& report) {
  samples.clear();
  VectorPcmSink sink(samples);
  if (ReadWaveFile(path, format, sink, report)) return true;
  std::vector<std::uint8_t>().swap(samples);
  return false;
}

}  // namespace zv
