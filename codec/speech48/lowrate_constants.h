// The frame geometry and fixed parameters of the 4800 bit/s speech codec.
//
// Every value the codec computes is an integer: signals are int32 on the
// 16-bit sample scale times four (Q2), filter coefficients Q12, gains Q14,
// so that the encoder and decoder give the same bits and samples on every
// processor and in WebAssembly. FRAME_FORMAT.md describes the frame and the
// decoder's steps.
#ifndef ZV_QV48_LOWRATE_CONSTANTS_H
#define ZV_QV48_LOWRATE_CONSTANTS_H

#include <cstdint>

namespace zv::qv48 {

inline constexpr int kFrameSamples = 240;     // 30 ms at 8000 Hz
inline constexpr int kSubframeSamples = 60;   // 7.5 ms
inline constexpr int kSubframes = 4;
inline constexpr int kFrameBytes = 18;        // 144 bits
inline constexpr int kOrder = 10;             // LPC order
inline constexpr int kLookaheadSamples = 60;  // the encoder's delay
inline constexpr int kWindowSamples = 240;    // LPC analysis window

inline constexpr int kMinLag = 20;
inline constexpr int kMaxLag = 147;
inline constexpr int kDeltaLagOffset = 8;     // delta lags code −8..+7

inline constexpr int kSignalShift = 2;        // internal scale: sample·4
inline constexpr int32_t kSignalLimit = 1 << 19;  // saturation of internal signals

// LSFs are on the scale 0..32768 for 0..π (0..4000 Hz).
inline constexpr int32_t kLsfPi = 32768;
inline constexpr int32_t kLsfMinGap = 410;    // about 50 Hz between neighbours
inline constexpr int kCosineSteps = 1024;     // kCosineQ15: cos(π·m/512)

// The fixed codebook: three pulses of one unit each on a 60-sample
// subframe. Track t holds positions t, t + 4, ..., t + 56 (15 positions; a
// coded index of 15 is position 60 or more, which the decoder drops).
inline constexpr int kTrackStep = 4;
inline constexpr int kTrackPositions = 15;

// Bits of the fields, in the order they are packed (FRAME_FORMAT.md).
inline constexpr int kLsfBits[kOrder] = {4, 4, 4, 4, 4, 3, 3, 3, 3, 2};
inline constexpr int kAbsoluteLagBits = 7;
inline constexpr int kDeltaLagBits = 4;
inline constexpr int kPulseBits[3] = {4, 4, 5};
inline constexpr int kSignBits = 3;
inline constexpr int kPitchGainBits = 3;
inline constexpr int kCodeGainBits = 3;

// The codebook gain is coded as log2 in Q10, predicted from the previous
// subframe's; these bound it and set the value both sides start from.
inline constexpr int32_t kLogGainMinQ10 = 0;
inline constexpr int32_t kLogGainMaxQ10 = 17 * 1024;
inline constexpr int32_t kLogGainStartQ10 = 7 * 1024;

}  // namespace zv::qv48

#endif  // ZV_QV48_LOWRATE_CONSTANTS_H
