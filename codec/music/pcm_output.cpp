#include "codec/music/pcm_output.h"

#include "codec/music/saturate.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv::qv160mx {

void storeAmplifiedPcm(const int32_t* samples, int count, uint8_t* pcm) {
  int i = 0;
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
  // x86 stores little-endian. packssdw clamps to 16 bits; four saturating
  // doublings then give the clamp of 16x: a value that saturates at any
  // doubling stays saturated, and one inside 16 bits is exactly 16x or
  // saturates like it.
  for (; i + 8 <= count; i += 8) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + i + 4));
    __m128i v = _mm_packs_epi32(lo, hi);
    v = _mm_adds_epi16(v, v);
    v = _mm_adds_epi16(v, v);
    v = _mm_adds_epi16(v, v);
    v = _mm_adds_epi16(v, v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pcm + 2 * i), v);
  }
#endif
  for (; i < count; ++i) {
    const auto bits = static_cast<uint16_t>(saturateToInt16(static_cast<int64_t>(samples[i]) * 16));
    pcm[2 * i] = static_cast<uint8_t>(bits & 0xFF);
    pcm[2 * i + 1] = static_cast<uint8_t>(bits >> 8);
  }
}

}  // namespace zv::qv160mx
