// Building small sound files inside tests: WAV files chunk by chunk (so a
// test can make any malformed variant), AU files with any header field,
// and reading and writing whole files.
#ifndef ZV_TESTS_SUPPORT_AUDIO_FIXTURES_H
#define ZV_TESTS_SUPPORT_AUDIO_FIXTURES_H

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zv::test {

using Bytes = std::vector<std::uint8_t>;

// One RIFF chunk: id, body, and the size written in its header (the body's
// length unless a test wants it to lie).
struct Chunk {
  std::string id;
  Bytes body;
  std::optional<std::uint32_t> declaredSize;
};

struct PcmLayout {
  std::uint16_t formatTag = 1;
  std::uint16_t channels = 1;
  std::uint32_t samplesPerSec = 8000;
  std::uint16_t bitsPerSample = 16;
  // Derived from the fields above unless set.
  std::optional<std::uint32_t> avgBytesPerSec;
  std::optional<std::uint16_t> blockAlign;
};

// A "fmt " chunk of `bodyBytes` (16 or 18, or less for a damaged one; an
// 18-byte body has extra size 0).
Chunk fmtChunk(const PcmLayout& layout, std::size_t bodyBytes = 16);
Chunk dataChunk(Bytes samples);

// "RIFF" <size> "WAVE" followed by the chunks (each padded to even length).
// riffSize overrides the RIFF chunk's declared size.
Bytes riffWave(const std::vector<Chunk>& chunks, std::optional<std::uint32_t> riffSize = {});

// A plain PCM WAV: fmt (16 bytes) and data.
Bytes pcmWave(const PcmLayout& layout, Bytes samples);

// 16-bit little-endian bytes of the samples.
Bytes pcm16(const std::vector<std::int16_t>& samples);

// A sine of `hz` at `amplitude` (16-bit scale), `frames` sample frames of
// `channels` channels (channel c is scaled by 1 / (c + 1)).
std::vector<std::int16_t> sine16(double hz, std::uint32_t rate, std::size_t frames,
                                 unsigned channels = 1, double amplitude = 10000.0);

struct AuHeader {
  std::uint32_t magic = 0x2E736E64;  // ".snd"
  std::uint32_t dataOffset = 28;
  std::optional<std::uint32_t> dataSize;  // the data's length unless set
  std::uint32_t encoding = 3;
  std::uint32_t sampleRate = 8000;
  std::uint32_t channels = 1;
};

// An AU file: the six big-endian fields, zero padding up to dataOffset (when
// it lies beyond them), then `data`.
Bytes auFile(const AuHeader& header, const Bytes& data);

void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_AUDIO_FIXTURES_H
