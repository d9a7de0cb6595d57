// The word-at-a-time packer and reader against a bit-by-bit model.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "codec/music/bit_packer.h"

namespace zv::qv160mx {
namespace {

struct Field {
  uint32_t value;
  int width;
};

std::vector<Field> randomFields(std::mt19937& random, int count) {
  std::vector<Field> fields;
  std::uniform_int_distribution<int> width(1, 32);
  for (int i = 0; i < count; ++i) {
    const int w = width(random);
    const uint32_t mask = w == 32 ? 0xFFFFFFFFu : ((1u << w) - 1u);
    fields.push_back({static_cast<uint32_t>(random()) & mask, w});
  }
  return fields;
}

// MSB-first bytes, one bit at a time, zero-filled to the byte.
std::vector<uint8_t> packBitByBit(const std::vector<Field>& fields) {
  std::vector<uint8_t> bytes;
  size_t bit = 0;
  for (const Field& f : fields) {
    for (int i = f.width - 1; i >= 0; --i, ++bit) {
      if (bit % 8 == 0) bytes.push_back(0);
      if ((f.value >> i) & 1u) bytes.back() |= static_cast<uint8_t>(0x80u >> (bit % 8));
    }
  }
  return bytes;
}

TEST(MusicBitPacker, WriterMatchesBitByBitPackingAndReaderReturnsTheFields) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const auto fields = randomFields(random, 1 + trial % 24);
    const auto expected = packBitByBit(fields);
    std::vector<uint8_t> out(expected.size() + 8, 0xEE);
    BitWriter writer(out.data(), expected.size());
    for (const Field& f : fields) writer.put(f.value, f.width);
    ASSERT_EQ(writer.finish(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin()));
    EXPECT_EQ(out[expected.size()], 0xEE) << "wrote past the capacity";

    // Read back from a buffer of exactly the packed size.
    const std::vector<uint8_t> exact(expected);
    BitReader reader(exact.data(), exact.size());
    for (const Field& f : fields) ASSERT_EQ(reader.get(f.width), f.value);
  }
}

TEST(MusicBitPacker, FieldsCrossByteBoundariesMostSignificantBitFirst) {
  uint8_t out[4] = {};
  BitWriter writer(out, sizeof out);
  writer.put(0x1F, 5);   // 11111
  writer.put(0x0, 3);    // 000
  writer.put(0x5, 3);    // 101
  writer.put(0x1FFF, 13);
  ASSERT_EQ(writer.finish(), 3u);
  EXPECT_EQ(out[0], 0xF8);
  EXPECT_EQ(out[1], 0xBF);  // 101 11111
  EXPECT_EQ(out[2], 0xFF);  // 11111111
}

TEST(MusicBitPacker, OverflowReportsZeroAndStaysInsideTheBuffer) {
  std::vector<uint8_t> out(10, 0xEE);
  BitWriter writer(out.data(), 5);
  for (int i = 0; i < 3; ++i) writer.put(0xABCDE, 20);  // 60 bits > 40
  EXPECT_EQ(writer.finish(), 0u);
  for (size_t i = 5; i < out.size(); ++i) EXPECT_EQ(out[i], 0xEE) << "byte " << i;
}

TEST(MusicBitPacker, ReaderGivesZerosPastTheEndWithoutReadingThere) {
  // Exactly three bytes on the heap: a read beyond them would be reported by
  // the address sanitizer.
  const std::vector<uint8_t> data = {0xFF, 0x00, 0xA5};
  BitReader reader(data.data(), data.size());
  EXPECT_EQ(reader.get(4), 0xFu);
  EXPECT_EQ(reader.get(16), 0xF00Au);
  EXPECT_EQ(reader.get(4), 0x5u);
  EXPECT_EQ(reader.get(32), 0u);
  EXPECT_EQ(reader.bitPosition(), 56u);
}

}  // namespace
}  // namespace zv::qv160mx
