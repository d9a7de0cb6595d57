// zvsa play on the real sound path: run under run_with_private_pulse.sh,
// where the default source hears the default sink. parec records the
// source while zvsa plays tones made with zvsa encode; the recording must
// hold each clip's tone, in the order played. On a terminal the time line
// is drawn and cleared, and Ctrl-C stops the sound at once with status 130.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/zvsa_run.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/tone_level.h"

extern char** environ;

namespace zv {
namespace {

using test::runZvsa;

constexpr std::uint32_t kRateHz = 8000;
constexpr std::size_t kWindowSamples = kRateHz / 10;
constexpr double kAmplitude = 12000.0;
// Guards against a run that never comes to the awaited state; a healthy
// run waits a fraction of these.
constexpr auto kGuard = std::chrono::seconds(30);

// parec recording the default source into memory until stopped.
class Recorder {
 public:
  Recorder() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const char* argv[] = {"parec", "--raw", "--format=s16le", "--rate=8000", "--channels=1",
                          "--latency-msec=20", nullptr};
    if (posix_spawnp(&pid_, "parec", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
      throw std::runtime_error("parec cannot be started");
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    reader_ = std::thread([this, fd = pipeEnds[0]] {
      char buffer[4096];
      ssize_t got;
      while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        bytes_.insert(bytes_.end(), buffer, buffer + got);
        grew_.notify_all();
      }
      close(fd);
      std::lock_guard<std::mutex> lock(mutex_);
      ended_ = true;
      grew_.notify_all();
    });
  }
  ~Recorder() { stop(); }

  // Waits until the recording holds `samples` more samples than now.
  bool waitForMore(std::size_t samples) {
    std::unique_lock<std::mutex> lock(mutex_);
    const std::size_t target = bytes_.size() + 2 * samples;
    return grew_.wait_for(lock, kGuard, [&] { return ended_ || bytes_.size() >= target; }) &&
           bytes_.size() >= target;
  }

  // Stops parec and returns what it recorded.
  std::vector<std::int16_t> stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
      pid_ = -1;
    }
    if (reader_.joinable()) reader_.join();
    std::vector<std::int16_t> samples(bytes_.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::int16_t>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8));
    return samples;
  }

 private:
  pid_t pid_ = -1;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable grew_;
  std::vector<std::uint8_t> bytes_;
  bool ended_ = false;
};

// Which of `tones` each tenth of a second of `recording` carries: its index
// when that tone is near the level played and far above the others, -1 for
// none.
std::vector<int> tonePerWindow(const std::vector<std::int16_t>& recording, const std::vector<double>& tones) {
  std::vector<int> heard;
  for (std::size_t at = 0; at + kWindowSamples <= recording.size(); at += kWindowSamples) {
    std::vector<double> levels;
    for (double hz : tones) levels.push_back(test::toneLevel(recording.data() + at, kWindowSamples, hz, kRateHz));
    int which = -1;
    for (std::size_t i = 0; i < tones.size(); ++i) {
      bool clear = levels[i] > 0.6 * kAmplitude;
      for (std::size_t j = 0; j < tones.size(); ++j)
        if (j != i) clear = clear && levels[i] > 10.0 * levels[j];
      if (clear) which = static_cast<int>(i);
    }
    heard.push_back(which);
  }
  return heard;
}

// A clip of a sine of `hz`, `seconds` long, made with zvsa encode.
std::string toneClip(const test::TempDir& dir, const std::string& name, double hz, double seconds,
                     const char* codec) {
  const std::string wav = dir.file(name + ".wav");
  const auto frames = static_cast<std::size_t>(seconds * kRateHz);
  test::writeFile(wav, test::pcmWave({}, test::pcm16(test::sine16(hz, kRateHz, frames, 1, kAmplitude))));
  const std::string clip = dir.file(name + ".zvsa");
  const auto encoded = runZvsa({"encode", "-q", "--codec", codec, wav, "-o", clip});
  if (encoded.exitStatus != 0) throw std::runtime_error("zvsa encode: " + encoded.err);
  return clip;
}

// The windows as one character each, for failure messages: the tone's
// index, or '.' for none.
std::string shown(const std::vector<int>& heard) {
  std::string text;
  for (int tone : heard) text += tone < 0 ? '.' : static_cast<char>('0' + tone);
  return text;
}

std::size_t count(const std::vector<int>& heard, int tone) {
  return static_cast<std::size_t>(std::count(heard.begin(), heard.end(), tone));
}

TEST(ZvsaPlayLoopback, TwoClipsAreHeardOneAfterTheOther) {
  test::TempDir dir;
  const std::string high = toneClip(dir, "high", 1000, 2.0, "music");
  const std::string low = toneClip(dir, "low", 500, 2.0, "speech");

  Recorder recorder;
  ASSERT_TRUE(recorder.waitForMore(kWindowSamples)) << "parec records nothing";
  const auto played = runZvsa({"play", high, low});
  EXPECT_EQ(played.exitStatus, 0) << played.err;
  // Not a terminal: no time line, and nothing else to say.
  EXPECT_EQ(played.err, "");
  EXPECT_EQ(played.out, "");
  ASSERT_TRUE(recorder.waitForMore(kWindowSamples));
  const std::vector<int> heard = tonePerWindow(recorder.stop(), {1000, 500});

  // Most of each clip's twenty tenths carry its tone alone (the edges of the
  // clips and of the codecs' frames may blur a window or two), and every
  // window of the first tone comes before every window of the second.
  SCOPED_TRACE("heard: " + shown(heard));
  EXPECT_GE(count(heard, 0), 16u);
  EXPECT_LE(count(heard, 0), 21u);
  EXPECT_GE(count(heard, 1), 16u);
  EXPECT_LE(count(heard, 1), 21u);
  const auto lastHigh = std::find(heard.rbegin(), heard.rend(), 0);
  const auto firstLow = std::find(heard.begin(), heard.end(), 1);
  ASSERT_NE(lastHigh, heard.rend());
  ASSERT_NE(firstLow, heard.end());
  EXPECT_LT(heard.rend() - lastHigh - 1, firstLow - heard.begin());
}

// zvsa play with stderr on a terminal (a pseudo-terminal whose other side
// this test reads).
class TerminalRun {
 public:
  explicit TerminalRun(const std::vector<std::string>& arguments) {
    int terminal = -1;
    if (openpty(&master_, &terminal, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, terminal, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclose(&actions, master_);
    std::vector<std::string> argvText = {ZVSA_PATH};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : argvText) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, ZVSA_PATH, &actions, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("zvsa cannot be started");
    posix_spawn_file_actions_destroy(&actions);
    close(terminal);
  }
  ~TerminalRun() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(master_);
  }

  // Reads what the program writes until `text` has appeared (true) or the
  // program has closed the terminal (false).
  bool readUntil(const std::string& text) {
    char buffer[512];
    while (written.find(text) == std::string::npos) {
      const ssize_t got = read(master_, buffer, sizeof buffer);
      if (got <= 0) return false;  // EIO once the program's side is closed
      written.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
  }

  void interrupt() { kill(pid_, SIGINT); }

  // Reads to the end and returns the exit status (-1 for a death by signal).
  int wait() {
    readUntil(std::string(1, '\0'));
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string written;

 private:
  int master_ = -1;
  pid_t pid_ = -1;
};

TEST(ZvsaPlayLoopback, OnATerminalTheTimeRunsOnOneLineAndCtrlCStopsTheSound) {
  test::TempDir dir;
  const std::string clip = toneClip(dir, "long", 1000, 8.0, "music");

  Recorder recorder;
  ASSERT_TRUE(recorder.waitForMore(kWindowSamples)) << "parec records nothing";
  TerminalRun run({"play", clip});
  ASSERT_TRUE(run.readUntil("0:01.0 / 0:08.0")) << run.written;
  run.interrupt();
  EXPECT_EQ(run.wait(), 130) << run.written;
  // A second of sound after the program ended: it must be silence.
  ASSERT_TRUE(recorder.waitForMore(kRateHz));
  const std::vector<int> heard = tonePerWindow(recorder.stop(), {1000});

  // One line, rewritten in place with '\r', never ended with a newline, and
  // cleared when the program ends.
  EXPECT_EQ(run.written.rfind("\rPlaying " + clip + "  0:00.", 0), 0u) << run.written;
  EXPECT_EQ(run.written.find('\n'), std::string::npos) << run.written;
  const std::string clearing = "\r" + std::string(("Playing " + clip + "  0:01.0 / 0:08.0").size(), ' ') + "\r";
  EXPECT_TRUE(run.written.ends_with(clearing)) << run.written;

  // The tone was heard from the start to the stop, about a second of the
  // clip's eight, and not after it: of the second recorded after the end,
  // the last eight tenths (past the server's own delay) hold no tone.
  SCOPED_TRACE("heard: " + shown(heard));
  EXPECT_GE(count(heard, 0), 8u);
  EXPECT_LE(count(heard, 0), 20u);
  ASSERT_GE(heard.size(), 8u);
  EXPECT_EQ(std::count(heard.end() - 8, heard.end(), 0), 0);
}

}  // namespace
}  // namespace zv
