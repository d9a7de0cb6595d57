// The encoder (lowrate_encoder.h).
#include "codec/speech48/lowrate_encoder.h"

#include <cstring>

#include "codec/speech48/fixed_point.h"
#include "codec/speech48/pitch_search.h"
#include "codec/speech48/pulse_search.h"
#include "codec/speech48/tables.h"

namespace zv::qv48 {

namespace {

constexpr int32_t kHighPassPoleQ15 = 31785;  // 0.97: about 40 Hz
constexpr int kClosedLoopSpread = 3;          // absolute lags: open-loop lag ± 3
// The gain search adds this multiple of the squared difference between the
// norms of the weighted synthesis and of the target to the weighted error.
constexpr int64_t kEnergyMatchWeight = 2;
// A subframe whose input and target both stay below this energy (an rms of
// two sample units, on the internal scale) is silence.
constexpr int64_t kSilentEnergy = kSubframeSamples * 8 * 8;

// numerator/denominator in Q14, within 0..2 (both ≥ 0).
int32_t ratioQ14(int64_t numerator, int64_t denominator) {
  if (numerator <= 0 || denominator <= 0) return 0;
  while (numerator >= (int64_t{1} << 46) || denominator >= (int64_t{1} << 46)) {
    numerator >>= 1;
    denominator >>= 1;
  }
  if (denominator == 0) return 32768;
  const int64_t q = (numerator * 16384) / denominator;
  return q > 32768 ? 32768 : static_cast<int32_t>(q);
}

void highPass(EncoderState& state, const int16_t* samples, int32_t* out) {
  for (int n = 0; n < kFrameSamples; ++n) {
    const int32_t in = samples[n] * (1 << kSignalShift);
    state.highPassOutputQ16 = int64_t{in - state.highPassInput} * 65536 +
                              ((state.highPassOutputQ16 * kHighPassPoleQ15) >> 15);
    state.highPassInput = in;
    out[n] = saturateSignal(roundShift(state.highPassOutputQ16, 16));
  }
}

void quantiseLsf(const Lsf lsf, uint8_t index[kOrder]) {
  for (int i = 0; i < kOrder; ++i) {
    const int32_t levels = 1 << kLsfBits[i];
    const int32_t offset = lsf[i] - kLsfLowest[i];
    int32_t k = offset < 0 ? 0 : offset / kLsfStep[i];
    if (k > levels - 1) k = levels - 1;
    index[i] = static_cast<uint8_t>(k);
  }
}

// Silence gets no pulses (indices that name a position past the subframe):
// at any gain worth keeping they would only add noise, and without them the
// codebook gain does not matter to the error, so the gain search lets it
// settle at its resting level instead of sinking to the floor, from where
// the next onset would need four subframes of the largest step to be heard.
void dropPulsesInSilence(const int32_t* speech, const int32_t* target, SubframeFields& fields) {
  if (dot(speech, speech, kSubframeSamples) > kSilentEnergy ||
      dot(target, target, kSubframeSamples) > kSilentEnergy)
    return;
  fields.pulse[0] = fields.pulse[1] = kTrackPositions;
  fields.pulse[2] = 2 * kTrackPositions + 1;
  fields.signs = 0;
}

// What a pair of gains costs: the weighted error it leaves, plus a term
// for the energy it loses or adds. The error alone is smallest at a norm of
// the synthesis that is the target's times their correlation, so that a
// subframe the three pulses match poorly (noise, a weak resonance) comes
// out far quieter than its input; the term pulls the norm back towards the
// target's. As ‖t − s‖² = (‖t‖ − ‖s‖)² + 2‖t‖‖s‖(1 − cos θ), with the term
// weighted k the best norm is ‖t‖·(1 − (1 − cos θ)/(1 + k)).
int64_t gainCost(int64_t error, int64_t synthesisEnergy, int64_t targetNorm) {
  const int64_t mismatch = int64_t{squareRoot(static_cast<uint64_t>(synthesisEnergy))} - targetNorm;
  return error + kEnergyMatchWeight * mismatch * mismatch;
}

void encodeSubframe(EncoderState& state, int subframe, const int32_t* speech, const Lpc weightedA,
                    const Lpc quantisedA, int openLoop, SubframeFields& fields) {
  Lpc numerator, denominator;
  expandBandwidth(weightedA, kWeightNumeratorQ15, numerator);
  expandBandwidth(weightedA, kWeightDenominatorQ15, denominator);

  // The target: the weighted difference between the input and the
  // synthesis filter's ringing from the previous subframes.
  int32_t ringing[kSubframeSamples] = {};
  {
    FilterMemory memory;
    std::memcpy(memory, state.synthesis, sizeof memory);
    synthesisFilter(quantisedA, ringing, ringing, kSubframeSamples, memory);
  }
  int32_t target[kSubframeSamples];
  {
    int32_t difference[kSubframeSamples];
    for (int n = 0; n < kSubframeSamples; ++n) difference[n] = speech[n] - ringing[n];
    FilterMemory num, den;
    std::memcpy(num, state.errorNumerator, sizeof num);
    std::memcpy(den, state.errorDenominator, sizeof den);
    int32_t stage[kSubframeSamples];
    residualFilter(numerator, difference, stage, kSubframeSamples, num);
    synthesisFilter(denominator, stage, target, kSubframeSamples, den);
  }
  int32_t h[kSubframeSamples];
  impulseResponse(numerator, quantisedA, denominator, h, kSubframeSamples);

  // Adaptive codebook: the candidates the lag field can name.
  int candidates[16];
  int candidateCount = 0;
  if (subframe % 2 == 0) {
    for (int lag = openLoop - kClosedLoopSpread; lag <= openLoop + kClosedLoopSpread; ++lag)
      if (lag >= kMinLag && lag <= kMaxLag) candidates[candidateCount++] = lag;
  } else {
    for (int field = 0; field < 16; ++field) {
      const int lag = decodeLag(subframe, static_cast<uint8_t>(field), state.previousLag);
      if (candidateCount == 0 || candidates[candidateCount - 1] != lag)
        candidates[candidateCount++] = lag;
    }
  }
  int32_t y[kSubframeSamples];
  const int lag = closedLoopLag(state.excitation, h, target, candidates, candidateCount, y);
  fields.lag = static_cast<uint8_t>(subframe % 2 == 0 ? lag - kMinLag
                                                       : lag - state.previousLag + kDeltaLagOffset);
  int32_t v[kSubframeSamples];
  adaptiveVector(state.excitation, lag, v);

  // The fixed codebook against what the nearest adaptive gain leaves.
  const int32_t optimalQ14 = ratioQ14(dot(target, y, kSubframeSamples), dot(y, y, kSubframeSamples));
  int nearest = 0;
  for (int g = 1; g < 8; ++g) {
    const int32_t distance = kPitchGainQ14[g] - optimalQ14;
    const int32_t bestDistance = kPitchGainQ14[nearest] - optimalQ14;
    if ((distance < 0 ? -distance : distance) < (bestDistance < 0 ? -bestDistance : bestDistance))
      nearest = g;
  }
  int32_t remainder[kSubframeSamples];
  for (int n = 0; n < kSubframeSamples; ++n)
    remainder[n] = target[n] - static_cast<int32_t>(roundShift(int64_t{kPitchGainQ14[nearest]} * y[n], 14));
  const int32_t beta = sharpeningQ14(state.previousPitchGain);
  int32_t sharpened[kSubframeSamples];
  std::memcpy(sharpened, h, sizeof sharpened);
  if (lag < kSubframeSamples) {
    for (int n = lag; n < kSubframeSamples; ++n)
      sharpened[n] += static_cast<int32_t>(roundShift(int64_t{beta} * sharpened[n - lag], 14));
  }
  searchPulses(remainder, sharpened, state.pulseSearch, fields);
  dropPulsesInSilence(speech, target, fields);
  int32_t c[kSubframeSamples], z[kSubframeSamples];
  codeVector(fields, lag, beta, c);
  convolve(c, h, 14, z);

  // Both gains together, by the weighted error and the energy mismatch they
  // leave (gainCost); of equal costs, the codebook gain whose log lies
  // nearest the resting level, the one its prediction leaks towards.
  int32_t adaptivePart[8][kSubframeSamples], fixedPart[8][kSubframeSamples];
  int32_t gains[8], restDistance[8];
  for (int g = 0; g < 8; ++g) {
    int32_t logQ10;
    gains[g] = codeGain(state.logGainQ10, static_cast<uint8_t>(g), &logQ10);
    restDistance[g] = logQ10 > kLogGainStartQ10 ? logQ10 - kLogGainStartQ10 : kLogGainStartQ10 - logQ10;
    for (int n = 0; n < kSubframeSamples; ++n) {
      adaptivePart[g][n] = static_cast<int32_t>(roundShift(int64_t{kPitchGainQ14[g]} * y[n], 14));
      fixedPart[g][n] = saturateSignal(roundShift(int64_t{gains[g]} * z[n], 12));
    }
  }
  // With s = a + f (the adaptive and fixed parts), ‖s‖² = ‖a‖² + ‖f‖² + 2a·f
  // and ‖t − s‖² = ‖t‖² − 2t·a − 2t·f + ‖s‖², exactly in integers: only a·f
  // is left to sum for each pair.
  const int64_t targetEnergy = dot(target, target, kSubframeSamples);
  const int64_t targetNorm = squareRoot(static_cast<uint64_t>(targetEnergy));
  int64_t adaptiveEnergy[8], adaptiveTarget[8], fixedEnergy[8], fixedTarget[8];
  for (int g = 0; g < 8; ++g) {
    adaptiveEnergy[g] = dot(adaptivePart[g], adaptivePart[g], kSubframeSamples);
    adaptiveTarget[g] = dot(adaptivePart[g], target, kSubframeSamples);
    fixedEnergy[g] = dot(fixedPart[g], fixedPart[g], kSubframeSamples);
    fixedTarget[g] = dot(fixedPart[g], target, kSubframeSamples);
  }
  int64_t bestCost = -1;
  for (int gp = 0; gp < 8; ++gp) {
    for (int gc = 0; gc < 8; ++gc) {
      const int64_t energy = adaptiveEnergy[gp] + fixedEnergy[gc] +
                             2 * dot(adaptivePart[gp], fixedPart[gc], kSubframeSamples);
      const int64_t error = targetEnergy - 2 * adaptiveTarget[gp] - 2 * fixedTarget[gc] + energy;
      const int64_t cost = gainCost(error, energy, targetNorm);
      if (bestCost < 0 || cost < bestCost ||
          (cost == bestCost && restDistance[gc] < restDistance[fields.codeGain])) {
        bestCost = cost;
        fields.pitchGain = static_cast<uint8_t>(gp);
        fields.codeGain = static_cast<uint8_t>(gc);
      }
    }
  }

  // The decoder's steps, to keep its state.
  const int32_t gain = codeGain(state.logGainQ10, fields.codeGain, &state.logGainQ10);
  buildExcitation(v, c, kPitchGainQ14[fields.pitchGain], gain, state.excitation);
  int32_t synthesised[kSubframeSamples];
  synthesisFilter(quantisedA, state.excitation + kExcitationHistory, synthesised,
                  kSubframeSamples, state.synthesis);
  int32_t difference[kSubframeSamples], stage[kSubframeSamples], unused[kSubframeSamples];
  for (int n = 0; n < kSubframeSamples; ++n) difference[n] = speech[n] - synthesised[n];
  residualFilter(numerator, difference, stage, kSubframeSamples, state.errorNumerator);
  synthesisFilter(denominator, stage, unused, kSubframeSamples, state.errorDenominator);
  shiftExcitation(state.excitation);
  state.previousLag = lag;
  state.previousPitchGain = fields.pitchGain;
}

}  // namespace

void initEncoder(EncoderState& state, bool eightBit) {
  state = EncoderState{};
  state.eightBit = eightBit;
  initialLsf(state.previousLsf);
  initialLsf(state.previousQuantisedLsf);
}

void encodeSamples(EncoderState& state, const int16_t samples[kFrameSamples],
                   uint8_t frame[kFrameBytes]) {
  std::memmove(state.input, state.input + kFrameSamples,
               sizeof(int32_t) * (kInputBuffer - kFrameSamples));
  highPass(state, samples, state.input + kInputBuffer - kFrameSamples);

  // The frame's predictor, centred on its end; the previous one when the
  // block is silent or gives no stable predictor.
  Lsf lsf;
  Lpc analysed;
  if (!analyseBlock(state.input + kInputBuffer - kWindowSamples, analysed) ||
      !lpcToLsf(analysed, lsf))
    std::memcpy(lsf, state.previousLsf, sizeof lsf);
  FrameFields fields;
  quantiseLsf(lsf, fields.lsf);
  Lsf quantised;
  decodeLsf(fields.lsf, quantised);

  Lpc weightedA[kSubframes], quantisedA[kSubframes];
  const int32_t* speech = state.input + kLookaheadSamples;
  int32_t* weighted = state.weighted + kWeightedHistory;
  for (int s = 0; s < kSubframes; ++s) {
    Lsf interpolated;
    interpolateLsf(state.previousLsf, lsf, s, interpolated);
    lsfToLpc(interpolated, weightedA[s]);
    interpolateLsf(state.previousQuantisedLsf, quantised, s, interpolated);
    lsfToLpc(interpolated, quantisedA[s]);
    Lpc numerator, denominator;
    expandBandwidth(weightedA[s], kWeightNumeratorQ15, numerator);
    expandBandwidth(weightedA[s], kWeightDenominatorQ15, denominator);
    int32_t stage[kSubframeSamples];
    const int offset = s * kSubframeSamples;
    residualFilter(numerator, speech + offset, stage, kSubframeSamples, state.weightedNumerator);
    synthesisFilter(denominator, stage, weighted + offset, kSubframeSamples,
                    state.weightedDenominator);
  }
  const int openLoop[2] = {openLoopLag(weighted), openLoopLag(weighted + kHalfFrame)};

  for (int s = 0; s < kSubframes; ++s)
    encodeSubframe(state, s, speech + s * kSubframeSamples, weightedA[s], quantisedA[s],
                   openLoop[s / 2], fields.subframe[s]);

  std::memmove(state.weighted, state.weighted + kFrameSamples, sizeof(int32_t) * kWeightedHistory);
  std::memcpy(state.previousLsf, lsf, sizeof lsf);
  std::memcpy(state.previousQuantisedLsf, quantised, sizeof quantised);
  packFrame(fields, frame);
}

void encodeFrame(EncoderState& state, const uint8_t* pcm, uint8_t frame[kFrameBytes]) {
  int16_t samples[kFrameSamples];
  for (int n = 0; n < kFrameSamples; ++n) {
    if (state.eightBit)
      samples[n] = static_cast<int16_t>((pcm[n] - 128) * 256);
    else
      samples[n] = static_cast<int16_t>(pcm[2 * n] | (pcm[2 * n + 1] << 8));
  }
  encodeSamples(state, samples, frame);
}

}  // namespace zv::qv48
