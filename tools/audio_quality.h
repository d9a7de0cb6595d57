// Objective measures of how close decoded audio is to its source, for the
// round-trip tests and the demonstration programs.
//
// Segmental SNR: the signal is cut into frames of `frame` samples; for each
// frame whose source energy is above `silenceEnergy` (so that silent frames,
// where any noise gives a meaningless ratio, do not count)
//     snr_f = 10·log10( Σ s[n]² / Σ (s[n] − d[n + delay])² ),
// clamped to [−10, 35] dB so that one near-perfect or one broken frame does not
// dominate, and the result is the mean over the counted frames.
//
// Segmental SNR needs the decoded waveform to follow the source sample by
// sample. A codec that keeps the spectrum but not the phase (the speech codec,
// whose output filter is not the inverse of its input filter) scores near 0 dB
// there, so two more measures judge it:
//
// Log-spectral distance: per 256-sample frame whose source energy is above
// 100² per sample, Hann-windowed, the power in 17 bands of 6 DFT bins
// (187.5 Hz each) from 156 Hz to 3344 Hz, and
//     D = √( mean over bands of (10·log10(P_source / P_decoded))² ),
// averaged over those frames. Identical signals give 0; a silent output about
// 110 dB.
//
// Normalised cross-correlation of source[n] and decoded[n + delay], 1 for a
// scaled copy.
#ifndef ZV_TOOLS_AUDIO_QUALITY_H
#define ZV_TOOLS_AUDIO_QUALITY_H

#include <cstddef>
#include <cstdint>
#include <span>

namespace zv::quality {

struct SegmentalSnr {
  double meanDb = 0.0;      // mean of the clamped per-frame figures
  std::size_t frames = 0;   // frames that counted (above the silence energy)
};

// Compares source[n] with decoded[n + delay] for every n where both exist.
SegmentalSnr segmentalSnr(std::span<const int16_t> source, std::span<const int16_t> decoded,
                          std::size_t delay, std::size_t frame = 160,
                          double silenceEnergy = 160.0 * 100.0 * 100.0);

// Log-spectral distance in dB, as above; 1e9 when no frame counts.
double logSpectralDistanceDb(std::span<const int16_t> source, std::span<const int16_t> decoded,
                             std::size_t delay);

// Normalised cross-correlation of source[n] and decoded[n + delay] over the
// samples both have; 0 when either is silent.
double normalisedCorrelation(std::span<const int16_t> source, std::span<const int16_t> decoded,
                             std::size_t delay);

// The delay in 0..maxDelay that maximises the normalised cross-correlation of
// source[n] and decoded[n + delay]: how far the decoder's output lags.
std::size_t bestDelay(std::span<const int16_t> source, std::span<const int16_t> decoded,
                      std::size_t maxDelay);

}  // namespace zv::quality

#endif  // ZV_TOOLS_AUDIO_QUALITY_H
