#include "wizard/audio/wave_recorder.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

namespace zv {

CWaveRecorder::CWaveRecorder(std::unique_ptr<WaveInputDevice> device)
    : device_(std::move(device)), storage_(new std::uint8_t[kBlockCount * kBlockBytes]()) {
  for (int i = 0; i < kBlockCount; ++i) {
    blocks_[i].data = storage_.get() + static_cast<std::size_t>(i) * kBlockBytes;
    blocks_[i].capacityBytes = kBlockBytes;
  }
}

CWaveRecorder::~CWaveRecorder() { stop(); }

bool CWaveRecorder::open(const std::string& path, const WaveFormat& format, QObject* notify) {
  stop();
  error_text_.clear();
  // The device first: a device that cannot be opened must not cost the user
  // the recording already in the file.
  if (!device_->open(format, notify)) {
    error_text_ = device_->errorText();
    return false;
  }
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error_text_ = "cannot create " + path + ": " + std::strerror(errno);
    device_->close();
    return false;
  }
  notify_ = notify;
  ++generation_;
  for (WaveBlock& block : blocks_) {
    block.bytesRecorded = 0;
    block.generation = generation_;
    device_->addBuffer(block);
  }
  device_->start();
  return true;
}

void CWaveRecorder::stop() {
  if (device_->isOpen()) {
    // The device hands back every block, the one it was filling with what it
    // holds; take those notices in now, while the file is still open, in the
    // order they were posted.
    stopping_ = true;
    device_->reset();
    if (notify_) QCoreApplication::sendPostedEvents(notify_, WaveDoneEvent::eventType());
    stopping_ = false;
    device_->close();
  }
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void CWaveRecorder::onBlockDone(const WaveDoneEvent& notice) {
  WaveBlock* block = notice.block();
  if (!file_ || !block || notice.generation() != generation_) return;
  if (block->bytesRecorded == 0) return;
  std::fwrite(block->data, 1, block->bytesRecorded, file_);
  std::fflush(file_);
  std::memset(block->data, 0, kBlockBytes);
  block->bytesRecorded = 0;
  if (!stopping_) device_->addBuffer(*block);
}

}  // namespace zv
