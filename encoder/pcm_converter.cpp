#include "encoder/pcm_converter.h"

#include <soxr.h>

#include <cmath>
#include <limits>
#include <new>
#include <string>

#include "encoder/engine_strings.h"

namespace zv {

namespace {

// One sample of `bytes` bytes at `at`, as a signed value of that width.
std::int32_t sampleValue(const std::uint8_t* at, unsigned bytes) {
  switch (bytes) {
    case 1: return static_cast<std::int32_t>(at[0]) - 128;
    case 2: return static_cast<std::int16_t>(at[0] | (at[1] << 8));
    case 3: {
      const std::uint32_t raw = at[0] | (at[1] << 8) | (static_cast<std::uint32_t>(at[2]) << 16);
      return static_cast<std::int32_t>(raw << 8) >> 8;
    }
    default:
      return static_cast<std::int32_t>(at[0] | (at[1] << 8) | (at[2] << 16) |
                                       (static_cast<std::uint32_t>(at[3]) << 24));
  }
}

std::int16_t clampTo16(double value) {
  const long rounded = std::lrint(value);
  if (rounded > 32767) return 32767;
  if (rounded < -32768) return -32768;
  return static_cast<std::int16_t>(rounded);
}

// Mean of the channels of each frame, scaled to the 16-bit range:
// x16 = x * 2^(16 - 8 * bytes).
std::vector<std::int16_t> mixToMono16(const WaveFormat& source,
                                      const std::vector<std::uint8_t>& samples) {
  const unsigned channels = source.channels;
  const unsigned bytes = source.blockAlign / channels;
  const std::size_t frames = samples.size() / source.blockAlign;
  const double scale = std::ldexp(1.0, 16 - 8 * static_cast<int>(bytes));
  std::vector<std::int16_t> mono(frames);
  const std::uint8_t* at = samples.data();
  for (std::size_t frame = 0; frame < frames; ++frame) {
    std::int64_t sum = 0;
    for (unsigned channel = 0; channel < channels; ++channel, at += bytes)
      sum += sampleValue(at, bytes);
    mono[frame] = clampTo16(static_cast<double>(sum) / channels * scale);
  }
  return mono;
}

}  // namespace

bool isConvertiblePcmLayout(const WaveFormat& format) {
  if (format.formatTag != kWaveFormatPcm || format.channels == 0 || format.samplesPerSec == 0)
    return false;
  if (format.bitsPerSample == 0 || format.bitsPerSample > 32) return false;
  const unsigned bytes = (format.bitsPerSample + 7u) / 8u;
  return format.blockAlign == format.channels * bytes;
}

bool ConvertPcm(const WaveFormat& source, std::vector<std::uint8_t> samples, WaveFormat& target,
                std::vector<std::uint8_t>& converted, GuardedText& lastError) {
  converted.clear();
  if (!isConvertiblePcmLayout(source)) {
    lastError.set(engineMessage(kIdsWavImpossibleFormat));
    return false;
  }
  if (source.samplesPerSec < kMinSourceRateHz || source.samplesPerSec > kMaxSourceRateHz) {
    lastError.set(engineMessage(kIdsWavRateNotConvertible, std::to_string(source.samplesPerSec)));
    return false;
  }

  try {
    std::vector<std::int16_t> mono = mixToMono16(source, samples);
    std::vector<std::uint8_t>().swap(samples);  // release the source now

    std::vector<std::int16_t> resampled;
    if (source.samplesPerSec == kCodecSampleRateHz) {
      resampled = std::move(mono);
    } else {
      // Room for ceil(frames * 8000 / rate) samples and a little slack;
      // the resampler reports how many it produced.
      const std::uint64_t capacity =
          (static_cast<std::uint64_t>(mono.size()) * kCodecSampleRateHz + source.samplesPerSec -
           1) / source.samplesPerSec + 2;
      if (capacity * 2 > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
      resampled.resize(static_cast<std::size_t>(capacity));
      const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
      soxr_io_spec_t ioNoDither = io;
      ioNoDither.flags |= SOXR_NO_DITHER;
      const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
      const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
      std::size_t produced = 0;
      const soxr_error_t error = soxr_oneshot(
          source.samplesPerSec, kCodecSampleRateHz, 1, mono.data(), mono.size(), nullptr,
          resampled.data(), resampled.size(), &produced, &ioNoDither, &quality, &runtime);
      if (error) {
        lastError.set(engineMessage(kIdsConversionFailed));
        return false;
      }
      std::vector<std::int16_t>().swap(mono);
      resampled.resize(produced);
    }

    if (resampled.size() * 2 > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    converted.resize(resampled.size() * 2);
    for (std::size_t i = 0; i < resampled.size(); ++i) {
      const auto value = static_cast<std::uint16_t>(resampled[i]);
      converted[2 * i] = static_cast<std::uint8_t>(value);
      converted[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
  } catch (const std::bad_alloc&) {
    converted.clear();
    lastError.set(engineMessage(kIdsWavOutOfMemory));
    return false;
  }
  target = codecPcmFormat();
  return true;
}

}  // namespace zv
