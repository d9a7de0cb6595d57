// Helpers shared by the speech codec tests: reading test files, running a
// whole stream through the encoder or decoder, and running work on a fresh
// thread (the encoder's pseudo-random seed is 1 when a thread starts).
#ifndef ZV_TESTS_QV80_SPEECH_TEST_SUPPORT_H
#define ZV_TESTS_QV80_SPEECH_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "codec/cpu_features.h"

namespace zv::qv80::test {

// The whole file, or an empty vector when it cannot be read.
std::vector<uint8_t> readFile(const std::string& path);

// PCM bytes to 20-byte frames with a fresh encoder at kernel level `arch`
// (by default the processor's); a short final frame is completed with
// silence (0, or 128 in 8-bit mode).
std::vector<uint8_t> encodeStream(const std::vector<uint8_t>& pcm, bool eightBit,
                                  cpu::Arch arch = cpu::processorArch());

// 20-byte frames to PCM bytes with a fresh decoder at kernel level `arch`.
std::vector<uint8_t> decodeStream(const std::vector<uint8_t>& frames, bool eightBit,
                                  cpu::Arch arch = cpu::processorArch());

// Runs `work` on a new thread and waits for it.
template <typename Work>
void onFreshThread(Work&& work) {
  std::thread thread(std::forward<Work>(work));
  thread.join();
}

}  // namespace zv::qv80::test

#endif  // ZV_TESTS_QV80_SPEECH_TEST_SUPPORT_H
