// Field placement of the 20-byte speech frame (layout in frame_packing.h).
#include "codec/speech/frame_packing.h"

namespace zv::ZV_QV80_NAMESPACE {
namespace {

// Value of `width` bits of `word` whose lowest bit is `low`.
constexpr int field(uint16_t word, int low, int width) {
  return (word >> low) & ((1 << width) - 1);
}

// `value` masked to `width` bits and moved to bit `low`.
constexpr uint16_t place(int value, int low, int width) {
  return static_cast<uint16_t>((static_cast<unsigned>(value) & ((1u << width) - 1u)) << low);
}

constexpr int kFirstLagOffset = kMinLag;  // subframe 0 carries lag − 20
constexpr int kLagDeltaOffset = 7;        // subframes 1, 2 carry lag − previous + 7

}  // namespace

void unpackFrame(const uint8_t* bytes, FrameParameters& p) {
  uint16_t w[kFrameWords];
  for (int i = 0; i < kFrameWords; ++i)
    w[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));

  SubframeParameters* s = p.subframe;
  s[0].lag = field(w[0], 9, 7) + kFirstLagOffset;
  p.lsfIndex[0] = field(w[0], 5, 4);
  p.lsfIndex[1] = field(w[0], 0, 5);
  for (int k = 0; k < kSubframeCount; ++k) {
    s[k].pulsePosition = field(w[1 + k], 10, 6);
    s[k].pitchGainIndex = field(w[1 + k], 5, 5);
    s[k].pulseGainIndex = field(w[1 + k], 0, 5);
  }
  s[2].trainCode = field(w[4], 2, 14);
  p.lsfIndex[9] = field(w[4], 0, 2);
  s[0].trainGainIndex = field(w[5], 11, 5);
  s[1].trainGainIndex = field(w[5], 6, 5);
  p.lsfIndex[7] = field(w[5], 3, 3);
  p.lsfIndex[8] = field(w[5], 0, 3);
  p.lsfIndex[5] = field(w[6], 12, 4);
  p.lsfIndex[6] = field(w[6], 8, 4);
  s[1].lag = s[0].lag + field(w[6], 4, 4) - kLagDeltaOffset;
  s[2].lag = s[1].lag + field(w[6], 0, 4) - kLagDeltaOffset;
  p.lsfIndex[2] = field(w[7], 11, 5);
  p.lsfIndex[4] = field(w[7], 6, 5);
  p.lsfIndex[3] = field(w[7], 2, 4);
  s[0].trainCode = field(w[8], 1, 15);
  s[1].trainCode = field(w[9], 2, 14);
  s[2].trainGainIndex = (field(w[7], 0, 2) << 3) | (field(w[9], 0, 2) << 1) | field(w[8], 0, 1);
}

void packFrame(const FrameParameters& p, uint8_t* bytes) {
  const SubframeParameters* s = p.subframe;
  const int tg2 = s[2].trainGainIndex;
  uint16_t w[kFrameWords];
  w[0] = place(s[0].lag - kFirstLagOffset, 9, 7) | place(p.lsfIndex[0], 5, 4) |
         place(p.lsfIndex[1], 0, 5);
  for (int k = 0; k < kSubframeCount; ++k)
    w[1 + k] = place(s[k].pulsePosition, 10, 6) | place(s[k].pitchGainIndex, 5, 5) |
               place(s[k].pulseGainIndex, 0, 5);
  w[4] = place(s[2].trainCode, 2, 14) | place(p.lsfIndex[9], 0, 2);
  w[5] = place(s[0].trainGainIndex, 11, 5) | place(s[1].trainGainIndex, 6, 5) |
         place(p.lsfIndex[7], 3, 3) | place(p.lsfIndex[8], 0, 3);
  w[6] = place(p.lsfIndex[5], 12, 4) | place(p.lsfIndex[6], 8, 4) |
         place(s[1].lag - s[0].lag + kLagDeltaOffset, 4, 4) |
         place(s[2].lag - s[1].lag + kLagDeltaOffset, 0, 4);
  w[7] = place(p.lsfIndex[2], 11, 5) | place(p.lsfIndex[4], 6, 5) | place(p.lsfIndex[3], 2, 4) |
         place(tg2 >> 3, 0, 2);
  w[8] = place(s[0].trainCode, 1, 15) | place(tg2, 0, 1);
  w[9] = place(s[1].trainCode, 2, 14) | place(tg2 >> 1, 0, 2);
  for (int i = 0; i < kFrameWords; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(w[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(w[i] >> 8);
  }
}

}  // namespace zv::ZV_QV80_NAMESPACE
