#include "tests/support/simulated_wave_devices.h"

#include <algorithm>

namespace zv {

bool SimulatedWaveOutput::open(const WaveFormat& format, QObject* notify) {
  ++openCount;
  if (refuseOpen) {
    error_text_ = "The simulated sound output device refuses to open.";
    return false;
  }
  open_ = true;
  notify_ = notify;
  format_ = format;
  return true;
}

bool SimulatedWaveOutput::write(WaveBlock& block) {
  if (!open_) return false;
  queue_.push_back(&block);
  return true;
}

bool SimulatedWaveOutput::completeNext() {
  if (queue_.empty()) return false;
  WaveBlock* block = queue_.front();
  queue_.pop_front();
  played_.insert(played_.end(), block->data, block->data + block->bufferLength);
  postWaveDone(notify_, WaveDirection::Output, block);
  return true;
}

void SimulatedWaveOutput::reset() {
  while (!queue_.empty()) {
    postWaveDone(notify_, WaveDirection::Output, queue_.front());
    queue_.pop_front();
  }
}

void SimulatedWaveOutput::close() {
  queue_.clear();
  open_ = false;
}

bool SimulatedWaveInput::open(const WaveFormat& format, QObject* notify) {
  ++openCount;
  if (refuseOpen) {
    error_text_ = "The simulated sound input device refuses to open.";
    return false;
  }
  open_ = true;
  started_ = false;
  notify_ = notify;
  format_ = format;
  return true;
}

bool SimulatedWaveInput::addBuffer(WaveBlock& block) {
  if (!open_) return false;
  block.bytesRecorded = 0;
  queue_.push_back(&block);
  return true;
}

bool SimulatedWaveInput::start() {
  if (!open_) return false;
  if (refuseStart) {
    error_text_ = "The simulated sound input device does not start.";
    return false;
  }
  started_ = true;
  return true;
}

std::size_t SimulatedWaveInput::capture(const std::vector<std::uint8_t>& bytes) {
  if (!open_ || !started_) return 0;
  std::size_t taken = 0;
  while (taken < bytes.size() && !queue_.empty()) {
    WaveBlock* block = queue_.front();
    const std::size_t room = block->capacityBytes - block->bytesRecorded;
    const std::size_t count = std::min(room, bytes.size() - taken);
    std::copy_n(bytes.data() + taken, count, block->data + block->bytesRecorded);
    block->bytesRecorded += static_cast<std::uint32_t>(count);
    taken += count;
    if (block->bytesRecorded == block->capacityBytes) {
      queue_.pop_front();
      postWaveDone(notify_, WaveDirection::Input, block);
    }
  }
  return taken;
}

void SimulatedWaveInput::reset() {
  started_ = false;
  while (!queue_.empty()) {
    postWaveDone(notify_, WaveDirection::Input, queue_.front());
    queue_.pop_front();
  }
}

void SimulatedWaveInput::close() {
  queue_.clear();
  open_ = false;
  started_ = false;
}

std::unique_ptr<WaveOutputDevice> SimulatedWaveDeviceFactory::makeOutput() {
  auto device = std::make_unique<SimulatedWaveOutput>();
  device->refuseOpen = audio_.refuseOutput;
  audio_.output = device.get();
  return device;
}

std::unique_ptr<WaveInputDevice> SimulatedWaveDeviceFactory::makeInput() {
  auto device = std::make_unique<SimulatedWaveInput>();
  device->refuseOpen = audio_.refuseInput;
  audio_.input = device.get();
  return device;
}

}  // namespace zv
