// WaveFormat: the 18-byte wave format record (WAVEFORMATEX) that describes
// PCM samples, as stored in a WAV file's "fmt " chunk.
//
//   offset size field
//   0      2    formatTag        1 = PCM, 3 = IEEE float, 0xFFFE = extensible
//   2      2    channels
//   4      4    samplesPerSec    Hz
//   8      4    avgBytesPerSec
//   12     2    blockAlign       bytes per sample frame (all channels)
//   14     2    bitsPerSample
//   16     2    extraSize        bytes of format data after the record
#ifndef ZV_ENCODER_WAVE_FORMAT_H
#define ZV_ENCODER_WAVE_FORMAT_H

#include <array>
#include <cstddef>
#include <cstdint>

namespace zv {

inline constexpr std::size_t kWaveFormatSize = 18;
inline constexpr std::uint16_t kWaveFormatPcm = 1;
inline constexpr std::uint16_t kWaveFormatIeeeFloat = 3;
inline constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;
inline constexpr std::uint32_t kCodecSampleRateHz = 8000;

struct WaveFormat {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  std::uint16_t extraSize = 0;

  friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

// PCM, 1 channel, `samplesPerSec`, twice that in bytes per second, block
// alignment 2, 16 bits, extra size 0.
WaveFormat pcmMono16Format(std::uint32_t samplesPerSec);

// PCM, 1 channel, 8000 Hz, 16000 bytes per second, block alignment 2,
// 16 bits, extra size 0: what both codecs take, and the format of a
// recording.
WaveFormat codecPcmFormat();

// The 18 record bytes, little-endian.
std::array<std::uint8_t, kWaveFormatSize> serializeWaveFormat(const WaveFormat& format);

// True when `format` is PCM, mono, 8000 Hz, 16 bits: samples in it need no
// conversion.
bool isCodecPcm(const WaveFormat& format);

}  // namespace zv

#endif  // ZV_ENCODER_WAVE_FORMAT_H
