#include "speech_test_support.h"

#include <fstream>
#include <iterator>

#include "stream_coding.h"

namespace zv::qv80::test {

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> encodeStream(const std::vector<uint8_t>& pcm, bool eightBit, cpu::Arch arch) {
  return encodeWholeStream(pcm, eightBit, arch);
}

std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, bool eightBit,
                                  cpu::Arch arch) {
  return decodeWholeStream(frames, eightBit, arch);
}

}  // namespace zv::qv80::test
