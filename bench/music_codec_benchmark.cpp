// Speed of the music codec, in multiples of real time ("x_realtime": seconds
// of 8 kHz audio coded per second), for each form of the filter bank:
//   MusicEncode/<form>, MusicDecode/<form>  whole frames, vowels.raw looped
//   AnalysisTree/<form>, SynthesisTree/<form>  the filter bank alone
// The whole-process race against the reference codec is codec_race.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "codec/music/music_decoder.h"
#include "codec/music/music_encoder.h"
#include "codec/music/qmf_tree.h"

namespace {

using namespace zv::qv160mx;

constexpr double kSecondsPerFrame = kFrameSamples / 8000.0;

// vowels.raw, completed to whole frames; a short synthetic clip if missing.
const std::vector<uint8_t>& clip() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> data;
    if (FILE* f = std::fopen(ZV_TESTVECTORS_DIR "/vowels.raw", "rb")) {
      uint8_t buffer[4096];
      size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
      std::fclose(f);
    }
    if (data.empty()) {
      for (int i = 0; i < 24000; ++i) {
        const auto s = static_cast<uint16_t>((i * 37 % 2000 - 1000) * 8);
        data.push_back(static_cast<uint8_t>(s & 0xFF));
        data.push_back(static_cast<uint8_t>(s >> 8));
      }
    }
    data.resize((data.size() + kFramePcmBytes - 1) / kFramePcmBytes * kFramePcmBytes, 0);
    return data;
  }();
  return bytes;
}

QmfForm formOf(const benchmark::State& state) {
  return state.range(0) == 1 ? QmfForm::kSimd : QmfForm::kScalar;
}

bool skipUnavailable(benchmark::State& state) {
  if (formOf(state) == QmfForm::kSimd && !processorOffersSimdQmf()) {
    state.SkipWithError("no SIMD form on this processor");
    return true;
  }
  return false;
}

void setRealTimeCounter(benchmark::State& state, size_t framesPerIteration) {
  state.counters["x_realtime"] = benchmark::Counter(
      static_cast<double>(framesPerIteration) * kSecondsPerFrame, benchmark::Counter::kIsIterationInvariantRate);
}

void MusicEncode(benchmark::State& state) {
  if (skipUnavailable(state)) return;
  const auto& pcm = clip();
  const size_t frames = pcm.size() / kFramePcmBytes;
  auto encoder = std::make_unique<MusicEncoder>();
  initMusicEncoder(*encoder, formOf(state));
  uint8_t frame[kMaxFrameBytes];
  for (auto _ : state) {
    for (size_t i = 0; i < frames; ++i) {
      benchmark::DoNotOptimize(encodeMusicFrame(*encoder, pcm.data() + i * kFramePcmBytes, frame));
    }
    benchmark::ClobberMemory();
  }
  setRealTimeCounter(state, frames);
}

void MusicDecode(benchmark::State& state) {
  if (skipUnavailable(state)) return;
  const auto& pcm = clip();
  const size_t frames = pcm.size() / kFramePcmBytes;
  std::vector<uint8_t> coded;
  {
    auto encoder = std::make_unique<MusicEncoder>();
    initMusicEncoder(*encoder, formOf(state));
    for (size_t i = 0; i < frames; ++i) {
      uint8_t frame[kMaxFrameBytes];
      const int length = encodeMusicFrame(*encoder, pcm.data() + i * kFramePcmBytes, frame);
      coded.insert(coded.end(), frame, frame + length);
    }
  }
  auto decoder = std::make_unique<MusicDecoder>();
  initMusicDecoder(*decoder, formOf(state));
  uint8_t out[kFramePcmBytes];
  for (auto _ : state) {
    size_t pos = 0;
    while (pos < coded.size()) {
      pos += static_cast<size_t>(decodeMusicFrame(*decoder, coded.data() + pos, coded.size() - pos, out));
    }
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  setRealTimeCounter(state, frames);
}

void AnalysisTree(benchmark::State& state) {
  if (skipUnavailable(state)) return;
  const QmfAnalysisStep step = qmfStepRoutines(formOf(state)).analysis;
  QmfState states[kTreeSteps] = {};
  alignas(16) int32_t area[kTreeAreaSamples];
  const auto& pcm = clip();
  for (auto _ : state) {
    for (int i = 0; i < kFrameSamples; ++i) {
      area[i] = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8))) / 2;
    }
    analysisTree(step, area, states);
    benchmark::DoNotOptimize(area);
  }
  setRealTimeCounter(state, 1);
}

void SynthesisTree(benchmark::State& state) {
  if (skipUnavailable(state)) return;
  const QmfSynthesisStep step = qmfStepRoutines(formOf(state)).synthesis;
  QmfState states[kTreeSteps] = {};
  alignas(16) int32_t area[kTreeAreaSamples];
  for (auto _ : state) {
    for (int i = 0; i < kFrameSamples; ++i) area[i] = (i * 97) % 4001 - 2000;
    synthesisTree(step, area, states);
    benchmark::DoNotOptimize(area);
  }
  setRealTimeCounter(state, 1);
}

void forms(benchmark::internal::Benchmark* b) {
  b->ArgName("simd")->Arg(0)->Arg(1);
}

BENCHMARK(MusicEncode)->Apply(forms);
BENCHMARK(MusicDecode)->Apply(forms);
BENCHMARK(AnalysisTree)->Apply(forms);
BENCHMARK(SynthesisTree)->Apply(forms);

}  // namespace

BENCHMARK_MAIN();
