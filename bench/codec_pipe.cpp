// codec_pipe: one codec as a whole process, the counterpart of speexenc or
// opusenc in the speed races of codec_race.
//
//   codec_pipe encode LIBRARY IN.raw OUT.frames
//   codec_pipe decode LIBRARY IN.frames OUT.raw
//
// LIBRARY is a codec table name such as QV80W.DLL or QV160MXW.DLL, loaded at
// run time and bound by ordinal. Raw files are headerless 16-bit mono PCM;
// frame files hold the codec's frames back to back, as in a stream file
// without its header. The last short PCM frame is completed with silence.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <zv/codec_api.h>
#include "platform/module.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "codec_pipe: %s\n", message.c_str());
  return 1;
}

bool readAll(const char* path, std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  unsigned char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || (std::strcmp(argv[1], "encode") != 0 && std::strcmp(argv[1], "decode") != 0)) {
    std::fprintf(stderr, "usage: codec_pipe encode|decode LIBRARY IN OUT\n");
    return 2;
  }
  const bool encoding = std::strcmp(argv[1], "encode") == 0;
  zv::Module library = zv::Module::load(argv[2]);
  if (!library.loaded()) return fail(library.error());
  auto infoEx = reinterpret_cast<ZvGetCodecInfoExFn>(library.ordinal(ZV_ORD_GET_CODEC_INFO_EX));
  auto open = reinterpret_cast<ZvOpenFn>(library.ordinal(encoding ? ZV_ORD_OPEN_CODER : ZV_ORD_OPEN_DECODER));
  auto close = reinterpret_cast<ZvCloseFn>(library.ordinal(encoding ? ZV_ORD_CLOSE_CODER : ZV_ORD_CLOSE_DECODER));
  auto encode = reinterpret_cast<ZvEncodeFn>(library.ordinal(ZV_ORD_ENCODE));
  auto decode = reinterpret_cast<ZvDecodeFn>(library.ordinal(ZV_ORD_DECODE));
  if (!infoEx || !open || !close || !encode || !decode) return fail("missing entry point");
  CodecInfoEx info{};
  infoEx(&info, ZV_CODEC_INFO_EX_SIZE);
  const size_t pcmFrame = info.pcmBytesPerFrame, codedMax = info.maxCodedBytes;
  if (pcmFrame == 0 || codedMax == 0) return fail("unusable codec information");

  std::vector<unsigned char> in;
  if (!readAll(argv[3], in)) return fail(std::string("cannot read ") + argv[3]);
  FILE* out = std::fopen(argv[4], "wb");
  if (!out) return fail(std::string("cannot write ") + argv[4]);
  void* handle = open(1);
  if (!handle) return fail("cannot open the codec");

  std::vector<unsigned char> pcm(pcmFrame), coded(codedMax);
  size_t pos = 0;
  int status = 0;
  while (pos < in.size()) {
    if (encoding) {
      const size_t take = std::min(pcmFrame, in.size() - pos);
      std::memcpy(pcm.data(), in.data() + pos, take);
      std::memset(pcm.data() + take, 0, pcmFrame - take);
      uint16_t pcmCount = static_cast<uint16_t>(pcmFrame), codedCount = static_cast<uint16_t>(codedMax);
      if (encode(handle, pcm.data(), &pcmCount, coded.data(), &codedCount) == ZV_CODEC_BAD_SIZES) {
        status = fail("encoder refused a frame");
        break;
      }
      std::fwrite(coded.data(), 1, codedCount, out);
      pos += take;
    } else {
      const size_t have = std::min(codedMax, in.size() - pos);
      uint16_t codedCount = static_cast<uint16_t>(have), pcmCount = static_cast<uint16_t>(pcmFrame);
      if (decode(handle, in.data() + pos, &codedCount, pcm.data(), &pcmCount) == ZV_CODEC_BAD_SIZES)
        break;  // a cut-short final frame ends the stream
      if (codedCount == 0) break;  // a decoder that consumes nothing cannot advance
      std::fwrite(pcm.data(), 1, pcmCount, out);
      pos += codedCount;
    }
  }
  close(handle);
  if (std::fclose(out) != 0) return fail(std::string("cannot write ") + argv[4]);
  return status;
}
