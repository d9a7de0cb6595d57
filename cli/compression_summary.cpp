#include "cli/compression_summary.h"

#include <cstdio>

#include "cli/file_tasks.h"
#include "platform/string_table.h"

namespace zv::cli {

namespace {
// The output page's chart label, string 30201.
constexpr const char* kCompressedLabel = "Compressed (%d:1, %d%%)";
}  // namespace

std::string compressionRatioText(std::uint32_t pcmBytes, std::uint32_t codedBytes) {
  if (codedBytes == 0) return {};
  const double ratio = static_cast<double>(pcmBytes) / codedBytes;
  const long whole = static_cast<long>(ratio);
  const long percent = ratio > 0 ? static_cast<long>(100.0 / ratio) : 0;
  char text[64];
  std::snprintf(text, sizeof text, kCompressedLabel, static_cast<int>(whole),
                static_cast<int>(percent));
  return text;
}

std::string realTimeSpeedText(double audioSeconds, double wallSeconds) {
  if (wallSeconds <= 0 || audioSeconds <= 0) return {};
  char speed[48];
  std::snprintf(speed, sizeof speed, ", %.1fx real time", audioSeconds / wallSeconds);
  return speed;
}

std::string compressionSummary(double audioSeconds, std::uint32_t pcmBytes,
                               std::uint32_t codedBytes, double wallSeconds) {
  std::string text = formatSeconds(audioSeconds) + " s of audio, " + std::to_string(pcmBytes) +
                     " bytes -> " + std::to_string(codedBytes) + " bytes";
  const std::string ratio = compressionRatioText(pcmBytes, codedBytes);
  if (!ratio.empty()) text += ", " + ratio;
  return text + realTimeSpeedText(audioSeconds, wallSeconds);
}

}  // namespace zv::cli
