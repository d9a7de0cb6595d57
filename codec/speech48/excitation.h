// What the encoder and decoder build alike from the decoded fields: LSFs,
// lags, the adaptive and fixed codebook vectors, the gains and the
// excitation. The encoder runs these same functions so that its state is
// the decoder's.
#ifndef ZV_QV48_EXCITATION_H
#define ZV_QV48_EXCITATION_H

#include <cstdint>

#include "codec/speech48/frame_packing.h"
#include "codec/speech48/lpc.h"

namespace zv::qv48 {

// The excitation history every subframe reads: the last kMaxLag samples
// before the subframe, then room for the subframe itself.
inline constexpr int kExcitationHistory = kMaxLag + 1;
using ExcitationBuffer = int32_t[kExcitationHistory + kSubframeSamples];

// LSFs both sides start from: evenly spaced.
void initialLsf(Lsf lsf);

// The quantised LSFs of the frame's indices, ascending, at least
// kLsfMinGap apart and from the ends.
void decodeLsf(const uint8_t index[kOrder], Lsf lsf);

// The lag a subframe's field names: absolute in subframes 0 and 2, relative
// to the previous subframe's lag in 1 and 3; always within 20..147.
int decodeLag(int subframe, uint8_t field, int previousLag);

// v[n] = excitation n − lag samples back, repeated with the lag's period
// when the lag is shorter than the subframe. `buffer` is the history.
void adaptiveVector(const ExcitationBuffer buffer, int lag, int32_t v[kSubframeSamples]);

// The pitch sharpening of the fixed codebook, Q14: the previous subframe's
// adaptive gain within 0.2..0.8.
int32_t sharpeningQ14(uint8_t previousPitchGainIndex);

// The fixed codebook vector, Q14 (a pulse is ±16384), with the pitch
// sharpening c[n] += β·c[n − lag] applied when the lag is shorter than the
// subframe. Pulses at positions of 60 or more are dropped.
void codeVector(const SubframeFields& fields, int lag, int32_t betaQ14,
                int32_t c[kSubframeSamples]);

// The codebook gain of index `index` given the previous subframe's log2
// gain (Q10), and this subframe's own log2 gain for the next: the previous
// one drawn 1/32 of the way towards kLogGainStartQ10, plus the index's step.
int32_t codeGain(int32_t previousLogQ10, uint8_t index, int32_t* logQ10);

// exc[n] = gp·v[n] + gc·c[n], into the subframe part of `buffer`.
void buildExcitation(const int32_t v[kSubframeSamples], const int32_t c[kSubframeSamples],
                     int32_t pitchGainQ14, int32_t gain, ExcitationBuffer buffer);

// Moves the history on by one subframe.
void shiftExcitation(ExcitationBuffer buffer);

}  // namespace zv::qv48

#endif  // ZV_QV48_EXCITATION_H
