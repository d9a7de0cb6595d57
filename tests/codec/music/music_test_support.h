// Helpers shared by the music codec tests: files of the test data, and whole
// streams through the encoder and decoder of a chosen filter-bank form.
#ifndef ZV_TESTS_CODEC_MUSIC_TEST_SUPPORT_H
#define ZV_TESTS_CODEC_MUSIC_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "codec/music/qmf_form.h"

namespace zv::qv160mx::test {

// Whole file as bytes; empty when it cannot be read.
std::vector<uint8_t> readFileBytes(const std::string& path);

// A file of the conformance vectors folder.
std::string vectorPath(const std::string& name);
// A file of the test data folder.
std::string testDataPath(const std::string& name);

// Headerless 16-bit little-endian PCM bytes <-> samples.
std::vector<int16_t> samplesFromBytes(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> bytesFromSamples(const std::vector<int16_t>& samples);

// Encodes PCM bytes with one fresh encoder, 256 bytes per frame, completing a
// short final frame with zero samples; frames back to back.
std::vector<uint8_t> encodeStream(const std::vector<uint8_t>& pcm, QmfForm form);

// Decodes frames stored back to back with one fresh decoder, stepping by each
// frame's own length. Stops (and reports a failure) at a frame it rejects.
std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, QmfForm form);

// Both forms where this build and processor have the SIMD one, else scalar.
std::vector<QmfForm> availableForms();

const char* formName(QmfForm form);

}  // namespace zv::qv160mx::test

#endif  // ZV_TESTS_CODEC_MUSIC_TEST_SUPPORT_H
