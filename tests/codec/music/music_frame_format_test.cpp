// Level allocation, frame lengths and the header that announces them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "codec/music/frame_format.h"

namespace zv::qv160mx {
namespace {

TEST(MusicAllocation, StepBoundariesBelongToTheHigherStep) {
  struct Case {
    int32_t scaleValue;
    int32_t maxLevels;
    int levels;
  };
  const Case cases[] = {
      {1, 9, 3},    {1249, 9, 3}, {1250, 9, 5}, {2499, 9, 5}, {2500, 9, 7},
      {4999, 9, 7}, {5000, 9, 9}, {9000, 9, 9},
      // band 2 (at most 5 levels)
      {1249, 5, 3}, {1250, 5, 5}, {2500, 5, 5}, {9000, 5, 5},
      // bands 3..7 (at most 3 levels)
      {1250, 3, 3}, {5000, 3, 3}, {9000, 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(levelsForScale(c.scaleValue, c.maxLevels, kAllocScale), c.levels)
        << "scale " << c.scaleValue << ", at most " << c.maxLevels;
  }
}

TEST(MusicAllocation, EncoderAndDecoderTablesAgreeOnEveryIndex) {
  // The tables differ only in entry 0 (5 against 1); both must give 3 levels.
  for (int band = 0; band < kBandCount; ++band) {
    for (int index = 0; index < kScaleCount; ++index) {
      EXPECT_EQ(levelsForScale(kScaleTable[index], kBandMaxLevels[band], kAllocScale),
                levelsForScale(kDecoderScaleTable[index], kBandMaxLevels[band], kAllocScale))
          << "band " << band << ", index " << index;
    }
  }
}

// Header bytes carrying the given eight scale indices, 5 bits each, band 0 in
// the top bits of byte 0.
std::array<uint8_t, 5> headerFor(const uint8_t (&indices)[8]) {
  uint64_t bits = 0;
  for (uint8_t index : indices) bits = (bits << 5) | index;
  std::array<uint8_t, 5> header{};
  for (int i = 0; i < 5; ++i) header[static_cast<size_t>(i)] = static_cast<uint8_t>(bits >> (32 - 8 * i));
  return header;
}

TEST(MusicFrameLength, EveryHeaderGivesThirtyOneToThirtyNineBytesButNeverThirtyTwo) {
  // Only bands 0..2 can leave 3 levels, so their 32^3 index combinations
  // cover every length the format can take.
  std::set<int> lengths;
  for (int i0 = 0; i0 < 32; ++i0) {
    for (int i1 = 0; i1 < 32; ++i1) {
      for (int i2 = 0; i2 < 32; ++i2) {
        const uint8_t indices[8] = {static_cast<uint8_t>(i0), static_cast<uint8_t>(i1),
                                    static_cast<uint8_t>(i2), 31, 31, 31, 31, 31};
        const auto header = headerFor(indices);
        lengths.insert(frameBytesFromHeader(header.data()));
      }
    }
  }
  EXPECT_EQ(lengths, (std::set<int>{31, 33, 34, 35, 36, 37, 38, 39}));
}

TEST(MusicFrameLength, KnownHeaders) {
  struct Case {
    uint8_t indices[8];
    int bytes;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0}, 31},          // silence: 40 + 16 * 13 = 248 bits
      {{31, 31, 31, 31, 31, 31, 31, 31}, 39},  // 40 + 2 * (26 + 26 + 19) + 10 * 13 = 312
      {{31, 0, 0, 0, 0, 0, 0, 0}, 35},         // band 0 at 9 levels: 274 bits
      {{19, 0, 0, 0, 0, 0, 0, 0}, 31},         // 1211 < 1250: still 3 levels
      {{20, 0, 0, 0, 0, 0, 0, 0}, 33},         // 1422 -> 5 levels: 260 bits
      {{0, 0, 31, 0, 0, 0, 0, 0}, 33},         // band 2 tops out at 5 levels
      {{24, 0, 0, 0, 0, 0, 0, 0}, 34},         // 2705 -> 7 levels: 268 bits
      {{31, 31, 0, 0, 0, 0, 0, 0}, 38},        // bands 0, 1 at 9 levels: 300 bits
      {{0, 0, 0, 31, 31, 31, 31, 31}, 31},     // bands 3..7 never leave 3 levels
  };
  for (const Case& c : cases) {
    const auto header = headerFor(c.indices);
    uint8_t read[8];
    readScaleIndices(header.data(), read);
    EXPECT_TRUE(std::equal(read, read + 8, c.indices));
    EXPECT_EQ(frameBytesFromHeader(header.data()), c.bytes)
        << "indices " << int(c.indices[0]) << " " << int(c.indices[1]) << " " << int(c.indices[2]);
  }
}

}  // namespace
}  // namespace zv::qv160mx
