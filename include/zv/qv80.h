/*
 * QV80W, the speech codec library: 8 kHz mono speech, 160 samples (20 ms) per
 * 20-byte frame, 8000 bit/s. Its eight entry points have C linkage and are
 * exported by name and through the ordinal table `zv_ordinal_table`
 * (ordinals 1..8 in the order below; see zv/codec_api.h).
 *
 * Sample formats, chosen when a handle is opened:
 *   flags bit 1 clear (the engine passes 1): 16-bit signed little-endian PCM,
 *     320 bytes per frame;
 *   flags bit 1 set (value 2): 8-bit unsigned PCM, 128 = silence, 160 bytes
 *     per frame.
 * Other flag bits are ignored.
 *
 * The decoded speech lags the encoder's input by 84 samples. Each handle
 * holds all state of one stream and is used by one thread at a time; the
 * library takes no locks. The encoder's pseudo-random generator (used when
 * the pulse-train gain is zero) is per thread and shared by all encoders on
 * that thread, its seed 1 when the thread starts.
 */
#ifndef ZV_QV80_H
#define ZV_QV80_H

#include <stdint.h>

#include <zv/codec_api.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal 1. Allocates an encoder for the sample format of `flags`. Returns
 * the handle, owned by the caller until QV80_Close_Coder, or NULL when the
 * state (about 3 KB) cannot be allocated. */
ZV_EXPORT void *QV80_Open_Coder(uint32_t flags);

/* Ordinal 2. Codes one frame: reads *pcmBytes bytes at `pcm` (exactly 320 in
 * 16-bit mode, 160 in 8-bit mode) and writes *codedBytes bytes at `coded`
 * (exactly 20). Returns 0 on success; -2, with nothing read, written or
 * changed, when a count is wrong or a pointer is NULL. Never changes the
 * counts. */
ZV_EXPORT int32_t QV80_Encode(void *handle, const void *pcm, uint16_t *pcmBytes, void *coded,
                              uint16_t *codedBytes);

/* Ordinal 3. Frees an encoder; NULL is accepted. Always returns 0. */
ZV_EXPORT int32_t QV80_Close_Coder(void *handle);

/* Ordinal 4. Allocates a decoder for the sample format of `flags`. Returns
 * the handle, owned by the caller until QV80_Close_Decoder, or NULL. */
ZV_EXPORT void *QV80_Open_Decoder(uint32_t flags);

/* Ordinal 5. Decodes one frame: reads *codedBytes bytes at `coded` (exactly
 * 20; any bit pattern decodes) and writes *pcmBytes bytes at `pcm` (exactly
 * 320 in 16-bit mode, 160 in 8-bit mode). Returns 0 on success; -2, with
 * nothing changed, when a count is wrong or a pointer is NULL. Never changes
 * the counts. */
ZV_EXPORT int32_t QV80_Decode(void *handle, const void *coded, uint16_t *codedBytes, void *pcm,
                              uint16_t *pcmBytes);

/* Ordinal 6. Frees a decoder; NULL is accepted. Always returns 0. */
ZV_EXPORT int32_t QV80_Close_Decoder(void *handle);

/* Ordinal 7. Fills the named fields of the 56-byte record: 320 PCM bytes and
 * at most 20 coded bytes per frame, 16 bits per sample, 8000 Hz, codec 2022,
 * the name "Quaverline(TM)80 Codec" with its NUL (the rest of the name field
 * keeps the caller's bytes) and version 3.0. Returns `info` (NULL: writes
 * nothing). */
ZV_EXPORT CodecInfo *QV80_GetCodecInfo(CodecInfo *info);

/* Ordinal 8. Fills the 122-byte record when `size` is 122, else writes
 * nothing: codec 2022, "Quaverline(TM)80 Codec (8.0 kbps, 8 kHz)" with its
 * NUL, capability words 0, 0, 1, 1, 1, 8000 Hz, 16 bits, 1000 bytes per
 * second, 320 PCM bytes, 20 coded bytes at most and at least, version 3.0,
 * reserved 0. */
ZV_EXPORT void QV80_GetCodecInfoEx(CodecInfoEx *info, uint32_t size);

/* The ordinal table: entries[n − 1] is ordinal n, n = 1..8. */
ZV_EXPORT extern const ZvOrdinalTable zv_ordinal_table;

#ifdef __cplusplus
}
#endif

#endif /* ZV_QV80_H */
