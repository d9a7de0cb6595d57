// codec_race: our codecs against the reference codecs of their class, each
// run as a whole process on the same minute of audio, side by side.
//
//   codec_race [--runs N] [--keep DIR]
//
// The minute is the built-in speech sample repeated. Every command runs N
// times (default 5) and the best run counts, in CPU time (user + system of
// the child) so that other load on the machine disturbs the figures as little
// as possible; wall time is shown beside it. A ratio is the reference's time
// divided by ours: above 1 we are faster. The goals:
//   speech codec vs speexenc -n --quality 4 / speexdec: encode and decode > 1
//   4800 bit/s speech codec vs the 8 kbit/s one:         encode and decode > 1
//   music codec  vs opusenc --bitrate 16 / opusdec:     encode >= 20, decode >= 10
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "tools/pcm_wav.h"

#ifndef ZV_SOURCE_DIR
#define ZV_SOURCE_DIR "."
#endif

namespace {

zv::bench::Timing best(const std::vector<std::string>& args, int runs) {
  zv::bench::Timing result;
  for (int i = 0; i < runs; ++i) {
    zv::bench::Timing t = zv::bench::runDiscardingOutput(args);
    if (!t.ok) {
      std::fprintf(stderr, "codec_race: command failed: %s\n", zv::bench::commandLine(args).c_str());
      std::exit(1);
    }
    if (!result.ok || t.cpuSeconds < result.cpuSeconds) result = t;
  }
  return result;
}

struct Race {
  const char* what;
  std::vector<std::string> ours;
  std::vector<std::string> reference;
  double goal;  // the smallest acceptable ratio
};

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::string keep;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--keep" && i + 1 < argc) keep = argv[++i];
    else {
      std::fprintf(stderr, "usage: codec_race [--runs N] [--keep DIR]\n");
      return 2;
    }
  }

  namespace fs = std::filesystem;
  const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
  const std::string pipe = (bin / "codec_pipe").string();
  const std::string dir = zv::bench::workFolder(keep, "codec_race");
  if (dir.empty()) {
    std::fprintf(stderr, "codec_race: cannot make a folder to work in\n");
    return 1;
  }

  zv::tools::PcmClip sample;
  std::string error;
  if (!zv::tools::readPcm16Wav(ZV_SOURCE_DIR "/data/speech-sample.wav", sample, error)) {
    std::fprintf(stderr, "codec_race: %s\n", error.c_str());
    return 1;
  }
  zv::tools::PcmClip minute{8000, 1, {}};
  while (minute.samples.size() < 60 * 8000)
    minute.samples.insert(minute.samples.end(), sample.samples.begin(), sample.samples.end());
  minute.samples.resize(60 * 8000);
  const std::string wav = dir + "/minute.wav", raw = dir + "/minute.raw";
  if (!zv::tools::writePcm16Wav(wav, minute, error)) return 1;
  if (FILE* f = std::fopen(raw.c_str(), "wb")) {
    std::fwrite(minute.samples.data(), 2, minute.samples.size(), f);
    std::fclose(f);
  }

  const std::vector<Race> races = {
      {"speech encode vs speexenc", {pipe, "encode", "QV80W.DLL", raw, dir + "/minute.qv80"},
       {"speexenc", "-n", "--quality", "4", wav, dir + "/minute.spx"}, 1.0},
      {"speech decode vs speexdec", {pipe, "decode", "QV80W.DLL", dir + "/minute.qv80", dir + "/qv80.raw"},
       {"speexdec", dir + "/minute.spx", dir + "/spx.wav"}, 1.0},
      {"lowspeech encode vs QV80W", {pipe, "encode", "QV48W.DLL", raw, dir + "/minute.qv48"},
       {pipe, "encode", "QV80W.DLL", raw, dir + "/minute.qv80"}, 1.0},
      {"lowspeech decode vs QV80W", {pipe, "decode", "QV48W.DLL", dir + "/minute.qv48", dir + "/qv48.raw"},
       {pipe, "decode", "QV80W.DLL", dir + "/minute.qv80", dir + "/qv80.raw"}, 1.0},
      {"music encode vs opusenc", {pipe, "encode", "QV160MXW.DLL", raw, dir + "/minute.qv160"},
       {"opusenc", "--bitrate", "16", wav, dir + "/minute.opus"}, 20.0},
      {"music decode vs opusdec", {pipe, "decode", "QV160MXW.DLL", dir + "/minute.qv160", dir + "/qv160.raw"},
       {"opusdec", dir + "/minute.opus", dir + "/opus.wav"}, 10.0},
  };

  std::printf("one minute of 8 kHz mono speech, best of %d runs (CPU seconds; wall in brackets)\n", runs);
  std::printf("%-28s %18s %18s %8s %6s  %s\n", "race", "ours", "reference", "ratio", "goal", "");
  bool allMet = true;
  for (const Race& race : races) {
    // The reference runs first so that our decoder has its input.
    const zv::bench::Timing reference = best(race.reference, runs);
    const zv::bench::Timing ours = best(race.ours, runs);
    const double ratio = reference.cpuSeconds / std::max(ours.cpuSeconds, 1e-6);
    const bool met = ratio >= race.goal && (race.goal > 1.0 || ratio > 1.0);
    allMet = allMet && met;
    std::printf("%-28s %7.3f [%7.3f] %7.3f [%7.3f] %7.2fx %5.0fx  %s\n", race.what, ours.cpuSeconds,
                ours.wallSeconds, reference.cpuSeconds, reference.wallSeconds, ratio, race.goal,
                met ? "met" : "NOT MET");
  }
  if (keep.empty()) fs::remove_all(dir);
  std::printf("%s\n", allMet ? "all speed goals met" : "some speed goals not met");
  return 0;
}
