// zvsa encode, decode and info on good inputs: the conformance stream files
// byte for byte, the summary, parallel files, and the low-rate codec of
// row 0 there and back.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "tests/cli/zvsa_run.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

using test::Bytes;
using test::runZvsa;
using test::vector;

// vowels.raw wrapped in an 8 kHz mono 16-bit WAV.
std::string writeVowelsWave(const test::TempDir& dir) {
  const std::string path = dir.file("vowels.wav");
  test::writeFile(path, test::pcmWave({}, test::readFile(vector("vowels.raw"))));
  return path;
}

TEST(ZvsaEncode, WritesTheConformanceStreamFilesByteForByte) {
  test::TempDir dir;
  const std::string wav = writeVowelsWave(dir);
  const struct {
    std::vector<std::string> codec;  // none: the default, music
    const char* expected;
    const char* ratio;
  } cases[] = {
      {{}, "vowels-music.zvsa", "Compressed (8:1, 12%)"},
      {{"--codec", "speech"}, "vowels-speech.zvsa", "Compressed (16:1, 6%)"},
      {{"--codec=music"}, "vowels-music.zvsa", "Compressed (8:1, 12%)"},
      {{"--codec", "lowspeech"}, "vowels-lowspeech.zvsa", "Compressed (26:1, 3%)"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"encode", wav, "-o", dir.file("out.zvsa")};
    arguments.insert(arguments.end(), c.codec.begin(), c.codec.end());
    const auto run = runZvsa(arguments);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(test::readFile(dir.file("out.zvsa")) == test::readFile(vector(c.expected))) << c.expected;
    // Summary: duration, sizes, the wizard's ratio wording, speed; no
    // progress line rewriting when stderr is not a terminal.
    EXPECT_NE(run.err.find("3.00 s of audio"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("48000 bytes"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.ratio), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("x real time"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
    EXPECT_TRUE(run.out.empty());
  }
}

TEST(ZvsaEncode, QuietPrintsNothingOnSuccess) {
  test::TempDir dir;
  const auto run = runZvsa({"encode", "-q", writeVowelsWave(dir), "-o", dir.file("q.zvsa")});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_TRUE(test::fileExists(dir.file("q.zvsa")));
}

// Row 0 of the codec table is the low-rate speech codec: named by its row
// it writes the same stream as by its name, and info names it.
TEST(ZvsaEncode, RowZeroIsTheLowerQualityCodec) {
  test::TempDir dir;
  const auto run = runZvsa({"encode", writeVowelsWave(dir), "-o", dir.file("x.zvsa"), "--codec", "0"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(test::readFile(dir.file("x.zvsa")) == test::readFile(vector("vowels-lowspeech.zvsa")));
  const auto info = runZvsa({"info", dir.file("x.zvsa")});
  ASSERT_EQ(info.exitStatus, 0) << info.err;
  for (const char* line : {"Encoded using QXC DLL 'QV48W.DLL' Version 3.0",
                           "Codec:           48 (Lower quality sound, QV48W.DLL)",
                           "Data bytes:      1800 (as the file holds)",
                           "Frames:          100 (they run exactly to the end of the file)",
                           "Bit rate:        4800 bit/s"})
    EXPECT_NE(info.out.find(line), std::string::npos) << line << "\n" << info.out;
}

TEST(ZvsaEncode, SeveralInputsInParallelIntoAnOutputFolder) {
  test::TempDir dir;
  const std::string wav = writeVowelsWave(dir);
  const std::string au = dir.file("tone.au");
  test::writeFile(au, test::auFile({.encoding = 1}, Bytes(4000, 0x55)));
  const std::string stereo = dir.file("stereo.wav");
  test::writeFile(stereo, test::pcmWave({.channels = 2, .samplesPerSec = 44100},
                                        test::pcm16(test::sine16(440, 44100, 44100, 2))));
  const std::string broken = dir.file("broken.wav");
  test::writeFile(broken, {'R', 'I', 'F', 'F', 0, 0, 0, 0});
  ASSERT_EQ(::mkdir(dir.file("outputs").c_str(), 0700), 0);

  const auto run = runZvsa({"encode", "-j", "3", "--outdir", dir.file("outputs"), wav, au, stereo, broken});
  EXPECT_EQ(run.exitStatus, 1) << run.err;  // one input failed
  EXPECT_TRUE(test::readFile(dir.file("outputs/vowels.zvsa")) == test::readFile(vector("vowels-music.zvsa")));
  EXPECT_EQ(test::readFile(dir.file("outputs/tone.zvsa")).size() > 154, true);
  EXPECT_EQ(test::readFile(dir.file("outputs/stereo.zvsa")).size() > 154, true);
  EXPECT_FALSE(test::fileExists(dir.file("outputs/broken.zvsa")));
  EXPECT_NE(run.err.find("zvsa: " + broken + ": Either this is not a WAV file"), std::string::npos) << run.err;
}

TEST(ZvsaDecode, StreamFilesDecodeToTheDecoderVectorsInAWave) {
  const struct {
    const char* stream;
    const char* pcm;
  } cases[] = {{"vowels-music.zvsa", "vowels.qv160.dec.raw"},
               {"vowels-speech.zvsa", "vowels.qv80.dec.raw"},
               {"vowels-lowspeech.zvsa", "vowels.qv48.dec.raw"}};
  for (const auto& c : cases) {
    test::TempDir dir;
    const auto run = runZvsa({"decode", vector(c.stream), "-o", dir.file("out.wav")});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const Bytes wav = test::readFile(dir.file("out.wav"));
    const Bytes pcm = test::readFile(vector(c.pcm));
    // RIFF, "fmt " of 18 (8 kHz mono 16-bit), "fact", then "data": 58 bytes.
    ASSERT_EQ(wav.size(), 58 + pcm.size());
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), wav.begin() + 58)) << c.stream;
    EXPECT_EQ(Bytes(wav.begin() + 20, wav.begin() + 36),
              (Bytes{1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0}));
  }
}

TEST(ZvsaDecode, CodecCanBeNamedInsteadOfTakenFromTheHeader) {
  test::TempDir dir;
  Bytes stream = test::readFile(vector("vowels-speech.zvsa"));
  stream[128] = 0x34;  // codec identifier 0x0734: no library reports it
  const std::string path = dir.file("retagged.zvsa");
  test::writeFile(path, stream);
  const auto refused = runZvsa({"decode", path, "-o", dir.file("a.wav")});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find("codec identifier 1844; name the codec with --codec"), std::string::npos)
      << refused.err;
  EXPECT_FALSE(test::fileExists(dir.file("a.wav")));
  const auto named = runZvsa({"decode", path, "-o", dir.file("b.wav"), "--codec", "speech"});
  EXPECT_EQ(named.exitStatus, 0) << named.err;
  EXPECT_EQ(test::readFile(dir.file("b.wav")).size(), 58u + 48000u);
}

TEST(ZvsaInfo, DescribesTheHeaderInWords) {
  const auto run = runZvsa({"info", vector("vowels-music.zvsa")});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  for (const char* line :
       {"Z&V Tavelworks Version 1.0 - Encoded using QXC DLL 'QV160MXW.DLL' Version 3.0",
        "Codec:           1 (Highest quality sound, QV160MXW.DLL)", "Codec version:   3.0",
        "Encoder version: 1.0", "Samples:         24000", "Sample rate:     8000 Hz",
        "Duration:        3.00 s", "Data bytes:      5888 (as the file holds)", "(right)",
        "Frames:          188 (they run exactly to the end of the file)", "Bit rate:        15701 bit/s"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
  EXPECT_TRUE(run.err.empty());
}

TEST(ZvsaInfo, InconsistentHeaderIsShownAndFails) {
  test::TempDir dir;
  Bytes stream = test::readFile(vector("vowels-speech.zvsa"));
  stream[150] ^= 0xFF;  // check word
  stream[146] = 0x00;   // data bytes 0x0B00 instead of 0x0BB8
  const std::string path = dir.file("edited.zvsa");
  test::writeFile(path, stream);
  const auto run = runZvsa({"info", path});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.out.find("(the file holds 3000)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("(wrong: should be"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("the check word is wrong"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("data bytes do not match"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace zv
