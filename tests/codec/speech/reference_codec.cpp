// Compiled against the reference build (qv80_reference), whose names live in
// zv::qv80_reference.
#include "reference_codec.h"

#include "codec/speech/lpc_filter.h"
#include "codec/speech/lsf_reconstruct.h"
#include "codec/speech/lsf_to_lpc.h"
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

float referencePolynomialFactorStep(const float* p, float c) {
  return zv::qv80_reference::polynomialFactorStep(p, c);
}

float referenceLpcCoefficient(const float* p, const float* q, int i) {
  return zv::qv80_reference::lpcCoefficient(p, q, i);
}

float referenceInterpolatedLsf(float x, float y) { return zv::qv80_reference::interpolatedLsf(x, y); }

float referenceHalfGap(float lo, float hi) { return zv::qv80_reference::halfGap(lo, hi); }

}  // namespace zv::speechtest
