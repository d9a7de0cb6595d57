// The two information records with this codec's values.
#include <zv/qv160mx.h>
#include "codec/codec_records.h"
#include "codec/music/tables.h"

namespace {

constexpr char kDisplayName[] = "QV160MX Codec (16kbps,8kHz)";
static_assert(sizeof kDisplayName == 28, "27 characters and the NUL");

constexpr zv::codec::CodecRecords kRecords = {
    1, 0x00030000,  // version 3.0
    zv::qv160mx::kFramePcmBytes, zv::qv160mx::kMaxFrameBytes, zv::qv160mx::kMinFrameBytes,
    2000, {1, 1, 1, 0}, 1, kDisplayName, kDisplayName};

}  // namespace

extern "C" {

CodecInfo* QV160MX_GetCodecInfo(CodecInfo* info) {
  return zv::codec::fillCodecInfo(info, kRecords);
}

void QV160MX_GetCodecInfoEx(CodecInfoEx* info, uint32_t size) {
  zv::codec::fillCodecInfoEx(info, size, kRecords);
}

}  // extern "C"
