#include "encoder/wave_format.h"

#include "encoder/byte_order.h"

namespace zv {

WaveFormat pcmMono16Format(std::uint32_t samplesPerSec) {
  WaveFormat format;
  format.formatTag = kWaveFormatPcm;
  format.channels = 1;
  format.samplesPerSec = samplesPerSec;
  format.avgBytesPerSec = samplesPerSec * 2;
  format.blockAlign = 2;
  format.bitsPerSample = 16;
  format.extraSize = 0;
  return format;
}

WaveFormat codecPcmFormat() { return pcmMono16Format(kCodecSampleRateHz); }

std::array<std::uint8_t, kWaveFormatSize> serializeWaveFormat(const WaveFormat& format) {
  std::array<std::uint8_t, kWaveFormatSize> bytes{};
  putLE16(&bytes[0], format.formatTag);
  putLE16(&bytes[2], format.channels);
  putLE32(&bytes[4], format.samplesPerSec);
  putLE32(&bytes[8], format.avgBytesPerSec);
  putLE16(&bytes[12], format.blockAlign);
  putLE16(&bytes[14], format.bitsPerSample);
  putLE16(&bytes[16], format.extraSize);
  return bytes;
}

bool isCodecPcm(const WaveFormat& format) {
  return format.formatTag == kWaveFormatPcm && format.channels == 1 &&
         format.samplesPerSec == kCodecSampleRateHz && format.bitsPerSample == 16;
}

}  // namespace zv
