// Helpers of the QV48W tests: files of the test data and whole streams
// through the library's entry points.
#ifndef ZV_TESTS_CODEC_SPEECH48_LOWRATE_TEST_SUPPORT_H
#define ZV_TESTS_CODEC_SPEECH48_LOWRATE_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace zv::qv48::test {

std::vector<uint8_t> readFileBytes(const std::string& path);
std::string vectorPath(const std::string& name);

std::vector<int16_t> samplesFromBytes(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> bytesFromSamples(const std::vector<int16_t>& samples);

// One fresh coder opened with `flags`, frames back to back; a short final
// frame is completed with silence (0, or 128 in 8-bit mode).
std::vector<uint8_t> encodeStream(std::vector<uint8_t> pcm, uint32_t flags);
// One fresh decoder over 18-byte frames back to back.
std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, uint32_t flags);

// Index of the first differing byte, or -1 when equal (sizes included).
long firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

}  // namespace zv::qv48::test

#endif  // ZV_TESTS_CODEC_SPEECH48_LOWRATE_TEST_SUPPORT_H
