// QV48W's two information records.
#include <zv/qv48.h>
#include "codec/codec_records.h"
#include "codec/speech48/lowrate_constants.h"

namespace {

constexpr char kShortName[] = "Quaverline(TM)48 Codec";
constexpr char kLongName[] = "Quaverline(TM)48 Codec (4.8 kbps, 8 kHz)";
static_assert(sizeof kShortName <= sizeof(CodecInfo{}.name));
static_assert(sizeof kLongName <= sizeof(CodecInfoEx{}.name));

// Identifier 48: no other codec of the system uses it (QV80W has 2022,
// QV160MXW 1). The capability words are those of the other speech codec.
constexpr zv::codec::CodecRecords kRecords = {
    48,          0x00030000,  // version 3.0, as the other two
    2 * zv::qv48::kFrameSamples, zv::qv48::kFrameBytes, zv::qv48::kFrameBytes,
    600,  // 4800 bit/s
    {0, 0, 1, 1}, 1,           kShortName, kLongName};

}  // namespace

extern "C" CodecInfo* QV48_GetCodecInfo(CodecInfo* info) {
  return zv::codec::fillCodecInfo(info, kRecords);
}

extern "C" void QV48_GetCodecInfoEx(CodecInfoEx* info, uint32_t size) {
  zv::codec::fillCodecInfoEx(info, size, kRecords);
}
