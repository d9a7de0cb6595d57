#include "tests/encoder/wave_reading.h"

#include "encoder/wave_file_reader.h"

namespace zv::test {

WaveRead readWave(const Bytes& file) {
  TempDir dir;
  const std::string path = dir.file("in.wav");
  writeFile(path, file);
  WaveRead read;
  GuardedText error;
  read.ok = ReadWaveFile(path, read.format, read.samples, error);
  read.error = error.get();
  return read;
}

std::vector<std::int16_t> samples16(const Bytes& bytes) {
  std::vector<std::int16_t> out(bytes.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return out;
}

}  // namespace zv::test
