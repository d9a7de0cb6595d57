/*
 * QV160MXW, the music codec library: 8 kHz mono 16-bit PCM in frames of 128
 * samples (256 bytes, 16 ms), coded as self-delimiting frames of 31 to 39
 * bytes (about 16 kbit/s) by an eight-band subband coder.
 *
 * The library offers the eight entry points of zv/codec_api.h with the
 * prefix QV160MX_, by name with C linkage and through the ordinal table
 * "zv_ordinal_table" (ordinals 1..8 in the order below). Every count is a
 * byte count held in an unsigned 16-bit variable of the caller.
 *
 * Instances are independent: each keeps all its state, so different instances
 * may be used on different threads at the same time; one instance is used by
 * one thread at a time. The library takes no locks, prints nothing and never
 * ends the process.
 */
#ifndef ZV_CODEC_MUSIC_QV160MX_H
#define ZV_CODEC_MUSIC_QV160MX_H

#include <stdint.h>

#include <zv/codec_api.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal 1. Allocates an encoder. `flags` bit 1 (value 2) is recorded but
 * changes nothing: the music codec always takes 16-bit signed little-endian
 * samples. Returns the handle, or NULL when memory runs out. The first open
 * in the process also chooses the filter-bank form (see qmf_form.h). */
ZV_EXPORT void *QV160MX_Open_Coder(uint32_t flags);

/* Ordinal 2. Encodes one frame. `pcm` holds *pcmBytes bytes of samples,
 * `coded` has room for *codedBytes bytes. If *pcmBytes < 256 or
 * *codedBytes < 39 (or a pointer is NULL) returns -2 and changes nothing.
 * Otherwise consumes the first 256 bytes (128 samples) and sets *pcmBytes to
 * 256, writes one frame of 31..39 bytes to `coded`, sets *codedBytes to its
 * length and returns 0. */
ZV_EXPORT int32_t QV160MX_Encode(void *handle, const void *pcm, uint16_t *pcmBytes,
                                 void *coded, uint16_t *codedBytes);

/* Ordinal 3. Frees an encoder from QV160MX_Open_Coder; NULL is accepted.
 * Returns 0. */
ZV_EXPORT int32_t QV160MX_Close_Coder(void *handle);

/* Ordinal 4. Allocates a decoder; `flags` as for QV160MX_Open_Coder. Returns
 * the handle, or NULL when memory runs out. */
ZV_EXPORT void *QV160MX_Open_Decoder(uint32_t flags);

/* Ordinal 5. Decodes one frame. `coded` holds *codedBytes readable bytes
 * starting with a frame; `pcm` has room for *pcmBytes bytes.
 *  - *codedBytes < 31 or *pcmBytes < 256 (or a NULL pointer): returns -2,
 *    changes nothing.
 *  - Otherwise sets *pcmBytes to 256 at once and derives the frame length
 *    (31..39) from the first five bytes. If *codedBytes is below it, returns
 *    -2 and writes no samples.
 *  - Otherwise sets *codedBytes to the frame length (the bytes consumed; a
 *    reader steps to the next frame by it), writes 128 samples (256 bytes,
 *    16-bit signed little-endian) and returns 0.
 * Never reads beyond the frame length, whatever the bytes hold. */
ZV_EXPORT int32_t QV160MX_Decode(void *handle, const void *coded, uint16_t *codedBytes,
                                 void *pcm, uint16_t *pcmBytes);

/* Ordinal 6. Frees a decoder from QV160MX_Open_Decoder; NULL is accepted.
 * Returns 0. */
ZV_EXPORT int32_t QV160MX_Close_Decoder(void *handle);

/* Ordinal 7. Fills `info`: PCM bytes per frame 256, largest frame 39, 16 bits
 * per sample, 8000 Hz, codec identifier 1, the name
 * "QV160MX Codec (16kbps,8kHz)" up to and including its NUL, version 3.0.
 * Other bytes keep the caller's values. Returns `info`. */
ZV_EXPORT CodecInfo *QV160MX_GetCodecInfo(CodecInfo *info);

/* Ordinal 8. Fills `info` only when `size` is 122 (sizeof(CodecInfoEx)):
 * identifier 1, the name as above, capability words 1, 1, 1, 0, 1, 8000 Hz,
 * 16 bits, 2000 coded bytes per second, 256 PCM bytes per frame, frames of
 * 31..39 bytes, version 3.0, reserved 0. With any other size nothing is
 * written. */
ZV_EXPORT void QV160MX_GetCodecInfoEx(CodecInfoEx *info, uint32_t size);

/* Ordinals 1..8 mapped to the entry points above. */
ZV_EXPORT extern const ZvOrdinalTable zv_ordinal_table;

#ifdef __cplusplus
}
#endif

#endif /* ZV_CODEC_MUSIC_QV160MX_H */
