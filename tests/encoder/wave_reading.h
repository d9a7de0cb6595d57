// ReadWaveFile on bytes made by a test, and 16-bit samples read back: the
// common part of the WAV reader tests.
#ifndef ZV_TESTS_ENCODER_WAVE_READING_H
#define ZV_TESTS_ENCODER_WAVE_READING_H

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/wave_format.h"
#include "tests/support/audio_fixtures.h"

namespace zv::test {

struct WaveRead {
  bool ok = false;
  WaveFormat format;
  Bytes samples;      // as ReadWaveFile returned them
  std::string error;  // LastErrorText after the call
};

// Writes `file` to a temporary file and reads it with ReadWaveFile.
WaveRead readWave(const Bytes& file);

// Little-endian 16-bit samples (the inverse of pcm16()).
std::vector<std::int16_t> samples16(const Bytes& bytes);

}  // namespace zv::test

#endif  // ZV_TESTS_ENCODER_WAVE_READING_H
