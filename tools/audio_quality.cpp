#include "tools/audio_quality.h"

#include <algorithm>
#include <cmath>

namespace zv::quality {

SegmentalSnr segmentalSnr(std::span<const int16_t> source, std::span<const int16_t> decoded,
                          std::size_t delay, std::size_t frame, double silenceEnergy) {
  SegmentalSnr result;
  if (frame == 0 || decoded.size() <= delay) return result;
  const std::size_t usable = std::min(source.size(), decoded.size() - delay);
  double sum = 0.0;
  for (std::size_t start = 0; start + frame <= usable; start += frame) {
    double signal = 0.0, noise = 0.0;
    for (std::size_t n = start; n < start + frame; ++n) {
      const double s = source[n];
      const double e = s - decoded[n + delay];
      signal += s * s;
      noise += e * e;
    }
    if (signal <= silenceEnergy) continue;
    double db = noise > 0.0 ? 10.0 * std::log10(signal / noise) : 35.0;
    sum += std::clamp(db, -10.0, 35.0);
    ++result.frames;
  }
  if (result.frames) result.meanDb = sum / static_cast<double>(result.frames);
  return result;
}

std::size_t bestDelay(std::span<const int16_t> source, std::span<const int16_t> decoded,
                      std::size_t maxDelay) {
  std::size_t best = 0;
  double bestScore = -2.0;
  for (std::size_t delay = 0; delay <= maxDelay && delay < decoded.size(); ++delay) {
    const std::size_t usable = std::min(source.size(), decoded.size() - delay);
    double cross = 0.0, energy = 0.0;
    for (std::size_t n = 0; n < usable; ++n) {
      const double d = decoded[n + delay];
      cross += static_cast<double>(source[n]) * d;
      energy += d * d;
    }
    const double score = energy > 0.0 ? cross / std::sqrt(energy) : -1.0;
    if (score > bestScore) {
      bestScore = score;
      best = delay;
    }
  }
  return best;
}

}  // namespace zv::quality
