// Objective measures of how close decoded audio is to its source, for the
// round-trip tests and the demonstration programs.
//
// Segmental SNR: the signal is cut into frames of `frame` samples; for each
// frame whose source energy is above `silenceEnergy` (so that silent frames,
// where any noise gives a meaningless ratio, do not count)
//     snr_f = 10·log10( Σ s[n]² / Σ (s[n] − d[n + delay])² ),
// clamped to [−10, 35] dB so that one near-perfect or one broken frame does not
// dominate, and the result is the mean over the counted frames.
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

// The delay in 0..maxDelay that maximises the normalised cross-correlation of
// source[n] and decoded[n + delay]: how far the decoder's output lags.
std::size_t bestDelay(std::span<const int16_t> source, std::span<const int16_t> decoded,
                      std::size_t maxDelay);

}  // namespace zv::quality

#endif  // ZV_TOOLS_AUDIO_QUALITY_H
