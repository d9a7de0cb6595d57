#include "codec/music/bit_packer.h"

namespace zv::qv160mx {

void BitWriter::storeWord(uint32_t word) {
  if (bytes_ + 4 > capacity_) {
    overflow_ = true;
    return;
  }
  const uint32_t bigEndian = __builtin_bswap32(word);
  __builtin_memcpy(out_ + bytes_, &bigEndian, sizeof bigEndian);
  bytes_ += 4;
}

size_t BitWriter::finish() {
  const int tailBytes = (pending_bits_ + 7) / 8;
  if (overflow_ || bytes_ + static_cast<size_t>(tailBytes) > capacity_) return 0;
  // Left-align the pending bits in a 32-bit word; the bits below are zero.
  const uint32_t word =
      pending_bits_ == 0 ? 0u : static_cast<uint32_t>(pending_ << (32 - pending_bits_));
  for (int i = 0; i < tailBytes; ++i) {
    out_[bytes_ + static_cast<size_t>(i)] = static_cast<uint8_t>(word >> (24 - 8 * i));
  }
  bytes_ += static_cast<size_t>(tailBytes);
  pending_bits_ = 0;
  return bytes_;
}

uint64_t BitReader::loadTail(size_t byte) const {
  uint64_t window = 0;
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = byte + i;
    window = (window << 8) | (at < size_ ? data_[at] : 0u);
  }
  return window;
}

}  // namespace zv::qv160mx
