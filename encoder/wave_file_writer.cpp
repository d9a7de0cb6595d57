#include "encoder/wave_file_writer.h"

#include <cstring>
#include <limits>

#include "encoder/byte_order.h"
#include "encoder/file_handle.h"

namespace zv {

namespace {

constexpr std::uint32_t kFmtBytes = 18;
constexpr std::uint32_t kFactBytes = 4;
// "WAVE" + fmt header and body + fact header and body + data header.
constexpr std::uint32_t kRiffOverhead = 4 + 8 + kFmtBytes + 8 + kFactBytes + 8;

bool putChunkHeader(std::FILE* out, const char* id, std::uint32_t size) {
  std::uint8_t header[8];
  std::memcpy(header, id, 4);
  putLE32(header + 4, size);
  return std::fwrite(header, 1, sizeof header, out) == sizeof header;
}

}  // namespace

bool writeWaveHeader(std::FILE* out, const WaveFormat& format, std::uint64_t dataBytes) {
  const std::uint64_t riffSize = kRiffOverhead + dataBytes + (dataBytes & 1u);
  if (riffSize > std::numeric_limits<std::uint32_t>::max()) return false;

  if (!putChunkHeader(out, "RIFF", static_cast<std::uint32_t>(riffSize))) return false;
  if (std::fwrite("WAVE", 1, 4, out) != 4) return false;
  const auto formatBytes = serializeWaveFormat(format);
  if (!putChunkHeader(out, "fmt ", kFmtBytes) ||
      std::fwrite(formatBytes.data(), 1, formatBytes.size(), out) != formatBytes.size())
    return false;
  const std::uint8_t zero[4] = {0, 0, 0, 0};
  if (!putChunkHeader(out, "fact", kFactBytes) || std::fwrite(zero, 1, 4, out) != 4) return false;
  return putChunkHeader(out, "data", static_cast<std::uint32_t>(dataBytes));
}

bool writeWaveStream(std::FILE* out, const WaveFormat& format,
                     std::span<const std::uint8_t> samples) {
  if (!writeWaveHeader(out, format, samples.size())) return false;
  const std::uint8_t zero[1] = {0};
  const std::size_t pad = samples.size() & 1u;
  if (!samples.empty() && std::fwrite(samples.data(), 1, samples.size(), out) != samples.size())
    return false;
  if (pad && std::fwrite(zero, 1, 1, out) != 1) return false;
  return true;
}

bool WriteWaveFile(const std::string& path, const WaveFormat& format,
                   std::span<const std::uint8_t> samples) {
  FileHandle out = openFile(path, "wb");
  if (!out) return false;
  if (!writeWaveStream(out.get(), format, samples)) return false;
  return std::fclose(out.release()) == 0;
}

}  // namespace zv
