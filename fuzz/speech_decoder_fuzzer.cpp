// libFuzzer target: arbitrary bytes through the speech decoder.
//
// The first byte picks the sample format (bit 0: 8-bit) and whether the
// counts passed to QV80_Decode are the right ones (bit 1 clear) or taken
// from the next two bytes; the rest is cut into 20-byte frames, so frames
// carry every field value, including lags from 6 to 163. The library's
// bounds checks (compiled into this build) trap on any read outside the
// excitation histories, AddressSanitizer on any other stray access, and
// UBSan on a non-finite value converted to an integer.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <zv/qv80.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  ++data;
  --size;
  const bool eightBit = mode & 1;
  const uint16_t framePcmBytes = eightBit ? 160 : 320;
  uint16_t codedCount = 20, pcmCount = framePcmBytes;
  if ((mode & 2) && size >= 2) {
    codedCount = data[0];
    pcmCount = static_cast<uint16_t>(data[1] * 2);
    data += 2;
    size -= 2;
  }

  void* decoder = QV80_Open_Decoder(eightBit ? ZV_CODEC_FLAG_8BIT : 1);
  if (!decoder) return 0;
  uint8_t pcm[320];
  for (size_t offset = 0; offset + 20 <= size; offset += 20) {
    uint16_t inCount = codedCount, outCount = pcmCount;
    const int32_t result = QV80_Decode(decoder, data + offset, &inCount, pcm, &outCount);
    const bool rightCounts = codedCount == 20 && pcmCount == framePcmBytes;
    if (result != (rightCounts ? 0 : ZV_CODEC_BAD_SIZES)) __builtin_trap();
    if (inCount != codedCount || outCount != pcmCount) __builtin_trap();  // counts never change
  }
  QV80_Close_Decoder(decoder);
  return 0;
}
