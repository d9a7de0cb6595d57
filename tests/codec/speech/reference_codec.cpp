// Compiled against the reference build (qv80_reference), whose names live in
// zv::qv80_reference.
#include "reference_codec.h"

#include "codec/speech/lpc_filter.h"
#include "stream_coding.h"

#ifndef ZV_QV80_REFERENCE_ARITHMETIC
#error "reference_codec.cpp must be compiled against the reference build"
#endif

namespace zv::speechtest {

std::vector<uint8_t> referenceEncode(const std::vector<uint8_t>& pcm, bool eightBit) {
  return encodeWholeStream(pcm, eightBit, cpu::Arch::kScalar);
}

std::vector<uint8_t> referenceDecode(const std::vector<uint8_t>& frames, bool eightBit) {
  return decodeWholeStream(frames, eightBit, cpu::Arch::kScalar);
}

void referenceAllPoleFilter(const float* coefficients, const float* in, float* out, int n) {
  zv::qv80_reference::allPoleFilter(coefficients, in, out, n, cpu::Arch::kScalar);
}

}  // namespace zv::speechtest
