// zvsa encode with the sound files people have (FLAC, MP3, EXTENSIBLE WAV)
// and its command-line wording of the engine's input messages: no button to
// press in a terminal, and the system's reason when a file operation failed.
#include <gtest/gtest.h>

#include <sndfile.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "cli/command_line_messages.h"
#include "encoder/engine_strings.h"
#include "encoder/wave_file_writer.h"
#include "tests/cli/zvsa_run.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/sound_file_writer.h"

namespace zv {
namespace {

using test::runZvsa;

// A second of a 440 Hz tone at 44.1 kHz, in both channels.
bool writeTone(const std::string& path, int format) {
  std::vector<double> sound(2 * 44100);
  for (std::size_t i = 0; i < sound.size(); ++i)
    sound[i] = 0.3 * std::sin(2 * M_PI * 440 * static_cast<double>(i / 2) / 44100);
  return test::writeSoundFile(path, format, 44100, 2, sound);
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Words that only make sense in front of the wizard.
void expectNoWizardControls(const std::string& text, const std::string& what) {
  for (const char* word : {"button", "browse", "select"})
    EXPECT_EQ(lower(text).find(word), std::string::npos) << what << ": " << text;
}

TEST(ZvsaSoundInput, EncodesFlacMp3AndExtensibleWave) {
  test::TempDir dir;
  const struct Case {
    const char* name;
    int format;
  } cases[] = {
      {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
      {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
      {"tone-24.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24},
  };
  for (const Case& c : cases) {
    const std::string input = dir.file(c.name);
    ASSERT_TRUE(writeTone(input, c.format)) << c.name;
    const auto run = runZvsa({"encode", input, "-o", dir.file("out.zvsa")});
    EXPECT_EQ(run.exitStatus, 0) << c.name << "\n" << run.err;
    // One second at 8 kHz mono 16-bit.
    EXPECT_NE(run.err.find("1.00 s of audio, 16000 bytes"), std::string::npos) << c.name << "\n" << run.err;
    EXPECT_TRUE(test::fileExists(dir.file("out.zvsa"))) << c.name;
  }
}

// Ten minutes of 44.1 kHz stereo (101 MiB of samples; read whole, as the
// engine once did, it took 187 MB) must pass in bounded memory: the sound
// is streamed. The file is sparse (silence that takes no disk). A child's
// peak resident memory counts what it had when forked, here a copy of this
// small test process, so the bound holds for zvsa's own use.
TEST(ZvsaSoundInput, TenMinutesOfWaveAreEncodedInBoundedMemory) {
  test::TempDir dir;
  const std::string input = dir.file("ten-minutes.wav");
  WaveFormat stereo = codecPcmFormat();
  stereo.channels = 2;
  stereo.samplesPerSec = 44100;
  stereo.blockAlign = 4;
  stereo.avgBytesPerSec = 44100 * 4;
  const std::uint64_t dataBytes = std::uint64_t{44100} * 4 * 600;
  std::FILE* file = std::fopen(input.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(writeWaveHeader(file, stereo, dataBytes));
  const long headerBytes = std::ftell(file);
  ASSERT_EQ(std::fclose(file), 0);
  ASSERT_EQ(::truncate(input.c_str(), static_cast<off_t>(headerBytes + dataBytes)), 0);

  const auto run = runZvsa({"encode", input, "-o", dir.file("out.zvsa")});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_NE(run.err.find("600.00 s of audio"), std::string::npos) << run.err;
  rusage children{};
  ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &children), 0);
  EXPECT_LT(children.ru_maxrss, 64 * 1024) << "peak resident memory in KiB";
}

TEST(ZvsaSoundInput, InputFailuresAreWordedForTheCommandLineWithTheSystemsReason) {
  test::TempDir dir;
  const std::string missing = dir.file("missing.wav");
  const std::string text = dir.file("notes.mp3");
  test::writeFile(text, {'n', 'o', 't', 'e', 's', '\n'});
  const struct Case {
    std::string input;
    std::string line;
  } cases[] = {
      {missing, "zvsa: " + missing + ": The name \"" + missing +
                    "\" is not a valid file name or path.  No such file or directory.  Please "
                    "check the path given on the command line.\n"},
      {dir.path(), "zvsa: " + dir.path() + ": The name \"" + dir.path() +
                       "\" is not a valid file name or path.  Is a directory.  Please check the "
                       "path given on the command line.\n"},
      {text, "zvsa: " + text +
                 ": This file is neither a PC WAV audio format nor an AU audio format.  Please "
                 "name another file: zvsa reads WAV, AU, FLAC, Ogg, MP3, AIFF and more.\n"},
  };
  for (const Case& c : cases) {
    const auto run = runZvsa({"encode", c.input, "-o", dir.file("out.zvsa")});
    EXPECT_EQ(run.exitStatus, 1) << c.input;
    EXPECT_EQ(run.err, c.line);
    expectNoWizardControls(run.err, c.input);
  }
}

// Every text of the engine, as zvsa words it: no wizard controls, the
// reason of a failed file operation in it, and the system's own texts (the
// wizard's) unchanged.
TEST(ZvsaSoundInput, NoEngineMessageSpeaksOfTheWizardsControlsOnTheCommandLine) {
  for (const StringTableEntry& entry : engineStringTable()) {
    const EngineNotice notice{entry.id, "x.wav", "Permission denied"};
    const std::string worded = cli::commandLineWording(notice);
    expectNoWizardControls(worded, std::to_string(entry.id));
    EXPECT_NE(worded.find("  Permission denied."), std::string::npos) << entry.id << ": " << worded;
    EXPECT_EQ(systemWording(notice), engineMessage(entry.id, "x.wav")) << entry.id;
  }
  const std::string workFile =
      cli::commandLineWording({kNoticePcmWorkFileNotWritten, "a.flac", "No space left on device"});
  EXPECT_EQ(workFile,
            "The converted sound of \"a.flac\" could not be written to the working file.  No space "
            "left on device.");
  EXPECT_EQ(systemWording({kNoticePcmWorkFileNotWritten, "a.flac", "No space left on device"}),
            engineMessage(kIdsFileDoesNotExist, "a.flac"));
}

}  // namespace
}  // namespace zv
