// The closing line of an encode: duration, sizes, the ratio worded as the
// wizard's output page words it ("Compressed (%d:1, %d%%)"), and the speed
// as a multiple of real time.
#ifndef ZV_CLI_COMPRESSION_SUMMARY_H
#define ZV_CLI_COMPRESSION_SUMMARY_H

#include <cstdint>
#include <string>

namespace zv::cli {

// "Compressed (16:1, 6%)": r = pcmBytes / codedBytes in floating point, then
// the whole parts of r and of 100 / r, truncated toward zero. Empty when
// nothing was coded (the ratio has no value).
std::string compressionRatioText(std::uint32_t pcmBytes, std::uint32_t codedBytes);

// ", 412.5x real time": how many times faster than the audio lasts the work
// went; empty when either duration is 0.
std::string realTimeSpeedText(double audioSeconds, double wallSeconds);

// "3.00 s of audio, 48000 bytes -> 5888 bytes, Compressed (8:1, 12%), 412.5x real time"
std::string compressionSummary(double audioSeconds, std::uint32_t pcmBytes,
                               std::uint32_t codedBytes, double wallSeconds);

}  // namespace zv::cli

#endif  // ZV_CLI_COMPRESSION_SUMMARY_H
