/*
 * QV48W, the low-rate speech codec library: 8 kHz mono speech, 240 samples
 * (30 ms) per 18-byte frame, 4800 bit/s. Its eight entry points have C
 * linkage and are exported by name and through the ordinal table
 * `zv_ordinal_table` (ordinals 1..8 in the order below; see zv/codec_api.h).
 *
 * Sample formats, chosen when a handle is opened:
 *   flags bit 1 clear (the engine passes 1): 16-bit signed little-endian PCM,
 *     480 bytes per frame;
 *   flags bit 1 set (value 2): 8-bit unsigned PCM, 128 = silence, 240 bytes
 *     per frame.
 * Other flag bits are ignored.
 *
 * The decoded speech lags the encoder's input by 60 samples. The codec
 * computes in integers only, so that every build gives the same frames and
 * samples. Each handle holds all state of one stream and is used by one
 * thread at a time; the library keeps no other state and takes no locks.
 * codec/speech48/FRAME_FORMAT.md describes the frame.
 */
#ifndef ZV_QV48_H
#define ZV_QV48_H

#include <stdint.h>

#include <zv/codec_api.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal 1. Allocates an encoder (about 50 KB) for the sample format of
 * `flags`; NULL when it cannot be allocated. */
ZV_EXPORT void *QV48_Open_Coder(uint32_t flags);

/* Ordinal 2. Codes one frame: *pcmBytes must be 480 (16-bit) or 240 (8-bit),
 * *codedBytes 18. Returns 0; -2, with nothing read, written or changed, when
 * a count is wrong or a pointer is NULL. Never changes the counts. */
ZV_EXPORT int32_t QV48_Encode(void *handle, const void *pcm, uint16_t *pcmBytes, void *coded,
                              uint16_t *codedBytes);

/* Ordinal 3. Frees an encoder; NULL is accepted. Always returns 0. */
ZV_EXPORT int32_t QV48_Close_Coder(void *handle);

/* Ordinal 4. Allocates a decoder for the sample format of `flags`, or NULL. */
ZV_EXPORT void *QV48_Open_Decoder(uint32_t flags);

/* Ordinal 5. Decodes one frame: *codedBytes must be 18 (any bit pattern
 * decodes), *pcmBytes 480 (16-bit) or 240 (8-bit). Returns 0; -2, with
 * nothing changed, when a count is wrong or a pointer is NULL. */
ZV_EXPORT int32_t QV48_Decode(void *handle, const void *coded, uint16_t *codedBytes, void *pcm,
                              uint16_t *pcmBytes);

/* Ordinal 6. Frees a decoder; NULL is accepted. Always returns 0. */
ZV_EXPORT int32_t QV48_Close_Decoder(void *handle);

/* Ordinal 7. Fills the named fields of the 56-byte record: 480 PCM bytes and
 * at most 18 coded bytes per frame, 16 bits per sample, 8000 Hz, codec 48,
 * the name "Quaverline(TM)48 Codec" with its NUL, version 3.0. Returns
 * `info` (NULL: writes nothing). */
ZV_EXPORT CodecInfo *QV48_GetCodecInfo(CodecInfo *info);

/* Ordinal 8. Fills the 122-byte record when `size` is 122, else writes
 * nothing: codec 48, "Quaverline(TM)48 Codec (4.8 kbps, 8 kHz)" with its NUL,
 * capability words 0, 0, 1, 1, 1, 8000 Hz, 16 bits, 600 bytes per second,
 * 480 PCM bytes, 18 coded bytes at most and at least, version 3.0,
 * reserved 0. */
ZV_EXPORT void QV48_GetCodecInfoEx(CodecInfoEx *info, uint32_t size);

/* The ordinal table: entries[n − 1] is ordinal n, n = 1..8. */
ZV_EXPORT extern const ZvOrdinalTable zv_ordinal_table;

#ifdef __cplusplus
}
#endif

#endif /* ZV_QV48_H */
