/*
 * Test-only codec libraries with the eight-entry ordinal table of every
 * codec library, compiled several times with different definitions to give
 * the engine's binding and jobs each case they must handle.
 *
 *   FAKE_KIND_COPY      F = M = 8: a coded frame is the PCM frame itself, so
 *                       a stream file's frames can be compared with its input
 *   FAKE_KIND_VARIABLE  F = 256, M = 39: self-delimiting frames of 31..39
 *                       bytes whose first byte is the frame length, like the
 *                       music codec's; Decode refuses a frame it was given
 *                       fewer bytes of than its length
 *   FAKE_NO_INFO_EX     ordinal 8 left out of the table
 *   FAKE_ENCODE_RESULT  what Encode returns (default 0), e.g. -1
 *   FAKE_CODED_ON_RESULT coded count Encode reports with FAKE_ENCODE_RESULT
 *   FAKE_FAIL_AT_FRAME  Encode returns -2 on this frame (1-based)
 *   FAKE_NULL_OPEN      Open_Coder and Open_Decoder return NULL
 *   FAKE_CODEC_ID       codec identifier in the information record
 */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <zv/codec_api.h>

#ifndef FAKE_CODEC_ID
#define FAKE_CODEC_ID 0x7E57
#endif
#ifndef FAKE_ENCODE_RESULT
#define FAKE_ENCODE_RESULT 0
#endif

#if defined(FAKE_KIND_VARIABLE)
#define FAKE_PCM_BYTES 256
#define FAKE_MAX_CODED 39
#define FAKE_MIN_CODED 31
#else
#define FAKE_PCM_BYTES 8
#define FAKE_MAX_CODED 8
#define FAKE_MIN_CODED 8
#endif

typedef struct FakeState {
  uint32_t frames; /* frames coded or decoded so far */
} FakeState;

static void *fake_open(uint32_t flags) {
  (void)flags;
#ifdef FAKE_NULL_OPEN
  return NULL;
#else
  return calloc(1, sizeof(FakeState));
#endif
}

static int32_t fake_close(void *handle) {
  free(handle);
  return 0;
}

static int32_t fake_encode(void *handle, const void *pcm, uint16_t *pcmBytes, void *coded,
                           uint16_t *codedBytes) {
  FakeState *state = (FakeState *)handle;
  const uint8_t *in = (const uint8_t *)pcm;
  uint8_t *out = (uint8_t *)coded;
  if (*pcmBytes != FAKE_PCM_BYTES || *codedBytes != FAKE_MAX_CODED) return ZV_CODEC_BAD_SIZES;
  state->frames++;
#ifdef FAKE_FAIL_AT_FRAME
  if (state->frames == FAKE_FAIL_AT_FRAME) return ZV_CODEC_BAD_SIZES;
#endif
#if defined(FAKE_KIND_VARIABLE)
  {
    /* Length 31..39 from the frame's content; body bytes echo the PCM. */
    unsigned sum = 0, i;
    for (i = 0; i < FAKE_PCM_BYTES; ++i) sum += in[i];
    uint16_t length = (uint16_t)(FAKE_MIN_CODED + sum % 9u);
    out[0] = (uint8_t)length;
    for (i = 1; i < length; ++i) out[i] = in[i];
    *codedBytes = length;
  }
#else
  memcpy(out, in, FAKE_PCM_BYTES);
#endif
#if FAKE_ENCODE_RESULT != 0
#ifdef FAKE_CODED_ON_RESULT
  *codedBytes = FAKE_CODED_ON_RESULT;
#endif
  return FAKE_ENCODE_RESULT;
#else
  return ZV_CODEC_OK;
#endif
}

static int32_t fake_decode(void *handle, const void *coded, uint16_t *codedBytes, void *pcm,
                           uint16_t *pcmBytes) {
  FakeState *state = (FakeState *)handle;
  const uint8_t *in = (const uint8_t *)coded;
  uint8_t *out = (uint8_t *)pcm;
  if (*pcmBytes != FAKE_PCM_BYTES || *codedBytes == 0 || *codedBytes > FAKE_MAX_CODED)
    return ZV_CODEC_BAD_SIZES;
#if defined(FAKE_KIND_VARIABLE)
  {
    uint16_t length = in[0], i;
    if (length < FAKE_MIN_CODED || length > FAKE_MAX_CODED || *codedBytes < length)
      return ZV_CODEC_BAD_SIZES;
    memset(out, 0, FAKE_PCM_BYTES);
    for (i = 1; i < length; ++i) out[i] = in[i];
    *codedBytes = length;
  }
#else
  if (*codedBytes < FAKE_MAX_CODED) return ZV_CODEC_BAD_SIZES;
  memcpy(out, in, FAKE_PCM_BYTES);
  *codedBytes = FAKE_MAX_CODED;
#endif
  state->frames++;
  return ZV_CODEC_OK;
}

static CodecInfo *fake_get_info(CodecInfo *info) {
  info->pcmBytesPerFrame = FAKE_PCM_BYTES;
  info->maxCodedBytes = FAKE_MAX_CODED;
  return info;
}

#ifndef FAKE_NO_INFO_EX
static void fake_get_info_ex(CodecInfoEx *info, uint32_t size) {
  if (size != ZV_CODEC_INFO_EX_SIZE) return;
  info->codecId = FAKE_CODEC_ID;
  strcpy(info->name, "Test codec");
  info->sampleRateHz = 8000;
  info->bitsPerSample = 16;
  info->pcmBytesPerFrame = FAKE_PCM_BYTES;
  info->maxCodedBytes = FAKE_MAX_CODED;
  info->minCodedBytes = FAKE_MIN_CODED;
  info->version = 0x00020005u; /* 2.5 */
  info->reserved = 0;
}
#endif

static const ZvEntryPoint fake_entries[8] = {
    (ZvEntryPoint)fake_open,
    (ZvEntryPoint)fake_encode,
    (ZvEntryPoint)fake_close,
    (ZvEntryPoint)fake_open,
    (ZvEntryPoint)fake_decode,
    (ZvEntryPoint)fake_close,
    (ZvEntryPoint)fake_get_info,
#ifdef FAKE_NO_INFO_EX
    NULL,
#else
    (ZvEntryPoint)fake_get_info_ex,
#endif
};

ZV_EXPORT const ZvOrdinalTable zv_ordinal_table = {8, fake_entries};
