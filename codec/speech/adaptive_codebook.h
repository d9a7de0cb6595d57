// The adaptive codebook: the past excitation repeated at the pitch lag.
//
// Both sides build the adaptive vector of lag T from the excitation history
// XH (148 samples, XH[147] the newest):
//     e[i] = β·XH[148 − T + (i mod T)],  i = 0..len−1,
// i.e. the history from T back, repeated with period T when T < len.
//
// The encoder's closed-loop search tries lags L−7..L+8 (within 20..147) and
// scores each by its zero-state response through the weighted synthesis
// filter: with y_T the response to the truncated vector
// v_T[i] = XH[148 − T + i] (i < min(T, len), zero beyond), the periodic
// response is ỹ_T[i] = y_T[i] + y_T[i − T] + y_T[i − 2T] (terms that exist);
// c = Σ t0·ỹ_T, e = Σ ỹ_T², score c²/e, gain c/e. y_T follows from y_T−1 by
// one multiply-add per sample: y_T[0] = XH[148 − T],
// y_T[i] = y_T−1[i − 1] + XH[148 − T]·h[i].
#ifndef ZV_QV80_ADAPTIVE_CODEBOOK_H
#define ZV_QV80_ADAPTIVE_CODEBOOK_H

#include "codec/speech/speech_constants.h"
#include "codec/speech/speech_namespace.h"

namespace zv::ZV_QV80_NAMESPACE {

// u[0..len−1] = β·XH[148 − T + (i mod T)] for lag T in 1..147.
void adaptiveExcitation(const float history[kHistoryLength], int lag, float beta, int len,
                        float* u);

struct PitchSearchResult {
  int lag;     // chosen lag, samples (20..147)
  float gain;  // unquantised β = c/e of the chosen lag (0 when e = 0)
};

// Search range of a starting lag: L−7 raised to 20, L+8 lowered to 147.
int lowestSearchLag(int startLag);
int highestSearchLag(int startLag);

// The truncated vector of a lag T: v[i] = XH[148 − T + i] for i < min(T, len),
// zero for T ≤ i < len.
void truncatedPastExcitation(const float history[kHistoryLength], int lag, int len, float* v);

// Closed-loop search around `startLag` (14..149). `firstResponse` is y of the
// lowest lag of the range (its truncated vector filtered through 1/Ã(z) from
// zero state), `impulse` h[0..len−1] the impulse response of 1/Ã(z),
// `target` the weighted target t0[0..len−1]. The first lag sets the best; a
// later one wins only with a strictly larger score.
PitchSearchResult searchAdaptiveCodebook(const float history[kHistoryLength],
                                         const float* firstResponse, const float* impulse,
                                         const float* target, int len, int startLag,
                                         cpu::Arch arch);

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_ADAPTIVE_CODEBOOK_H
