#include "tools/pcm_wav.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zv::tools {

namespace {

uint32_t le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void put32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, uint16_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

}  // namespace

bool readPcm16Wav(const std::string& path, PcmClip& clip, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    error = path + " is not a RIFF WAVE file";
    return false;
  }
  bool haveFormat = false;
  size_t pos = 12;
  while (bytes.size() - pos >= 8) {
    const unsigned char* chunk = bytes.data() + pos;
    const uint32_t size = le32(chunk + 4);
    if (size > bytes.size() - pos - 8) {
      error = path + ": chunk runs past the end of the file";
      return false;
    }
    const unsigned char* body = chunk + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16 || le16(body) != 1 || le16(body + 14) != 16) {
        error = path + ": only 16-bit PCM is read here";
        return false;
      }
      clip.channels = le16(body + 2);
      clip.sampleRateHz = le32(body + 4);
      haveFormat = clip.channels > 0;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) break;
      clip.samples.resize(size / 2);
      for (size_t i = 0; i < clip.samples.size(); ++i)
        clip.samples[i] = static_cast<int16_t>(le16(body + 2 * i));
      return true;
    }
    pos += 8 + size + (size & 1);
  }
  error = path + ": no format or data chunk";
  return false;
}

bool writePcm16Wav(const std::string& path, const PcmClip& clip, std::string& error) {
  const uint32_t dataBytes = static_cast<uint32_t>(clip.samples.size() * 2);
  std::vector<unsigned char> out;
  out.reserve(44 + dataBytes);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  put32(out, 36 + dataBytes);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(out, 16);
  put16(out, 1);
  put16(out, clip.channels);
  put32(out, clip.sampleRateHz);
  put32(out, clip.sampleRateHz * clip.channels * 2);
  put16(out, static_cast<uint16_t>(clip.channels * 2));
  put16(out, 16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  put32(out, dataBytes);
  for (int16_t s : clip.samples) put16(out, static_cast<uint16_t>(s));
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()))) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace zv::tools
