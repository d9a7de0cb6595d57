// Geometry of the speech codec's frame and the arithmetic type of its sums.
//
// The coder works on 8 kHz mono speech in frames of 160 samples (20 ms), each
// coded into 20 bytes (ten 16-bit words). A frame is split into three
// subframes:
//
//   subframe   samples     length   pulses in the pulse train
//   0          0 .. 55     56       14
//   1          56 .. 107   52       13
//   2          108 .. 159  52       13
//
// All signals, coefficients and states are single-precision floats on the
// 16-bit sample scale (full scale ±32768). Every value is defined as computed
// in extended precision (`Ext`, extended_precision.h) from its float operands and rounded to
// float once when it is stored; every sum is its own extended accumulator,
// summed in ascending index order from 0. Encoder and decoder must round at
// exactly the same places, or the decoder's excitation history drifts away
// from the encoder's. (Most values are obtained faster, and provably
// identical, through the certified double-precision path of
// certified_rounding.h; ARITHMETIC.md describes the whole model.)
#ifndef ZV_QV80_SPEECH_CONSTANTS_H
#define ZV_QV80_SPEECH_CONSTANTS_H

#include "codec/cpu_features.h"
#include "codec/speech/extended_precision.h"
#include "codec/speech/speech_namespace.h"

#include <cstdint>

namespace zv::ZV_QV80_NAMESPACE {

using extended_precision::Ext;
using extended_precision::kHardwareExt;
using extended_precision::squareRoot;

constexpr int kSampleRateHz = 8000;
constexpr int kFrameSamples = 160;
constexpr int kFrameBytes = 20;
constexpr int kFrameWords = 10;
constexpr int kParameterCount = 28;

constexpr int kLpcOrder = 10;
constexpr int kLsfCount = 10;

constexpr int kSubframeCount = 3;
constexpr int kMaxSubframeLength = 56;
constexpr int kSubframeLength[kSubframeCount] = {56, 52, 52};
constexpr int kSubframeStart[kSubframeCount] = {0, 56, 108};

// Pulses of the pulse train: 14 in the 56-sample subframe, 13 in the others,
// at phase + 4k.
constexpr int kPulseSpacing = 4;
constexpr int pulseTrainCount(int subframeLength) { return subframeLength == 56 ? 14 : 13; }

// Pitch lags a conforming encoder writes, and the excitation histories that
// cover the longest of them (index 147 is the newest sample).
constexpr int kMinLag = 20;
constexpr int kMaxLag = 147;
constexpr int kHistoryLength = 148;

// Pulse position written when a subframe has no single pulse.
constexpr int kNoPulse = 63;

// Index checks on the excitation histories, compiled into the sanitizer and
// fuzz builds (ZV_QV80_BOUNDS_CHECKS): a history is one array inside the
// state block, so reading past its start would stay inside the block, where
// AddressSanitizer cannot see it. A failed check stops the program.
#ifdef ZV_QV80_BOUNDS_CHECKS
#define ZV_QV80_CHECK(condition) \
  do {                           \
    if (!(condition)) __builtin_trap(); \
  } while (0)
#else
#define ZV_QV80_CHECK(condition) \
  do {                           \
  } while (0)
#endif

// LPC coefficients of one subframe: A(z) = 1 + a[1]·z⁻¹ + ... + a[10]·z⁻¹⁰.
// a[0] is always 1 and never read by the filters.
struct Lpc {
  float a[kLpcOrder + 1];
};

}  // namespace zv::ZV_QV80_NAMESPACE

#endif  // ZV_QV80_SPEECH_CONSTANTS_H
