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

  // Opens the input device with `format`, notices going to `notify`,
  // creates (truncates) `path`, queues all blocks and starts capturing. False
  // when the device or the file cannot be opened (errorText() says which and
  // why); the recorder is then idle, and a device that failed has left the
  // file untouched.
  bool open(const std::string& path, const WaveFormat& format, QObject* notify);

  // Stops capturing, writes what was recorded up to now, closes the device
  // and the file. Safe when idle.
  void stop();

  // Handles a done notice: the block's bytes are written and flushed, the
  // block cleared and queued again. Notices while idle, for blocks of an
  // earlier opening, or for empty blocks change nothing.
  void onBlockDone(const WaveDoneEvent& notice);

  bool isRecording() const { return file_ != nullptr; }
  const std::string& errorText() const { return error_text_; }

 private:
  std::unique_ptr<WaveInputDevice> device_;
  std::unique_ptr<std::uint8_t[]> storage_;  // kBlockCount * kBlockBytes
  std::array<WaveBlock, kBlockCount> blocks_{};
  std::FILE* file_ = nullptr;
  QPointer<QObject> notify_;  // null once the owner is gone
  bool stopping_ = false;           // blocks coming back are written, not queued again
  std::uint64_t generation_ = 0;    // counts openings; tags queued blocks
  std::string error_text_;
};

}  // namespace zv

#endif  // ZV_WIZARD_AUDIO_WAVE_RECORDER_H
