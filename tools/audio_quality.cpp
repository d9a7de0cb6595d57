#include "tools/audio_quality.h"

#include <algorithm>
#include <cmath>
#include <complex>

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

double logSpectralDistanceDb(std::span<const int16_t> source, std::span<const int16_t> decoded,
                             std::size_t delay) {
  constexpr int kLength = 256, kBands = 17, kBinsPerBand = 6, kFirstBin = 5;
  constexpr double kPi = 3.14159265358979323846;
  double total = 0.0;
  int frames = 0;
  for (std::size_t start = 0;
       start + kLength <= source.size() && start + delay + kLength <= decoded.size();
       start += kLength) {
    double energy = 0.0;
    for (int i = 0; i < kLength; ++i)
      energy += static_cast<double>(source[start + i]) * source[start + i];
    if (energy < kLength * 100.0 * 100.0) continue;
    double squares = 0.0;
    for (int band = 0; band < kBands; ++band) {
      double sourcePower = 1e-3, decodedPower = 1e-3;
      for (int bin = kFirstBin + band * kBinsPerBand; bin < kFirstBin + (band + 1) * kBinsPerBand;
           ++bin) {
        std::complex<double> s = 0.0, d = 0.0;
        for (int i = 0; i < kLength; ++i) {
          const double window = 0.5 - 0.5 * std::cos(2 * kPi * i / kLength);
          const std::complex<double> turn = std::polar(window, -2 * kPi * bin * i / kLength);
          s += turn * static_cast<double>(source[start + i]);
          d += turn * static_cast<double>(decoded[start + delay + i]);
        }
        sourcePower += std::norm(s);
        decodedPower += std::norm(d);
      }
      const double db = 10.0 * std::log10(sourcePower / decodedPower);
      squares += db * db;
    }
    total += std::sqrt(squares / kBands);
    ++frames;
  }
  return frames ? total / frames : 1e9;
}

double normalisedCorrelation(std::span<const int16_t> source, std::span<const int16_t> decoded,
                             std::size_t delay) {
  if (decoded.size() <= delay) return 0.0;
  const std::size_t usable = std::min(source.size(), decoded.size() - delay);
  double sourceEnergy = 0.0, decodedEnergy = 0.0, cross = 0.0;
  for (std::size_t n = 0; n < usable; ++n) {
    const double s = source[n], d = decoded[n + delay];
    sourceEnergy += s * s;
    decodedEnergy += d * d;
    cross += s * d;
  }
  if (sourceEnergy <= 0.0 || decodedEnergy <= 0.0) return 0.0;
  return cross / std::sqrt(sourceEnergy * decodedEnergy);
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
