// libFuzzer target: arbitrary bytes through the speech decoder.
//
// The first bytes pick the sample format and the counts passed to
// QV80_Decode (frame_decode_mode.h); the rest is cut into 20-byte frames, so
// frames carry every field value, including lags from 6 to 163. The
// library's bounds checks (compiled into this build) trap on any read
// outside the excitation histories, AddressSanitizer on any other stray
// access, and UBSan on a non-finite value converted to an integer.
#include <cstddef>
#include <cstdint>

#include <zv/qv80.h>
#include "frame_decode_mode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FrameDecodeMode mode;
  if (!readFrameDecodeMode(data, size, 20, 320, mode)) return 0;
  void* decoder = QV80_Open_Decoder(mode.eightBit ? ZV_CODEC_FLAG_8BIT : 1);
  if (!decoder) return 0;
  uint8_t pcm[320];
  for (size_t offset = 0; offset + 20 <= mode.frameBytes; offset += 20) {
    uint16_t inCount = mode.codedCount, outCount = mode.pcmCount;
    const int32_t result = QV80_Decode(decoder, mode.frames + offset, &inCount, pcm, &outCount);
    if (result != (mode.rightCounts ? 0 : ZV_CODEC_BAD_SIZES)) __builtin_trap();
    if (inCount != mode.codedCount || outCount != mode.pcmCount) __builtin_trap();  // counts never change
  }
  QV80_Close_Decoder(decoder);
  return 0;
}
