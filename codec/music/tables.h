// Constant tables of the QV160MX music codec, shared by encoder and decoder.
// Every value is part of the frame contract: changing one changes the frames.
#ifndef ZV_CODEC_MUSIC_TABLES_H
#define ZV_CODEC_MUSIC_TABLES_H

#include <cstdint>

namespace zv::qv160mx {

inline constexpr int kBandCount = 8;          // subbands of 500 Hz, band 0 lowest
inline constexpr int kBandSamples = 16;       // samples of one band per frame
inline constexpr int kFrameSamples = 128;     // PCM samples per frame (16 ms at 8 kHz)
inline constexpr int kFramePcmBytes = 2 * kFrameSamples;
inline constexpr int kScaleIndexBits = 5;
inline constexpr int kScaleCount = 32;
inline constexpr int kMinFrameBytes = 31;
inline constexpr int kMaxFrameBytes = 39;

// Scale value of each 5-bit scale index, in band-sample units. The encoder
// picks the smallest entry that covers the band's peak (index 31 above 9000).
extern const int32_t kScaleTable[kScaleCount];
// The decoder's copy: entry 0 is 1 instead of 5. Both give 3 levels, so the
// two sides always agree on the allocation.
extern const int32_t kDecoderScaleTable[kScaleCount];

// Largest level count each band may use.
extern const int32_t kBandMaxLevels[kBandCount];

// Scale-value boundaries of the allocation steps, before `allocScale`.
extern const int32_t kAllocSteps[3];

// Bits of one 8-sample codeword for L levels: the smallest b with L^8 <= 2^b.
// L = 2: 8, 3: 13, 5: 19, 7: 23, 9: 26, 11: 28; any other L: 0.
int codewordBitsFor(int levels);

// Decision thresholds in Q13 (8192 = the band's scale value), L - 1 ascending
// values, for L = 3, 5, 7, 9, 11; nullptr for any other L.
const int16_t* decisionThresholdsFor(int levels);

// Reconstruction values in Q13, L values, for L = 3, 5, 7, 9; nullptr for any
// other L (the allocation never yields another count).
const int16_t* reconstructionLevelsFor(int levels);

// Even-indexed taps h[0..7] of the 16-tap QMF prototype, Q15, truncated
// towards zero. The full prototype is H[2k] = h[k], H[2k+1] = h[7-k].
// (Visible here so that the SIMD form can lay them out at compile time.)
inline constexpr int16_t kQmfEvenTaps[8] = {94, -62, -528, 3499, 15641, -3122, 1178, -326};
// The same eight taps in reverse order, h[7..0], for the packed form.
inline constexpr int16_t kQmfEvenTapsReversed[8] = {-326, 1178, -3122, 15641, 3499, -528, -62, 94};

}  // namespace zv::qv160mx

#endif  // ZV_CODEC_MUSIC_TABLES_H
