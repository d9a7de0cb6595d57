#include "tests/support/audio_fixtures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

namespace zv::test {

namespace {

void appendLE16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendLE32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendBE32(Bytes& out, std::uint32_t value) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

Chunk fmtChunk(const PcmLayout& layout, std::size_t bodyBytes) {
  const std::uint16_t blockAlign = layout.blockAlign.value_or(
      static_cast<std::uint16_t>(layout.channels * ((layout.bitsPerSample + 7) / 8)));
  const std::uint32_t avg = layout.avgBytesPerSec.value_or(layout.samplesPerSec * blockAlign);
  Bytes body;
  appendLE16(body, layout.formatTag);
  appendLE16(body, layout.channels);
  appendLE32(body, layout.samplesPerSec);
  appendLE32(body, avg);
  appendLE16(body, blockAlign);
  appendLE16(body, layout.bitsPerSample);
  appendLE16(body, 0);
  body.resize(bodyBytes, 0);
  return {"fmt ", body, std::nullopt};
}

Chunk dataChunk(Bytes samples) { return {"data", std::move(samples), std::nullopt}; }

Bytes riffWave(const std::vector<Chunk>& chunks, std::optional<std::uint32_t> riffSize) {
  Bytes body = {'W', 'A', 'V', 'E'};
  for (const Chunk& chunk : chunks) {
    body.insert(body.end(), chunk.id.begin(), chunk.id.end());
    appendLE32(body, chunk.declaredSize.value_or(static_cast<std::uint32_t>(chunk.body.size())));
    body.insert(body.end(), chunk.body.begin(), chunk.body.end());
    if (chunk.body.size() & 1) body.push_back(0);
  }
  Bytes file = {'R', 'I', 'F', 'F'};
  appendLE32(file, riffSize.value_or(static_cast<std::uint32_t>(body.size())));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

Bytes pcmWave(const PcmLayout& layout, Bytes samples) {
  return riffWave({fmtChunk(layout), dataChunk(std::move(samples))});
}

Bytes pcm16(const std::vector<std::int16_t>& samples) {
  Bytes out;
  out.reserve(samples.size() * 2);
  for (std::int16_t s : samples) appendLE16(out, static_cast<std::uint16_t>(s));
  return out;
}

std::vector<std::int16_t> sine16(double hz, std::uint32_t rate, std::size_t frames,
                                 unsigned channels, double amplitude) {
  std::vector<std::int16_t> out;
  out.reserve(frames * channels);
  const double step = 2.0 * M_PI * hz / rate;
  for (std::size_t i = 0; i < frames; ++i)
    for (unsigned c = 0; c < channels; ++c)
      out.push_back(static_cast<std::int16_t>(std::lrint(amplitude / (c + 1) * std::sin(step * i))));
  return out;
}

Bytes auFile(const AuHeader& header, const Bytes& data) {
  Bytes file;
  appendBE32(file, header.magic);
  appendBE32(file, header.dataOffset);
  appendBE32(file, header.dataSize.value_or(static_cast<std::uint32_t>(data.size())));
  appendBE32(file, header.encoding);
  appendBE32(file, header.sampleRate);
  appendBE32(file, header.channels);
  if (file.size() < header.dataOffset) file.resize(header.dataOffset, 0);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace zv::test
