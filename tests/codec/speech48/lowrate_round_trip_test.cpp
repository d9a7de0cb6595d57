// Speech through the encoder and decoder, judged against the source after
// aligning for the codec's 60-sample delay (the encoder's lookahead).
//
// Figures of the codec on the built-in sample (data/speech-sample.wav):
// log-spectral distance 7.5 dB, normalised correlation 0.89, segmental SNR
// 6.0 dB, best delay 60, level (decoded RMS / source RMS) about 0.97. A
// silent output scores about 110 dB in distance and 0 in correlation; a
// decoder a subframe out of step, or an encoder whose state drifts from the
// decoder's, falls to 0.3 or below in correlation and under 2 dB in SNR.
// The bounds leave about 1 dB and 0.02 of room. The encoder gives up some
// waveform match for level and spectral envelope (its gain search weighs
// the energy mismatch, its weighting lets the noise follow the envelope), so
// the SNR sits nearer the drift's 2 dB than a pure waveform coder's would.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "lowrate_test_support.h"
#include "tools/audio_quality.h"
#include "tools/pcm_wav.h"

namespace zv::qv48::test {
namespace {

constexpr size_t kDelay = 60;

std::vector<int16_t> speechSample() {
  tools::PcmClip clip;
  std::string error;
  EXPECT_TRUE(tools::readPcm16Wav(std::string(ZV_SOURCE_DIR) + "/data/speech-sample.wav", clip, error))
      << error;
  EXPECT_EQ(clip.sampleRateHz, 8000u);
  EXPECT_EQ(clip.channels, 1u);
  return clip.samples;
}

std::vector<int16_t> roundTrip(const std::vector<int16_t>& source) {
  return samplesFromBytes(decodeStream(encodeStream(bytesFromSamples(source), 1), 1));
}

double levelRatio(std::span<const int16_t> source, std::span<const int16_t> decoded) {
  double s = 0, d = 0;
  for (size_t n = 0; n + kDelay < decoded.size() && n < source.size(); ++n) {
    s += double(source[n]) * source[n];
    d += double(decoded[n + kDelay]) * decoded[n + kDelay];
  }
  return std::sqrt(d / s);
}

TEST(LowRateRoundTrip, SpeechSampleStaysCloseToTheSource) {
  const std::vector<int16_t> source = speechSample();
  ASSERT_GT(source.size(), 8000u);
  const std::vector<int16_t> decoded = roundTrip(source);
  const std::span<const int16_t> s(source), d(decoded);
  EXPECT_EQ(quality::bestDelay(s, d, 200), kDelay);
  EXPECT_LT(quality::logSpectralDistanceDb(s, d, kDelay), 8.5);
  EXPECT_GT(quality::normalisedCorrelation(s, d, kDelay), 0.87);
  EXPECT_GT(quality::segmentalSnr(s, d, kDelay).meanDb, 5.0);
  const double level = levelRatio(s, d);
  EXPECT_GT(level, 0.7);
  EXPECT_LT(level, 1.3);
}

// The glottal-pulse vowels of the vectors: voiced speech the adaptive
// codebook must follow through its gliding pitch (the codec: correlation
// 0.99, distance 4.1 dB).
TEST(LowRateRoundTrip, GlidingVowelsKeepTheirWaveform) {
  const std::vector<int16_t> source = samplesFromBytes(readFileBytes(vectorPath("vowels.raw")));
  ASSERT_FALSE(source.empty());
  const std::vector<int16_t> decoded = roundTrip(source);
  const std::span<const int16_t> s(source), d(decoded);
  EXPECT_GT(quality::normalisedCorrelation(s, d, kDelay), 0.96);
  EXPECT_LT(quality::logSpectralDistanceDb(s, d, kDelay), 5.2);
}

}  // namespace
}  // namespace zv::qv48::test
