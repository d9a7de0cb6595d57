// The speech codec's two information records.
#include <zv/qv80.h>
#include "codec/codec_records.h"

namespace {

constexpr char kShortName[] = "Quaverline(TM)80 Codec";
constexpr char kLongName[] = "Quaverline(TM)80 Codec (8.0 kbps, 8 kHz)";
static_assert(sizeof kShortName == 23 && sizeof kShortName <= sizeof(CodecInfo{}.name));
static_assert(sizeof kLongName == 41 && sizeof kLongName <= sizeof(CodecInfoEx{}.name));

constexpr zv::codec::CodecRecords kRecords = {
    2022, 0x00030000,  // version 3.0
    320,  20, 20, 1000, {0, 0, 1, 1}, 1, kShortName, kLongName};

}  // namespace

extern "C" CodecInfo* QV80_GetCodecInfo(CodecInfo* info) {
  return zv::codec::fillCodecInfo(info, kRecords);
}

extern "C" void QV80_GetCodecInfoEx(CodecInfoEx* info, uint32_t size) {
  zv::codec::fillCodecInfoEx(info, size, kRecords);
}
