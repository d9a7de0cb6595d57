#include "tools/intelligibility.h"

#include <soxr.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numeric>
#include <vector>

namespace zv::quality {
namespace {

constexpr int kRate = 10000;       // the measure's own sample rate
constexpr int kFrame = 256;        // samples per analysis frame
constexpr int kHop = kFrame / 2;   // 50 % overlap
constexpr int kFft = 512;          // zero-padded DFT length
constexpr int kBins = kFft / 2 + 1;
constexpr int kBands = 15;
constexpr double kLowestCentreHz = 150.0;
constexpr int kSegment = 30;       // frames per correlation run (384 ms)
constexpr double kDynamicRangeDb = 40.0;
constexpr double kClipFactor = 5.623413251903491;  // 10^(15/20): the −15 dB floor
constexpr double kPi = 3.14159265358979323846;

std::vector<double> resampled(std::span<const int16_t> in, int fromRate) {
  std::vector<double> source(in.begin(), in.end());
  if (fromRate == kRate) return source;
  std::vector<double> out(static_cast<std::size_t>(
      std::ceil(static_cast<double>(in.size()) * kRate / fromRate)) + 16);
  std::size_t produced = 0;
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  if (soxr_oneshot(fromRate, kRate, 1, source.data(), source.size(), nullptr, out.data(), out.size(),
                   &produced, &io, &quality, nullptr) != nullptr)
    return {};
  out.resize(produced);
  return out;
}

// The window of the measure's description: 0.5·(1 − cos(2πn/(N+1))), n = 1..N,
// which never reaches zero at either end.
const std::array<double, kFrame>& window() {
  static const auto table = [] {
    std::array<double, kFrame> w{};
    for (int n = 0; n < kFrame; ++n) w[n] = 0.5 * (1.0 - std::cos(2.0 * kPi * (n + 1) / (kFrame + 1)));
    return w;
  }();
  return table;
}

// Frame starts 0, kHop, … while a whole frame and one sample more fit, as the
// description counts them.
std::size_t frameCount(std::size_t length) {
  return length > kFrame ? (length - kFrame - 1) / kHop + 1 : 0;
}

// Drops the frames whose source energy is more than kDynamicRangeDb below the
// loudest, from both signals, and overlap-adds the windowed frames kept.
void removeSilentFrames(std::vector<double>& source, std::vector<double>& decoded) {
  const auto& w = window();
  const std::size_t frames = frameCount(source.size());
  std::vector<double> energyDb(frames);
  for (std::size_t f = 0; f < frames; ++f) {
    double sum = 0.0;
    for (int n = 0; n < kFrame; ++n) {
      const double v = w[n] * source[f * kHop + n];
      sum += v * v;
    }
    energyDb[f] = 20.0 * std::log10(std::sqrt(sum) / std::sqrt(double(kFrame)) + 1e-300);
  }
  const double loudest = frames ? *std::max_element(energyDb.begin(), energyDb.end()) : 0.0;
  std::vector<double> keptSource(source.size()), keptDecoded(source.size());
  std::size_t kept = 0;
  for (std::size_t f = 0; f < frames; ++f) {
    if (energyDb[f] - loudest + kDynamicRangeDb <= 0.0) continue;
    for (int n = 0; n < kFrame; ++n) {
      keptSource[kept * kHop + n] += w[n] * source[f * kHop + n];
      keptDecoded[kept * kHop + n] += w[n] * decoded[f * kHop + n];
    }
    ++kept;
  }
  const std::size_t length = kept ? (kept - 1) * kHop + kFrame : 0;
  keptSource.resize(length);
  keptDecoded.resize(length);
  source = std::move(keptSource);
  decoded = std::move(keptDecoded);
}

// In-place radix-2 DFT of kFft points.
void transform(std::array<std::complex<double>, kFft>& x) {
  for (int i = 1, j = 0; i < kFft; ++i) {
    int bit = kFft >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (int length = 2; length <= kFft; length <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2.0 * kPi / length);
    for (int start = 0; start < kFft; start += length) {
      std::complex<double> turn = 1.0;
      for (int k = 0; k < length / 2; ++k) {
        const std::complex<double> a = x[start + k], b = x[start + k + length / 2] * turn;
        x[start + k] = a + b;
        x[start + k + length / 2] = a - b;
        turn *= step;
      }
    }
  }
}

// The first and one-past-last DFT bin of each one-third-octave band: the bins
// nearest its lower and upper edges, the geometric means of its centre with
// its neighbours' centres.
struct Band {
  int first = 0, end = 0;
};

std::array<Band, kBands> bands() {
  std::array<Band, kBands> result{};
  const auto nearestBin = [](double hz) {
    return static_cast<int>(std::lround(hz * kFft / kRate));
  };
  for (int b = 0; b < kBands; ++b) {
    const double lower = kLowestCentreHz * std::pow(2.0, (2.0 * b - 1.0) / 6.0);
    const double upper = kLowestCentreHz * std::pow(2.0, (2.0 * b + 1.0) / 6.0);
    result[b] = {nearestBin(lower), std::min(nearestBin(upper), kBins)};
  }
  return result;
}

// Band envelopes, envelope[frame][band].
std::vector<std::array<double, kBands>> envelopes(const std::vector<double>& signal) {
  const auto& w = window();
  static const auto bandEdges = bands();
  const std::size_t frames = frameCount(signal.size());
  std::vector<std::array<double, kBands>> out(frames);
  std::array<std::complex<double>, kFft> spectrum;
  for (std::size_t f = 0; f < frames; ++f) {
    spectrum.fill(0.0);
    for (int n = 0; n < kFrame; ++n) spectrum[n] = w[n] * signal[f * kHop + n];
    transform(spectrum);
    for (int b = 0; b < kBands; ++b) {
      double power = 0.0;
      for (int k = bandEdges[b].first; k < bandEdges[b].end; ++k) power += std::norm(spectrum[k]);
      out[f][b] = std::sqrt(power);
    }
  }
  return out;
}

double correlation(const std::array<double, kSegment>& x, const std::array<double, kSegment>& y) {
  const double meanX = std::accumulate(x.begin(), x.end(), 0.0) / kSegment;
  const double meanY = std::accumulate(y.begin(), y.end(), 0.0) / kSegment;
  double xy = 0.0, xx = 0.0, yy = 0.0;
  for (int i = 0; i < kSegment; ++i) {
    xy += (x[i] - meanX) * (y[i] - meanY);
    xx += (x[i] - meanX) * (x[i] - meanX);
    yy += (y[i] - meanY) * (y[i] - meanY);
  }
  // A flat envelope carries nothing a listener could follow.
  return xx > 0.0 && yy > 0.0 ? xy / std::sqrt(xx * yy) : 0.0;
}

}  // namespace

std::optional<double> shortTimeIntelligibility(std::span<const int16_t> source,
                                               std::span<const int16_t> decoded,
                                               std::size_t delay, int sampleRate) {
  if (sampleRate <= 0 || decoded.size() <= delay) return std::nullopt;
  const std::size_t usable = std::min(source.size(), decoded.size() - delay);
  std::vector<double> x = resampled(source.first(usable), sampleRate);
  std::vector<double> y = resampled(decoded.subspan(delay, usable), sampleRate);
  if (x.empty() || x.size() != y.size()) return std::nullopt;
  removeSilentFrames(x, y);
  const auto sourceBands = envelopes(x);
  const auto decodedBands = envelopes(y);
  if (sourceBands.size() < kSegment) return std::nullopt;

  double sum = 0.0;
  std::size_t count = 0;
  for (std::size_t last = kSegment - 1; last < sourceBands.size(); ++last) {
    for (int b = 0; b < kBands; ++b) {
      std::array<double, kSegment> xs{}, ys{};
      double xEnergy = 0.0, yEnergy = 0.0;
      for (int i = 0; i < kSegment; ++i) {
        xs[i] = sourceBands[last + 1 - kSegment + i][b];
        ys[i] = decodedBands[last + 1 - kSegment + i][b];
        xEnergy += xs[i] * xs[i];
        yEnergy += ys[i] * ys[i];
      }
      if (yEnergy > 0.0) {
        const double scale = std::sqrt(xEnergy / yEnergy);
        for (int i = 0; i < kSegment; ++i) ys[i] = std::min(ys[i] * scale, xs[i] * (1.0 + kClipFactor));
        sum += correlation(xs, ys);
      }
      ++count;
    }
  }
  return sum / static_cast<double>(count);
}

}  // namespace zv::quality
