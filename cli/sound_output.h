// Where `zvsa play` sends the decoded sound. The clip loop (clip_player.h)
// only hands samples in, in order; the device paces it by taking them no
// faster than it plays them. Kept apart from the sound server so that the
// loop runs against a fake in tests.
#ifndef ZV_CLI_SOUND_OUTPUT_H
#define ZV_CLI_SOUND_OUTPUT_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace zv::cli {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;

  // Hands `pcm` (the codecs' format: 8000 Hz mono, 16-bit little-endian
  // samples) to the device, blocking while its buffer is full. Returns ""
  // or why the device refused it.
  virtual std::string write(std::span<const std::uint8_t> pcm) = 0;

  // Microseconds of the sound handed in that have not been heard yet, so
  // that the elapsed time shown is what the listener hears.
  virtual std::uint64_t queuedMicroseconds() = 0;

  // Waits until everything handed in has been heard. Returns "" or why not.
  virtual std::string drain() = 0;
};

// The default speaker of the user's sound server (PulseAudio, or PipeWire's
// PulseAudio server), or nothing with `error` saying why it cannot be
// reached.
std::unique_ptr<SoundOutput> openDefaultSoundOutput(const std::string& streamName, std::string& error);

}  // namespace zv::cli

#endif  // ZV_CLI_SOUND_OUTPUT_H
