// CWavePlayer: plays a headerless PCM file through a wave output device.
//
// Sixteen blocks of 16384 bytes are allocated once, with the player, and
// reused: at the wizard's format (8 kHz, 16-bit mono) one block is 1.024 s,
// so up to 16.384 s of sound are queued at a time. Open() primes the device
// with up to sixteen blocks; each done notice for a full block refills that
// block with the next part of the file. The first notice for a block that is
// not full (a short last block, or the empty block queued when the file ends
// on a block boundary) is the end of playback: blocks come back in the order
// they were queued, so everything before it has been played.
//
// The player has no thread: every call, including onBlockDone(), is made on
// the thread of the notify object, which receives the device's notices and
// hands them back here. Nothing is allocated while sound flows.
#ifndef ZV_WIZARD_AUDIO_WAVE_PLAYER_H
#define ZV_WIZARD_AUDIO_WAVE_PLAYER_H

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "wizard/audio/wave_device.h"

namespace zv {

class CWavePlayer {
 public:
  static constexpr int kBlockCount = 16;
  static constexpr std::uint32_t kBlockBytes = 16384;

  explicit CWavePlayer(std::unique_ptr<WaveOutputDevice> device);
  ~CWavePlayer();  // stops first
  CWavePlayer(const CWavePlayer&) = delete;
  CWavePlayer& operator=(const CWavePlayer&) = delete;

  // Opens `path` for reading and the output device with `format`, notices
  // going to `notify`, and primes the device. False when the file cannot be
  // opened or the device cannot be opened (errorText() says which and why);
  // the player is then idle.
  bool open(const std::string& path, const WaveFormat& format, QObject* notify);

  // Reads the next part of the file into the next block and queues it, also
  // when nothing was left to read. Returns whether any bytes were read;
  // true without doing anything when no file is open. A block the device
  // refuses would never come back, so playback could never end: the player
  // stops (errorText() says why) and returns false.
  bool fillNext();

  // Stops the device, closes it and the file. Safe when idle.
  void stop();

  enum class Notice { Ignored, Continued, PlaybackEnded };
  // Handles a done notice: a full block is refilled; any other block ends
  // playback (the player stops itself), and so does a refill the device
  // refuses. Notices for blocks of an earlier
  // opening, or arriving while idle, are ignored.
  Notice onBlockDone(const WaveDoneEvent& notice);

  bool isPlaying() const { return file_ != nullptr; }
  const std::string& errorText() const { return error_text_; }

 private:
  std::unique_ptr<WaveOutputDevice> device_;
  std::unique_ptr<std::uint8_t[]> storage_;  // kBlockCount * kBlockBytes
  std::array<WaveBlock, kBlockCount> blocks_{};
  std::FILE* file_ = nullptr;
  int next_slot_ = 0;               // block to fill next, 0..15
  std::uint64_t generation_ = 0;    // counts openings; tags queued blocks
  std::string error_text_;
};

}  // namespace zv

#endif  // ZV_WIZARD_AUDIO_WAVE_PLAYER_H
