// qv80_roundtrip: compresses a speech clip with the speech codec library,
// decodes it again, writes the decoded sound as a WAV file and prints the
// frame count, the bit rate and objective quality figures of the decoded speech.
//
//   qv80_roundtrip [IN.wav] [OUT.wav]
//
// IN defaults to the built-in sample, OUT to speech-sample-decoded.wav. The
// input must be 8 kHz mono 16-bit PCM. The library is loaded at run time and
// bound by ordinal, exactly as the encoding engine binds it.
#include <cstdio>
#include <string>
#include <vector>

#include <zv/codec_api.h>
#include "platform/module.h"
#include "tools/audio_quality.h"
#include "tools/pcm_wav.h"

#ifndef ZV_SOURCE_DIR
#define ZV_SOURCE_DIR "."
#endif

namespace {

// The decoder's output lags its input by 84 samples: the encoder codes each
// frame from 84 samples of the previous call and 76 of the current one.
constexpr std::size_t kCodecDelaySamples = 84;

int fail(const std::string& message) {
  std::fprintf(stderr, "qv80_roundtrip: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::printf("usage: qv80_roundtrip [IN.wav] [OUT.wav]\n"
                "Codes an 8 kHz mono 16-bit WAV with the speech codec and back.\n");
    return 0;
  }
  const std::string inPath = argc > 1 ? argv[1] : ZV_SOURCE_DIR "/data/speech-sample.wav";
  const std::string outPath = argc > 2 ? argv[2] : "speech-sample-decoded.wav";

  zv::tools::PcmClip clip;
  std::string error;
  if (!zv::tools::readPcm16Wav(inPath, clip, error)) return fail(error);
  if (clip.sampleRateHz != 8000 || clip.channels != 1)
    return fail(inPath + " is not 8 kHz mono");

  zv::Module library = zv::Module::load("QV80W.DLL");
  if (!library.loaded()) return fail("cannot load the speech codec: " + library.error());
  auto openCoder = reinterpret_cast<ZvOpenFn>(library.ordinal(ZV_ORD_OPEN_CODER));
  auto encode = reinterpret_cast<ZvEncodeFn>(library.ordinal(ZV_ORD_ENCODE));
  auto closeCoder = reinterpret_cast<ZvCloseFn>(library.ordinal(ZV_ORD_CLOSE_CODER));
  auto openDecoder = reinterpret_cast<ZvOpenFn>(library.ordinal(ZV_ORD_OPEN_DECODER));
  auto decode = reinterpret_cast<ZvDecodeFn>(library.ordinal(ZV_ORD_DECODE));
  auto closeDecoder = reinterpret_cast<ZvCloseFn>(library.ordinal(ZV_ORD_CLOSE_DECODER));
  auto infoEx = reinterpret_cast<ZvGetCodecInfoExFn>(library.ordinal(ZV_ORD_GET_CODEC_INFO_EX));
  if (!openCoder || !encode || !closeCoder || !openDecoder || !decode || !closeDecoder || !infoEx)
    return fail("the speech codec library lacks an entry point");

  CodecInfoEx info{};
  infoEx(&info, ZV_CODEC_INFO_EX_SIZE);
  const std::size_t frameSamples = info.pcmBytesPerFrame / 2;
  if (frameSamples == 0 || info.maxCodedBytes == 0) return fail("unusable codec information");

  void* coder = openCoder(1);
  void* decoder = openDecoder(1);
  if (!coder || !decoder) {
    closeCoder(coder);
    closeDecoder(decoder);
    return fail("cannot open the codec");
  }

  // Code whole frames; the last, short frame is completed with silence. One
  // more frame of silence flushes the 84 samples the encoder holds back.
  std::vector<int16_t> input = clip.samples;
  input.resize((input.size() / frameSamples + 2) * frameSamples, 0);
  std::vector<unsigned char> coded(info.maxCodedBytes);
  std::vector<int16_t> decoded(input.size());
  std::size_t frames = 0, codedBytes = 0;
  for (std::size_t start = 0; start < input.size(); start += frameSamples, ++frames) {
    uint16_t pcmCount = info.pcmBytesPerFrame, codedCount = info.maxCodedBytes;
    if (encode(coder, &input[start], &pcmCount, coded.data(), &codedCount) < 0)
      return fail("encoding failed");
    uint16_t inCount = codedCount, outCount = info.pcmBytesPerFrame;
    if (decode(decoder, coded.data(), &inCount, &decoded[start], &outCount) < 0)
      return fail("decoding failed");
    codedBytes += codedCount;
  }
  closeCoder(coder);
  closeDecoder(decoder);

  // Drop the delay so that the written file lines up with the source.
  zv::tools::PcmClip out{8000, 1, {}};
  out.samples.assign(decoded.begin() + kCodecDelaySamples,
                     decoded.begin() + kCodecDelaySamples + clip.samples.size());
  if (!zv::tools::writePcm16Wav(outPath, out, error)) return fail(error);

  const double seconds = static_cast<double>(input.size()) / 8000.0;
  const double lsd = zv::quality::logSpectralDistanceDb(clip.samples, decoded, kCodecDelaySamples);
  const double correlation =
      zv::quality::normalisedCorrelation(clip.samples, decoded, kCodecDelaySamples);
  std::printf("codec:          %s\n", info.name);
  std::printf("input:          %s (%.2f s)\n", inPath.c_str(), clip.samples.size() / 8000.0);
  std::printf("frames:         %zu of %u bytes\n", frames, static_cast<unsigned>(info.maxCodedBytes));
  std::printf("bit rate:       %.0f bit/s\n", codedBytes * 8.0 / seconds);
  // The decoder's enhancement and output filter keep the spectrum, not the
  // phase, so spectral distance and correlation say more than a waveform SNR.
  std::printf("spectral dist.: %.2f dB (log-spectral distance, after the %zu-sample delay)\n", lsd,
              kCodecDelaySamples);
  std::printf("correlation:    %.3f\n", correlation);
  std::printf("decoded:        %s\n", outPath.c_str());
  return 0;
}
