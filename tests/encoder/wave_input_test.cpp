// ReadWaveFile and ConvertPcm: what reaches the codecs from WAV files of
// every PCM layout, and the message each kind of bad WAV file leaves.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "encoder/engine_strings.h"
#include "encoder/wave_file_reader.h"
#include "tests/encoder/wave_reading.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

using test::Bytes;
using test::Chunk;
using test::PcmLayout;

using test::readWave;
using test::samples16;
using Read = test::WaveRead;

TEST(ReadWaveFile, CodecPcmIsTakenByteForByteWithItsOwnFormatRecord) {
  const Bytes pcm = test::pcm16(test::sine16(300, 8000, 801));
  for (std::size_t fmtBytes : {std::size_t{16}, std::size_t{18}}) {
    const Read read = readWave(test::riffWave({test::fmtChunk({}, fmtBytes), test::dataChunk(pcm)}));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.samples, pcm);
    EXPECT_EQ(read.format, codecPcmFormat());  // extra size 0 from a 16-byte chunk too
  }
}

// Other chunks, an odd-length one (with its pad byte) among them, and a
// RIFF size larger than the file (as streamed recordings leave it) are
// walked over.
TEST(ReadWaveFile, UnknownChunksAndAnOverlongRiffSizeAreTolerated) {
  const Bytes pcm = test::pcm16({1, -2, 3, -4});
  const Bytes file = test::riffWave(
      {Chunk{"LIST", Bytes(5, 'x'), {}}, test::fmtChunk({}), Chunk{"junk", Bytes(3, 0), {}},
       test::dataChunk(pcm)},
      0xFFFFFFF0u);
  const Read read = readWave(file);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.samples, pcm);
}

// Sources already at 8000 Hz are not resampled, so the mixing and width
// rules show exactly: channel mean, 8-bit (b - 128) * 256, wider samples
// rounded to the nearest 16-bit value.
TEST(ConvertPcm, ChannelsAndWidthsAt8000HzBecomeExact16BitMono) {
  struct Case {
    const char* name;
    PcmLayout layout;
    Bytes data;
    std::vector<std::int16_t> expected;
  } cases[] = {
      {"8-bit mono", {.bitsPerSample = 8}, {0x80, 0xFF, 0x00, 0x81}, {0, 32512, -32768, 256}},
      {"16-bit stereo", {.channels = 2}, test::pcm16({1000, 3000, -7, -8, 32767, 32767}),
       {2000, -8, 32767}},
      {"24-bit mono", {.bitsPerSample = 24},
       {0x81, 0x34, 0x12, 0x7F, 0x34, 0x12, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F},
       {0x1235, 0x1234, -32768, 32767}},
      {"32-bit mono", {.bitsPerSample = 32},
       {0x00, 0x81, 0x00, 0x40, 0xFF, 0x7F, 0xFF, 0xBF}, {0x4001, -0x4001}},
      {"20 bits in 24-bit containers", {.bitsPerSample = 20}, {0x00, 0x10, 0x00}, {0x0010}},
  };
  for (const Case& c : cases) {
    const Read read = readWave(test::pcmWave(c.layout, c.data));
    ASSERT_TRUE(read.ok) << c.name << ": " << read.error;
    EXPECT_EQ(read.format, codecPcmFormat()) << c.name;
    EXPECT_EQ(samples16(read.samples), c.expected) << c.name;
  }
}

// A 440 Hz tone at 44.1 kHz in stereo (left 10000, right 5000) must come out
// at 8 kHz as one 440 Hz tone of the channels' mean amplitude, 7500. The
// resampler's passband ripple is far below 1 %, so the RMS over whole
// periods away from the edges is 7500 / sqrt(2) within 1 %, and the count of
// upward zero crossings over 0.5 s is 220 within one.
TEST(ConvertPcm, Stereo44100IsMixedAndResampledTo8000) {
  const std::size_t frames = 44100;
  const Read read = readWave(test::pcmWave({.channels = 2, .samplesPerSec = 44100},
                                           test::pcm16(test::sine16(440, 44100, frames, 2))));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.format, codecPcmFormat());
  const auto out = samples16(read.samples);
  EXPECT_NEAR(static_cast<double>(out.size()), 8000.0, 2.0);

  double energy = 0;
  int crossings = 0;
  for (std::size_t i = 2000; i < 6000; ++i) {
    energy += static_cast<double>(out[i]) * out[i];
    if (out[i - 1] < 0 && out[i] >= 0) ++crossings;
  }
  EXPECT_NEAR(std::sqrt(energy / 4000), 7500 / std::sqrt(2.0), 75.0);
  EXPECT_NEAR(crossings, 220, 1);
}

TEST(ConvertPcm, OtherRatesAndWidthsAreResampledToTheRightLength) {
  struct Case {
    PcmLayout layout;
    std::size_t frames;
  } cases[] = {
      {{.channels = 2, .samplesPerSec = 11025, .bitsPerSample = 8}, 11025},
      {{.samplesPerSec = 22050, .bitsPerSample = 24}, 4410},
      {{.channels = 6, .samplesPerSec = 48000, .bitsPerSample = 32}, 4800},
      {{.samplesPerSec = 1000}, 100},
  };
  for (const Case& c : cases) {
    const unsigned bytes = (c.layout.bitsPerSample + 7) / 8;
    const Bytes data(c.frames * c.layout.channels * bytes, 0x40);
    const Read read = readWave(test::pcmWave(c.layout, data));
    ASSERT_TRUE(read.ok) << c.layout.samplesPerSec << ": " << read.error;
    EXPECT_EQ(read.format, codecPcmFormat());
    const double expected = static_cast<double>(c.frames) * 8000 / c.layout.samplesPerSec;
    EXPECT_NEAR(static_cast<double>(read.samples.size() / 2), expected, 2.0) << c.layout.samplesPerSec;
  }
}

// Each damaged or unsupported file gets its own message; none crashes, none
// leaves samples behind.
TEST(ReadWaveFile, EveryBadFileGetsItsMessage) {
  const Bytes pcm = test::pcm16({1, 2, 3, 4});
  Bytes notRiff = test::pcmWave({}, pcm);
  notRiff[3] = 'X';
  Bytes notWave = test::pcmWave({}, pcm);
  notWave[8] = 'A';
  Bytes tooShort = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A'};

  const struct Case {
    const char* name;
    Bytes file;
    unsigned message;
    std::string value;
  } cases[] = {
      {"RIFX", notRiff, kIdsNotSupportedWav, ""},
      {"form not WAVE", notWave, kIdsNotSupportedWav, ""},
      {"cut in the RIFF header", tooShort, kIdsNotSupportedWav, ""},
      {"no fmt chunk", test::riffWave({test::dataChunk(pcm)}), kIdsNotSupportedWav, ""},
      {"fmt chunk of 14 bytes", test::riffWave({test::fmtChunk({}, 14), test::dataChunk(pcm)}),
       kIdsNotSupportedWav, ""},
      {"format tag 2", test::pcmWave({.formatTag = 2}, pcm), kIdsWavNotPcm, ""},
      {"extensible tag in a 16-byte fmt chunk", test::pcmWave({.formatTag = 0xFFFE}, pcm),
       kIdsWavExtensionTooShort, ""},
      {"no data chunk", test::riffWave({test::fmtChunk({})}), kIdsWavNoAudioData, ""},
      {"empty data chunk", test::pcmWave({}, {}), kIdsWavNoAudioData, ""},
      {"data past the end", test::riffWave({test::fmtChunk({}), Chunk{"data", pcm, 1000}}),
       kIdsWavChunkPastEnd, ""},
      {"chunk before fmt past the end",
       test::riffWave({Chunk{"LIST", Bytes(4, 0), 0x7FFFFFF0u}, test::fmtChunk({}), test::dataChunk(pcm)}),
       kIdsWavChunkPastEnd, ""},
      {"fmt past the end", test::riffWave({Chunk{"fmt ", Bytes(16, 0), 64}}), kIdsWavChunkPastEnd, ""},
      {"no channels", test::pcmWave({.channels = 0, .blockAlign = 2}, pcm), kIdsWavImpossibleFormat, ""},
      {"no sample rate", test::pcmWave({.samplesPerSec = 0}, pcm), kIdsWavImpossibleFormat, ""},
      {"no byte rate, no block alignment",
       test::pcmWave({.channels = 2, .avgBytesPerSec = 0, .blockAlign = 0}, pcm), kIdsWavImpossibleFormat, ""},
      {"0 bits", test::pcmWave({.bitsPerSample = 0, .blockAlign = 2}, pcm), kIdsWavImpossibleFormat, ""},
      {"40 bits", test::pcmWave({.bitsPerSample = 40}, pcm), kIdsWavImpossibleFormat, ""},
      {"block alignment of another width", test::pcmWave({.bitsPerSample = 16, .blockAlign = 3}, pcm),
       kIdsWavImpossibleFormat, ""},
      {"500 Hz", test::pcmWave({.samplesPerSec = 500}, pcm), kIdsWavRateNotConvertible, "500"},
      {"4 GHz", test::pcmWave({.samplesPerSec = 4000000000u}, pcm), kIdsWavRateNotConvertible, "4000000000"},
  };
  for (const Case& c : cases) {
    const Read read = readWave(c.file);
    EXPECT_FALSE(read.ok) << c.name;
    EXPECT_TRUE(read.samples.empty()) << c.name;
    EXPECT_EQ(read.error, engineMessage(c.message, c.value)) << c.name;
  }
}

TEST(ReadWaveFile, UnopenableFileNamesItself) {
  WaveFormat format;
  Bytes samples;
  GuardedText error;
  EXPECT_FALSE(ReadWaveFile("/nonexistent/x.wav", format, samples, error));
  EXPECT_EQ(error.get(),
            "The name \"/nonexistent/x.wav\" is not a valid file name or path.  You may browse for "
            "the correct file by pressing the button to the right.");
}

}  // namespace
}  // namespace zv
