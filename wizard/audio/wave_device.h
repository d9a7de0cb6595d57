// The sound devices the wizard plays and records through.
//
// An engine (CWavePlayer, CWaveRecorder) lends blocks of PCM bytes to a
// device; the device plays them (output) or fills them (input) in the order
// they were queued and gives each one back with a "done" notice: a
// WaveDoneEvent posted to the engine's notify object, so that it arrives on
// that object's thread through its event loop, after whatever the thread is
// doing now has finished. The notify object (the wizard page that owns the
// engine) hands each notice back to its engine. Devices never call into an
// engine directly and never run engine code on another thread.
//
// Two kinds of device stand behind these interfaces: the system's default
// output and input through Qt Multimedia (qt_wave_devices.h), and a
// simulated pair for tests that completes blocks when the test says so
// (tests/support/simulated_wave_devices.h, built only into the tests).
#ifndef ZV_WIZARD_AUDIO_WAVE_DEVICE_H
#define ZV_WIZARD_AUDIO_WAVE_DEVICE_H

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

#include "encoder/wave_format.h"

namespace zv {

// One block of PCM bytes on loan to a device. The engine owns the memory.
struct WaveBlock {
  std::uint8_t* data = nullptr;
  std::uint32_t capacityBytes = 0;   // size of `data`
  std::uint32_t bufferLength = 0;    // output: bytes to play from `data`
  std::uint32_t bytesRecorded = 0;   // input: bytes the device filled in
  std::uint64_t generation = 0;      // which opening of the device queued it
};

enum class WaveDirection { Output, Input };

// The "done" notice for one block (the counterpart of MM_WOM_DONE and
// MM_WIM_DATA). Posted, never sent.
class WaveDoneEvent : public QEvent {
 public:
  WaveDoneEvent(WaveDirection direction, WaveBlock* block)
      : QEvent(eventType()), direction_(direction), block_(block), generation_(block->generation) {}

  static QEvent::Type eventType();

  WaveDirection direction() const { return direction_; }
  WaveBlock* block() const { return block_; }
  // The block's generation when the device gave it back. A block is reused
  // by the next opening, so a late notice must be told apart by this copy,
  // not by what the block says when the notice arrives.
  std::uint64_t generation() const { return generation_; }

 private:
  WaveDirection direction_;
  WaveBlock* block_;
  std::uint64_t generation_;
};

// Posts the done notice for `block` to `notify` (queued on its thread).
void postWaveDone(QObject* notify, WaveDirection direction, WaveBlock* block);

class WaveOutputDevice {
 public:
  virtual ~WaveOutputDevice() = default;
  // Opens the default output for `format`; notices go to `notify`. False
  // when the device cannot be opened or refuses the format: errorText() then
  // says why, and the device stays closed.
  virtual bool open(const WaveFormat& format, QObject* notify) = 0;
  // Queues a block for playing (bufferLength bytes, possibly none). Blocks
  // come back in the order they were queued, each once it has been played.
  // False when the device is not open or has no room for another block: the
  // block is not queued and no notice will come for it.
  virtual bool write(WaveBlock& block) = 0;
  // Stops playing at once; every block still queued comes back with a
  // notice.
  virtual void reset() = 0;
  // Closes the device (after reset()). Safe when it is not open.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual std::string errorText() const = 0;
};

class WaveInputDevice {
 public:
  virtual ~WaveInputDevice() = default;
  // Opens the default input for `format`; notices go to `notify`. False
  // when the device cannot be opened or refuses the format (errorText()).
  virtual bool open(const WaveFormat& format, QObject* notify) = 0;
  // Queues an empty block to be filled. A block comes back when it is full,
  // or at reset() with what it holds. False when the device is not open or
  // has no room for another block: the block is not queued.
  virtual bool addBuffer(WaveBlock& block) = 0;
  // Starts capturing into the queued blocks. False when capture could not
  // start (errorText() says why).
  virtual bool start() = 0;
  // Stops capturing at once; every queued block comes back with a notice,
  // the one being filled with the bytes it holds (bytesRecorded), the
  // others empty.
  virtual void reset() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual std::string errorText() const = 0;
};

// Makes the devices a page uses: the real ones in the product, simulated
// ones in tests.
class WaveDeviceFactory {
 public:
  virtual ~WaveDeviceFactory() = default;
  virtual std::unique_ptr<WaveOutputDevice> makeOutput() = 0;
  virtual std::unique_ptr<WaveInputDevice> makeInput() = 0;
};

}  // namespace zv

#endif  // ZV_WIZARD_AUDIO_WAVE_DEVICE_H
