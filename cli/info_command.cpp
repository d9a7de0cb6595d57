#include "cli/info_command.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "cli/file_tasks.h"
#include "encoder/codec_table.h"
#include "encoder/engine_strings.h"
#include "encoder/stream_census.h"

namespace zv::cli {

namespace {

std::string versionText(std::uint32_t word) {
  return std::to_string(word >> 16) + "." + std::to_string(word & 0xFFFF);
}

std::string hex32(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

void field(const std::string& name, const std::string& value) {
  std::printf("  %-16s %s\n", (name + ":").c_str(), value.c_str());
}

// Prints one file's report; returns the problems found (empty: none).
std::vector<std::string> describeFile(const std::string& path) {
  if (const std::string problem = regularFileProblem(path); !problem.empty()) return {problem};
  const auto header = readStreamHeader(path);
  if (!header) return {"not a stream file: shorter than the 154-byte header"};
  struct stat info {};
  ::stat(path.c_str(), &info);
  const std::uint64_t fileBytes = static_cast<std::uint64_t>(info.st_size);
  std::vector<std::string> problems;

  std::printf("%s\n", path.c_str());
  field("Banner", streamBannerText(*header));
  const int codecIndex = findCodecIndexForTag(header->codecTag);
  std::string codec = std::to_string(header->codecTag);
  if (const CodecTableEntry* row = codecTableRow(kCodecTable, codecIndex))
    codec += " (" + engineMessage(row->nameStringId) + ", " + row->libraryFile + ")";
  else
    codec += " (no codec library reports this identifier)";
  field("Codec", codec);
  field("Codec version", versionText(header->codecVersion));
  field("Encoder version", versionText(header->encoderVersion));
  field("Samples", std::to_string(header->sampleCount));
  field("Sample rate", std::to_string(header->sampleRate) + " Hz");
  const double seconds =
      header->sampleRate ? static_cast<double>(header->sampleCount) / header->sampleRate : 0.0;
  field("Duration", header->sampleRate ? formatSeconds(seconds) + " s" : "unknown (no sample rate)");

  const std::uint64_t frameBytes = fileBytes - kStreamHeaderSize;
  std::string data = std::to_string(header->dataBytes);
  if (header->dataBytes == frameBytes) {
    data += " (as the file holds)";
  } else {
    data += " (the file holds " + std::to_string(frameBytes) + ")";
    problems.push_back("the header's data bytes do not match the file's length");
  }
  field("Data bytes", data);
  const std::uint32_t expected =
      computeCheckWord(header->sampleCount, header->dataBytes, header->codecTag);
  if (header->checkWord == expected) {
    field("Check word", hex32(header->checkWord) + " (right)");
  } else {
    field("Check word", hex32(header->checkWord) + " (wrong: should be " + hex32(expected) + ")");
    problems.push_back("the check word is wrong");
  }

  if (codecIndex < 0) {
    field("Frames", "not counted (no codec library for this identifier)");
    problems.push_back("unknown codec identifier " + std::to_string(header->codecTag));
    return problems;
  }
  const StreamFrameCensus census = countStreamFrames(path, codecIndex);
  std::string frames = std::to_string(census.frames);
  switch (census.status) {
    case StreamFrameCensus::Status::Clean: frames += " (they run exactly to the end of the file)"; break;
    case StreamFrameCensus::Status::Damaged:
      frames += " whole, then a frame that does not decode at byte " +
                std::to_string(kStreamHeaderSize + census.frameBytes);
      problems.push_back("the frames do not decode to the end of the file");
      break;
    default:
      frames += " (the frames could not be read)";
      problems.push_back("the frames could not be read");
      break;
  }
  field("Frames", frames);
  if (seconds > 0) {
    char rate[64];
    std::snprintf(rate, sizeof rate, "%.0f bit/s", static_cast<double>(frameBytes) * 8.0 / seconds);
    field("Bit rate", rate);
  }
  return problems;
}

}  // namespace

int runInfoCommand(const Options& options) {
  int status = kExitSuccess;
  for (std::size_t i = 0; i < options.inputs.size(); ++i) {
    if (i > 0) std::printf("\n");
    const std::vector<std::string> problems = describeFile(options.inputs[i]);
    std::fflush(stdout);
    for (const std::string& problem : problems)
      std::fprintf(stderr, "zvsa: %s: %s\n", options.inputs[i].c_str(), problem.c_str());
    if (!problems.empty()) status = kExitFailure;
  }
  return status;
}

}  // namespace zv::cli
