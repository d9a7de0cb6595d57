// The system's default sound output and input, through Qt Multimedia.
//
// Output: the queued blocks are copied into a QAudioSink in push mode as it
// has room, from a 10 ms timer on the notify object's thread. A block comes
// back once the sink has processed all of its bytes (it has gone to the
// sound server); the last block (not full) comes back only when the sink has
// processed everything queued before it.
//
// Input: a QAudioSource in push mode; each time it has bytes, they are
// copied into the queued blocks in order, and every block that becomes full
// comes back. reset() first takes in what the source still holds, then
// gives back the block being filled with its bytes.
//
// Neither allocates while sound flows: the queues are fixed rings of block
// pointers.
#ifndef ZV_WIZARD_AUDIO_QT_WAVE_DEVICES_H
#define ZV_WIZARD_AUDIO_QT_WAVE_DEVICES_H

#include <QAudioFormat>
#include <QObject>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

#include "wizard/audio/wave_device.h"

class QAudioSink;
class QAudioSource;
class QIODevice;

namespace zv {

// A first-in first-out ring of queued blocks with room for `kCapacity`,
// each with the stream position where it ends (output only). An engine lends
// a device all its blocks at once, so the ring must hold every block of the
// largest engine (checked where both are known, in the .cpp); a push beyond
// that is refused, and the device refuses the block to its engine.
class WaveBlockRing {
 public:
  static constexpr int kCapacity = 64;
  struct Entry {
    WaveBlock* block = nullptr;
    std::int64_t endPosition = 0;
  };
  bool empty() const { return count_ == 0; }
  int size() const { return count_; }
  // False when the ring is full: the block is not taken.
  [[nodiscard]] bool push(WaveBlock* block, std::int64_t endPosition = 0);
  const Entry& front() const { return slots_[head_]; }
  Entry pop();
  void clear() { head_ = count_ = 0; }

 private:
  std::array<Entry, kCapacity> slots_{};
  int head_ = 0;
  int count_ = 0;
};

// The QAudioFormat for a PCM WaveFormat (8- or 16-bit), or an invalid one.
QAudioFormat toQAudioFormat(const WaveFormat& format);

class QtWaveOutput : public QObject, public WaveOutputDevice {
  Q_OBJECT
 public:
  QtWaveOutput();
  ~QtWaveOutput() override;
  bool open(const WaveFormat& format, QObject* notify) override;
  bool write(WaveBlock& block) override;
  void reset() override;
  void close() override;
  bool isOpen() const override { return sink_ != nullptr; }
  std::string errorText() const override { return error_text_; }

 private:
  void pump();

  std::unique_ptr<QAudioSink> sink_;
  QIODevice* stream_ = nullptr;  // owned by the sink
  QTimer timer_;
  QObject* notify_ = nullptr;
  WaveBlockRing waiting_;          // queued, bytes not all handed over yet
  WaveBlockRing handed_;           // all bytes handed over, not yet processed
  std::uint32_t front_offset_ = 0;  // bytes of waiting_.front() already handed over
  std::int64_t bytes_handed_ = 0;
  std::int64_t bytes_per_second_ = 0;
  std::string error_text_;
};

class QtWaveInput : public QObject, public WaveInputDevice {
  Q_OBJECT
 public:
  QtWaveInput();
  ~QtWaveInput() override;
  bool open(const WaveFormat& format, QObject* notify) override;
  bool addBuffer(WaveBlock& block) override;
  bool start() override;
  void reset() override;
  void close() override;
  bool isOpen() const override { return source_ != nullptr; }
  std::string errorText() const override { return error_text_; }

 private:
  void takeAvailable();

  std::unique_ptr<QAudioSource> source_;
  QIODevice* stream_ = nullptr;  // owned by the source
  QObject* notify_ = nullptr;
  std::string device_name_;
  WaveBlockRing queue_;
  std::array<std::uint8_t, 4096> overflow_{};  // bytes for which no block was queued
  std::string error_text_;
};

class QtWaveDeviceFactory : public WaveDeviceFactory {
 public:
  std::unique_ptr<WaveOutputDevice> makeOutput() override;
  std::unique_ptr<WaveInputDevice> makeInput() override;
};

}  // namespace zv

#endif  // ZV_WIZARD_AUDIO_QT_WAVE_DEVICES_H
