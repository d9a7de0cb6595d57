/*
 * codec_abi_check LIBRARY PREFIX
 *
 * Proves that a codec library's interface is plain C: a C11 program loads the
 * library at run time, binds the eight entry points through the ordinal
 * table `zv_ordinal_table` (the way the encoding engine binds them), checks
 * that the named exports PREFIX + function name are the same functions,
 * reads both information records, and codes and decodes a few frames of a
 * two-tone signal following the engine's generic contract (the library may
 * lower the coded count to what it produced or consumed). Exits 0 when every
 * check holds; otherwise prints the first failure and exits 1.
 */
#define _POSIX_C_SOURCE 200809L

#include <dlfcn.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <zv/codec_api.h>

enum { kEntryCount = 8, kFrames = 12 };

static const char *const kNames[kEntryCount] = {
    "Open_Coder", "Encode", "Close_Coder", "Open_Decoder",
    "Decode", "Close_Decoder", "GetCodecInfo", "GetCodecInfoEx"};

static int fail(const char *format, ...) {
  va_list args;
  va_start(args, format);
  fputs("codec_abi_check: ", stderr);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  return 1;
}

struct Codec {
  ZvOpenFn openCoder;
  ZvEncodeFn encode;
  ZvCloseFn closeCoder;
  ZvOpenFn openDecoder;
  ZvDecodeFn decode;
  ZvCloseFn closeDecoder;
  ZvGetCodecInfoFn info;
  ZvGetCodecInfoExFn infoEx;
};

/* Binds the entry points by ordinal and compares them with the named
 * exports. */
static int bind(void *library, const char *prefix, struct Codec *codec) {
  const ZvOrdinalTable *table = (const ZvOrdinalTable *)dlsym(library, ZV_ORDINAL_TABLE_SYMBOL);
  if (!table) return fail("no symbol %s", ZV_ORDINAL_TABLE_SYMBOL);
  if (table->count < kEntryCount) return fail("the ordinal table has %u entries", table->count);
  for (int i = 0; i < kEntryCount; ++i) {
    char name[64];
    snprintf(name, sizeof name, "%s%s", prefix, kNames[i]);
    if (!table->entries[i]) return fail("ordinal %d (%s) is missing", i + 1, name);
    void *named = dlsym(library, name);
    if (!named) return fail("%s is not exported by name", name);
    if ((void *)table->entries[i] != named) return fail("ordinal %d is not %s", i + 1, name);
  }
  codec->openCoder = (ZvOpenFn)table->entries[ZV_ORD_OPEN_CODER - 1];
  codec->encode = (ZvEncodeFn)table->entries[ZV_ORD_ENCODE - 1];
  codec->closeCoder = (ZvCloseFn)table->entries[ZV_ORD_CLOSE_CODER - 1];
  codec->openDecoder = (ZvOpenFn)table->entries[ZV_ORD_OPEN_DECODER - 1];
  codec->decode = (ZvDecodeFn)table->entries[ZV_ORD_DECODE - 1];
  codec->closeDecoder = (ZvCloseFn)table->entries[ZV_ORD_CLOSE_DECODER - 1];
  codec->info = (ZvGetCodecInfoFn)table->entries[ZV_ORD_GET_CODEC_INFO - 1];
  codec->infoEx = (ZvGetCodecInfoExFn)table->entries[ZV_ORD_GET_CODEC_INFO_EX - 1];
  return 0;
}

/* Both records: the short one always, the long one only for size 122. */
static int checkInfo(const struct Codec *codec, CodecInfoEx *ex) {
  CodecInfo info;
  memset(&info, 0xEE, sizeof info);
  if (codec->info(&info) != &info) return fail("GetCodecInfo does not return its argument");
  if (!memchr(info.name, '\0', sizeof info.name)) return fail("CodecInfo name has no NUL");
  if (info.sampleRateHz != 8000 || info.bitsPerSample != 16 || info.pcmBytesPerFrame == 0 ||
      info.maxCodedBytes == 0)
    return fail("CodecInfo: %u Hz, %u bits, %u PCM bytes, %u coded bytes", info.sampleRateHz,
                info.bitsPerSample, info.pcmBytesPerFrame, info.maxCodedBytes);

  unsigned char untouched[sizeof(CodecInfoEx)];
  memset(ex, 0x77, sizeof *ex);
  memset(untouched, 0x77, sizeof untouched);
  codec->infoEx(ex, ZV_CODEC_INFO_EX_SIZE - 1);
  if (memcmp(ex, untouched, sizeof untouched) != 0) return fail("GetCodecInfoEx wrote with size 121");
  codec->infoEx(ex, ZV_CODEC_INFO_EX_SIZE);
  if (!memchr(ex->name, '\0', sizeof ex->name)) return fail("CodecInfoEx name has no NUL");
  if (ex->pcmBytesPerFrame != info.pcmBytesPerFrame || ex->maxCodedBytes != info.maxCodedBytes ||
      ex->minCodedBytes > ex->maxCodedBytes || ex->sampleRateHz != 8000 || ex->reserved != 0 ||
      ex->version != info.version || ex->codecId != info.codecId)
    return fail("CodecInfoEx disagrees with CodecInfo");
  return 0;
}

/* Codes kFrames frames of 300 Hz + 1100 Hz and decodes them again. */
static int codeAndDecode(const struct Codec *codec, const CodecInfoEx *ex) {
  const unsigned pcmBytes = ex->pcmBytesPerFrame, maxCoded = ex->maxCodedBytes;
  const unsigned samples = pcmBytes / 2;
  int16_t *pcm = calloc((size_t)samples * kFrames, sizeof *pcm);
  int16_t *decoded = calloc((size_t)samples * kFrames, sizeof *decoded);
  unsigned char *coded = calloc((size_t)maxCoded * (kFrames + 1), 1);
  int result = 1;
  void *coder = codec->openCoder(1);
  void *decoder = codec->openDecoder(1);
  if (!pcm || !decoded || !coded || !coder || !decoder) {
    fail("cannot allocate or open the codec");
    goto done;
  }
  for (unsigned n = 0; n < samples * kFrames; ++n)
    pcm[n] = (int16_t)(6000.0 * sin(n * 2 * 3.14159265 * 300 / 8000) +
                       3000.0 * sin(n * 2 * 3.14159265 * 1100 / 8000));

  size_t codedLength = 0;
  for (int f = 0; f < kFrames; ++f) {
    uint16_t inCount = (uint16_t)pcmBytes, outCount = (uint16_t)maxCoded;
    if (codec->encode(coder, pcm + f * samples, &inCount, coded + codedLength, &outCount) != 0) {
      fail("Encode failed on frame %d", f);
      goto done;
    }
    if (outCount == 0 || outCount > maxCoded || outCount < ex->minCodedBytes) {
      fail("Encode produced %u bytes", outCount);
      goto done;
    }
    codedLength += outCount;
  }
  {
    /* One byte short of a frame is too little input for every codec. */
    uint16_t shortCount = (uint16_t)(pcmBytes - 1), outCount = (uint16_t)maxCoded;
    if (codec->encode(coder, pcm, &shortCount, coded + codedLength, &outCount) != ZV_CODEC_BAD_SIZES) {
      fail("Encode accepted a PCM count one byte short of a frame");
      goto done;
    }
  }

  size_t position = 0;
  for (int f = 0; f < kFrames; ++f) {
    uint16_t inCount = (uint16_t)maxCoded, outCount = (uint16_t)pcmBytes;
    if (codec->decode(decoder, coded + position, &inCount, decoded + f * samples, &outCount) != 0) {
      fail("Decode failed on frame %d", f);
      goto done;
    }
    if (inCount == 0 || inCount > maxCoded || outCount != pcmBytes) {
      fail("Decode consumed %u bytes and produced %u", inCount, outCount);
      goto done;
    }
    position += inCount;
  }
  if (position != codedLength) {
    fail("Decode consumed %zu bytes of %zu", position, codedLength);
    goto done;
  }

  /* The decoded second half carries the tones at a comparable level. */
  double in = 0, out = 0;
  for (unsigned n = samples * kFrames / 2; n < samples * kFrames; ++n) {
    in += (double)pcm[n] * pcm[n];
    out += (double)decoded[n] * decoded[n];
  }
  if (!(out > 0.1 * in && out < 10 * in)) {
    fail("decoded energy %.3g against %.3g of the input", out, in);
    goto done;
  }
  result = 0;

done:
  if (codec->closeCoder(coder) != 0 || codec->closeDecoder(decoder) != 0) result = fail("Close failed");
  if (codec->closeCoder(NULL) != 0 || codec->closeDecoder(NULL) != 0) result = fail("Close(NULL) failed");
  free(pcm);
  free(decoded);
  free(coded);
  return result;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: codec_abi_check LIBRARY PREFIX   (e.g. libQV80W.so QV80_)\n");
    return 2;
  }
  void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) return fail("cannot load %s: %s", argv[1], dlerror());
  struct Codec codec = {0};
  CodecInfoEx ex;
  int result = bind(library, argv[2], &codec);
  if (result == 0) result = checkInfo(&codec, &ex);
  if (result == 0) result = codeAndDecode(&codec, &ex);
  dlclose(library);
  if (result == 0) printf("%s: the C interface works\n", argv[1]);
  return result;
}
