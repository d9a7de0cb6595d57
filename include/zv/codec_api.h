/*
 * The interface every codec library of the system offers: eight entry points
 * with C linkage, bound by the encoding engine by ordinal (never by name), and
 * the two information records they fill.
 *
 *   ordinal  entry             arguments                                  result
 *   1        Open_Coder        flags                                      handle or NULL
 *   2        Encode            h, pcm, &pcm_bytes, coded, &coded_bytes    0, or -2 on bad sizes
 *   3        Close_Coder       h (NULL allowed)                           0
 *   4        Open_Decoder      flags                                      handle or NULL
 *   5        Decode            h, coded, &coded_bytes, pcm, &pcm_bytes    0, or -2 on bad sizes
 *   6        Close_Decoder     h (NULL allowed)                           0
 *   7        GetCodecInfo      CodecInfo*                                 the same pointer
 *   8        GetCodecInfoEx    CodecInfoEx*, record size (must be 122)    none
 *
 * Open flags: bit 1 (value 2) selects 8-bit unsigned PCM (128 = silence);
 * clear, 16-bit signed little-endian. Other bits are ignored. The engine
 * passes 1.
 *
 * Byte counts travel as pointers to unsigned 16-bit values. A library may
 * lower the output count to what it produced and the input count to what it
 * consumed; callers treat -2 and -3 as failure and every other result as
 * success.
 *
 * Handles are opaque: the library allocates the state in Open and frees it in
 * Close. A handle is used by one thread at a time; libraries take no locks.
 *
 * Besides the named exports, each library exports one ordinal table
 * (zv/ordinal_table.h) that maps ordinals 1..8 to the entry points.
 */
#ifndef ZV_CODEC_API_H
#define ZV_CODEC_API_H

#include <stddef.h>
#include <stdint.h>

#include <zv/ordinal_table.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Open flag bit: 8-bit unsigned samples instead of 16-bit signed. */
#define ZV_CODEC_FLAG_8BIT 0x2u

/* Results of Encode and Decode. */
#define ZV_CODEC_OK 0
#define ZV_CODEC_BAD_SIZES (-2)
#define ZV_CODEC_FAILED (-3) /* never returned by our codecs; callers stop on it */

/* Ordinals of the eight entry points. */
enum {
  ZV_ORD_OPEN_CODER = 1,
  ZV_ORD_ENCODE = 2,
  ZV_ORD_CLOSE_CODER = 3,
  ZV_ORD_OPEN_DECODER = 4,
  ZV_ORD_DECODE = 5,
  ZV_ORD_CLOSE_DECODER = 6,
  ZV_ORD_GET_CODEC_INFO = 7,
  ZV_ORD_GET_CODEC_INFO_EX = 8
};

#pragma pack(push, 1)

/* Filled by ordinal 7. 56 bytes, little-endian. Fields the codec does not
 * name keep the caller's bytes; the name is written only up to its NUL. */
typedef struct CodecInfo {
  uint16_t pcmBytesPerFrame;   /* 0: Encode input block, Decode output block */
  uint16_t maxCodedBytes;      /* 2: largest coded frame */
  uint16_t bitsPerSample;      /* 4 */
  uint32_t sampleRateHz;       /* 6 */
  uint16_t codecId;            /* 10 */
  char name[40];               /* 12: NUL-terminated display name */
  uint32_t version;            /* 52: major << 16 | minor */
} CodecInfo;

/* Filled by ordinal 8 when the size argument is exactly 122. */
typedef struct CodecInfoEx {
  uint16_t codecId;            /* 0: copied into the stream header */
  char name[80];               /* 2: NUL-terminated display name */
  uint32_t capability1;        /* 82 */
  uint32_t capability2;        /* 86 */
  uint32_t capability3;        /* 90 */
  uint32_t capability4;        /* 94 */
  uint16_t capability5;        /* 98 */
  uint32_t sampleRateHz;       /* 100 */
  uint16_t bitsPerSample;      /* 104 */
  uint32_t avgCodedBytesPerSecond; /* 106 */
  uint16_t pcmBytesPerFrame;   /* 110 */
  uint16_t maxCodedBytes;      /* 112: size of the caller's coded buffer */
  uint16_t minCodedBytes;      /* 114 */
  uint32_t version;            /* 116: major << 16 | minor */
  uint16_t reserved;           /* 120: written as 0 */
} CodecInfoEx;

#pragma pack(pop)

#define ZV_CODEC_INFO_SIZE 56u
#define ZV_CODEC_INFO_EX_SIZE 122u

ZV_STATIC_ASSERT(sizeof(CodecInfo) == 56, "CodecInfo is 56 bytes");
ZV_STATIC_ASSERT(offsetof(CodecInfo, bitsPerSample) == 4, "CodecInfo layout");
ZV_STATIC_ASSERT(offsetof(CodecInfo, sampleRateHz) == 6, "CodecInfo layout");
ZV_STATIC_ASSERT(offsetof(CodecInfo, codecId) == 10, "CodecInfo layout");
ZV_STATIC_ASSERT(offsetof(CodecInfo, name) == 12, "CodecInfo layout");
ZV_STATIC_ASSERT(offsetof(CodecInfo, version) == 52, "CodecInfo layout");

ZV_STATIC_ASSERT(sizeof(CodecInfoEx) == 122, "CodecInfoEx is 122 bytes");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, name) == 2, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, capability1) == 82, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, capability2) == 86, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, capability3) == 90, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, capability4) == 94, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, capability5) == 98, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, sampleRateHz) == 100, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, bitsPerSample) == 104, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, avgCodedBytesPerSecond) == 106, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, pcmBytesPerFrame) == 110, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, maxCodedBytes) == 112, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, minCodedBytes) == 114, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, version) == 116, "CodecInfoEx layout");
ZV_STATIC_ASSERT(offsetof(CodecInfoEx, reserved) == 120, "CodecInfoEx layout");

/* Signatures of the eight entry points, as bound through the ordinal table. */
typedef void *(*ZvOpenFn)(uint32_t flags);
typedef int32_t (*ZvEncodeFn)(void *handle, const void *pcm, uint16_t *pcmBytes,
                              void *coded, uint16_t *codedBytes);
typedef int32_t (*ZvDecodeFn)(void *handle, const void *coded, uint16_t *codedBytes,
                              void *pcm, uint16_t *pcmBytes);
typedef int32_t (*ZvCloseFn)(void *handle);
typedef CodecInfo *(*ZvGetCodecInfoFn)(CodecInfo *info);
typedef void (*ZvGetCodecInfoExFn)(CodecInfoEx *info, uint32_t size);

#ifdef __cplusplus
}
#endif

#endif /* ZV_CODEC_API_H */
