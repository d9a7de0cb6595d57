// Speed of the speech codec in multiples of real time ("x_realtime": seconds
// of 8 kHz audio coded per second of CPU), on one minute of speech (the
// built-in sample repeated):
//   SpeechEncode  a fresh encoder codes the minute
//   SpeechDecode  a fresh decoder decodes the minute's frames
// each at the processor's kernel level (level:-1) and at every level
// (level:0 scalar, 1 SSE2, 2 AVX2).
// The whole-process race against Speex is codec_race.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "codec/speech/speech_decoder.h"
#include "codec/speech/speech_encoder.h"
#include "tools/pcm_wav.h"

namespace {

using namespace zv::qv80;

constexpr int kMinuteFrames = 60 * kSampleRateHz / kFrameSamples;  // 3000
constexpr double kMinuteSeconds = 60.0;

// One minute of 16-bit PCM: the built-in speech sample repeated (a
// synthetic vowel-like signal if the sample cannot be read).
const std::vector<uint8_t>& minuteOfSpeech() {
  static const std::vector<uint8_t> pcm = [] {
    zv::tools::PcmClip clip;
    std::string error;
    if (!zv::tools::readPcm16Wav(ZV_SOURCE_DIR "/data/speech-sample.wav", clip, error) ||
        clip.samples.empty()) {
      clip.samples.clear();
      for (int n = 0; n < kSampleRateHz; ++n)
        clip.samples.push_back(static_cast<int16_t>((n % 64 < 8 ? 8000 : 0) - 1000));
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * kMinuteFrames * kFrameSamples);
    for (size_t n = 0; bytes.size() < 2u * kMinuteFrames * kFrameSamples; ++n) {
      const auto sample = static_cast<uint16_t>(clip.samples[n % clip.samples.size()]);
      bytes.push_back(static_cast<uint8_t>(sample & 0xFF));
      bytes.push_back(static_cast<uint8_t>(sample >> 8));
    }
    return bytes;
  }();
  return pcm;
}

const std::vector<uint8_t>& minuteOfFrames() {
  static const std::vector<uint8_t> frames = [] {
    const std::vector<uint8_t>& pcm = minuteOfSpeech();
    std::vector<uint8_t> coded(kMinuteFrames * kFrameBytes);
    EncoderState state;
    initEncoder(state, false, zv::cpu::processorArch());
    for (int f = 0; f < kMinuteFrames; ++f)
      encodeFrame(state, &pcm[f * 2 * kFrameSamples], &coded[f * kFrameBytes]);
    return coded;
  }();
  return frames;
}

void realTimeCounter(benchmark::State& state) {
  state.counters["x_realtime"] =
      benchmark::Counter(kMinuteSeconds, benchmark::Counter::kIsIterationInvariantRate);
}

// The kernel level of the run: the processor's, or the one given as the
// benchmark's argument (the ".../level:N" runs; N as in zv::cpu::Arch).
// Returns false, with the run skipped, for a level this processor lacks.
bool levelOf(benchmark::State& state, zv::cpu::Arch& arch) {
  arch = state.range(0) < 0 ? zv::cpu::processorArch() : static_cast<zv::cpu::Arch>(state.range(0));
  if (zv::cpu::processorRuns(arch)) return true;
  state.SkipWithError("this processor cannot run this kernel level");
  return false;
}

void SpeechEncode(benchmark::State& state) {
  zv::cpu::Arch arch;
  if (!levelOf(state, arch)) return;
  const std::vector<uint8_t>& pcm = minuteOfSpeech();
  uint8_t frame[kFrameBytes];
  for (auto _ : state) {
    EncoderState encoder;
    initEncoder(encoder, false, arch);
    for (int f = 0; f < kMinuteFrames; ++f) encodeFrame(encoder, &pcm[f * 2 * kFrameSamples], frame);
    benchmark::DoNotOptimize(frame);
  }
  realTimeCounter(state);
}
// The processor's level first (no argument shown: level -1), then each level.
BENCHMARK(SpeechEncode)->Unit(benchmark::kMillisecond)->Arg(-1)->ArgName("level")->DenseRange(0, 2);

void SpeechDecode(benchmark::State& state) {
  zv::cpu::Arch arch;
  if (!levelOf(state, arch)) return;
  const std::vector<uint8_t>& frames = minuteOfFrames();
  uint8_t pcm[2 * kFrameSamples];
  for (auto _ : state) {
    DecoderState decoder;
    initDecoder(decoder, false, arch);
    for (int f = 0; f < kMinuteFrames; ++f) decodeFrame(decoder, &frames[f * kFrameBytes], pcm);
    benchmark::DoNotOptimize(pcm);
  }
  realTimeCounter(state);
}
BENCHMARK(SpeechDecode)->Unit(benchmark::kMillisecond)->Arg(-1)->ArgName("level")->DenseRange(0, 2);

}  // namespace

BENCHMARK_MAIN();
