// The tables shared by the speech encoder and decoder, and the encoder's
// decision thresholds. Values are the single-precision floats nearest to the
// decimals listed in speech_tables.cpp.
#ifndef ZV_QV80_SPEECH_TABLES_H
#define ZV_QV80_SPEECH_TABLES_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// One quantisation table: `size` entries.
struct FloatTable {
  const float* values;
  int size;
};

// Even LSFs ω0, ω2, ω4, ω6, ω8 (radians): tables E0..E4 of 16, 32, 32, 16, 8.
extern const FloatTable kEvenLsfTables[5];

// Odd LSFs ω1, ω3, ω5, ω7, ω9: fraction tables F0..F4 of n = 32, 16, 16, 8, 4
// entries. The first n/2 + 1 are offsets from the lower even neighbour in
// units of half the gap (the last of them, 1, is the midpoint); the other
// n/2 − 1 are offsets back from the upper neighbour.
extern const FloatTable kOddLsfFractions[5];

// Bits of the ten LSF indices (parameter k is the index of ω_k).
constexpr int kLsfIndexBits[kLsfCount] = {4, 5, 5, 4, 5, 4, 4, 3, 3, 2};

// Upper neighbour of ω9: the float nearest π.
constexpr float kPiFloat = 3.14159265358979323846f;

// Previous-frame LSFs at the start of a stream: (2k + 1)·π/20 to four decimals.
extern const float kInitialLsf[kLsfCount];

// Pitch gains G (32 entries).
extern const float kPitchGain[32];
// Boundaries TG[k] between G[k] and G[k + 1] (31 entries; encoder only).
extern const float kPitchGainBoundary[31];

// Pulse levels L (16 entries): single pulse ±4·L, pulse train ±L.
extern const float kPulseLevel[16];
// Boundaries TL[k] between L[k − 1] and L[k] (TL[0] unused; encoder only).
extern const float kPulseLevelBoundary[16];

// Perceptual weighting factors γ_k = 0.9^k to four decimals, k = 1..10
// (index 0 unused).
extern const float kWeighting[kLpcOrder + 1];

// First half of the symmetric 220-point Hamming window of the LPC analysis:
// w[n] = w[219 − n] = 0.54 − 0.46·cos(2πn/219), n = 0..109, each rounded up
// to four decimals.
constexpr int kWindowLength = 220;
extern const float kHammingHalf[kWindowLength / 2];

// Decoder output filter o = Σ b_k·s[i−k] − Σ d_k·o[i−k]: band-pass with gain.
extern const float kOutputFilterB[5];  // b0..b4
extern const float kOutputFilterD[5];  // d1..d4 at indices 1..4 (index 0 unused)

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_SPEECH_TABLES_H
