// The speech decoder: 20-byte frames to 160 PCM samples.
//
// Per subframe: adaptive excitation from the excitation history, one
// pitch-repeated single pulse, a train of signed pulses four samples apart,
// then a long-term (pitch) enhancement of the excitation, the LPC synthesis
// filter 1/A(z) and a fixed band-pass output filter with gain, and finally
// saturation to 16 bits.
#ifndef ZV_QV80_SPEECH_DECODER_H
#define ZV_QV80_SPEECH_DECODER_H

#include <cstdint>

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

struct DecoderState {
  // Configuration, fixed at open.
  bool eightBit;   // output 8-bit unsigned samples (128 = silence) instead of 16-bit signed
  cpu::Arch arch;  // the kernel level every call of this decoder runs

  // Adaptive state, carried from frame to frame.
  float previousLsf[kLsfCount];  // radians, the previous frame's LSFs
  // Excitation history XH (total excitation before enhancement): [0..147]
  // with [147] the newest sample; the subframe being decoded is built in
  // [148..148+len) and the history then moves down by len.
  float excitation[kHistoryLength + kMaxSubframeLength];
  // Enhanced-excitation history EH, laid out the same way.
  float enhanced[kHistoryLength + kMaxSubframeLength];
  // Synthesis output: [0..9] the last ten samples of earlier subframes
  // ([9] the newest), then the subframe being decoded. The output filter's
  // input memory is the last four of these.
  float synthesis[kLpcOrder + kMaxSubframeLength];
  // Output filter: [0..3] its last four outputs ([3] the newest), then the
  // subframe being decoded.
  float output[4 + kMaxSubframeLength];
};

// Sets a fresh decoder (initial LSFs, zero histories and memories) whose
// kernels are those of `arch`, a level the processor runs.
void initDecoder(DecoderState& state, bool eightBit, cpu::Arch arch);

// Decodes one 20-byte frame into 160 samples, written to `pcm` as 320 bytes
// of 16-bit little-endian samples or 160 bytes of 8-bit unsigned samples.
void decodeFrame(DecoderState& state, const uint8_t* frame, uint8_t* pcm);

// Decodes one frame into 16-bit samples (independent of the sample format).
void decodeFrameSamples(DecoderState& state, const uint8_t* frame, int16_t samples[kFrameSamples]);

// The steps of a subframe that the tests reach directly.

// Long-term enhancement coefficient of pitch gain β: 0.35·β for |β| < 1,
// ±0.35 beyond.
float enhancementCoefficient(float beta);

// Pitch enhancement of this subframe's excitation e[0..len−1] into
// enhanced[148..148+len) (enhanced[0..147] is the history EH):
//     y[i] = e[i] + c·EH[148 − T + i]   for i < T,
//     y[i] = e[i] + c·y[i − T]          for i ≥ T,
// recursive within the subframe. `lag` is 4..148.
void enhanceExcitation(float* enhanced, const float* e, int lag, float c, int len, cpu::Arch arch);

// Decoded value to a 16-bit sample: above 32767.0 → 32767, below −32767.0 →
// −32768, otherwise truncated toward zero; a non-finite value gives 0.
int16_t toSample(float value);

// 16-bit sample to an 8-bit unsigned one: (sample >> 8) + 128, modulo 256.
uint8_t toUnsigned8(int16_t sample);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_SPEECH_DECODER_H
