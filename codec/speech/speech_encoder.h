// The speech encoder: 160 PCM samples to one 20-byte frame.
//
// Each call takes 160 new samples into the signal buffer S[84..243] (after
// the input filter) and codes S[0..159]: the last 84 samples of the previous
// call and the first 76 of this one, with S[160..243] as look-ahead. The
// decoded speech therefore lags the input by 84 samples.
//
// Per frame: open-loop pitch, LPC analysis of the Hamming-windowed look-ahead,
// LSF conversion and quantisation, interpolation to three subframe filters;
// then per subframe, by analysis by synthesis in the perceptually weighted
// domain (weighting 1/Ã(z), ã_k = a_k·γ_k): adaptive codebook, single pulse,
// pulse train, each gain quantised before the next search.
#ifndef ZV_QV80_SPEECH_ENCODER_H
#define ZV_QV80_SPEECH_ENCODER_H

#include <cstdint>

#include "codec/speech/frame_packing.h"
#include "codec/speech/input_filter.h"
#include "codec/speech/open_loop_pitch.h"
#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

constexpr int kSignalLength = 244;
constexpr int kCarriedSamples = 84;  // S[0..83] carried from the previous call

struct EncoderState {
  // Configuration, fixed at open.
  bool eightBit;   // input 8-bit unsigned samples (128 = silence) instead of 16-bit signed
  cpu::Arch arch;  // the kernel level every call of this encoder runs

  // Adaptive state, carried from frame to frame.
  // Signal buffer S (filtered input): S[0..83] from the previous call,
  // S[84..243] this call's input.
  float signal[kSignalLength];
  // H: the 160 filtered samples that preceded S[24], for the open-loop pitch.
  float pitchHistory[kPitchHistoryLength];
  OpenLoopLagHistory lags;     // L1, L2, samples
  InputFilterState inputFilter;
  float previousLsf[kLsfCount];  // radians, the previous frame's quantised LSFs
  // Excitation history XH: [0..147], [147] the newest; [148..] is room for
  // the subframe being coded.
  float excitation[kHistoryLength + kMaxSubframeLength];
  // Reconstructed speech: [0..9] the last ten samples ([9] the newest), then
  // room for the subframe being coded.
  float synthesis[kLpcOrder + kMaxSubframeLength];
};

// Sets a fresh encoder whose kernels are those of `arch`, a level the
// processor runs (the library opens encoders at cpu::processorArch(); tests
// also at the levels below it).
void initEncoder(EncoderState& state, bool eightBit, cpu::Arch arch);

// Codes one frame of PCM (320 bytes of 16-bit or 160 bytes of 8-bit
// samples, per the state's format) into `params`.
void encodeFrameParameters(EncoderState& state, const uint8_t* pcm, FrameParameters& params);

// Codes one frame of PCM into 20 bytes at `frame`.
void encodeFrame(EncoderState& state, const uint8_t* pcm, uint8_t* frame);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_SPEECH_ENCODER_H
