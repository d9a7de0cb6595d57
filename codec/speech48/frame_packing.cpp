// Packing the frame fields, most significant bit first (frame_packing.h).
#include "codec/speech48/frame_packing.h"

namespace zv::qv48 {

namespace {

class BitWriter {
 public:
  explicit BitWriter(uint8_t* bytes) : bytes_(bytes) {
    for (int i = 0; i < kFrameBytes; ++i) bytes_[i] = 0;
  }
  void put(unsigned value, int bits) {
    for (int b = bits - 1; b >= 0; --b, ++position_) {
      if ((value >> b) & 1u) bytes_[position_ >> 3] |= static_cast<uint8_t>(0x80u >> (position_ & 7));
    }
  }

 private:
  uint8_t* bytes_;
  int position_ = 0;
};

class BitReader {
 public:
  explicit BitReader(const uint8_t* bytes) : bytes_(bytes) {}
  uint8_t get(int bits) {
    unsigned value = 0;
    for (int b = 0; b < bits; ++b, ++position_)
      value = (value << 1) | ((bytes_[position_ >> 3] >> (7 - (position_ & 7))) & 1u);
    return static_cast<uint8_t>(value);
  }

 private:
  const uint8_t* bytes_;
  int position_ = 0;
};

int lagBits(int subframe) { return subframe % 2 == 0 ? kAbsoluteLagBits : kDeltaLagBits; }

}  // namespace

void packFrame(const FrameFields& fields, uint8_t frame[kFrameBytes]) {
  BitWriter writer(frame);
  for (int i = 0; i < kOrder; ++i) writer.put(fields.lsf[i], kLsfBits[i]);
  for (int s = 0; s < kSubframes; ++s) {
    const SubframeFields& sub = fields.subframe[s];
    writer.put(sub.lag, lagBits(s));
    for (int p = 0; p < 3; ++p) writer.put(sub.pulse[p], kPulseBits[p]);
    writer.put(sub.signs, kSignBits);
    writer.put(sub.pitchGain, kPitchGainBits);
    writer.put(sub.codeGain, kCodeGainBits);
  }
}

void unpackFrame(const uint8_t frame[kFrameBytes], FrameFields& fields) {
  BitReader reader(frame);
  for (int i = 0; i < kOrder; ++i) fields.lsf[i] = reader.get(kLsfBits[i]);
  for (int s = 0; s < kSubframes; ++s) {
    SubframeFields& sub = fields.subframe[s];
    sub.lag = reader.get(lagBits(s));
    for (int p = 0; p < 3; ++p) sub.pulse[p] = reader.get(kPulseBits[p]);
    sub.signs = reader.get(kSignBits);
    sub.pitchGain = reader.get(kPitchGainBits);
    sub.codeGain = reader.get(kCodeGainBits);
  }
}

int pulsePosition(int which, int index) {
  if (which < 2) return which + kTrackStep * index;
  const int track = index < 16 ? 2 : 3;
  return track + kTrackStep * (index & 15);
}

}  // namespace zv::qv48
