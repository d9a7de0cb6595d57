#include "wizard/audio/wave_player.h"

#include <cerrno>
#include <cstring>

namespace zv {

CWavePlayer::CWavePlayer(std::unique_ptr<WaveOutputDevice> device)
    : device_(std::move(device)), storage_(new std::uint8_t[kBlockCount * kBlockBytes]) {
  for (int i = 0; i < kBlockCount; ++i) {
    blocks_[i].data = storage_.get() + static_cast<std::size_t>(i) * kBlockBytes;
    blocks_[i].capacityBytes = kBlockBytes;
  }
}

CWavePlayer::~CWavePlayer() { stop(); }

bool CWavePlayer::open(const std::string& path, const WaveFormat& format, QObject* notify) {
  stop();
  error_text_.clear();
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    error_text_ = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  if (!device_->open(format, notify)) {
    error_text_ = device_->errorText();
    std::fclose(file_);
    file_ = nullptr;
    return false;
  }
  ++generation_;
  next_slot_ = 0;
  // Prime: up to sixteen blocks, or all of a shorter file plus one empty
  // block that marks its end.
  for (int i = 0; i < kBlockCount && fillNext(); ++i) {
  }
  return file_ != nullptr;
}

bool CWavePlayer::fillNext() {
  if (!file_) return true;
  WaveBlock& block = blocks_[next_slot_];
  const std::size_t read = std::fread(block.data, 1, kBlockBytes, file_);
  block.bufferLength = static_cast<std::uint32_t>(read);
  block.generation = generation_;
  if (!device_->write(block)) {
    stop();
    error_text_ = "The sound output device took no more sound.";
    return false;
  }
  next_slot_ = (next_slot_ + 1) % kBlockCount;
  return read > 0;
}

void CWavePlayer::stop() {
  if (device_->isOpen()) {
    device_->reset();
    device_->close();
  }
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  next_slot_ = 0;
}

CWavePlayer::Notice CWavePlayer::onBlockDone(const WaveDoneEvent& notice) {
  const WaveBlock* block = notice.block();
  if (!file_ || !block || notice.generation() != generation_) return Notice::Ignored;
  if (block->bufferLength == kBlockBytes) {
    fillNext();
    return file_ ? Notice::Continued : Notice::PlaybackEnded;
  }
  stop();
  return Notice::PlaybackEnded;
}

}  // namespace zv
