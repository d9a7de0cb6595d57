#include "codec/speech/speech_decoder.h"

#include <cmath>
#include <cstring>

#include "codec/speech/adaptive_codebook.h"
#include "codec/speech/certified_recursion.h"
#include "codec/speech/certified_rounding.h"
#include "codec/speech/certified_sums.h"
#include "codec/speech/frame_packing.h"
#include "codec/speech/lpc_filter.h"
#include "codec/speech/lsf_reconstruct.h"
#include "codec/speech/lsf_to_lpc.h"
#include "codec/speech/speech_tables.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

constexpr float kEnhancementFactor = 0.35f;

// The lag by which the histories are read. Frames that no conforming encoder
// writes can carry lags up to 163; they are read as if the lag were 147, the
// longest lag a conforming encoder writes (every lag above the subframe
// length only picks where the history is read, so nothing else depends on
// it). Lags below 20 (down to 6) read inside the histories as they are. The
// lag chain of the frame itself is kept as decoded.
int historyLag(int lag) { return lag > kMaxLag ? kMaxLag : lag; }

// Single-pulse amplitude ±4·L and pulse-train amplitude ±L of a gain index.
float pulseAmplitude(int index) {
  const float level = 4.0f * kPulseLevel[index & 15];
  return (index & 16) ? -level : level;
}
float trainAmplitude(int index) {
  const float level = kPulseLevel[index & 15];
  return (index & 16) ? -level : level;
}

// Builds this subframe's excitation e = adaptive + single pulse + pulse
// train at excitation[148..148+len). The pulses are single additions of two
// floats, which float arithmetic rounds exactly as the reference
// (double-rounding lemma, ARITHMETIC.md).
void buildExcitation(float* history, const SubframeParameters& p, int len) {
  float* e = history + kHistoryLength;
  const int lag = historyLag(p.lag);
  adaptiveExcitation(history, lag, kPitchGain[p.pitchGainIndex], len, e);
  // Single pulse, repeated every lag samples; positions ≥ len add nothing.
  if (p.pulsePosition < len) {
    const float amplitude = pulseAmplitude(p.pulseGainIndex);
    for (int i = p.pulsePosition; i < len; i += lag) e[i] += amplitude;
  }
  // Pulse train: N pulses at phase + 4k, pulse 0 positive, pulse k's sign in
  // bit N−1−k of the code (1 = +).
  const int count = pulseTrainCount(len);
  const int phase = p.trainCode >> (count - 1);
  const float gain = trainAmplitude(p.trainGainIndex);
  for (int k = 0; k < count; ++k) {
    const bool positive = k == 0 || ((p.trainCode >> (count - 1 - k)) & 1);
    const int i = phase + kPulseSpacing * k;
    e[i] += positive ? gain : -gain;
  }
}

// One output of the output filter in the reference arithmetic:
// o[i] = Σ_{k=0..4} b_k·s[i−k] − Σ_{k=1..4} d_k·o[i−k], each Σ its own
// extended-precision accumulator from 0.
float outputSampleReference(const float* s, const float* o) {
  const float* b = kOutputFilterB;
  const float* d = kOutputFilterD;
  Ext forward = 0;
  for (int k = 0; k <= 4; ++k) forward += static_cast<Ext>(b[k]) * s[-k];
  Ext feedback = 0;
  for (int k = 1; k <= 4; ++k) feedback += static_cast<Ext>(d[k]) * o[-k];
  return static_cast<float>(forward - feedback);
}

// The output filter over one subframe on the certified fast path
// (certified_recursion.h): both sums in double, with the bound
//     5·2⁻⁵²·(Σ|b_k|·Ms + Σ|d_k|·Mo) + 4·2⁻⁵²·|v|,
// Ms and Mo the largest |s| and |o| of memory and block (at most five
// roundings per sum and one for the difference in each precision, twice
// over).
class OutputBlock {
 public:
  // `s[−4..len)` is the synthesis output, `sd` the same values as doubles,
  // `o[−4..−1]` the filter's memory.
  OutputBlock(const float* s, const double* sd, float* o, int len)
      : s_(s), sd_(sd), o_(o), len_(len) {
    for (int k = 0; k <= 4; ++k) {
      b_[k] = kOutputFilterB[k];
      d_[k] = kOutputFilterD[k];
      b_size_ += magnitude(b_[k]);
      d_size_ += magnitude(d_[k]);
    }
    for (int k = 1; k <= 4; ++k) w_[4 - k] = o[-k];
  }

  // The fast pass for sample i, given the synthesis output s[i] and o[i − 1]
  // as doubles (kept in the caller's registers); returns o[i] as a double.
  double step(int i, double s0, double previous) {
    const double* s = sd_ + i;
    const double* o = w_ + 4 + i;
    const double forward = b_[4] * s[-4] + b_[3] * s[-3] + b_[2] * s[-2] + b_[1] * s[-1] + b_[0] * s0;
    const double feedback = d_[4] * o[-4] + d_[3] * o[-3] + d_[2] * o[-2];
    // The newest output enters last (one more rounding, within the margin).
    const double v = (forward - feedback) - d_[1] * previous;
    const float rounded = static_cast<float>(v);
    value_[i] = v;
    o_[i] = rounded;
    w_[4 + i] = rounded;
    return rounded;
  }

  // The certifyRecursion interface.
  const double* values() const { return value_; }
  double sumBound() const {
    double largestS = 0.0, largestO = 0.0;
    for (int i = -4; i < len_; ++i) {
      largestS = largestS > magnitude(s_[i]) ? largestS : magnitude(s_[i]);
      largestO = largestO > magnitude(w_[4 + i]) ? largestO : magnitude(w_[4 + i]);
    }
    return 5 * kBoundUnit * (b_size_ * largestS + d_size_ * largestO);
  }
  bool settle(int i) {
    const float exact = outputSampleReference(s_ + i, o_ + i);
    if (std::memcmp(&exact, &o_[i], sizeof exact) == 0) return false;
    o_[i] = exact;
    w_[4 + i] = exact;
    return true;
  }
  void run(int from, int n) {
    double last = from < n ? w_[4 + from - 1] : 0.0;
    for (int i = from; i < n; ++i) last = step(i, sd_[i], last);
  }

 private:
  const float* s_;
  const double* sd_;
  float* o_;
  int len_;
  double b_[5], d_[5];
  double b_size_ = 0.0, d_size_ = 0.0;
  double w_[4 + kMaxSubframeLength];  // outputs as doubles, memory in front
  double value_[kMaxSubframeLength];
};

// Synthesis s = y through 1/A(z) and the output filter o, their fast passes
// interleaved sample by sample so that the two recursions overlap, then
// certified: the synthesis first, and the output filter again from the
// first synthesis sample the certification changed.
void synthesiseAndFilter(const float* a, const float* y, float* s, float* o, int len,
                         cpu::Arch arch) {
  AllPoleBlock synthesis(a, y, s, len, arch);
  OutputBlock output(s, synthesis.outputs(), o, len);
  double lastS = synthesis.previous(0), lastO = o[-1];
  for (int i = 0; i < len; ++i) {
    lastS = synthesis.step(i, lastS);
    lastO = output.step(i, lastS, lastO);
  }
  const int changed = synthesis.certify();
  output.run(changed, len);
  certifyRecursion(output, 0, len, arch);
}

bool allFinite(const float* values, int count) {
  // v·0 is 0 for every finite v and NaN for ±∞ and NaN.
  float probe = 0.0f;
  for (int i = 0; i < count; ++i) probe += values[i] * 0.0f;
  return probe == 0.0f;
}

// A frame that no conforming encoder writes can drive the synthesis filter
// unstable until its state overflows; from then on every sample would be NaN.
// Such a decoder starts again from silent memories and histories (the LSFs
// stay, they are always finite).
void recoverFromNonFiniteState(DecoderState& state) {
  const bool finite = allFinite(state.excitation, kHistoryLength) &&
                      allFinite(state.enhanced, kHistoryLength) &&
                      allFinite(state.synthesis, kLpcOrder) && allFinite(state.output, 4);
  if (finite) return;
  std::memset(state.excitation, 0, sizeof state.excitation);
  std::memset(state.enhanced, 0, sizeof state.enhanced);
  std::memset(state.synthesis, 0, sizeof state.synthesis);
  std::memset(state.output, 0, sizeof state.output);
}

}  // namespace

float enhancementCoefficient(float beta) {
  if (beta >= 1.0f) return kEnhancementFactor;
  if (beta <= -1.0f) return -kEnhancementFactor;
  // A product of two floats: the float product is the reference's value
  // (double-rounding lemma, ARITHMETIC.md); the reference build keeps the
  // definition.
  if (kFastPaths) return kEnhancementFactor * beta;
  return static_cast<float>(static_cast<Ext>(kEnhancementFactor) * beta);
}

void enhanceExcitation(float* enhanced, const float* e, int lag, float c, int len,
                       cpu::Arch arch) {
  ZV_QV80_CHECK(lag >= 1 && lag <= kHistoryLength);
  float* y = enhanced + kHistoryLength;
  // y[i] = e[i] + c·EH[148 − T + i], where EH[148 − T + i] is y[i − T] once
  // i ≥ T. multiplyAdd takes four samples at a time, which reads only
  // finished samples as long as T ≥ 4 (frames carry lags of at least 6).
  ZV_QV80_CHECK(lag >= 4);
  multiplyAdd(e, c, y - lag, y, len, arch);
}

int16_t toSample(float value) {
  if (!std::isfinite(value)) return 0;
  if (value > 32767.0f) return 32767;
  if (value < -32767.0f) return -32768;
  return static_cast<int16_t>(value);
}

uint8_t toUnsigned8(int16_t sample) { return static_cast<uint8_t>((sample >> 8) + 128); }

void initDecoder(DecoderState& state, bool eightBit, cpu::Arch arch) {
  std::memset(&state, 0, sizeof state);
  state.eightBit = eightBit;
  state.arch = arch;
  std::memcpy(state.previousLsf, kInitialLsf, sizeof state.previousLsf);
}

void decodeFrameSamples(DecoderState& state, const uint8_t* frame,
                        int16_t samples[kFrameSamples]) {
  FrameParameters params;
  unpackFrame(frame, params);
  float lsf[kLsfCount];
  reconstructLsf(params.lsfIndex, lsf);
  Lpc lpc[kSubframeCount];
  interpolateLpc(state.previousLsf, lsf, lpc);
  std::memcpy(state.previousLsf, lsf, sizeof lsf);

  for (int sf = 0; sf < kSubframeCount; ++sf) {
    const SubframeParameters& p = params.subframe[sf];
    const int len = kSubframeLength[sf];
    const int lag = historyLag(p.lag);

    buildExcitation(state.excitation, p, len);
    const float* e = state.excitation + kHistoryLength;
    enhanceExcitation(state.enhanced, e, lag, enhancementCoefficient(kPitchGain[p.pitchGainIndex]), len,
                      state.arch);

    float* s = state.synthesis + kLpcOrder;
    float* o = state.output + 4;
    synthesiseAndFilter(lpc[sf].a, state.enhanced + kHistoryLength, s, o, len, state.arch);
    for (int i = 0; i < len; ++i) samples[kSubframeStart[sf] + i] = toSample(o[i]);

    // The histories drop their oldest len samples.
    std::memmove(state.excitation, state.excitation + len, kHistoryLength * sizeof(float));
    std::memmove(state.enhanced, state.enhanced + len, kHistoryLength * sizeof(float));
    std::memmove(state.synthesis, state.synthesis + len, kLpcOrder * sizeof(float));
    std::memmove(state.output, state.output + len, 4 * sizeof(float));
  }
  recoverFromNonFiniteState(state);
}

void decodeFrame(DecoderState& state, const uint8_t* frame, uint8_t* pcm) {
  int16_t samples[kFrameSamples];
  decodeFrameSamples(state, frame, samples);
  if (state.eightBit) {
    for (int i = 0; i < kFrameSamples; ++i) pcm[i] = toUnsigned8(samples[i]);
  } else {
    for (int i = 0; i < kFrameSamples; ++i) {
      const uint16_t u = static_cast<uint16_t>(samples[i]);
      pcm[2 * i] = static_cast<uint8_t>(u & 0xFF);
      pcm[2 * i + 1] = static_cast<uint8_t>(u >> 8);
    }
  }
}

}  // namespace zv::ZV_QV80_NAMESPACE
