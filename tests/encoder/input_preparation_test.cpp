// Input preparation: a source file to PcmWorkFile and PcmFormat, with each
// step's message shown through the message layer.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "encoder/engine_strings.h"
#include "encoder/input_preparation.h"
#include "tests/encoder/job_harness.h"

namespace zv {
namespace {

using test::Bytes;
using test::JobHarness;

struct Prepared {
  bool ok = false;
  std::vector<MessageRequest> shown;
};

Prepared prepare(JobHarness& harness, const std::string& source) {
  Prepared result;
  result.ok = prepareSourceFile(harness.workspace(), source, harness.presenter());
  result.shown = harness.presenter().shown();
  return result;
}

TEST(InputPreparation, CodecPcmWaveReachesPcmWorkFileByteForByteWithItsOwnFormat) {
  JobHarness harness;
  const Bytes pcm = test::pcm16(test::sine16(500, 8000, 1234));
  const std::string source = harness.outputs().file("speech.wav");
  test::writeFile(source, test::riffWave({test::fmtChunk({}, 18), test::dataChunk(pcm)}));
  harness.workspace().PcmFormat = WaveFormat{};
  const Prepared result = prepare(harness, source);
  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(result.shown.empty());
  EXPECT_EQ(test::readFile(harness.workspace().PcmWorkFile), pcm);
  EXPECT_EQ(harness.workspace().PcmFormat, codecPcmFormat());
}

TEST(InputPreparation, AuSourcesGoThroughTheIntermediateWave) {
  struct Case {
    const char* name;
    test::AuHeader header;
    Bytes data;
    std::size_t pcmBytes;
  } cases[] = {
      {"mu-law 8 kHz", {.encoding = 1}, Bytes(800, 0x80), 1600},
      {"A-law 8 kHz", {.encoding = 27}, Bytes(800, 0xD5), 1600},
      {"8-bit linear 8 kHz", {.encoding = 2}, Bytes(800, 0x10), 1600},
      {"16-bit 16 kHz", {.encoding = 3, .sampleRate = 16000}, Bytes(3200, 0), 1600},
  };
  for (const Case& c : cases) {
    JobHarness harness;
    const std::string source = harness.outputs().file("clip.snd");
    test::writeFile(source, test::auFile(c.header, c.data));
    const Prepared result = prepare(harness, source);
    ASSERT_TRUE(result.ok) << c.name;
    const Bytes pcm = test::readFile(harness.workspace().PcmWorkFile);
    EXPECT_NEAR(static_cast<double>(pcm.size()), static_cast<double>(c.pcmBytes), 4.0) << c.name;
    EXPECT_EQ(harness.workspace().PcmFormat, codecPcmFormat()) << c.name;
    EXPECT_GT(test::readFile(harness.workspace().AuConvertFile).size(), 44u) << c.name;
  }
  JobHarness harness;
  const std::string source = harness.outputs().file("clip.au");
  test::writeFile(source, test::auFile({.encoding = 1}, {0x80, 0x00}));
  ASSERT_TRUE(prepare(harness, source).ok);
  EXPECT_EQ(test::readFile(harness.workspace().PcmWorkFile), test::pcm16({32124, -32124}));
}

// Every failure shows its message with the application title and leaves
// the previous PcmWorkFile and PcmFormat as they were.
TEST(InputPreparation, EveryStepShowsItsMessageAndKeepsThePreviousWork) {
  JobHarness harness;
  const auto file = [&harness](const char* name, const Bytes& bytes) {
    const std::string path = harness.outputs().file(name);
    test::writeFile(path, bytes);
    return path;
  };
  const Bytes pcm = test::pcm16({1, 2, 3, 4});
  const std::string missing = harness.outputs().file("absent.wav");
  const std::string text = file("notes.wav", {'h', 'e', 'l', 'l', 'o'});
  const std::string tiny = file("tiny.wav", {'R', 'I'});
  const std::string adpcm = file("adpcm.wav", test::pcmWave({.formatTag = 2}, pcm));
  const std::string stereoAu = file("stereo.au", test::auFile({.channels = 2}, {1, 2}));
  const std::string emptyAu = file("empty.au", test::auFile({}, {}));
  const std::string directory = harness.outputs().file("folder.wav");
  ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);

  const struct Case {
    std::string source;
    std::string message;
  } cases[] = {
      {"", engineMessage(kIdsSelectSourceFile)},
      {missing, engineMessage(kIdsInvalidFileName, missing)},
      {directory, engineMessage(kIdsInvalidFileName, directory)},
      {text, engineMessage(kIdsNeitherWavNorAu)},
      {tiny, engineMessage(kIdsNeitherWavNorAu)},
      {adpcm, engineMessage(kIdsWavNotPcm)},
      {stereoAu, engineMessage(kIdsStereoNotSupported)},
      {emptyAu, engineMessage(kIdsWavNoAudioData)},
  };
  const Bytes previous = {9, 8, 7, 6};
  WaveFormat previousFormat = codecPcmFormat();
  previousFormat.samplesPerSec = 12345;
  for (const Case& c : cases) {
    test::writeFile(harness.workspace().PcmWorkFile, previous);
    harness.workspace().PcmFormat = previousFormat;
    const std::size_t before = harness.presenter().shown().size();
    EXPECT_FALSE(prepareSourceFile(harness.workspace(), c.source, harness.presenter())) << c.source;
    const auto shown = harness.presenter().shown();
    ASSERT_EQ(shown.size(), before + 1) << c.source;
    EXPECT_EQ(shown.back().text, c.message);
    EXPECT_EQ(shown.back().caption, "Z&V Tavelworks");
    EXPECT_EQ(shown.back().kind, MessageKind::Information);
    EXPECT_EQ(test::readFile(harness.workspace().PcmWorkFile), previous) << c.source;
    EXPECT_EQ(harness.workspace().PcmFormat, previousFormat) << c.source;
  }
}

TEST(InputPreparation, PcmWorkFileThatCannotBeReplacedNamesTheSource) {
  JobHarness harness;
  const std::string source = harness.outputs().file("ok.wav");
  test::writeFile(source, test::pcmWave({}, test::pcm16({1, 2})));
  const std::string work = harness.workspace().PcmWorkFile;
  ASSERT_EQ(::unlink(work.c_str()), 0);
  ASSERT_EQ(::mkdir(work.c_str(), 0700), 0);  // a folder cannot be replaced by a file
  const Prepared result = prepare(harness, source);
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(result.shown.size(), 1u);
  EXPECT_EQ(result.shown[0].text, engineMessage(kIdsFileDoesNotExist, source));
  ::rmdir(work.c_str());
}

}  // namespace
}  // namespace zv
