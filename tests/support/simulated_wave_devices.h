// Simulated wave devices for tests: nothing is played or captured until the
// test says so, and every notice is posted exactly as a real device posts
// it, so the engines and pages run their real code paths deterministically.
//
//   SimulatedWaveOutput  completeNext() gives back the oldest queued block
//                        (as played); reset() gives back all of them.
//   SimulatedWaveInput   capture(bytes) fills the queued blocks in order and
//                        gives back each one that becomes full; reset()
//                        gives back the one being filled with what it holds
//                        and the rest empty.
// Either can be told to refuse opening, as a missing device or a refused
// format would. The factory hands out devices that share one SimulatedAudio
// record, so a test keeps access to the devices a page owns.
#ifndef ZV_TESTS_SUPPORT_SIMULATED_WAVE_DEVICES_H
#define ZV_TESTS_SUPPORT_SIMULATED_WAVE_DEVICES_H

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "wizard/audio/wave_device.h"

namespace zv {

class SimulatedWaveOutput : public WaveOutputDevice {
 public:
  bool open(const WaveFormat& format, QObject* notify) override;
  bool write(WaveBlock& block) override;
  void reset() override;
  void close() override;
  bool isOpen() const override { return open_; }
  std::string errorText() const override { return error_text_; }

  // Gives back the oldest queued block as played. False when none is queued.
  bool completeNext();
  int queuedCount() const { return static_cast<int>(queue_.size()); }
  // Every byte handed to completeNext(), in order: what a listener heard.
  const std::vector<std::uint8_t>& played() const { return played_; }
  const WaveFormat& format() const { return format_; }

  bool refuseOpen = false;
  int openCount = 0;

 private:
  bool open_ = false;
  QObject* notify_ = nullptr;
  WaveFormat format_;
  std::deque<WaveBlock*> queue_;
  std::vector<std::uint8_t> played_;
  std::string error_text_;
};

class SimulatedWaveInput : public WaveInputDevice {
 public:
  bool open(const WaveFormat& format, QObject* notify) override;
  bool addBuffer(WaveBlock& block) override;
  bool start() override;
  void reset() override;
  void close() override;
  bool isOpen() const override { return open_; }
  std::string errorText() const override { return error_text_; }

  // Delivers `bytes` as captured sound: fills the queued blocks in order and
  // gives back each one that becomes full. Bytes for which no block is
  // queued are lost, as on a device that ran dry. Returns the bytes taken.
  std::size_t capture(const std::vector<std::uint8_t>& bytes);
  int queuedCount() const { return static_cast<int>(queue_.size()); }
  bool started() const { return started_; }
  const WaveFormat& format() const { return format_; }

  bool refuseOpen = false;
  bool refuseStart = false;  // opens, but capture does not start
  int openCount = 0;

 private:
  bool open_ = false;
  bool started_ = false;
  QObject* notify_ = nullptr;
  WaveFormat format_;
  std::deque<WaveBlock*> queue_;
  std::string error_text_;
};

// The devices a SimulatedWaveDeviceFactory made last, for the test to drive.
struct SimulatedAudio {
  SimulatedWaveOutput* output = nullptr;
  SimulatedWaveInput* input = nullptr;
  bool refuseOutput = false;  // devices made from now on refuse to open
  bool refuseInput = false;
};

class SimulatedWaveDeviceFactory : public WaveDeviceFactory {
 public:
  explicit SimulatedWaveDeviceFactory(SimulatedAudio& audio) : audio_(audio) {}
  std::unique_ptr<WaveOutputDevice> makeOutput() override;
  std::unique_ptr<WaveInputDevice> makeInput() override;

 private:
  SimulatedAudio& audio_;
};

}  // namespace zv

#endif  // ZV_TESTS_SUPPORT_SIMULATED_WAVE_DEVICES_H
