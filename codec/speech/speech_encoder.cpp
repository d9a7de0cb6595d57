#include "codec/speech/speech_encoder.h"

#include <cstring>

#include "codec/speech/adaptive_codebook.h"
#include "codec/speech/gain_quantise.h"
#include "codec/speech/lpc_analysis.h"
#include "codec/speech/lpc_filter.h"
#include "codec/speech/lsf_quantise.h"
#include "codec/speech/lsf_roots.h"
#include "codec/speech/lsf_to_lpc.h"
#include "codec/speech/pulse_search.h"
#include "codec/speech/speech_tables.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

constexpr int kInitialOpenLoopLag = 69;
constexpr int kAnalysisOffset = 24;  // the LPC window and B start at S[24]

// A subframe's vector with ten zeros in front, for zero-state filtering.
struct Padded {
  float buffer[kLpcOrder + kMaxSubframeLength];
  Padded() { std::memset(buffer, 0, sizeof buffer); }
  float* data() { return buffer + kLpcOrder; }
};

// Searches and codes one subframe of `x` (S[start..start+len)), updating
// the excitation history and the synthesis memory.
void encodeSubframe(EncoderState& state, const Lpc& lpc, const float* x, int len, int startLag,
                    SubframeParameters& params) {
  const float* a = lpc.a;
  float weighted[kLpcOrder + 1];
  weighted[0] = 1.0f;
  for (int k = 1; k <= kLpcOrder; ++k) weighted[k] = a[k] * kWeighting[k];

  // 1. Target residual r = x + Σ a_k·z[i−k], z the reconstructed past
  //    followed by x itself: the excitation that would drive 1/A(z), started
  //    from the reconstructed past, exactly to the input.
  float* memory = state.synthesis;  // [0..9] reconstructed, then x
  std::memcpy(memory + kLpcOrder, x, len * sizeof(float));
  float residual[kMaxSubframeLength];
  residualFilter(a, memory + kLpcOrder, residual, len, state.arch);

  // 2. Impulse response h of 1/Ã(z), the weighted target t0, and the first
  //    candidate response of the adaptive codebook search: three independent
  //    filters, run together.
  const float* history = state.excitation;
  Padded impulseBuffer, target0, firstCandidate;
  float* h = impulseBuffer.data();
  float impulse[kMaxSubframeLength] = {1.0f};
  float firstVector[kMaxSubframeLength];
  truncatedPastExcitation(history, lowestSearchLag(startLag), len, firstVector);
  const FilterChannel channels[3] = {{impulse, h},
                                     {residual, target0.data()},
                                     {firstVector, firstCandidate.data()}};
  allPoleFilters(weighted, channels, 3, len, state.arch);

  // 3, 4. Adaptive codebook and its gain.
  const PitchSearchResult pitch =
      searchAdaptiveCodebook(history, firstCandidate.data(), h, target0.data(), len, startLag,
                             state.arch);
  const int lag = pitch.lag;
  params.lag = lag;
  params.pitchGainIndex = quantisePitchGain(pitch.gain);

  // 5. Adaptive excitation u with the quantised gain.
  float* u = state.excitation + kHistoryLength;
  adaptiveExcitation(history, lag, kPitchGain[params.pitchGainIndex], len, u);

  // 6. Single pulse.
  Padded target1;
  float* t1 = target1.data();
  for (int i = 0; i < len; ++i) t1[i] = residual[i] - u[i];
  allPoleFilter(weighted, t1, t1, len, state.arch);
  float backward[kMaxSubframeLength];
  backwardFilter(weighted, t1, len, backward, state.arch);
  float energies[kMaxSubframeLength];
  periodicEnergies(h, lag, len, energies);
  const SinglePulse pulse = searchSinglePulse(backward, energies, lag, len);
  const float quarterGain = pulse.gain * 0.25f;
  params.pulsePosition = pulse.position;
  params.pulseGainIndex = quantiseSignedGain(quarterGain);
  if (pulse.position != kNoPulse) {
    const float level = 4.0f * kPulseLevel[params.pulseGainIndex & 15];
    const float amplitude = quarterGain < 0.0f ? -level : level;
    for (int i = pulse.position; i < len; i += lag)
      u[i] += amplitude;  // float addition is the reference (double-rounding lemma)
  }

  // 7. Pulse train.
  Padded target2;
  float* t2 = target2.data();
  for (int i = 0; i < len; ++i) t2[i] = residual[i] - u[i];
  allPoleFilter(weighted, t2, t2, len, state.arch);
  backwardFilter(weighted, t2, len, backward, state.arch);
  PulseTrain train = searchPulseTrain(backward, h, len, state.arch);
  const int count = pulseTrainCount(len);
  normaliseSigns(train, count);
  params.trainCode = pulseTrainCode(train, count);
  params.trainGainIndex = quantiseSignedGain(train.gain);
  const float level = kPulseLevel[params.trainGainIndex & 15];
  const float amplitude = train.gain < 0.0f ? -level : level;
  for (int k = 0; k < count; ++k) {
    const int i = train.phase + kPulseSpacing * k;
    u[i] += train.sign[k] > 0 ? amplitude : -amplitude;
  }

  // 8. The total excitation joins the history and drives 1/A(z) to give the
  //    reconstructed speech.
  allPoleFilter(a, u, memory + kLpcOrder, len, state.arch);
  std::memmove(state.excitation, state.excitation + len, kHistoryLength * sizeof(float));
  std::memmove(memory, memory + len, kLpcOrder * sizeof(float));
}

}  // namespace

void initEncoder(EncoderState& state, bool eightBit, cpu::Arch arch) {
  std::memset(&state, 0, sizeof state);
  state.eightBit = eightBit;
  state.arch = arch;
  state.lags = {kInitialOpenLoopLag, kInitialOpenLoopLag};
  std::memcpy(state.previousLsf, kInitialLsf, sizeof state.previousLsf);
}

void encodeFrameParameters(EncoderState& state, const uint8_t* pcm, FrameParameters& params) {
  float* s = state.signal;
  convertInput(pcm, state.eightBit, s + kCarriedSamples);
  highPassFilter(state.inputFilter, s + kCarriedSamples, kFrameSamples, state.arch);

  const int openLoopLag = openLoopPitch(state.pitchHistory, s + kAnalysisOffset, state.lags, state.arch);

  // Spectral envelope: LSFs of the look-ahead window, or last frame's
  // quantised LSFs when the window is silent.
  float lsf[kLsfCount];
  Lpc analysed;
  if (analyseLpc(s + kAnalysisOffset, analysed, state.arch)) lpcToLsf(analysed, lsf);
  else std::memcpy(lsf, state.previousLsf, sizeof lsf);
  float quantised[kLsfCount];
  quantiseLsf(lsf, params.lsfIndex, quantised);
  Lpc lpc[kSubframeCount];
  interpolateLpc(state.previousLsf, quantised, lpc);
  std::memcpy(state.previousLsf, quantised, sizeof quantised);

  int startLag = openLoopLag;
  for (int sf = 0; sf < kSubframeCount; ++sf) {
    SubframeParameters& sub = params.subframe[sf];
    encodeSubframe(state, lpc[sf], s + kSubframeStart[sf], kSubframeLength[sf], startLag, sub);
    startLag = sub.lag;
  }

  std::memcpy(state.pitchHistory, s + kAnalysisOffset, kPitchHistoryLength * sizeof(float));
  std::memmove(s, s + kFrameSamples, kCarriedSamples * sizeof(float));
}

void encodeFrame(EncoderState& state, const uint8_t* pcm, uint8_t* frame) {
  FrameParameters params;
  encodeFrameParameters(state, pcm, params);
  packFrame(params, frame);
}

}  // namespace zv::ZV_QV80_NAMESPACE
