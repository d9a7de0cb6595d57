// WAV files as today's tools write them: WAVE_FORMAT_EXTENSIBLE with the PCM
// or float sub-format, and IEEE float samples, down to the exact 16-bit
// values; the damaged extensible records and the compressed sub-formats
// with their messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "encoder/engine_strings.h"
#include "encoder/wave_file_reader.h"
#include "tests/encoder/wave_reading.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

using test::Bytes;
using test::Chunk;

using test::readWave;
using test::samples16;

void putLE16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putLE32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The fields of a "fmt " chunk, extensible unless `tag` says otherwise.
struct Fmt {
  std::uint16_t tag = 0xFFFE;
  std::uint16_t channels = 1;
  std::uint32_t rate = 8000;
  std::uint16_t bits = 16;            // the container width
  std::uint16_t validBits = 16;
  std::uint32_t channelMask = 0x4;    // front centre
  std::uint16_t subFormat = 1;        // the tag inside the standard GUID
  std::uint16_t cbSize = 22;
  std::size_t bodyBytes = 40;         // less cuts the record short
  bool standardGuid = true;
};

Chunk fmtChunk(const Fmt& f) {
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(f.channels * ((f.bits + 7) / 8));
  Bytes body;
  putLE16(body, f.tag);
  putLE16(body, f.channels);
  putLE32(body, f.rate);
  putLE32(body, f.rate * blockAlign);
  putLE16(body, blockAlign);
  putLE16(body, f.bits);
  putLE16(body, f.cbSize);
  putLE16(body, f.validBits);
  putLE32(body, f.channelMask);
  putLE16(body, f.subFormat);
  const std::uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  const std::uint8_t other[14] = {0x21, 0x07, 0xD3, 0x11, 0x86, 0x44, 0xC8,
                                  0xC1, 0xCA, 0x00, 0x00, 0x00, 0x00, 0x00};
  body.insert(body.end(), f.standardGuid ? tail : other, (f.standardGuid ? tail : other) + 14);
  body.resize(f.bodyBytes, 0);
  return {"fmt ", body, std::nullopt};
}

Bytes wave(const Fmt& f, const Bytes& data) {
  return test::riffWave({fmtChunk(f), test::dataChunk(data)});
}

Bytes float32(std::initializer_list<float> values) {
  Bytes out;
  for (float value : values) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putLE32(out, bits);
  }
  return out;
}

Bytes float64(std::initializer_list<double> values) {
  Bytes out;
  for (double value : values) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putLE32(out, static_cast<std::uint32_t>(bits));
    putLE32(out, static_cast<std::uint32_t>(bits >> 32));
  }
  return out;
}

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// At 8000 Hz nothing is resampled, so each rule shows in the exact values:
// integer samples as for tag 1 with the bits below the valid ones cleared,
// float samples x * 32768 rounded to nearest even, NaN and infinities 0,
// beyond full scale clipped.
TEST(ExtensibleAndFloatWave, SamplesBecomeExact16BitValues) {
  const struct Case {
    const char* name;
    Bytes file;
    std::vector<std::int16_t> expected;
  } cases[] = {
      {"extensible 16-bit", wave({}, test::pcm16({1, -2, 32767, -32768})), {1, -2, 32767, -32768}},
      {"extensible 24-bit", wave({.bits = 24, .validBits = 24}, {0x80, 0x34, 0x12, 0x7F, 0x34, 0x12}),
       {0x1234, 0x1234}},
      // 0x00008F / 256 rounds to 1; with its low four bits cleared 0x80 / 256
      // is a tie and goes to the even 0.
      {"20 valid bits in 24", wave({.bits = 24, .validBits = 20}, {0x8F, 0x00, 0x00, 0x8F, 0x34, 0x12}),
       {0, 0x1234}},
      {"24-bit without valid bits (0)", wave({.bits = 24, .validBits = 0}, {0x8F, 0x00, 0x00}), {1}},
      {"extensible 32-bit", wave({.bits = 32, .validBits = 32}, {0x00, 0x81, 0x00, 0x40}), {0x4001}},
      {"stereo extensible 16-bit, any mask",
       wave({.channels = 2, .channelMask = 0xFFFFFFFFu}, test::pcm16({1000, 3000, -7, -8})), {2000, -8}},
      {"float tag 3",
       wave({.tag = 3, .bits = 32, .bodyBytes = 18},
            float32({0.5f, kNan, kInf, -kInf, 2.0f, -3.0f, 1.0f, -1.0f, 1.0f / 65536})),
       {16384, 0, 0, 0, 32767, -32768, 32767, -32768, 0}},
      {"float tag 3 in a 16-byte chunk", wave({.tag = 3, .bits = 32, .bodyBytes = 16}, float32({-0.25f})),
       {-8192}},
      {"extensible float 32-bit", wave({.bits = 32, .validBits = 32, .subFormat = 3}, float32({0.25f, -kNan})),
       {8192, 0}},
      {"extensible float 64-bit",
       wave({.bits = 64, .validBits = 64, .subFormat = 3},
            float64({0.125, -1e300, std::numeric_limits<double>::infinity(), 3.0 / 32768})),
       {4096, -32768, 0, 3}},
      // Clipped before mixing: (1 + 1) / 2 stays full scale, (NaN + 0.5) / 2
      // is 0.25.
      {"stereo float 64-bit tag 3", wave({.tag = 3, .channels = 2, .bits = 64, .bodyBytes = 18},
                                         float64({5.0, 1.0, std::nan(""), 0.5})),
       {32767, 8192}},
  };
  for (const Case& c : cases) {
    const test::WaveRead read = readWave(c.file);
    ASSERT_TRUE(read.ok) << c.name << ": " << read.error;
    EXPECT_EQ(read.format, codecPcmFormat()) << c.name;
    EXPECT_EQ(samples16(read.samples), c.expected) << c.name;
  }
}

// Six channels at 44.1 kHz as EXTENSIBLE give exactly what the same samples
// give as a plain PCM WAV: the record changes nothing but how it is read.
TEST(ExtensibleAndFloatWave, SixChannelExtensibleEqualsThePlainPcmFile) {
  const Bytes data = test::pcm16(test::sine16(523, 44100, 4410, 6));
  const test::WaveRead extensible = readWave(wave({.channels = 6, .rate = 44100, .channelMask = 0x3F}, data));
  const test::WaveRead plain = readWave(test::pcmWave({.channels = 6, .samplesPerSec = 44100}, data));
  ASSERT_TRUE(extensible.ok) << extensible.error;
  ASSERT_TRUE(plain.ok) << plain.error;
  EXPECT_NEAR(static_cast<double>(extensible.samples.size()), 1600.0, 4.0);
  EXPECT_EQ(extensible.samples, plain.samples);
}

TEST(ExtensibleAndFloatWave, DamagedRecordsAndCompressedSubFormatsGetTheirMessages) {
  const Bytes pcm = test::pcm16({1, 2, 3, 4});
  const struct Case {
    const char* name;
    Bytes file;
    unsigned message;
    std::string value;
  } cases[] = {
      {"chunk of 18 bytes", wave({.bodyBytes = 18}, pcm), kIdsWavExtensionTooShort, ""},
      {"chunk of 39 bytes", wave({.bodyBytes = 39}, pcm), kIdsWavExtensionTooShort, ""},
      {"cbSize 0 in a full chunk", wave({.cbSize = 0}, pcm), kIdsWavExtensionTooShort, ""},
      {"unknown GUID", wave({.standardGuid = false}, pcm), kIdsWavUnknownSubFormat, ""},
      {"valid bits above the container", wave({.bits = 24, .validBits = 28}, Bytes(6, 0)),
       kIdsWavValidBitsAboveContainer, "28"},
      {"valid bits above a float container", wave({.bits = 32, .validBits = 33, .subFormat = 3}, Bytes(4, 0)),
       kIdsWavValidBitsAboveContainer, "33"},
      {"ADPCM sub-format", wave({.subFormat = 2}, pcm), kIdsWavNotPcm, ""},
      {"A-law sub-format", wave({.bits = 8, .validBits = 8, .subFormat = 6}, pcm), kIdsWavNotPcm, ""},
      {"mu-law tag", test::pcmWave({.formatTag = 7, .bitsPerSample = 8}, pcm), kIdsWavNotPcm, ""},
      {"16-bit float", wave({.tag = 3, .bits = 16, .bodyBytes = 18}, pcm), kIdsWavImpossibleFormat, ""},
      {"extensible float of 24 bits", wave({.bits = 24, .validBits = 24, .subFormat = 3}, Bytes(6, 0)),
       kIdsWavImpossibleFormat, ""},
      {"extensible without channels", wave({.channels = 0}, pcm), kIdsWavImpossibleFormat, ""},
  };
  for (const Case& c : cases) {
    const test::WaveRead read = readWave(c.file);
    EXPECT_FALSE(read.ok) << c.name;
    EXPECT_TRUE(read.samples.empty()) << c.name;
    EXPECT_EQ(read.error, engineMessage(c.message, c.value)) << c.name;
  }
}

}  // namespace
}  // namespace zv
