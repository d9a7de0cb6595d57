// The speech codec built in the reference arithmetic (every value computed
// in extended precision, no certified fast path), behind an interface that
// does not clash with the library's own names, so that tests can run both
// on the same input and compare them bit for bit.
#ifndef ZV_TESTS_SPEECH_REFERENCE_CODEC_H
#define ZV_TESTS_SPEECH_REFERENCE_CODEC_H

#include <cstdint>
#include <vector>

namespace zv::speechtest {

// PCM bytes to 20-byte frames with a fresh reference encoder, on the calling
// thread (its pseudo-random seed is the reference build's own, one per
// thread); a short final frame is completed with silence.
std::vector<uint8_t> referenceEncode(const std::vector<uint8_t>& pcm, bool eightBit);

// Frames to PCM bytes with a fresh reference decoder.
std::vector<uint8_t> referenceDecode(const std::vector<uint8_t>& frames, bool eightBit);

// One all-pole filter block, n ≤ 56: out[−10..−1] is the memory.
void referenceAllPoleFilter(const float* coefficients, const float* in, float* out, int n);

// The steps of the LSF interpolation and conversion (lsf_to_lpc.h) and the
// half gap of the LSF reconstruction (lsf_reconstruct.h).
float referencePolynomialFactorStep(const float* p, float c);
float referenceLpcCoefficient(const float* p, const float* q, int i);
float referenceInterpolatedLsf(float x, float y);
float referenceHalfGap(float lo, float hi);

}  // namespace zv::speechtest

#endif  // ZV_TESTS_SPEECH_REFERENCE_CODEC_H
