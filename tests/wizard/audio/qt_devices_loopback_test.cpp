// The real sound path: CWavePlayer plays a known tone through Qt
// Multimedia's default output while CWaveRecorder records the default input.
// Run under run_with_private_pulse.sh, where the default input hears the
// default output. The recorder runs from the end of the first block played
// to the end of the fourth, well inside the tone, while an independent
// recorder (parec) records the same input over the same span: the recording
// must be as long as parec's, hold the tone at the level played in every
// tenth of a second, and no other frequency.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/tone_level.h"
#include "wizard/audio/qt_wave_devices.h"
#include "wizard/audio/wave_player.h"
#include "wizard/audio/wave_recorder.h"

namespace zv {
namespace {

constexpr double kToneHz = 1000.0;
constexpr int kSampleRateHz = 8000;
constexpr int kToneSeconds = 6;
constexpr double kToneAmplitude = 12000.0;
constexpr std::size_t kWindowSamples = kSampleRateHz / 10;

// Plays the tone; records from the first block's done notice to the
// fourth's, with parec started and stopped at the same moments.
class LoopbackPage : public QObject {
 public:
  CWavePlayer* player = nullptr;
  CWaveRecorder* recorder = nullptr;
  std::string recordingPath;
  QProcess parec;
  int blocksPlayed = 0;
  bool recordingOpened = false;
  bool recordingStopped = false;
  std::string failure;

  bool event(QEvent* event) override {
    if (event->type() != WaveDoneEvent::eventType()) return QObject::event(event);
    auto* done = static_cast<WaveDoneEvent*>(event);
    if (done->direction() == WaveDirection::Output) {
      if (player->onBlockDone(*done) == CWavePlayer::Notice::PlaybackEnded) {
        failure = "playback ended before the recording was stopped";
        QCoreApplication::exit(1);
        return true;
      }
      ++blocksPlayed;
      if (blocksPlayed == 1) {
        parec.start(QStringLiteral("parec"), {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                                               QStringLiteral("--rate=8000"), QStringLiteral("--channels=1"),
                                               QStringLiteral("--latency-msec=20")});
        recordingOpened = recorder->open(recordingPath, codecPcmFormat(), this);
        if (!recordingOpened) {
          failure = recorder->errorText();
          QCoreApplication::exit(1);
        }
      } else if (blocksPlayed == 4) {
        recorder->stop();
        parec.terminate();
        recordingStopped = true;
        QCoreApplication::exit(0);
      }
    } else {
      recorder->onBlockDone(*done);
    }
    return true;
  }
};

std::vector<std::int16_t> readSamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                           (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
  return samples;
}

double levelAt(const std::int16_t* samples, std::size_t count, double hz) {
  return test::toneLevel(samples, count, hz, kSampleRateHz);
}

double levelAt(const std::vector<std::int16_t>& samples, double hz) {
  return levelAt(samples.data(), samples.size(), hz);
}

TEST(QtDevicesLoopback, TheRecordingHearsTheTonePlayed) {
  test::TempDir dir;
  const std::string tonePath = dir.file("tone.raw");
  {
    std::ofstream tone(tonePath, std::ios::binary);
    for (int i = 0; i < kSampleRateHz * kToneSeconds; ++i) {
      const auto sample = static_cast<std::int16_t>(
          std::lround(kToneAmplitude * std::sin(2.0 * std::numbers::pi * kToneHz * i / kSampleRateHz)));
      const char bytes[2] = {static_cast<char>(sample & 0xFF), static_cast<char>((sample >> 8) & 0xFF)};
      tone.write(bytes, 2);
    }
  }

  LoopbackPage page;
  CWavePlayer player(std::make_unique<QtWaveOutput>());
  CWaveRecorder recorder(std::make_unique<QtWaveInput>());
  page.player = &player;
  page.recorder = &recorder;
  page.recordingPath = dir.file("recording.raw");
  page.parec.setStandardOutputFile(QString::fromStdString(dir.file("parec.raw")));

  ASSERT_TRUE(player.open(tonePath, codecPcmFormat(), &page)) << player.errorText();
  // Runs until the recording is stopped; the guard only ends a run whose
  // device never gives its blocks back.
  QTimer::singleShot(30000, [] { QCoreApplication::exit(1); });
  QCoreApplication::exec();
  player.stop();
  ASSERT_TRUE(page.recordingStopped) << "the recording was not stopped: " << page.failure;
  ASSERT_TRUE(page.parec.state() == QProcess::NotRunning || page.parec.waitForFinished(10000))
      << "parec did not end";

  const auto recorded = readSamples(page.recordingPath);
  const auto reference = readSamples(dir.file("parec.raw"));
  ASSERT_GT(reference.size(), static_cast<std::size_t>(2 * kSampleRateHz))
      << "parec heard too little to compare with: " << page.parec.readAllStandardError().toStdString();
  EXPECT_NEAR(levelAt(reference, kToneHz), kToneAmplitude, 0.1 * kToneAmplitude) << "parec's level";

  // As long as parec's over the same span, within a few blocks for the two
  // programs' start and stop.
  const double recordedSeconds = double(recorded.size()) / kSampleRateHz;
  const double referenceSeconds = double(reference.size()) / kSampleRateHz;
  EXPECT_GT(recordedSeconds, 0.9 * referenceSeconds - 0.3) << "parec: " << referenceSeconds << " s";
  EXPECT_LT(recordedSeconds, referenceSeconds + 0.5) << "parec: " << referenceSeconds << " s";

  // The tone at the level played in every tenth of a second.
  for (std::size_t at = 0; at + kWindowSamples <= recorded.size(); at += kWindowSamples) {
    const double level = levelAt(recorded.data() + at, kWindowSamples, kToneHz);
    EXPECT_NEAR(level, kToneAmplitude, 0.2 * kToneAmplitude) << "at " << double(at) / kSampleRateHz << " s";
  }

  // The tone's frequency carries far more than any other in a scan of 100
  // Hz steps (its neighbours 900 and 1100 Hz included).
  const double atTone = levelAt(recorded, kToneHz);
  for (double hz = 100; hz < kSampleRateHz / 2.0; hz += 100) {
    if (hz == kToneHz) continue;
    EXPECT_GT(atTone, 20.0 * levelAt(recorded, hz)) << "at " << hz << " Hz";
  }
}

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
  int status = 0;
  {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  // The verdict is in. Qt's PulseAudio backend tears its connection down in
  // a global destructor that can race with the server's last messages and
  // abort inside libpulse at exit; that is not what this test is about, so
  // it ends without running the global destructors.
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}
