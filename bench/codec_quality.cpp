// codec_quality: how close each low-rate speech codec comes to its source,
// by log-spectral distance and short-time objective intelligibility
// (tools/audio_quality.h, tools/intelligibility.h), on the built-in sample
// and a few synthetic voices, side by side with the peers of their class.
//
//   codec_quality [--keep DIR] [--check] [FILE.wav ...]
//
// Inputs: data/speech-sample.wav; three more voices made with espeak-ng and
// sox where both are installed; and any 8 kHz mono 16-bit WAV files named.
// Codecs: ours through codec_pipe (the library bound by ordinal, as the
// engine binds it), Codec2 at 3200 bit/s (c2enc/c2dec) and Speex narrowband
// at the rate nearest 4800 bit/s (speexenc/speexdec). A codec whose program
// or library is missing is listed as not available.
//
// Each decoded signal is aligned with its source first (the lag of highest
// correlation, up to 1000 samples). Lower LSD is better; higher STOI is.
// The bit rate is the coded bytes over the length of the input; Speex's
// includes its Ogg pages.
//
// --keep DIR keeps every input and decoded signal there as WAV
// (NAME.wav, NAME.CODEC.wav), for scripts/codec-pictures.sh.
// --check ends with status 1 unless the lower-rate speech codec is at least
// as good as Codec2 3200 on both measures; it also prints how far the
// lower-rate codec lies from the 8 kbit/s one.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "tools/audio_quality.h"
#include "tools/intelligibility.h"
#include "tools/pcm_wav.h"

#ifndef ZV_SOURCE_DIR
#define ZV_SOURCE_DIR "."
#endif

namespace fs = std::filesystem;

namespace {

struct Input {
  std::string name;
  std::vector<int16_t> samples;
};

// A codec as two commands: {in.raw, in.wav} -> coded file -> decoded file.
struct Codec {
  std::string name;
  std::string coded;  // file name ending
  std::vector<std::string> (*encode)(const std::string& tool, const std::string& raw,
                                     const std::string& wav, const std::string& coded);
  std::vector<std::string> (*decode)(const std::string& tool, const std::string& coded,
                                     const std::string& decoded);
  bool decodesToWav;
  std::string tool;  // codec_pipe's library, or unused
};

struct Figures {
  double kbps = 0.0, lsd = 0.0, stoi = 0.0;
};

std::string pipePath;

std::vector<std::string> pipeEncode(const std::string& library, const std::string& raw, const std::string&,
                                    const std::string& coded) {
  return {pipePath, "encode", library, raw, coded};
}
std::vector<std::string> pipeDecode(const std::string& library, const std::string& coded,
                                    const std::string& decoded) {
  return {pipePath, "decode", library, coded, decoded};
}
std::vector<std::string> codec2Encode(const std::string&, const std::string& raw, const std::string&,
                                      const std::string& coded) {
  return {"c2enc", "3200", raw, coded};
}
std::vector<std::string> codec2Decode(const std::string&, const std::string& coded, const std::string& decoded) {
  return {"c2dec", "3200", coded, decoded};
}
std::vector<std::string> speexEncode(const std::string&, const std::string&, const std::string& wav,
                                     const std::string& coded) {
  return {"speexenc", "-n", "--bitrate", "4800", wav, coded};
}
std::vector<std::string> speexDecode(const std::string&, const std::string& coded, const std::string& decoded) {
  return {"speexdec", coded, decoded};
}

bool writeRaw(const std::string& path, const std::vector<int16_t>& samples) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(samples.data()),
            static_cast<std::streamsize>(samples.size() * sizeof(int16_t)));
  return bool(out);
}

std::optional<std::vector<int16_t>> readRaw(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) | (bytes[2 * i + 1] << 8));
  return samples;
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples) {
  std::string error;
  return zv::tools::writePcm16Wav(path, zv::tools::PcmClip{8000, 1, samples}, error);
}

std::optional<Input> readInput(const std::string& path, std::string& error) {
  zv::tools::PcmClip clip;
  if (!zv::tools::readPcm16Wav(path, clip, error)) return std::nullopt;
  if (clip.sampleRateHz != 8000 || clip.channels != 1) {
    error = path + ": not 8000 Hz mono (" + std::to_string(clip.sampleRateHz) + " Hz, " +
            std::to_string(clip.channels) + " channels)";
    return std::nullopt;
  }
  return Input{fs::path(path).stem().string(), std::move(clip.samples)};
}

// Synthetic voices of different pitch, speed and accent, where espeak-ng and
// sox are there to make them. Without dither (-D), so that every run measures
// the very same samples.
void addVoices(const std::string& dir, std::vector<Input>& inputs) {
  struct Voice {
    const char *name, *voice, *speed, *text;
  };
  const Voice voices[] = {
      {"voice-f", "en-us+f3", "160", "The quick brown fox jumps over the lazy dog near the river bank."},
      {"voice-m", "en-gb+m4", "140", "Please call Stella and ask her to bring these things from the store."},
      {"voice-fast", "en-us+m1", "190", "Seven slim swans swam silently southward, seeking shelter at night."},
  };
  for (const Voice& v : voices) {
    const std::string spoken = dir + "/" + v.name + ".espeak.wav", wav = dir + "/" + v.name + ".wav";
    if (!zv::bench::runDiscardingOutput({"espeak-ng", "-v", v.voice, "-s", v.speed, "-w", spoken, v.text}).ok ||
        !zv::bench::runDiscardingOutput(
             {"sox", "-D", spoken, "-r", "8000", "-c", "1", "-b", "16", "-e", "signed-integer", wav, "gain", "-n", "-3"})
             .ok) {
      std::fprintf(stderr, "codec_quality: no synthetic voices (espeak-ng and sox make them)\n");
      return;
    }
    std::string error;
    if (auto input = readInput(wav, error)) inputs.push_back(std::move(*input));
  }
}

std::optional<Figures> measure(const Codec& codec, const Input& input, const std::string& dir) {
  const std::string base = dir + "/" + input.name;
  const std::string raw = base + ".raw", wav = base + ".wav";
  const std::string coded = base + "." + codec.coded;
  const std::string decoded = base + "." + codec.coded + (codec.decodesToWav ? ".out.wav" : ".out.raw");
  if (!zv::bench::runDiscardingOutput(codec.encode(codec.tool, raw, wav, coded)).ok ||
      !zv::bench::runDiscardingOutput(codec.decode(codec.tool, coded, decoded)).ok)
    return std::nullopt;
  std::vector<int16_t> output;
  if (codec.decodesToWav) {
    zv::tools::PcmClip clip;
    std::string error;
    if (!zv::tools::readPcm16Wav(decoded, clip, error) || clip.channels != 1) return std::nullopt;
    output = std::move(clip.samples);
  } else if (auto samples = readRaw(decoded)) {
    output = std::move(*samples);
  } else {
    return std::nullopt;
  }
  const std::size_t delay = zv::quality::bestDelay(input.samples, output, 1000);
  const auto stoi = zv::quality::shortTimeIntelligibility(input.samples, output, delay);
  if (!stoi) return std::nullopt;
  Figures f;
  f.kbps = static_cast<double>(fs::file_size(coded)) * 8.0 / (input.samples.size() / 8000.0) / 1000.0;
  f.lsd = zv::quality::logSpectralDistanceDb(input.samples, output, delay);
  f.stoi = *stoi;
  // The decoded signal, aligned and cut to the source, for the pictures.
  std::vector<int16_t> aligned(input.samples.size(), 0);
  for (std::size_t i = 0; i < aligned.size() && i + delay < output.size(); ++i) aligned[i] = output[i + delay];
  writeWav(base + "." + codec.name + ".wav", aligned);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  std::string keep;
  bool check = false;
  std::vector<std::string> files = {ZV_SOURCE_DIR "/data/speech-sample.wav"};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--keep" && i + 1 < argc) {
      keep = argv[++i];
    } else if (arg == "--check") {
      check = true;
    } else if (arg == "--help" || arg == "-h" || arg.rfind("-", 0) == 0) {
      std::fprintf(arg == "--help" || arg == "-h" ? stdout : stderr,
                   "usage: codec_quality [--keep DIR] [--check] [FILE.wav ...]\n");
      return arg == "--help" || arg == "-h" ? 0 : 2;
    } else {
      files.push_back(arg);
    }
  }

  pipePath = (fs::canonical("/proc/self/exe").parent_path() / "codec_pipe").string();
  const std::string dir = zv::bench::workFolder(keep, "codec_quality");
  if (dir.empty()) {
    std::fprintf(stderr, "codec_quality: cannot make a folder to work in\n");
    return 1;
  }

  std::vector<Input> inputs;
  for (const auto& file : files) {
    std::string error;
    auto input = readInput(file, error);
    if (!input) {
      std::fprintf(stderr, "codec_quality: %s\n", error.c_str());
      return 1;
    }
    inputs.push_back(std::move(*input));
  }
  addVoices(dir, inputs);
  for (const Input& input : inputs) {
    if (!writeRaw(dir + "/" + input.name + ".raw", input.samples) ||
        !writeWav(dir + "/" + input.name + ".wav", input.samples)) {
      std::fprintf(stderr, "codec_quality: cannot write into %s\n", dir.c_str());
      return 1;
    }
  }

  const std::vector<Codec> codecs = {
      {"QV48W", "qv48", pipeEncode, pipeDecode, false, "QV48W.DLL"},
      {"QV80W", "qv80", pipeEncode, pipeDecode, false, "QV80W.DLL"},
      {"Codec2-3200", "c2", codec2Encode, codec2Decode, false, ""},
      {"Speex-nb-4800", "spx", speexEncode, speexDecode, true, ""},
  };

  std::printf("%-14s %-14s %7s %8s %6s\n", "input", "codec", "kbit/s", "LSD dB", "STOI");
  std::map<std::string, Figures> means;
  std::map<std::string, int> counted;
  for (const Input& input : inputs) {
    for (const Codec& codec : codecs) {
      const auto f = measure(codec, input, dir);
      if (!f) {
        std::printf("%-14s %-14s %s\n", input.name.c_str(), codec.name.c_str(), "not available");
        continue;
      }
      std::printf("%-14s %-14s %7.2f %8.2f %6.3f\n", input.name.c_str(), codec.name.c_str(), f->kbps, f->lsd,
                  f->stoi);
      Figures& m = means[codec.name];
      m.kbps += f->kbps;
      m.lsd += f->lsd;
      m.stoi += f->stoi;
      ++counted[codec.name];
    }
  }
  std::printf("mean over %zu inputs\n", inputs.size());
  for (const Codec& codec : codecs) {
    const int n = counted[codec.name];
    if (n != static_cast<int>(inputs.size())) continue;  // a mean over fewer inputs would mislead
    Figures& m = means[codec.name];
    m.kbps /= n;
    m.lsd /= n;
    m.stoi /= n;
    std::printf("%-14s %-14s %7.2f %8.2f %6.3f\n", "", codec.name.c_str(), m.kbps, m.lsd, m.stoi);
  }
  if (keep.empty()) fs::remove_all(dir);
  if (!check) return 0;

  const bool have = counted["QV48W"] == int(inputs.size()) && counted["QV80W"] == int(inputs.size()) &&
                    counted["Codec2-3200"] == int(inputs.size());
  if (!have) {
    std::printf("check: QV48W, QV80W and Codec2 3200 must all have coded every input\n");
    return 1;
  }
  const Figures &low = means["QV48W"], &high = means["QV80W"], &peer = means["Codec2-3200"];
  const bool met = low.stoi >= peer.stoi && low.lsd <= peer.lsd;
  std::printf("check: QV48W %s Codec2 3200 on both measures\n",
              met ? "at least as good as" : "NOT as good as");
  // Where the lower-rate codec stands against the 8 kbit/s one is shown,
  // not held: scoring above it is no fault of either.
  std::printf("       QV48W against QV80W: LSD %+.2f dB, STOI %+.3f\n", low.lsd - high.lsd,
              low.stoi - high.stoi);
  return met ? 0 : 1;
}
