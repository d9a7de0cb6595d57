// The loop of `zvsa play` against a fake speaker: the samples handed in are
// the decoder vectors' in order, clip after clip; a stop between frames
// leaves the rest unplayed and undrained; a clip that cannot be played is
// reported and the next one plays; a speaker that refuses sound ends the
// list; the time shown is what has been heard.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli/clip_player.h"
#include "cli/exit_status.h"
#include "cli/play_command.h"
#include "tests/cli/zvsa_run.h"
#include "tests/support/audio_fixtures.h"

namespace zv {
namespace {

using cli::PlayListSettings;
using test::Bytes;
using test::vector;

constexpr std::size_t kSpeechFrameBytes = 320;  // 160 samples
constexpr std::size_t kMusicFrameBytes = 256;   // 128 samples

class FakeSpeaker : public cli::SoundOutput {
 public:
  Bytes heard;                        // every byte handed in, in order
  std::vector<std::size_t> writes;    // the size of each write
  int drains = 0;
  std::uint64_t queuedUs = 0;         // what queuedMicroseconds() answers
  std::size_t refuseWrite = 0;        // refuse the write of this number (1-based); 0: none
  std::function<void()> afterWrite;   // runs after each accepted write

  std::string write(std::span<const std::uint8_t> pcm) override {
    if (refuseWrite != 0 && writes.size() + 1 == refuseWrite) return "Connection terminated";
    heard.insert(heard.end(), pcm.begin(), pcm.end());
    writes.push_back(pcm.size());
    if (afterWrite) afterWrite();
    return {};
  }
  std::uint64_t queuedMicroseconds() override { return queuedUs; }
  std::string drain() override {
    ++drains;
    return {};
  }
};

// What the settings' callbacks were given.
struct PlayRecord {
  std::vector<std::string> said;
  std::vector<std::string> statuses;
  bool stop = false;

  PlayListSettings settings() {
    PlayListSettings s;
    s.stopRequested = [this] { return stop; };
    s.say = [this](const std::string& line) { said.push_back(line); };
    s.status = [this](const std::string& text) { statuses.push_back(text); };
    return s;
  }
};

Bytes concatenated(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(PlayLoop, EachClipReachesTheSpeakerFrameByFrameAsTheDecoderVectorSays) {
  const struct {
    const char* clip;
    const char* decoded;
    std::size_t frameBytes;
  } cases[] = {{"vowels-speech.zvsa", "vowels.qv80.dec.raw", kSpeechFrameBytes},
               {"vowels-music.zvsa", "vowels.qv160.dec.raw", kMusicFrameBytes}};
  for (const auto& c : cases) {
    FakeSpeaker speaker;
    PlayRecord record;
    EXPECT_EQ(cli::playClips({vector(c.clip)}, speaker, record.settings()), cli::kExitSuccess) << c.clip;
    EXPECT_EQ(speaker.heard, test::readFile(vector(c.decoded))) << c.clip;
    for (std::size_t bytes : speaker.writes) ASSERT_EQ(bytes, c.frameBytes) << c.clip;
    EXPECT_EQ(speaker.drains, 1) << "the end of the last clip must be heard: " << c.clip;
    EXPECT_TRUE(record.said.empty()) << record.said.front();
    ASSERT_FALSE(record.statuses.empty());
    EXPECT_NE(record.statuses.front().find("0:00.0 / 0:03.0"), std::string::npos) << record.statuses.front();
    EXPECT_NE(record.statuses.back().find("0:03.0 / 0:03.0"), std::string::npos) << record.statuses.back();
  }
}

TEST(PlayLoop, ClipsThatCannotBePlayedAreReportedAndTheNextOnePlays) {
  test::TempDir dir;
  const std::string tooShort = dir.file("short.zvsa");
  test::writeFile(tooShort, Bytes(50, 0x20));
  // Ten whole speech frames, then 7 bytes of the eleventh.
  const std::string cutShort = dir.file("cut.zvsa");
  const Bytes speech = test::readFile(vector("vowels-speech.zvsa"));
  test::writeFile(cutShort, Bytes(speech.begin(), speech.begin() + 154 + 10 * 20 + 7));
  const std::string missing = dir.file("missing.zvsa");
  const std::string folder = dir.path();

  FakeSpeaker speaker;
  PlayRecord record;
  const int status = cli::playClips({missing, vector("vowels-speech.zvsa"), tooShort, cutShort, folder,
                                     vector("vowels-music.zvsa")},
                                    speaker, record.settings());
  EXPECT_EQ(status, cli::kExitFailure);
  const Bytes speechPcm = test::readFile(vector("vowels.qv80.dec.raw"));
  const Bytes firstTenFrames(speechPcm.begin(), speechPcm.begin() + 10 * kSpeechFrameBytes);
  EXPECT_EQ(speaker.heard,
            concatenated({speechPcm, firstTenFrames, test::readFile(vector("vowels.qv160.dec.raw"))}));
  EXPECT_EQ(speaker.drains, 1);
  const std::vector<std::string> expected = {
      "zvsa: " + missing + ": No such file or directory",
      "zvsa: " + tooShort + ": not a stream file: shorter than the 154-byte header",
      "zvsa: " + cutShort + ": the stream file is damaged: its frames do not decode to its end",
      "zvsa: " + folder + ": not a regular file",
  };
  EXPECT_EQ(record.said, expected);
  // The time line names the clip and its place in the list.
  EXPECT_NE(record.statuses.back().find("Playing 6 of 6: " + vector("vowels-music.zvsa")), std::string::npos)
      << record.statuses.back();
}

TEST(PlayLoop, AStopBetweenFramesEndsTheListWithoutDraining) {
  FakeSpeaker speaker;
  PlayRecord record;
  speaker.afterWrite = [&] {
    if (speaker.writes.size() == 5) record.stop = true;
  };
  const int status = cli::playClips({vector("vowels-speech.zvsa"), vector("vowels-music.zvsa")}, speaker,
                                    record.settings());
  EXPECT_EQ(status, cli::kExitInterrupted);
  const Bytes speechPcm = test::readFile(vector("vowels.qv80.dec.raw"));
  EXPECT_EQ(speaker.heard, Bytes(speechPcm.begin(), speechPcm.begin() + 5 * kSpeechFrameBytes));
  EXPECT_EQ(speaker.drains, 0);
  EXPECT_TRUE(record.said.empty());
}

TEST(PlayLoop, ASpeakerThatRefusesSoundEndsTheList) {
  FakeSpeaker speaker;
  speaker.refuseWrite = 3;
  PlayRecord record;
  const std::string clip = vector("vowels-speech.zvsa");
  EXPECT_EQ(cli::playClips({clip, vector("vowels-music.zvsa")}, speaker, record.settings()),
            cli::kExitFailure);
  EXPECT_EQ(speaker.writes.size(), 2u) << "nothing after the refusal, not even the next clip";
  EXPECT_EQ(speaker.drains, 0);
  EXPECT_EQ(record.said,
            std::vector<std::string>{"zvsa: " + clip + ": the sound server took no more sound: Connection terminated"});
}

TEST(PlayLoop, TheTimeShownLeavesOutWhatTheSpeakerHasNotPlayedYet) {
  FakeSpeaker speaker;
  speaker.queuedUs = 500000;
  PlayRecord record;
  ASSERT_EQ(cli::playClips({vector("vowels-speech.zvsa")}, speaker, record.settings()), cli::kExitSuccess);
  // 20 ms a frame: the first 25 frames are still queued.
  for (std::size_t i = 0; i <= 25; ++i)
    EXPECT_NE(record.statuses[i].find("  0:00.0 / 0:03.0"), std::string::npos) << i << ": " << record.statuses[i];
  EXPECT_NE(record.statuses[51].find("  0:00.5 / 0:03.0"), std::string::npos) << record.statuses[51];
  EXPECT_NE(record.statuses.back().find("  0:02.5 / 0:03.0"), std::string::npos) << record.statuses.back();
}

TEST(PlayLoop, PlayTimesAreMinutesSecondsAndTenths) {
  const struct {
    double seconds;
    const char* text;
  } cases[] = {{0, "0:00.0"},       {-1, "0:00.0"},        {2.99, "0:02.9"},     {59.96, "0:59.9"},
               {61.25, "1:01.2"},   {3599.9, "59:59.9"},   {3662.5, "1:01:02.5"}};
  for (const auto& c : cases) EXPECT_EQ(cli::formatPlayTime(c.seconds), c.text) << c.seconds;

  // A clip without a sample rate has no total to show.
  EXPECT_EQ(cli::playStatusText("a.zvsa", 1, 1, {1.5, 0}), "Playing a.zvsa  0:01.5");
  EXPECT_EQ(cli::playStatusText("b.zvsa", 2, 3, {1.5, 4}), "Playing 2 of 3: b.zvsa  0:01.5 / 0:04.0");
}

}  // namespace
}  // namespace zv
