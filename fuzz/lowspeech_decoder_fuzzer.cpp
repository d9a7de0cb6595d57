// libFuzzer target: arbitrary bytes through the low-rate speech decoder.
//
// The first bytes pick the sample format and the counts
// (frame_decode_mode.h); the rest is cut into 18-byte frames, so that every
// field takes every value (lags at both ends of 20..147, pulse indices that
// name no position, gains at their extremes). AddressSanitizer traps on any
// read outside the histories and UBSan on any overflow of the codec's
// integers; a second decoder fed the same frames must give the same samples.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <zv/qv48.h>
#include "frame_decode_mode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FrameDecodeMode mode;
  if (!readFrameDecodeMode(data, size, 18, 480, mode)) return 0;
  const uint32_t flags = mode.eightBit ? ZV_CODEC_FLAG_8BIT : 1;
  void* decoder = QV48_Open_Decoder(flags);
  void* twin = QV48_Open_Decoder(flags);
  if (!decoder || !twin) {
    QV48_Close_Decoder(decoder);
    QV48_Close_Decoder(twin);
    return 0;
  }
  uint8_t pcm[480], twinPcm[480];
  for (size_t offset = 0; offset + 18 <= mode.frameBytes; offset += 18) {
    const uint8_t* frame = mode.frames + offset;
    uint16_t inCount = mode.codedCount, outCount = mode.pcmCount;
    const int32_t result = QV48_Decode(decoder, frame, &inCount, pcm, &outCount);
    if (result != (mode.rightCounts ? 0 : ZV_CODEC_BAD_SIZES)) __builtin_trap();
    if (inCount != mode.codedCount || outCount != mode.pcmCount) __builtin_trap();
    if (!mode.rightCounts) continue;
    uint16_t twinIn = 18, twinOut = mode.framePcmBytes;
    if (QV48_Decode(twin, frame, &twinIn, twinPcm, &twinOut) != 0) __builtin_trap();
    if (std::memcmp(pcm, twinPcm, mode.framePcmBytes) != 0) __builtin_trap();
  }
  QV48_Close_Decoder(decoder);
  QV48_Close_Decoder(twin);
  return 0;
}
