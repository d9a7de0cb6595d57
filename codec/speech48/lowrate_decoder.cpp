// The decoder (lowrate_decoder.h).
#include "codec/speech48/lowrate_decoder.h"

#include <cstring>

#include "codec/speech48/fixed_point.h"
#include "codec/speech48/tables.h"

namespace zv::qv48 {

namespace {

constexpr int kTiltResponseSamples = 20;
constexpr int32_t kTiltFactorQ15 = 26214;      // 0.8
constexpr int32_t kPitchPostGainQ14 = 4096;    // 0.25 of the adaptive gain
constexpr int32_t kAgcMaxGainQ14 = 2 * 16384;

// Long-term postfilter: s[n] + g·s[n − lag] with g a quarter of the
// subframe's adaptive gain (at most 1), then 1/(1 + g).
void pitchPostfilter(DecoderState& state, int lag, int32_t pitchGainQ14, int32_t* out) {
  int32_t gain = pitchGainQ14 > 16384 ? 16384 : pitchGainQ14;
  gain = static_cast<int32_t>(roundShift(int64_t{gain} * kPitchPostGainQ14, 14));
  const int32_t* now = state.speech + kSpeechHistory;
  const ExactDivisor divisor(16384 + gain);
  for (int n = 0; n < kSubframeSamples; ++n) {
    const int64_t sum = int64_t{now[n]} * 16384 + int64_t{gain} * now[n - lag];
    out[n] = saturateSignal(divisor.divide(sum));
  }
}

// Short-term postfilter Â(z/0.55)/Â(z/0.75), its spectral tilt taken out
// by 1 + μ·z^−1, and the gain brought back to the input's.
void shortTermPostfilter(DecoderState& state, const Lpc a, const int32_t* in, int32_t* out) {
  Lpc numerator, denominator;
  expandBandwidth(a, kPostNumeratorQ15, numerator);
  expandBandwidth(a, kPostDenominatorQ15, denominator);
  int32_t stage[kSubframeSamples];
  residualFilter(numerator, in, stage, kSubframeSamples, state.postNumerator);
  synthesisFilter(denominator, stage, stage, kSubframeSamples, state.postDenominator);

  // μ = −0.8·r1/r0 of the filter's impulse response when r1 > 0.
  int32_t h[kTiltResponseSamples];
  impulseResponse(numerator, denominator, h, kTiltResponseSamples);
  int64_t r0 = 0, r1 = 0;
  for (int n = 0; n < kTiltResponseSamples; ++n) {
    r0 += int64_t{h[n]} * h[n];
    if (n + 1 < kTiltResponseSamples) r1 += int64_t{h[n]} * h[n + 1];
  }
  const int32_t muQ15 = r1 > 0 && r0 > 0 ? static_cast<int32_t>(-(r1 * kTiltFactorQ15) / r0) : 0;
  int64_t inEnergy = 0, outEnergy = 0;
  for (int n = 0; n < kSubframeSamples; ++n) {
    const int32_t x = stage[n];
    stage[n] = saturateSignal(x + roundShift(int64_t{muQ15} * state.tiltPrevious, 15));
    state.tiltPrevious = x;
    outEnergy += int64_t{stage[n]} * stage[n];
  }
  for (int n = 0; n < kSubframeSamples; ++n) inEnergy += int64_t{in[n]} * in[n];

  // Gain sqrt(inEnergy/outEnergy), Q14, smoothed sample by sample.
  int32_t targetQ14 = 16384;
  if (outEnergy > 0) {
    while (inEnergy >= (int64_t{1} << 34) || outEnergy >= (int64_t{1} << 34)) {
      inEnergy >>= 1;
      outEnergy >>= 1;
    }
    if (outEnergy == 0) outEnergy = 1;
    const uint64_t ratioQ28 = static_cast<uint64_t>((inEnergy << 28) / outEnergy);
    const uint32_t root = squareRoot(ratioQ28);
    targetQ14 = root > static_cast<uint32_t>(kAgcMaxGainQ14) ? kAgcMaxGainQ14
                                                              : static_cast<int32_t>(root);
  }
  for (int n = 0; n < kSubframeSamples; ++n) {
    state.agcGainQ14 = (state.agcGainQ14 * 15 + targetQ14 + 8) >> 4;
    out[n] = saturateSignal(roundShift(int64_t{stage[n]} * state.agcGainQ14, 14));
  }
}

int16_t toSample(int32_t value) {
  return static_cast<int16_t>(saturate(roundShift(value, kSignalShift), 32768));
}

}  // namespace

void initDecoder(DecoderState& state, bool eightBit) {
  state = DecoderState{};
  state.eightBit = eightBit;
  initialLsf(state.previousLsf);
}

void decodeSamples(DecoderState& state, const uint8_t frame[kFrameBytes],
                   int16_t samples[kFrameSamples]) {
  FrameFields fields;
  unpackFrame(frame, fields);
  Lsf lsf;
  decodeLsf(fields.lsf, lsf);
  for (int s = 0; s < kSubframes; ++s) {
    const SubframeFields& sub = fields.subframe[s];
    Lsf interpolated;
    interpolateLsf(state.previousLsf, lsf, s, interpolated);
    Lpc a;
    lsfToLpc(interpolated, a);

    const int lag = decodeLag(s, sub.lag, state.previousLag);
    int32_t v[kSubframeSamples], c[kSubframeSamples];
    adaptiveVector(state.excitation, lag, v);
    codeVector(sub, lag, sharpeningQ14(state.previousPitchGain), c);
    const int32_t pitchGainQ14 = kPitchGainQ14[sub.pitchGain];
    const int32_t gain = codeGain(state.logGainQ10, sub.codeGain, &state.logGainQ10);
    buildExcitation(v, c, pitchGainQ14, gain, state.excitation);

    int32_t* speech = state.speech + kSpeechHistory;
    synthesisFilter(a, state.excitation + kExcitationHistory, speech, kSubframeSamples,
                    state.synthesis);
    int32_t enhanced[kSubframeSamples], out[kSubframeSamples];
    pitchPostfilter(state, lag, pitchGainQ14, enhanced);
    shortTermPostfilter(state, a, enhanced, out);
    for (int n = 0; n < kSubframeSamples; ++n) samples[s * kSubframeSamples + n] = toSample(out[n]);

    shiftExcitation(state.excitation);
    std::memmove(state.speech, state.speech + kSubframeSamples, sizeof(int32_t) * kSpeechHistory);
    state.previousLag = lag;
    state.previousPitchGain = sub.pitchGain;
  }
  std::memcpy(state.previousLsf, lsf, sizeof(Lsf));
}

void decodeFrame(DecoderState& state, const uint8_t frame[kFrameBytes], uint8_t* pcm) {
  int16_t samples[kFrameSamples];
  decodeSamples(state, frame, samples);
  for (int n = 0; n < kFrameSamples; ++n) {
    if (state.eightBit) {
      pcm[n] = static_cast<uint8_t>((samples[n] >> 8) + 128);
    } else {
      const auto bits = static_cast<uint16_t>(samples[n]);
      pcm[2 * n] = static_cast<uint8_t>(bits & 0xFF);
      pcm[2 * n + 1] = static_cast<uint8_t>(bits >> 8);
    }
  }
}

}  // namespace zv::qv48
