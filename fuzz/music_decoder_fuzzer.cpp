// libFuzzer target for the music decoder (QV160MX_Decode).
//
// The first input byte picks how the stream reader hands bytes to the
// decoder; the rest is the stream. The reader walks the stream the way the
// engine does, offering some count of the bytes left and stepping on by the
// count the decoder reports consumed. Every chunk is copied into a heap
// buffer of exactly the offered size, so a read beyond what the decoder was
// given is caught by the address sanitizer. The decoder must also keep its
// promises: a consumed count of 31..39 not above what was offered, 256 PCM
// bytes, and -2 exactly when fewer bytes than the frame were offered.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/music/frame_format.h"
#include <zv/qv160mx.h>

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// How many of the `left` bytes (starting at `next`) to offer for the next frame.
size_t offeredCount(uint8_t mode, const uint8_t* next, size_t left, size_t step) {
  size_t count;
  switch (mode % 4) {
    case 0: count = 39; break;                            // the engine: the largest frame
    case 1: count = 65535; break;                         // everything, up to a 16-bit count
    case 2:                                               // a reader that knows the length
      count = left >= 5 ? static_cast<size_t>(zv::qv160mx::frameBytesFromHeader(next)) : left;
      break;
    default: count = 25 + (step * 7 + mode) % 20; break;  // 25..44, varying per frame
  }
  return count < left ? count : left;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const uint8_t* stream = data + 1;
  size_t left = size - 1;

  void* decoder = QV160MX_Open_Decoder(1);
  if (decoder == nullptr) return 0;
  std::vector<uint8_t> pcm(300);
  for (size_t step = 0; left > 0 && step < 4096; ++step) {
    const size_t offered = offeredCount(mode, stream, left, step);
    std::vector<uint8_t> chunk(stream, stream + offered);  // exactly `offered` bytes
    uint16_t codedBytes = static_cast<uint16_t>(offered);
    uint16_t pcmBytes = (mode & 0x80) ? 300 : 256;
    const int32_t result = QV160MX_Decode(decoder, chunk.data(), &codedBytes, pcm.data(), &pcmBytes);
    if (offered < 31) {
      check(result == -2 && codedBytes == offered);
      break;
    }
    const int frameBytes = zv::qv160mx::frameBytesFromHeader(chunk.data());
    check(pcmBytes == 256);
    if (offered < static_cast<size_t>(frameBytes)) {
      check(result == -2 && codedBytes == offered);
      break;
    }
    check(result == 0 && codedBytes == frameBytes && frameBytes >= 31 && frameBytes <= 39);
    stream += codedBytes;
    left -= codedBytes;
  }
  QV160MX_Close_Decoder(decoder);
  return 0;
}
