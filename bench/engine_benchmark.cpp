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
//  3. The minute of part 1 as FLAC and as MP3 (written by libsndfile) to
//     .zvsa with the music codec: decoding, mix-down and resampling plus the
//     encode job, as a multiple of real time.
//  4. Ten minutes of 44.1 kHz stereo 16-bit WAV (101 MiB) through zvsa
//     encode: the child's peak resident memory, which must not grow with
//     the length of the source (the input is streamed block by block).
// Each figure is the best of several runs, so that a busy machine does not
// make the engine look slower than it is. The overhead is given in wall
// time and in CPU time (all threads of the process, or of the zvsa child),
// the latter being what other programs on a busy machine do not disturb.
#include <sys/resource.h>
#include <sys/stat.h>
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

#include <sndfile.h>

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

// Starts zvsa and waits for it: its CPU time and peak resident memory.
ChildRun startAndWait(const std::vector<std::string>& arguments) {
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
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return result;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  result.peakKilobytes = usage.ru_maxrss;
  result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
#else
  (void)arguments;
#endif
  return result;
}

// A child's peak resident memory (ru_maxrss) counts what it had before it
// called exec, which for a child of this process is a copy of the sounds
// it holds. So zvsa is started by a helper forked before anything is
// allocated: its children inherit only the helper's few pages, and the
// figure is zvsa's own. Requests go down a pipe as a count and
// length-prefixed arguments; the ChildRun comes back.
class ZvsaStarter {
 public:
  ZvsaStarter() {
    if (::pipe(requests_) != 0 || ::pipe(replies_) != 0) return;
    helper_ = fork();
    if (helper_ == 0) {
      ::close(requests_[1]);
      ::close(replies_[0]);
      serve();
      _exit(0);
    }
    ::close(requests_[0]);
    ::close(replies_[1]);
  }
  ~ZvsaStarter() {
    ::close(requests_[1]);
    ::close(replies_[0]);
    if (helper_ > 0) waitpid(helper_, nullptr, 0);
  }

  ChildRun run(const std::vector<std::string>& arguments) {
    ChildRun result;
    if (helper_ <= 0) return result;
    std::string request;
    putCount(request, arguments.size());
    for (const std::string& argument : arguments) {
      putCount(request, argument.size());
      request += argument;
    }
    if (!writeAll(requests_[1], request.data(), request.size()) ||
        !readAll(replies_[0], &result, sizeof result))
      return ChildRun{};
    return result;
  }

 private:
  static void putCount(std::string& out, std::size_t count) {
    const auto value = static_cast<std::uint32_t>(count);
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  static bool writeAll(int fd, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = ::write(fd, at, size);
      if (n <= 0) return false;
      at += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }
  static bool readAll(int fd, void* data, std::size_t size) {
    char* at = static_cast<char*>(data);
    while (size > 0) {
      const ssize_t n = ::read(fd, at, size);
      if (n <= 0) return false;
      at += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }
  void serve() {
    for (;;) {
      std::uint32_t count = 0;
      if (!readAll(requests_[0], &count, sizeof count)) return;
      std::vector<std::string> arguments(count);
      for (std::string& argument : arguments) {
        std::uint32_t length = 0;
        if (!readAll(requests_[0], &length, sizeof length)) return;
        argument.resize(length);
        if (length > 0 && !readAll(requests_[0], argument.data(), length)) return;
      }
      const ChildRun result = startAndWait(arguments);
      if (!writeAll(replies_[1], &result, sizeof result)) return;
    }
  }

  int requests_[2] = {-1, -1};
  int replies_[2] = {-1, -1};
  pid_t helper_ = -1;
};

// `pcm` (44.1 kHz stereo 16-bit) as a file of libsndfile format `format`.
bool writeSoundFile(const std::string& path, int format, const std::vector<std::uint8_t>& pcm) {
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  std::vector<short> samples(pcm.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<short>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
  const sf_count_t frames = static_cast<sf_count_t>(samples.size() / 2);
  const bool written = sf_writef_short(file, samples.data(), frames) == frames;
  return sf_close(file) == 0 && written;
}

// A WAV file of `format` holding `minute` `minutes` times over, written
// without holding more than the one minute.
bool writeRepeatedWave(const std::string& path, const zv::WaveFormat& format,
                       const std::vector<std::uint8_t>& minute, int minutes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = zv::writeWaveHeader(out, format, minute.size() * minutes);
  for (int i = 0; ok && i < minutes; ++i)
    ok = std::fwrite(minute.data(), 1, minute.size(), out) == minute.size();
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int main() {
  ZvsaStarter zvsa;  // first, while this process is small
  const std::string dir = zv::temporaryDirectory();
  const std::string stereoWav = zv::createTemporaryFile("ZVBENCH");
  const std::string monoWav = zv::createTemporaryFile("ZVBENCH");
  const std::string stream = zv::createTemporaryFile("ZVBENCH");
  zv::WaveFormat stereo = zv::codecPcmFormat();
  stereo.channels = 2;
  stereo.samplesPerSec = 44100;
  stereo.blockAlign = 4;
  stereo.avgBytesPerSec = 44100 * 4;
  const std::vector<std::uint8_t> stereoMinute = stereoMinute44k();
  zv::WriteWaveFile(stereoWav, stereo, stereoMinute);
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
          const ChildRun run = zvsa.run({"encode", "-q", "--codec", codec.name, stereoWav, "-o", stream});
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
          const ChildRun run = zvsa.run({"encode", "-q", "--codec", codec.name, monoWav, "-o", stream});
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
  std::printf("\n3. The minute of 1. as FLAC and as MP3 to .zvsa (music codec), best of %d\n", kRuns);
  std::printf("   %-7s %12s %14s %14s\n", "source", "size", "engine x RT", "zvsa x RT");
  const std::string flac = dir + "/ZVBENCH-minute.flac";
  const std::string mp3 = dir + "/ZVBENCH-minute.mp3";
  const struct Compressed {
    const char* name;
    const std::string& path;
    int format;
  } compressed[] = {{"FLAC", flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                    {"MP3", mp3, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
  for (const Compressed& source : compressed) {
    bool ok = writeSoundFile(source.path, source.format, stereoMinute);
    struct stat info {};
    ::stat(source.path.c_str(), &info);
    const Seconds engine = best([&] { ok = encodeThroughEngine(source.path, stream, zv::kMusicCodecIndex) && ok; });
    double childCpu = 0;
    const Seconds program = best(
        [&] {
          const ChildRun run = zvsa.run({"encode", "-q", "--codec", "music", source.path, "-o", stream});
          ok = run.ok && ok;
          childCpu = run.cpuSeconds;
        },
        &childCpu);
    std::printf("   %-7s %8.1f MiB %13.0fx %13.0fx%s\n", source.name,
                static_cast<double>(info.st_size) / (1024 * 1024), audioSeconds / engine.wall,
                audioSeconds / program.wall, ok ? "" : "  (FAILED)");
  }

  const int minutes = 10;
  const std::string longWav = dir + "/ZVBENCH-ten-minutes.wav";
  std::printf("\n4. zvsa encode of %d minutes of 44.1 kHz stereo 16-bit WAV (%.0f MiB), one run\n",
              minutes, sourceMegabytes * minutes);
  std::printf("   %-7s %14s %16s\n", "codec", "zvsa x RT", "zvsa peak RSS");
  bool longOk = writeRepeatedWave(longWav, stereo, stereoMinute, minutes);
  for (const Codec& codec : codecs) {
    ChildRun run;
    const auto start = Clock::now();
    if (longOk) run = zvsa.run({"encode", "-q", "--codec", codec.name, longWav, "-o", stream});
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("   %-7s %13.0fx %12.1f MiB%s\n", codec.name, audioSeconds * minutes / wall,
                run.peakKilobytes / 1024.0, run.ok ? "" : "  (FAILED)");
  }

  for (const std::string& path : {stereoWav, monoWav, stream, flac, mp3, longWav}) ::unlink(path.c_str());
  return 0;
}
