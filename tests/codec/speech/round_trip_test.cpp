// The built-in speech sample through the encoder and decoder, judged by
// objective measures after aligning for the codec's 84-sample delay.
//
// Why these measures: the decoder's pitch enhancement and output filter, and
// the encoder's input high-pass, change the waveform's phase, so this codec's
// segmental SNR is near 0 dB (0.2 dB on the sample) — no better than what a
// silent output scores, so it cannot fail. The spectral envelope and the
// waveform correlation are what the codec preserves:
//
//   log-spectral distance (tools/audio_quality.h): the codec
//   achieves 9.1 dB on the sample (much of it in the weak bands between
//   formants, which the excitation fills); a silent output scores about
//   110 dB. Bound: 11 dB.
//
//   normalised cross-correlation of source[n] and decoded[n + 84]: the codec
//   achieves 0.65. Bound: 0.55.
//
//   short-time objective intelligibility (tools/intelligibility.h): the codec
//   achieves 0.91 on the sample (bench/codec_quality: Codec2 at 3200 bit/s
//   0.85). Bound: 0.87.
//
//   delay: the best-correlating delay is 83, next to the 84 samples the
//   encoder holds back. Bound: 80..88.
//
//   level: decoded RMS / source RMS is 1.17 (input filter gain about 0.52,
//   output filter gain about 1.7..1.8). Bound: 0.8..1.5.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>
#include <vector>

#include <zv/qv80.h>
#include "codec/speech/speech_constants.h"
#include "speech_test_support.h"
#include "tools/audio_quality.h"
#include "tools/intelligibility.h"
#include "tools/pcm_wav.h"

namespace zv::qv80::test {
namespace {

constexpr size_t kDelay = 84;

TEST(SpeechRoundTrip, BuiltInSampleKeepsItsSpectrumAndWaveform) {
  zv::tools::PcmClip clip;
  std::string error;
  ASSERT_TRUE(zv::tools::readPcm16Wav(std::string(ZV_SOURCE_DIR) + "/data/speech-sample.wav", clip,
                                      error))
      << error;
  ASSERT_EQ(clip.sampleRateHz, 8000u);
  ASSERT_EQ(clip.channels, 1);
  const std::vector<int16_t>& source = clip.samples;
  ASSERT_GT(source.size(), 8000u);

  // Whole frames, the last completed with silence, and one more frame of
  // silence to flush the 84 samples the encoder holds back.
  std::vector<int16_t> input = source;
  input.resize((source.size() / kFrameSamples + 2) * kFrameSamples, 0);
  std::vector<int16_t> decoded(input.size());
  onFreshThread([&] {
    void* coder = QV80_Open_Coder(1);
    void* decoder = QV80_Open_Decoder(1);
    ASSERT_TRUE(coder && decoder);
    for (size_t f = 0; f < input.size() / kFrameSamples; ++f) {
      uint8_t frame[kFrameBytes];
      uint16_t pcmBytes = 320, codedBytes = 20;
      ASSERT_EQ(QV80_Encode(coder, &input[f * kFrameSamples], &pcmBytes, frame, &codedBytes), 0);
      ASSERT_EQ(QV80_Decode(decoder, frame, &codedBytes, &decoded[f * kFrameSamples], &pcmBytes), 0);
    }
    QV80_Close_Coder(coder);
    QV80_Close_Decoder(decoder);
  });

  const std::span<const int16_t> s(source), d(decoded);
  EXPECT_LT(zv::quality::logSpectralDistanceDb(s, d, kDelay), 11.0);
  EXPECT_GT(zv::quality::normalisedCorrelation(s, d, kDelay), 0.55);
  EXPECT_GT(zv::quality::shortTimeIntelligibility(s, d, kDelay).value_or(0.0), 0.87);

  double sourceEnergy = 0, decodedEnergy = 0;
  for (size_t n = 0; n < source.size(); ++n) {
    sourceEnergy += static_cast<double>(source[n]) * source[n];
    decodedEnergy += static_cast<double>(decoded[n + kDelay]) * decoded[n + kDelay];
  }
  const double level = std::sqrt(decodedEnergy / sourceEnergy);
  EXPECT_GT(level, 0.8);
  EXPECT_LT(level, 1.5);

  const size_t delay = zv::quality::bestDelay(s, d, 200);
  EXPECT_GE(delay, 80u);
  EXPECT_LE(delay, 88u);
}

}  // namespace
}  // namespace zv::qv80::test
