// Bit packing of frame fields, most significant bit first, a machine word at
// a time: the writer gathers fields in a 64-bit register and stores 32 bits
// at once; the reader loads 64 bits at once and takes the top bits. Fields
// are 1..32 bits wide.
#ifndef ZV_CODEC_MUSIC_BIT_PACKER_H
#define ZV_CODEC_MUSIC_BIT_PACKER_H

#include <cstddef>
#include <cstdint>

namespace zv::qv160mx {

class BitWriter {
 public:
  // Writes into out[0 .. capacityBytes - 1]; the caller keeps the buffer.
  BitWriter(uint8_t* out, size_t capacityBytes) : out_(out), capacity_(capacityBytes) {}

  // Appends the low `width` bits of `value` (1 <= width <= 32), top bit first.
  // Bits of `value` above `width` must be zero.
  void put(uint32_t value, int width) {
    pending_ = (pending_ << width) | value;
    pending_bits_ += width;
    if (pending_bits_ >= 32) {
      pending_bits_ -= 32;
      storeWord(static_cast<uint32_t>(pending_ >> pending_bits_));
    }
  }

  // Zero-fills the last byte and stores the rest. Returns the number of bytes
  // written, or 0 when the fields did not fit in the capacity (nothing beyond
  // the capacity is ever written).
  size_t finish();

 private:
  void storeWord(uint32_t word);

  uint8_t* out_;
  size_t capacity_;
  size_t bytes_ = 0;           // whole bytes stored so far
  uint64_t pending_ = 0;       // fields not yet stored, newest in the low bits
  int pending_bits_ = 0;        // 0..31 between calls
  bool overflow_ = false;
};

class BitReader {
 public:
  // Reads from data[0 .. sizeBytes - 1] only; bits past the end read as 0.
  BitReader(const uint8_t* data, size_t sizeBytes) : data_(data), size_(sizeBytes) {}

  // Takes the next `width` bits (1 <= width <= 32), first bit most significant.
  uint32_t get(int width) {
    const size_t byte = bit_position_ >> 3;
    const uint64_t window = byte + 8 <= size_ ? loadBigEndian64(data_ + byte) : loadTail(byte);
    const uint32_t value =
        static_cast<uint32_t>((window << (bit_position_ & 7)) >> (64 - width));
    bit_position_ += static_cast<size_t>(width);
    return value;
  }

  // Passes over `bits` bits without reading them.
  void skip(size_t bits) { bit_position_ += bits; }

  size_t bitPosition() const { return bit_position_; }

 private:
  static uint64_t loadBigEndian64(const uint8_t* p) {
    uint64_t word;
    __builtin_memcpy(&word, p, sizeof word);
    return __builtin_bswap64(word);
  }
  // The eight bytes from `byte` on, with zeros for those past the end.
  uint64_t loadTail(size_t byte) const;

  const uint8_t* data_;
  size_t size_;
  size_t bit_position_ = 0;
};

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_BIT_PACKER_H
