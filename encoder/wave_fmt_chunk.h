// The "fmt " chunk of a WAV file read field by field into the format record
// and the sample layout, with every field the conversion relies on checked.
//
//   offset size field
//   0      16   the PCM record: format tag, channels, samples per second,
//               average bytes per second, block alignment, bits per sample
//   16     2    extra size (cbSize); 0 when the chunk has only 16 bytes
//   WAVE_FORMAT_EXTENSIBLE (tag 0xFFFE) continues, cbSize >= 22:
//   18     2    valid bits per sample (0: all of the container)
//   20     4    channel mask (speaker positions; the mix-down ignores it)
//   24     16   sub-format GUID: the format tag in its first two bytes, then
//               00 00 00 00 10 00 80 00 00 AA 00 38 9B 71
//
// Accepted: tag 1 (integer PCM, 1 to 32 bits), tag 3 (IEEE float, 32 or 64
// bits), and the extensible record with the PCM or float sub-format (its
// bits per sample are the container, its valid bits the significant ones).
// Refused, in this order:
//   - a body under 16 bytes: 10401;
//   - another tag, or the extensible record with another standard sub-format
//     (ADPCM, G.711 and the other compressed formats): 10402;
//   - the extensible record in a chunk under 40 bytes or with cbSize < 22:
//     10417; a GUID of no standard form: 10418;
//   - no channels, no rate, an unusable width, or a block alignment other
//     than channels * ceil(bits / 8): 10412;
//   - valid bits above the container's: 10419 with the valid bits.
#ifndef ZV_ENCODER_WAVE_FMT_CHUNK_H
#define ZV_ENCODER_WAVE_FMT_CHUNK_H

#include <cstdint>

#include "encoder/engine_notice.h"
#include "encoder/sample_layout.h"
#include "encoder/wave_format.h"

namespace zv {

// The most "fmt " bytes that are read: the extensible record.
inline constexpr std::uint32_t kWaveFmtExtensibleBytes = 40;

// Parses `size` body bytes of which the first min(size, 40) are at `body`.
// On success returns a notice with id 0 and fills `record` (the first 18
// bytes' fields) and `layout`; otherwise returns the refusal's notice.
EngineNotice parseWaveFmtChunk(const std::uint8_t* body, std::uint32_t size, WaveFormat& record,
                               SampleLayout& layout);

}  // namespace zv

#endif  // ZV_ENCODER_WAVE_FMT_CHUNK_H
