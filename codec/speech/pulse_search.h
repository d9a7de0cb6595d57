// The encoder's two fixed-codebook searches, both in the weighted domain and
// both correlating through the backward-filtered target
//     b[j] = Σ_{i=j..len−1} t[i]·h[i − j]
// (t the weighted target left after the previous contributions, h the impulse
// response of the weighted synthesis filter 1/Ã(z)).
//
// Single pulse: one pulse at p repeated every T samples (T the chosen pitch
// lag). Its response is hp shifted by p, hp[i] = h[i] + h[i−T] + h[i−2T], so
//     c(p) = b[p] + b[p+T] + ...,  e(p) = E[len−1−p],  E[k] = Σ_{i≤k} hp[i]²,
// score c²/e, gain c/e; the best position wins, no pulse (63) if its gain is 0.
//
// Pulse train: N pulses at φ + 4k (N = 14 for len 56, 13 for len 52). For each
// phase the signs follow b (σ_k = +1 where b[φ+4k] > 0, else −1), so
//     c = Σ σ_k·b[φ+4k],  y[i] = Σ_k σ_k·h[i − φ − 4k],  e = Σ y[i]²,
// score c²/e, gain c/e; the best phase wins. A zero gain draws the signs and
// phase from the per-thread pseudo-random generator instead.
#ifndef ZV_QV80_PULSE_SEARCH_H
#define ZV_QV80_PULSE_SEARCH_H

#include <cstdint>

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// b[0..len−1] of `target` by time-reversing it, filtering it through 1/Ã(z)
// (`weighted` = ã[0..10]) from zero state and reversing the result.
void backwardFilter(const float* weighted, const float* target, int len, float* backward,
                    cpu::Arch arch);

// E[0..len−1]: the cumulative energies of the impulse response `impulse`
// repeated with period `lag`, one running extended-precision sum rounded to
// float at every k.
void periodicEnergies(const float* impulse, int lag, int len, float* energies);

struct SinglePulse {
  int position;  // 0..len−1, or kNoPulse when the gain is zero
  float gain;    // unquantised c/e
};

SinglePulse searchSinglePulse(const float* backward, const float* energies, int lag, int len);

struct PulseTrain {
  int phase;                       // 0..3
  int sign[kMaxSubframeLength / kPulseSpacing];  // σ_k = ±1, k = 0..N−1
  float gain;                      // unquantised c/e (zero for a random train)
};

// The best of the four phases; a zero gain gives the random train.
PulseTrain searchPulseTrain(const float* backward, const float* impulse, int len, cpu::Arch arch);

// The train drawn from the generator when the best gain is zero: phase
// (ρ >> 4) & 3, σ_0 = +1, σ_k = +1 where bit N−1−k of ρ is set.
PulseTrain randomPulseTrain(int len);

// Makes σ_0 = +1 by negating the gain and every sign when σ_0 = −1 (the
// decoder's pulse 0 is always positive).
void normaliseSigns(PulseTrain& train, int count);

// The frame's code: φ·2^(N−1) plus 2^(N−1−k) for every k ≥ 1 with σ_k = +1.
int pulseTrainCode(const PulseTrain& train, int count);

// The per-thread pseudo-random generator: seed ← seed·214013 + 2531011
// (mod 2³²), result (seed >> 16) & 0x7FFF. The seed is 1 when a thread starts
// and is shared by every encoder on that thread.
int nextRandom15();

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_PULSE_SEARCH_H
