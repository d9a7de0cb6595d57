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
  failure_ = Failure::None;
  // The device first, the file last: a device that cannot be opened or
  // started must not cost the user the recording already in the file. The
  // notices of blocks filled meanwhile arrive through the event loop, after
  // the file is open.
  if (!device_->open(format, notify)) {
    error_text_ = device_->errorText();
    return false;
  }
  notify_ = notify;
  ++generation_;
  bool queued = true;
  for (WaveBlock& block : blocks_) {
    block.bytesRecorded = 0;
    block.generation = generation_;
    queued = queued && device_->addBuffer(block);
  }
  if (!queued || !device_->start()) {
    error_text_ = queued ? device_->errorText() : "The sound input device took too few blocks.";
    device_->reset();
    device_->close();
    return false;
  }
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error_text_ = "cannot create " + path + ": " + std::strerror(errno);
    device_->reset();
    device_->close();
    return false;
  }
  return true;
}

void CWaveRecorder::fail(Failure failure, std::string reason) {
  if (failure_ != Failure::None) return;  // the first cause is the one to tell
  failure_ = failure;
  error_text_ = std::move(reason);
}

CWaveRecorder::Failure CWaveRecorder::stop() {
  const bool wasRecording = file_ != nullptr;
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
    // A full disk may show only here, when the last buffered bytes go out.
    if (std::fclose(file_) != 0) fail(Failure::Write, std::strerror(errno));
    file_ = nullptr;
  }
  return wasRecording ? failure_ : Failure::None;
}

CWaveRecorder::Notice CWaveRecorder::onBlockDone(const WaveDoneEvent& notice) {
  WaveBlock* block = notice.block();
  if (!file_ || !block || notice.generation() != generation_) return Notice::Ignored;
  if (block->bytesRecorded == 0 || failure_ != Failure::None) return Notice::Ignored;
  errno = 0;
  if (std::fwrite(block->data, 1, block->bytesRecorded, file_) != block->bytesRecorded ||
      std::fflush(file_) != 0) {
    fail(Failure::Write, std::strerror(errno ? errno : EIO));
  } else {
    std::memset(block->data, 0, kBlockBytes);
    block->bytesRecorded = 0;
    if (stopping_ || device_->addBuffer(*block)) return Notice::Written;
    fail(Failure::Device, "The sound input device took no more blocks.");
  }
  // While stopping, stop() itself reports the failure.
  return stopping_ ? Notice::Ignored : Notice::Failed;
}

}  // namespace zv
