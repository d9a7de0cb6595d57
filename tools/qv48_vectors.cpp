// Writes the QV48W conformance vectors into a folder that holds the inputs
// (tests/data/vectors): X.qv48 and X.qv48.dec.raw for each 16-bit input,
// vowels8.qv48 and vowels8.qv48.dec8.raw for the 8-bit one. Run when the
// frame format was fixed and again whenever the encoder's choices change;
// the tests then hold the codec to these files.
//   qv48_vectors <folder>
#include <cstdio>
#include <string>
#include <vector>

#include <zv/qv48.h>

namespace {

std::vector<uint8_t> readAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    uint8_t block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
      bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);
  }
  return bytes;
}

bool writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// One fresh coder and decoder; a short last frame completed with silence.
bool makeVector(const std::string& folder, const std::string& name, bool eightBit) {
  std::vector<uint8_t> pcm = readAll(folder + "/" + name + ".raw");
  if (pcm.empty()) return false;
  const uint32_t flags = eightBit ? ZV_CODEC_FLAG_8BIT : 1u;
  const uint16_t framePcm = eightBit ? 240 : 480;
  pcm.resize((pcm.size() + framePcm - 1) / framePcm * framePcm, eightBit ? 128 : 0);
  void* coder = QV48_Open_Coder(flags);
  void* decoder = QV48_Open_Decoder(flags);
  std::vector<uint8_t> frames, decoded(pcm.size());
  for (size_t at = 0; at < pcm.size(); at += framePcm) {
    uint8_t frame[18];
    uint16_t pcmBytes = framePcm, codedBytes = 18;
    if (QV48_Encode(coder, &pcm[at], &pcmBytes, frame, &codedBytes) != 0 ||
        QV48_Decode(decoder, frame, &codedBytes, &decoded[at], &pcmBytes) != 0)
      return false;
    frames.insert(frames.end(), frame, frame + 18);
  }
  QV48_Close_Coder(coder);
  QV48_Close_Decoder(decoder);
  const std::string base = folder + "/" + name + ".qv48";
  return writeAll(base, frames) && writeAll(base + (eightBit ? ".dec8.raw" : ".dec.raw"), decoded);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qv48_vectors <folder of the vector inputs>\n");
    return 2;
  }
  for (const char* name : {"vowels", "tones", "noise", "silence", "vowels-short"}) {
    if (!makeVector(argv[1], name, false)) {
      std::fprintf(stderr, "qv48_vectors: %s failed\n", name);
      return 1;
    }
  }
  if (!makeVector(argv[1], "vowels8", true)) {
    std::fprintf(stderr, "qv48_vectors: vowels8 failed\n");
    return 1;
  }
  return 0;
}
