// Speed and memory of the encoding engine's whole path.
//
//  1. A minute of 44.1 kHz stereo 16-bit WAV to .zvsa with each codec:
//     input preparation (mix-down, resampling) plus the encode job on its
//     worker thread, as a multiple of real time; and the same through the
//     zvsa program, with the child's peak resident memory next to the size
//     of the source file.
//  2. A minute of 8 kHz mono 16-bit WAV (no conversion): the engine's path
//     against the codec alone (the same library, bound by ordinal, coding
//     the same frames from memory), as overhead in percent.
// Each figure is the best of several runs, so that a busy machine does not
// make the engine look slower than it is. The overhead is given in wall
// time and in CPU time (all threads of the process, or of the zvsa child),
// the latter being what other programs on a busy machine do not disturb.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "encoder/codec_library.h"
#include "encoder/encode_job.h"
#include "encoder/engine_workspace.h"
#include "encoder/input_preparation.h"
#include "encoder/job_runner.h"
#include "encoder/wave_file_writer.h"
#include "platform/temporary_file.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 3;

struct Seconds {
  double wall = 1e30;
  double cpu = 1e30;
};

double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// Best wall and CPU time of kRuns runs. `childCpu`, when given, is the CPU
// time of a child process the run reported (it replaces this process's).
Seconds best(const std::function<void()>& run, const double* childCpu = nullptr) {
  Seconds result;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    const double cpuStart = processCpuSeconds();
    run();
    const double cpu = childCpu ? *childCpu : processCpuSeconds() - cpuStart;
    result.wall = std::min(result.wall, std::chrono::duration<double>(Clock::now() - start).count());
    result.cpu = std::min(result.cpu, cpu);
  }
  return result;
}

// A minute of music-like sound: a few partials with vibrato and a little
// noise, the channels slightly different.
std::vector<std::uint8_t> stereoMinute44k() {
  const std::uint32_t rate = 44100;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(rate) * 60 * 4);
  std::uint32_t noise = 12345;
  for (std::size_t i = 0; i < static_cast<std::size_t>(rate) * 60; ++i) {
    const double t = static_cast<double>(i) / rate;
    for (int channel = 0; channel < 2; ++channel) {
      noise = noise * 1664525u + 1013904223u;
      double value = 0;
      for (int partial = 1; partial <= 5; ++partial)
        value += 3000.0 / partial *
                 std::sin(2 * M_PI * (220.0 + channel) * partial * t + 0.3 * std::sin(5 * t));
      value += static_cast<double>(static_cast<std::int32_t>(noise >> 16) - 32768) / 64;
      const auto sample = static_cast<std::int16_t>(std::lrint(value));
      bytes[4 * i + 2 * channel] = static_cast<std::uint8_t>(sample);
      bytes[4 * i + 2 * channel + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(sample) >> 8);
    }
  }
  return bytes;
}

// A minute of 8 kHz speech-like sound: the conformance vowels, repeated.
std::vector<std::uint8_t> monoMinute8k() {
  std::ifstream in(std::string(ZV_TESTVECTORS_DIR) + "/vowels.raw", std::ios::binary);
  const std::vector<std::uint8_t> vowels((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::uint8_t> minute;
  while (!vowels.empty() && minute.size() < 8000u * 2 * 60)
    minute.insert(minute.end(), vowels.begin(), vowels.end());
  minute.resize(8000u * 2 * 60);
  return minute;
}

bool encodeThroughEngine(const std::string& wav, const std::string& stream, int codecIndex) {
  std::string error;
  const std::unique_ptr<zv::EngineWorkspace> workspace = zv::EngineWorkspace::create(error);
  zv::StderrMessagePresenter presenter("engine_benchmark: ");
  if (!workspace || !zv::prepareSourceFile(*workspace, wav, presenter)) return false;
  zv::JobContext context;
  context.streamPath = stream;
  context.codecIndex = codecIndex;
  zv::JobRunner runner;
  if (!runner.start(zv::JobMode::Encode, context, zv::JobEnvironment(*workspace, presenter)))
    return false;
  return runner.join() == zv::JobEnd::Completed;
}

// The codec alone: frames from memory, coded bytes dropped.
bool encodeWithCodecAlone(const std::vector<std::uint8_t>& pcm, int codecIndex) {
  zv::CodecLibrary codec;
  if (!codec.load(zv::kCodecTable[codecIndex]) || codec.bind(zv::CodecRole::Encoder) != zv::CodecBindResult::Bound ||
      !codec.open())
    return false;
  const std::size_t frame = codec.pcmBytesPerFrame();
  std::vector<std::uint8_t> buffer(frame), coded(codec.maxCodedBytes());
  for (std::size_t at = 0; at < pcm.size(); at += frame) {
    const std::size_t n = std::min(frame, pcm.size() - at);
    std::memcpy(buffer.data(), pcm.data() + at, n);
    std::memset(buffer.data() + n, 0, frame - n);
    std::uint16_t pcmCount = static_cast<std::uint16_t>(frame);
    std::uint16_t codedCount = codec.maxCodedBytes();
    if (zv::CodecLibrary::isFailure(codec.encode(buffer.data(), &pcmCount, coded.data(), &codedCount)))
      return false;
  }
  return true;
}

struct ChildRun {
  bool ok = false;
  long peakKilobytes = 0;
  double cpuSeconds = 0;  // user + system
};

ChildRun runZvsa(const std::vector<std::string>& arguments) {
  ChildRun result;
#ifdef ZVSA_PATH
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> argv = {const_cast<char*>(ZVSA_PATH)};
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(ZVSA_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  result.peakKilobytes = usage.ru_maxrss;
  result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
#else
  (void)arguments;
#endif
  return result;
}

}  // namespace

int main() {
  const std::string dir = zv::temporaryDirectory();
  const std::string stereoWav = zv::createTemporaryFile("ZVBENCH");
  const std::string monoWav = zv::createTemporaryFile("ZVBENCH");
  const std::string stream = zv::createTemporaryFile("ZVBENCH");
  zv::WaveFormat stereo = zv::codecPcmFormat();
  stereo.channels = 2;
  stereo.samplesPerSec = 44100;
  stereo.blockAlign = 4;
  stereo.avgBytesPerSec = 44100 * 4;
  zv::WriteWaveFile(stereoWav, stereo, stereoMinute44k());
  const std::vector<std::uint8_t> mono = monoMinute8k();
  zv::WriteWaveFile(monoWav, zv::codecPcmFormat(), mono);
  const double sourceMegabytes = static_cast<double>(44100 * 60 * 4) / (1024 * 1024);
  const double audioSeconds = 60.0;

  struct Codec {
    const char* name;
    int index;
  } codecs[] = {{"speech", zv::kSpeechCodecIndex}, {"music", zv::kMusicCodecIndex}};

  std::printf("1. A minute of 44.1 kHz stereo 16-bit WAV (%.1f MiB) to .zvsa, best of %d\n",
              sourceMegabytes, kRuns);
  std::printf("   %-7s %14s %14s %16s\n", "codec", "engine x RT", "zvsa x RT", "zvsa peak RSS");
  for (const Codec& codec : codecs) {
    bool ok = true;
    const Seconds engine = best([&] { ok = encodeThroughEngine(stereoWav, stream, codec.index) && ok; });
    long peak = 0;
    double childCpu = 0;
    const Seconds program = best(
        [&] {
          const ChildRun run = runZvsa({"encode", "-q", "--codec", codec.name, stereoWav, "-o", stream});
          ok = run.ok && ok;
          peak = std::max(peak, run.peakKilobytes);
          childCpu = run.cpuSeconds;
        },
        &childCpu);
    std::printf("   %-7s %13.0fx %13.0fx %12.1f MiB%s\n", codec.name, audioSeconds / engine.wall,
                audioSeconds / program.wall, peak / 1024.0, ok ? "" : "  (FAILED)");
  }

  std::printf("\n2. A minute of 8 kHz mono 16-bit WAV: the engine's path against the codec alone\n");
  std::printf("   %-7s %12s %12s %12s %16s %16s\n", "codec", "codec x RT", "engine x RT",
              "zvsa x RT", "engine overhead", "zvsa overhead");
  std::printf("   %-7s %12s %12s %12s %16s %16s\n", "", "(wall)", "(wall)", "(wall)", "wall / CPU",
              "wall / CPU");
  for (const Codec& codec : codecs) {
    bool ok = true;
    const Seconds alone = best([&] { ok = encodeWithCodecAlone(mono, codec.index) && ok; });
    const Seconds engine = best([&] { ok = encodeThroughEngine(monoWav, stream, codec.index) && ok; });
    double childCpu = 0;
    const Seconds program = best(
        [&] {
          const ChildRun run = runZvsa({"encode", "-q", "--codec", codec.name, monoWav, "-o", stream});
          ok = run.ok && ok;
          childCpu = run.cpuSeconds;
        },
        &childCpu);
    const auto percent = [](double a, double b) { return (a / b - 1) * 100; };
    std::printf("   %-7s %11.0fx %11.0fx %11.0fx %7.1f%% /%5.1f%% %7.1f%% /%5.1f%%%s\n", codec.name,
                audioSeconds / alone.wall, audioSeconds / engine.wall, audioSeconds / program.wall,
                percent(engine.wall, alone.wall), percent(engine.cpu, alone.cpu),
                percent(program.wall, alone.wall), percent(program.cpu, alone.cpu),
                ok ? "" : "  (FAILED)");
  }
  for (const std::string& path : {stereoWav, monoWav, stream}) ::unlink(path.c_str());
  (void)dir;
  return 0;
}
