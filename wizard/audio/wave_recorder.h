// CWaveRecorder: records from a wave input device into a headerless PCM
// file.
//
// Sixty-four blocks of 1024 bytes (64 ms each at 8 kHz 16-bit mono, 4.096 s
// together) are allocated once, with the recorder, and all stay queued while
// recording: every block that comes back full is written to the file,
// flushed, cleared and queued again at once, so the device never runs dry
// while the owner's thread keeps up.
//
// stop() keeps everything recorded up to the moment of stopping: the device
// hands back the block it was filling with the bytes it holds, and the
// notices already on their way are taken in before the file is closed. So a
// recording shorter than one block is kept too.
//
// A recording that cannot be written whole (a full disk: a write, flush or
// the close failing) or whose device stops taking blocks has failed: nothing
// more is written, onBlockDone() says so at once, and stop() reports it, so
// the owner can tell the user when it happens and not count the recording.
//
// No thread of its own: every call, including onBlockDone(), is made on the
// notify object's thread. Nothing is allocated while sound flows.
#ifndef ZV_WIZARD_AUDIO_WAVE_RECORDER_H
#define ZV_WIZARD_AUDIO_WAVE_RECORDER_H

#include <QPointer>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "wizard/audio/wave_device.h"

namespace zv {

class CWaveRecorder {
 public:
  static constexpr int kBlockCount = 64;
  static constexpr std::uint32_t kBlockBytes = 1024;

  explicit CWaveRecorder(std::unique_ptr<WaveInputDevice> device);
  ~CWaveRecorder();  // stops first
  CWaveRecorder(const CWaveRecorder&) = delete;
  CWaveRecorder& operator=(const CWaveRecorder&) = delete;

  // Opens the input device with `format`, notices going to `notify`, queues
  // all blocks, starts capturing and creates (truncates) `path`. False when
  // the device cannot be opened or started, or the file cannot be created
  // (errorText() says which and why); the recorder is then idle, and a device
  // that failed has left the file untouched.
  bool open(const std::string& path, const WaveFormat& format, QObject* notify);

  enum class Failure { None, Write, Device };

  // Stops capturing, writes what was recorded up to now, closes the device
  // and the file. Safe when idle. Returns how the recording that ends here
  // failed (None when it is whole, or nothing was recording); failure() and
  // errorText() keep saying so until the next open().
  Failure stop();

  enum class Notice { Ignored, Written, Failed };
  // Handles a done notice: the block's bytes are written and flushed, the
  // block cleared and queued again. Notices while idle, for blocks of an
  // earlier opening, for empty blocks or after a failure change nothing.
  // Failed when this block could not be written or queued again: the
  // recording has failed, and the owner is expected to stop().
  Notice onBlockDone(const WaveDoneEvent& notice);

  bool isRecording() const { return file_ != nullptr; }
  Failure failure() const { return failure_; }
  const std::string& errorText() const { return error_text_; }

 private:
  std::unique_ptr<WaveInputDevice> device_;
  std::unique_ptr<std::uint8_t[]> storage_;  // kBlockCount * kBlockBytes
  std::array<WaveBlock, kBlockCount> blocks_{};
  std::FILE* file_ = nullptr;
  QPointer<QObject> notify_;  // null once the owner is gone
  void fail(Failure failure, std::string reason);

  bool stopping_ = false;           // blocks coming back are written, not queued again
  Failure failure_ = Failure::None;
  std::uint64_t generation_ = 0;    // counts openings; tags queued blocks
  std::string error_text_;
};

}  // namespace zv

#endif  // ZV_WIZARD_AUDIO_WAVE_RECORDER_H
