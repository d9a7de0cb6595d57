// The first bytes of a fixed-frame decoder fuzzer's input: the sample format
// and the counts the decoder is called with.
//
// Byte 0, bit 0: 8-bit samples (half the PCM bytes); bit 1 clear: the right
// counts, set: the coded count and half the PCM count taken from the next
// two bytes. The rest of the input is the frames.
#ifndef ZV_FUZZ_FRAME_DECODE_MODE_H
#define ZV_FUZZ_FRAME_DECODE_MODE_H

#include <cstddef>
#include <cstdint>

struct FrameDecodeMode {
  bool eightBit = false;
  uint16_t framePcmBytes = 0;  // the right PCM count for the sample format
  uint16_t codedCount = 0;     // the counts each call passes
  uint16_t pcmCount = 0;
  bool rightCounts = false;
  const uint8_t* frames = nullptr;
  size_t frameBytes = 0;  // of input left for frames
};

// False when the input is empty.
inline bool readFrameDecodeMode(const uint8_t* data, size_t size, uint16_t codedBytes,
                                uint16_t pcmBytes16, FrameDecodeMode& mode) {
  if (size < 1) return false;
  const uint8_t first = data[0];
  ++data;
  --size;
  mode.eightBit = first & 1;
  mode.framePcmBytes = static_cast<uint16_t>(mode.eightBit ? pcmBytes16 / 2 : pcmBytes16);
  mode.codedCount = codedBytes;
  mode.pcmCount = mode.framePcmBytes;
  if ((first & 2) && size >= 2) {
    mode.codedCount = data[0];
    mode.pcmCount = static_cast<uint16_t>(data[1] * 2);
    data += 2;
    size -= 2;
  }
  mode.rightCounts = mode.codedCount == codedBytes && mode.pcmCount == mode.framePcmBytes;
  mode.frames = data;
  mode.frameBytes = size;
  return true;
}

#endif  // ZV_FUZZ_FRAME_DECODE_MODE_H
