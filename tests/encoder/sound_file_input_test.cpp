// Sound files as other programs write them, through input preparation to
// PcmWorkFile: EXTENSIBLE and float WAV, FLAC, Ogg Vorbis, Ogg Opus, MP3,
// AIFF and AIFC, each written here by libsndfile from one test sound and
// compared with that sound given as a plain 16-bit WAV.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "encoder/engine_strings.h"
#include "encoder/input_preparation.h"
#include "tests/encoder/job_harness.h"
#include "tests/encoder/wave_reading.h"
#include "tests/support/sound_file_writer.h"

namespace zv {
namespace {

using test::Bytes;
using test::JobHarness;
using test::samples16;

constexpr int kRate = 44100;
constexpr int kFrames = kRate;  // one second

// Stereo: a 440 Hz and a 1250 Hz tone on the left, a rising chirp on the
// right, well inside full scale and all below 4 kHz, so 8 kHz keeps them.
std::vector<double> testSound(int rate, int frames) {
  std::vector<double> sound(2 * static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    sound[2 * i] = 0.3 * std::sin(2 * M_PI * 440 * t) + 0.15 * std::sin(2 * M_PI * 1250 * t);
    sound[2 * i + 1] = 0.35 * std::sin(2 * M_PI * (200 + 600 * t) * t);
  }
  return sound;
}

bool writeSound(const std::string& path, int format, int rate, const std::vector<double>& sound) {
  return test::writeSoundFile(path, format, rate, 2, sound);
}

// The normalised correlation of `a` and `b` over the samples both have,
// away from the edges (where the resampler's filter starts and ends).
double correlation(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
  const std::size_t edge = 200;
  const std::size_t length = std::min(a.size(), b.size());
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = edge; i + edge < length; ++i) {
    ab += static_cast<double>(a[i]) * b[i];
    aa += static_cast<double>(a[i]) * a[i];
    bb += static_cast<double>(b[i]) * b[i];
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

struct Prepared {
  bool ok = false;
  std::vector<std::int16_t> pcm;
  std::vector<std::string> messages;
};

Prepared prepare(const std::string& source) {
  JobHarness harness;
  Prepared result;
  result.ok = prepareSourceFile(harness.workspace(), source, harness.presenter());
  if (result.ok) {
    result.pcm = samples16(test::readFile(harness.workspace().PcmWorkFile));
    EXPECT_EQ(harness.workspace().PcmFormat, codecPcmFormat()) << source;
  }
  for (const MessageRequest& shown : harness.presenter().shown()) result.messages.push_back(shown.text);
  return result;
}

// What must match the plain 16-bit WAV's result:
//  - Exact: the same 16-bit samples in another container decode to the same
//    values, mix and resample identically.
//  - Close: more bits or float keep the sound finer than 16 bits; the
//    difference is the WAV's own quantisation, 90 dB down, so a correlation
//    above 0.9999 and the same length.
//  - Lossy: the codecs change the waveform within their masking; at their
//    default bit rates these tones keep a correlation above 0.999 (0.9999
//    measured). Their decoders drop the encoder's delay and padding (the
//    gapless information each stream carries), so the sound is neither
//    shifted (lag 0) nor longer or shorter than 1 ms.
enum class Match { Exact, Close, Lossy };

TEST(SoundFileInput, OtherProgramsFormatsReachPcmWorkFileAsTheSameSound) {
  test::TempDir dir;
  const std::vector<double> sound = testSound(kRate, kFrames);
  const std::string reference = dir.file("reference.wav");
  ASSERT_TRUE(writeSound(reference, SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, sound));
  const Prepared expected = prepare(reference);
  ASSERT_TRUE(expected.ok);
  ASSERT_NEAR(static_cast<double>(expected.pcm.size()), 8000.0, 2.0);

  const struct Case {
    const char* name;
    int format;
    Match match;
  } cases[] = {
      {"extensible-16.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, Match::Exact},
      {"extensible-24.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, Match::Close},
      {"extensible-32.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_32, Match::Close},
      {"extensible-float.wav", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, Match::Close},
      {"float-32.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, Match::Close},
      {"float-64.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, Match::Close},
      {"sound.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, Match::Exact},
      {"sound-24.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, Match::Close},
      {"sound.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, Match::Exact},
      {"sound-float.aifc", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, Match::Close},
      {"sound.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, Match::Lossy},
      {"sound.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, Match::Lossy},
      {"sound.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, Match::Lossy},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.name);
    // Opus takes 48 kHz only: the same sound at that rate.
    const bool opus = (c.format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS;
    const int rate = opus ? 48000 : kRate;
    ASSERT_TRUE(writeSound(path, c.format, rate, opus ? testSound(rate, rate) : sound)) << c.name;
    const Prepared got = prepare(path);
    ASSERT_TRUE(got.ok) << c.name << ": " << (got.messages.empty() ? "" : got.messages.back());
    EXPECT_TRUE(got.messages.empty()) << c.name;
    switch (c.match) {
      case Match::Exact:
        EXPECT_EQ(got.pcm, expected.pcm) << c.name;
        break;
      case Match::Close:
        EXPECT_EQ(got.pcm.size(), expected.pcm.size()) << c.name;
        EXPECT_GT(correlation(got.pcm, expected.pcm), 0.9999) << c.name;
        break;
      case Match::Lossy:
        EXPECT_NEAR(static_cast<double>(got.pcm.size()), static_cast<double>(expected.pcm.size()), 8.0)
            << c.name;
        EXPECT_GT(correlation(got.pcm, expected.pcm), 0.999) << c.name;
        break;
    }
  }
}

// Files libsndfile opens but cannot finish, or does not know at all, each
// get a clean message and leave the previous PcmWorkFile alone.
TEST(SoundFileInput, DamagedAndForeignFilesGetTheirMessages) {
  JobHarness harness;
  const test::TempDir& dir = harness.outputs();
  const std::vector<double> sound = testSound(kRate, kFrames);
  const std::string flac = dir.file("whole.flac");
  ASSERT_TRUE(writeSound(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kRate, sound));
  Bytes bytes = test::readFile(flac);
  bytes.resize(bytes.size() / 2);
  const std::string truncated = dir.file("truncated.flac");
  test::writeFile(truncated, bytes);
  const std::string text = dir.file("notes.mp3");
  test::writeFile(text, Bytes{'T', 'h', 'i', 's', ' ', 'i', 's', ' ', 'n', 'o', 't', ' ', 'a', ' ',
                              's', 'o', 'u', 'n', 'd', '.', '\n'});
  const std::string empty = dir.file("empty.aiff");
  ASSERT_TRUE(writeSound(empty, SF_FORMAT_AIFF | SF_FORMAT_PCM_16, kRate, {}));
  const std::string slow = dir.file("slow.aiff");
  ASSERT_TRUE(writeSound(slow, SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 500, testSound(500, 500)));

  const struct Case {
    std::string source;
    std::string message;
  } cases[] = {
      {truncated, engineMessage(kIdsWavShortRead, truncated)},
      {text, engineMessage(kIdsNeitherWavNorAu)},
      {empty, engineMessage(kIdsSoundNoAudioData)},
      {slow, engineMessage(kIdsSoundRateNotConvertible, "500")},
  };
  const Bytes previous = {9, 8, 7, 6};
  for (const Case& c : cases) {
    test::writeFile(harness.workspace().PcmWorkFile, previous);
    const std::size_t before = harness.presenter().shown().size();
    EXPECT_FALSE(prepareSourceFile(harness.workspace(), c.source, harness.presenter())) << c.source;
    const auto shown = harness.presenter().shown();
    ASSERT_EQ(shown.size(), before + 1) << c.source;
    EXPECT_EQ(shown.back().text, c.message);
    EXPECT_EQ(test::readFile(harness.workspace().PcmWorkFile), previous) << c.source;
  }
}

}  // namespace
}  // namespace zv
