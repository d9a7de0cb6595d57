// CWavePlayer and CWaveRecorder against the simulated devices: the blocks
// they queue, the notices they act on, and the files they read and write.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/support/simulated_wave_devices.h"
#include "wizard/audio/wave_player.h"
#include "wizard/audio/wave_recorder.h"

namespace zv {
namespace {

// Stands in for the page that owns the engines: receives the devices'
// notices on this thread and hands each one back to its engine.
class NoticeForwarder : public QObject {
 public:
  CWavePlayer* player = nullptr;
  CWaveRecorder* recorder = nullptr;
  int playbackEnded = 0;
  int ignored = 0;
  std::vector<CWaveRecorder::Notice>* notices = nullptr;  // the recorder's answers, when set

  bool event(QEvent* event) override {
    if (event->type() != WaveDoneEvent::eventType()) return QObject::event(event);
    auto* done = static_cast<WaveDoneEvent*>(event);
    if (done->direction() == WaveDirection::Output && player) {
      const auto notice = player->onBlockDone(*done);
      if (notice == CWavePlayer::Notice::PlaybackEnded) ++playbackEnded;
      if (notice == CWavePlayer::Notice::Ignored) ++ignored;
    } else if (done->direction() == WaveDirection::Input && recorder) {
      const auto notice = recorder->onBlockDone(*done);
      if (notices) notices->push_back(notice);
    }
    return true;
  }
};

std::vector<std::uint8_t> patternBytes(std::size_t count, unsigned seed) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0xFF);
  return bytes;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void deliverNotices() { QCoreApplication::sendPostedEvents(); }

class WavePlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto device = std::make_unique<SimulatedWaveOutput>();
    output = device.get();
    player = std::make_unique<CWavePlayer>(std::move(device));
    page.player = player.get();
    path = dir.path() + "/pcm.raw";
  }

  // Plays every queued block to its notice until nothing is queued.
  void playToEnd() {
    while (output->completeNext()) deliverNotices();
  }

  // The page outlives the engine that posts to it, as a page that owns its
  // engine does.
  NoticeForwarder page;
  test::TempDir dir;
  std::string path;
  SimulatedWaveOutput* output = nullptr;
  std::unique_ptr<CWavePlayer> player;
};

TEST_F(WavePlayerTest, PrimingQueuesTheFileAndOneEmptyBlockOrSixteenFullOnes) {
  struct Case {
    std::size_t fileBytes;
    int queuedAfterOpen;
  } cases[] = {
      {0, 1},                  // just the empty block that ends playback
      {100, 2},                // a short block and the empty one
      {32768, 3},              // two full blocks and the empty one
      {16 * 16384, 16},        // sixteen full blocks; the rest follows notices
      {20 * 16384 + 5, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileBytes);
    const auto bytes = patternBytes(c.fileBytes, 3);
    writeFile(path, bytes);
    ASSERT_TRUE(player->open(path, codecPcmFormat(), &page));
    EXPECT_EQ(output->queuedCount(), c.queuedAfterOpen);
    EXPECT_EQ(output->format(), codecPcmFormat());
    player->stop();
    deliverNotices();
  }
}

TEST_F(WavePlayerTest, PlaysEveryByteInOrderAndEndsOnTheFirstBlockThatIsNotFull) {
  for (std::size_t fileBytes : {std::size_t{0}, std::size_t{32768}, std::size_t{20 * 16384 + 5}}) {
    SCOPED_TRACE(fileBytes);
    page.playbackEnded = 0;
    const std::size_t playedBefore = output->played().size();
    const auto bytes = patternBytes(fileBytes, 11);
    writeFile(path, bytes);
    ASSERT_TRUE(player->open(path, codecPcmFormat(), &page));
    playToEnd();
    const std::vector<std::uint8_t> played(output->played().begin() + static_cast<long>(playedBefore),
                                           output->played().end());
    ASSERT_EQ(played.size(), bytes.size());
    EXPECT_EQ(played, bytes);
    EXPECT_EQ(page.playbackEnded, 1);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FALSE(output->isOpen());
  }
}

TEST_F(WavePlayerTest, StopInTheMiddleThenPlayAgainStartsFromTheBeginning) {
  const auto bytes = patternBytes(3 * 16384 + 10, 5);
  writeFile(path, bytes);
  ASSERT_TRUE(player->open(path, codecPcmFormat(), &page));
  ASSERT_TRUE(output->completeNext());
  deliverNotices();
  player->stop();
  deliverNotices();  // the notices the reset gave back arrive late
  EXPECT_EQ(page.playbackEnded, 0);
  EXPECT_GT(page.ignored, 0);
  EXPECT_FALSE(player->isPlaying());

  const std::size_t playedBefore = output->played().size();
  ASSERT_TRUE(player->open(path, codecPcmFormat(), &page));
  playToEnd();
  const std::vector<std::uint8_t> played(output->played().begin() + static_cast<long>(playedBefore),
                                         output->played().end());
  EXPECT_EQ(played, bytes);
  EXPECT_EQ(page.playbackEnded, 1);
}

TEST_F(WavePlayerTest, StopWhenIdleDoesNothing) {
  player->stop();
  player->stop();
  EXPECT_EQ(output->openCount, 0);
  EXPECT_FALSE(player->isPlaying());
  EXPECT_TRUE(player->fillNext());  // no file: nothing to do
  EXPECT_EQ(output->queuedCount(), 0);
}

TEST_F(WavePlayerTest, ADeviceThatRefusesToOpenLeavesThePlayerIdleAndSaysWhy) {
  writeFile(path, patternBytes(1000, 1));
  output->refuseOpen = true;
  EXPECT_FALSE(player->open(path, codecPcmFormat(), &page));
  EXPECT_FALSE(player->isPlaying());
  EXPECT_NE(player->errorText().find("output device"), std::string::npos) << player->errorText();
}

TEST_F(WavePlayerTest, AMissingFileIsNotOpened) {
  EXPECT_FALSE(player->open(dir.path() + "/missing.raw", codecPcmFormat(), &page));
  EXPECT_EQ(output->openCount, 0);
  EXPECT_NE(player->errorText().find("missing.raw"), std::string::npos);
}

class WaveRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto device = std::make_unique<SimulatedWaveInput>();
    input = device.get();
    recorder = std::make_unique<CWaveRecorder>(std::move(device));
    page.recorder = recorder.get();
    path = dir.path() + "/recording.raw";
  }

  NoticeForwarder page;
  test::TempDir dir;
  std::string path;
  SimulatedWaveInput* input = nullptr;
  std::unique_ptr<CWaveRecorder> recorder;
};

TEST_F(WaveRecorderTest, QueuesAllSixtyFourBlocksAndStarts) {
  ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
  EXPECT_EQ(input->queuedCount(), CWaveRecorder::kBlockCount);
  EXPECT_TRUE(input->started());
  EXPECT_EQ(input->format(), codecPcmFormat());
}

TEST_F(WaveRecorderTest, KeepsEverythingRecordedUpToTheStop) {
  // A recording shorter than one block, one of exact blocks, and one that
  // ends inside a block after the device went round its queue more than
  // once: each is kept whole, in order.
  for (std::size_t total : {std::size_t{300}, std::size_t{4 * 1024}, std::size_t{70 * 1024 + 333}}) {
    SCOPED_TRACE(total);
    const auto bytes = patternBytes(total, 9);
    ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
    for (std::size_t at = 0; at < total; at += 700) {
      const std::size_t count = std::min<std::size_t>(700, total - at);
      input->capture(std::vector<std::uint8_t>(bytes.begin() + static_cast<long>(at),
                                               bytes.begin() + static_cast<long>(at + count)));
      deliverNotices();  // the page keeps up: every full block is queued again
      EXPECT_EQ(input->queuedCount(), CWaveRecorder::kBlockCount);
    }
    recorder->stop();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(readFile(path), bytes);
  }
}

TEST_F(WaveRecorderTest, NoticesAfterTheStopWriteNothing) {
  ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
  input->capture(patternBytes(2048, 1));  // two full blocks, notices not yet delivered
  recorder->stop();                       // takes them in before closing
  const auto recorded = readFile(path);
  EXPECT_EQ(recorded.size(), 2048u);
  deliverNotices();
  EXPECT_EQ(readFile(path), recorded);
}

TEST_F(WaveRecorderTest, ANewRecordingReplacesThePreviousOne) {
  ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
  input->capture(patternBytes(5000, 1));
  recorder->stop();
  const auto second = patternBytes(1500, 2);
  ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
  input->capture(second);
  recorder->stop();
  EXPECT_EQ(readFile(path), second);
}

TEST_F(WaveRecorderTest, ADeviceThatFailsLeavesTheRecorderIdleAndTheEarlierRecordingAndSaysWhy) {
  // A device that cannot be opened, and one that opens but cannot start
  // capturing (the sound server refuses): neither may cost the user the
  // recording already in the file.
  struct Case {
    const char* name;
    bool refuseOpen;
    bool refuseStart;
    const char* reason;
  };
  for (const Case& c : {Case{"refuses to open", true, false, "refuses to open"},
                        Case{"does not start", false, true, "does not start"}}) {
    SCOPED_TRACE(c.name);
    const auto earlier = patternBytes(3000, 4);
    writeFile(path, earlier);
    input->refuseOpen = c.refuseOpen;
    input->refuseStart = c.refuseStart;
    EXPECT_FALSE(recorder->open(path, codecPcmFormat(), &page));
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(input->isOpen());
    EXPECT_NE(recorder->errorText().find(c.reason), std::string::npos) << recorder->errorText();
    EXPECT_EQ(readFile(path), earlier) << "the earlier recording must survive a device that failed";
    EXPECT_EQ(recorder->stop(), CWaveRecorder::Failure::None);  // idle: nothing to do
  }
}

TEST_F(WaveRecorderTest, ADiskThatFillsDuringTheRecordingFailsItAtTheBlockThatDoesNotFit) {
  // Room for two and a half blocks: the third block is written only in part
  // and refused, through the recorder's own write and flush.
  ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
  std::vector<CWaveRecorder::Notice> notices;
  page.notices = &notices;
  {
    test::FileSizeLimit limit(2 * CWaveRecorder::kBlockBytes + CWaveRecorder::kBlockBytes / 2);
    ASSERT_TRUE(limit.active());
    input->capture(patternBytes(2 * CWaveRecorder::kBlockBytes, 1));
    deliverNotices();
    EXPECT_EQ(notices, (std::vector{CWaveRecorder::Notice::Written, CWaveRecorder::Notice::Written}));
    EXPECT_EQ(recorder->failure(), CWaveRecorder::Failure::None);

    input->capture(patternBytes(3 * CWaveRecorder::kBlockBytes, 2));
    deliverNotices();
  }
  // The failure is told by the block that did not fit, and nothing after it
  // is written or queued again.
  ASSERT_EQ(notices.size(), 5u);
  EXPECT_EQ(notices[2], CWaveRecorder::Notice::Failed);
  EXPECT_EQ(notices[3], CWaveRecorder::Notice::Ignored);
  EXPECT_EQ(notices[4], CWaveRecorder::Notice::Ignored);
  EXPECT_EQ(recorder->failure(), CWaveRecorder::Failure::Write);
  EXPECT_EQ(readFile(path).size(), 2 * CWaveRecorder::kBlockBytes + CWaveRecorder::kBlockBytes / 2);
  EXPECT_EQ(recorder->stop(), CWaveRecorder::Failure::Write);
  EXPECT_NE(recorder->errorText().find("large"), std::string::npos) << recorder->errorText();
  EXPECT_FALSE(recorder->isRecording());

  // The next recording starts afresh.
  page.notices = nullptr;
  ASSERT_TRUE(recorder->open(path, codecPcmFormat(), &page));
  input->capture(patternBytes(1500, 3));
  EXPECT_EQ(recorder->stop(), CWaveRecorder::Failure::None);
  EXPECT_EQ(readFile(path), patternBytes(1500, 3));
}

TEST_F(WaveRecorderTest, StopWhenIdleDoesNothing) {
  recorder->stop();
  EXPECT_EQ(input->openCount, 0);
  EXPECT_FALSE(recorder->isRecording());
}

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
