// Minimal 16-bit mono PCM WAV reading and writing for the demonstration and
// benchmark programs (the engine has its own, complete reader and writer).
#ifndef ZV_TOOLS_PCM_WAV_H
#define ZV_TOOLS_PCM_WAV_H

#include <cstdint>
#include <string>
#include <vector>

namespace zv::tools {

struct PcmClip {
  uint32_t sampleRateHz = 0;
  uint16_t channels = 0;
  std::vector<int16_t> samples;  // interleaved when channels > 1
};

// Reads a PCM WAV file with 16-bit samples. Walks the RIFF chunks with a
// bounded cursor; returns false and sets `error` on anything else.
bool readPcm16Wav(const std::string& path, PcmClip& clip, std::string& error);

// Writes a canonical 44-byte-header WAV. Returns false and sets `error` when
// the file cannot be written.
bool writePcm16Wav(const std::string& path, const PcmClip& clip, std::string& error);

}  // namespace zv::tools

#endif  // ZV_TOOLS_PCM_WAV_H
