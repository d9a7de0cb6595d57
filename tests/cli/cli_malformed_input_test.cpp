// Malformed inputs of many kinds: zvsa answers each with a message and a
// non-zero status, never with a crash, a hang, or a half-written output.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

#include "tests/cli/zvsa_run.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

using test::Bytes;
using test::runZvsa;
using test::vector;

void expectRefused(const test::ProgramRun& run, const std::string& path, const std::string& message,
                   const std::string& what) {
  EXPECT_FALSE(run.timedOut) << what;
  EXPECT_EQ(run.signal, 0) << what;
  EXPECT_EQ(run.exitStatus, 1) << what << "\n" << run.err;
  EXPECT_NE(run.err.find("zvsa: " + path + ": " + message), std::string::npos) << what << "\n" << run.err;
}

TEST(ZvsaMalformedInput, EncodeRefusesEachBadSourceWithItsMessage) {
  test::TempDir dir;
  const Bytes pcm = test::pcm16({1, 2, 3, 4});
  Bytes cut = test::pcmWave({}, test::pcm16(std::vector<std::int16_t>(100)));
  cut.resize(120);  // the data chunk announces 200 bytes
  const std::string fifo = dir.file("pipe.wav");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // opening it would block: refused unopened
  const struct Case {
    const char* name;
    Bytes file;
    std::string message;
  } cases[] = {
      {"empty.wav", {}, "This file is neither a PC WAV audio format nor an AU audio format."},
      {"three.wav", {'R', 'I', 'F'}, "This file is neither a PC WAV"},
      {"riff-only.wav", {'R', 'I', 'F', 'F'}, "Either this is not a WAV file"},
      {"stream.wav", test::readFile(vector("vowels-music.zvsa")), "This file is neither a PC WAV"},
      {"cut.wav", cut, "This WAV file is damaged"},
      {"adpcm.wav", test::pcmWave({.formatTag = 17}, pcm), "This WAV file is not in PCM format."},
      {"zero-channels.wav", test::pcmWave({.channels = 0, .blockAlign = 2}, pcm),
       "The format of this WAV file names no channels"},
      {"slow.wav", test::pcmWave({.samplesPerSec = 10}, pcm), "The sample rate of this WAV file (10 Hz)"},
      {"no-data.wav", test::riffWave({test::fmtChunk({})}), "This WAV file contains no audio data."},
      {"short-fmt.wav", test::riffWave({test::fmtChunk({}, 10), test::dataChunk(pcm)}),
       "Either this is not a WAV file"},
      {"header.au", {'.', 's', 'n', 'd', 0, 0, 0, 28}, "The header on this AU file contains wrong data."},
      {"stereo.au", test::auFile({.channels = 2}, {1, 2}), "This file contains stereo data."},
      {"float.au", test::auFile({.encoding = 6}, {1, 2, 3, 4}), "This is not a supported AU audio file format."},
      {"empty.au", test::auFile({}, {}), "This WAV file contains no audio data."},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.name);
    test::writeFile(path, c.file);
    const auto run = runZvsa({"encode", path, "-o", dir.file("out.zvsa")});
    expectRefused(run, path, c.message, c.name);
    EXPECT_FALSE(test::fileExists(dir.file("out.zvsa"))) << c.name;
  }
  expectRefused(runZvsa({"encode", fifo, "-o", dir.file("out.zvsa")}), fifo,
                "The name \"" + fifo + "\" is not a valid file name or path.", "fifo");
  expectRefused(runZvsa({"encode", dir.path(), "-o", dir.file("out.zvsa")}), dir.path(),
                "The name \"" + dir.path() + "\" is not a valid file name", "folder");
}

TEST(ZvsaMalformedInput, DecodeAndInfoRefuseDamagedStreams) {
  test::TempDir dir;
  const Bytes music = test::readFile(vector("vowels-music.zvsa"));
  const Bytes speech = test::readFile(vector("vowels-speech.zvsa"));
  Bytes cutMusic(music.begin(), music.end() - 17);  // ends inside a frame
  Bytes longSpeech = speech;
  longSpeech.resize(speech.size() + 7, 0x5A);       // 7 bytes of a 20-byte frame
  Bytes foreign = speech;
  foreign[128] = 0x99;                               // unknown codec identifier
  const std::string shortFile = "not a stream file: shorter than the 154-byte header";
  const std::string damaged = "the stream file is damaged: its frames do not decode";
  const struct Case {
    const char* name;
    Bytes file;
    std::string decodeMessage;
    std::string infoMessage;
  } cases[] = {
      {"empty.zvsa", {}, shortFile, shortFile},
      {"short.zvsa", Bytes(music.begin(), music.begin() + 100), shortFile, shortFile},
      {"cut-music.zvsa", cutMusic, damaged, "the frames do not decode to the end"},
      {"long-speech.zvsa", longSpeech, damaged, "the frames do not decode to the end"},
      {"foreign.zvsa", foreign, "no codec library reports the codec identifier 1945",
       "unknown codec identifier 1945"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.name);
    test::writeFile(path, c.file);
    expectRefused(runZvsa({"decode", path, "-o", dir.file("out.wav")}), path, c.decodeMessage,
                  std::string("decode ") + c.name);
    EXPECT_FALSE(test::fileExists(dir.file("out.wav"))) << c.name;
    expectRefused(runZvsa({"info", path}), path, c.infoMessage, std::string("info ") + c.name);
  }
}

// Mutations of good files: truncated at many lengths, header bytes and size
// fields overwritten. Whatever each one has become, zvsa ends by itself with
// 0 and a complete output, or with 1, a message and no output.
TEST(ZvsaMalformedInput, MutatedFilesNeverCrashHangOrLeaveHalfOutputs) {
  test::TempDir dir;
  const Bytes wav = test::pcmWave({.channels = 2, .samplesPerSec = 22050, .bitsPerSample = 24},
                                  Bytes(6 * 2000, 0x31));
  const Bytes au = test::auFile({.encoding = 27, .sampleRate = 8000}, Bytes(900, 0xD5));
  const Bytes stream = test::readFile(vector("vowels-music.zvsa"));
  std::mt19937 random(20240611);
  struct Source {
    const char* command;
    const char* extension;
    const Bytes* bytes;
  } sources[] = {{"encode", ".zvsa", &wav}, {"encode", ".zvsa", &au}, {"decode", ".wav", &stream}};

  int index = 0;
  for (const Source& source : sources) {
    for (int trial = 0; trial < 14; ++trial, ++index) {
      Bytes file = *source.bytes;
      if (trial < 5) {
        file.resize(std::uniform_int_distribution<std::size_t>(0, file.size() - 1)(random));
      } else if (trial < 10) {
        for (int flips = 0; flips < 4; ++flips)
          file[std::uniform_int_distribution<std::size_t>(0, std::min<std::size_t>(file.size(), 160) - 1)(random)] =
              static_cast<std::uint8_t>(random());
      } else {
        // A 32-bit field of the header set to an extreme.
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, 36)(random) & ~std::size_t{3};
        const std::uint32_t values[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF};
        const std::uint32_t value = values[trial % 4];
        for (int b = 0; b < 4; ++b) file[at + b] = static_cast<std::uint8_t>(value >> (8 * b));
      }
      const std::string input = dir.file("mutant" + std::to_string(index) + ".in");
      const std::string output = dir.file("mutant" + std::to_string(index) + source.extension);
      test::writeFile(input, file);
      const auto run = runZvsa({source.command, "-q", input, "-o", output});
      const std::string what = std::string(source.command) + " mutant " + std::to_string(index);
      ASSERT_FALSE(run.timedOut) << what;
      ASSERT_EQ(run.signal, 0) << what << "\n" << run.err;
      ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == 1) << what << "\n" << run.err;
      if (run.exitStatus == 0) {
        EXPECT_TRUE(test::fileExists(output)) << what;
      } else {
        EXPECT_NE(run.err.find("zvsa: " + input + ": "), std::string::npos) << what << "\n" << run.err;
        EXPECT_FALSE(test::fileExists(output)) << what;
      }
      const auto info = runZvsa({"info", input});
      ASSERT_FALSE(info.timedOut) << what;
      ASSERT_EQ(info.signal, 0) << what;
      ASSERT_TRUE(info.exitStatus == 0 || info.exitStatus == 1) << what;
    }
  }
  // Nothing but inputs and complete outputs is left: no partial files.
  for (const std::string& name : dir.entries()) EXPECT_EQ(name.find(".part"), std::string::npos) << name;
}

}  // namespace
}  // namespace zv
