#include "wizard/audio/qt_wave_devices.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

#include "wizard/audio/wave_player.h"
#include "wizard/audio/wave_recorder.h"

namespace zv {

namespace {

constexpr int kPumpIntervalMs = 10;
// What the sound server holds ahead of the speaker. The pump runs on the GUI
// thread, which a busy machine can hold up for a moment; with only a few
// milliseconds queued such a moment is a gap in the sound. Half a second
// rides over it, and Stop still drops it at once (reset()).
constexpr int kSinkBufferMs = 500;

// Why a device could not be opened, in words a user can act on.
std::string describeOpenFailure(const char* which, const QAudioDevice& device,
                                const QAudioFormat& format) {
  if (device.isNull())
    return std::string("There is no ") + which + " (no sound server or no such device is available).";
  const std::string name = device.description().toStdString();
  if (!format.isValid())
    return std::string("The ") + which + " \"" + name + "\" cannot take this sound format.";
  if (!device.isFormatSupported(format))
    return std::string("The ") + which + " \"" + name + "\" refuses the format " +
           std::to_string(format.sampleRate()) + " Hz, " +
           std::to_string(format.bytesPerSample() * 8) + "-bit, " +
           std::to_string(format.channelCount()) + " channel(s).";
  return std::string("The ") + which + " \"" + name + "\" could not be started.";
}

}  // namespace

// Each engine keeps all of its blocks lent to its device: a ring smaller than
// an engine's block count would refuse blocks in normal use.
static_assert(WaveBlockRing::kCapacity >= CWaveRecorder::kBlockCount,
              "the input ring must hold every block of the recorder");
static_assert(WaveBlockRing::kCapacity >= CWavePlayer::kBlockCount,
              "the output rings must hold every block of the player");

bool WaveBlockRing::push(WaveBlock* block, std::int64_t endPosition) {
  if (count_ == kCapacity) return false;
  slots_[(head_ + count_) % kCapacity] = Entry{block, endPosition};
  ++count_;
  return true;
}

WaveBlockRing::Entry WaveBlockRing::pop() {
  const Entry entry = slots_[head_];
  head_ = (head_ + 1) % kCapacity;
  --count_;
  return entry;
}

QAudioFormat toQAudioFormat(const WaveFormat& format) {
  QAudioFormat result;
  if (format.formatTag != kWaveFormatPcm) return result;
  if (format.bitsPerSample == 16)
    result.setSampleFormat(QAudioFormat::Int16);
  else if (format.bitsPerSample == 8)
    result.setSampleFormat(QAudioFormat::UInt8);
  else
    return result;
  result.setSampleRate(static_cast<int>(format.samplesPerSec));
  result.setChannelCount(format.channels);
  return result;
}

// Output ---------------------------------------------------------------

QtWaveOutput::QtWaveOutput() {
  timer_.setInterval(kPumpIntervalMs);
  connect(&timer_, &QTimer::timeout, this, [this] { pump(); });
}

QtWaveOutput::~QtWaveOutput() { close(); }

bool QtWaveOutput::open(const WaveFormat& format, QObject* notify) {
  close();
  error_text_.clear();
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  const QAudioFormat audioFormat = toQAudioFormat(format);
  if (device.isNull() || !audioFormat.isValid() || !device.isFormatSupported(audioFormat)) {
    error_text_ = describeOpenFailure("sound output device", device, audioFormat);
    return false;
  }
  sink_ = std::make_unique<QAudioSink>(device, audioFormat);
  sink_->setBufferSize(audioFormat.bytesForDuration(qint64{kSinkBufferMs} * 1000));
  stream_ = sink_->start();
  if (!stream_ || sink_->error() != QAudio::NoError) {
    error_text_ = describeOpenFailure("sound output device", device, audioFormat);
    sink_.reset();
    stream_ = nullptr;
    return false;
  }
  notify_ = notify;
  bytes_per_second_ = static_cast<std::int64_t>(format.avgBytesPerSec);
  bytes_handed_ = 0;
  front_offset_ = 0;
  timer_.start();
  return true;
}

bool QtWaveOutput::write(WaveBlock& block) {
  // A block moves from waiting_ to handed_: taking no more than one ring
  // holds in both keeps handed_ from ever being full.
  if (!sink_ || waiting_.size() + handed_.size() >= WaveBlockRing::kCapacity) return false;
  if (!waiting_.push(&block)) return false;
  pump();
  return true;
}

void QtWaveOutput::pump() {
  if (!sink_) return;
  // Hand over as much as the sink has room for, block by block.
  while (!waiting_.empty()) {
    WaveBlock* block = waiting_.front().block;
    const std::uint32_t left = block->bufferLength - front_offset_;
    if (left > 0) {
      const qint64 room = sink_->bytesFree();
      if (room <= 0) break;
      const qint64 written = stream_->write(reinterpret_cast<const char*>(block->data) + front_offset_,
                                            std::min<qint64>(room, left));
      if (written <= 0) break;
      front_offset_ += static_cast<std::uint32_t>(written);
      bytes_handed_ += written;
      if (front_offset_ < block->bufferLength) break;
    }
    // Never full: see write().
    waiting_.pop();
    static_cast<void>(handed_.push(block, bytes_handed_));
    front_offset_ = 0;
  }
  // Give back what the sink has processed, in order. The last block of a
  // file (not full) waits until everything before it has gone out.
  const std::int64_t processed = sink_->processedUSecs() * bytes_per_second_ / 1000000;
  while (!handed_.empty()) {
    const WaveBlockRing::Entry& entry = handed_.front();
    if (entry.endPosition > processed) break;
    postWaveDone(notify_, WaveDirection::Output, handed_.pop().block);
  }
}

void QtWaveOutput::reset() {
  timer_.stop();
  if (sink_) sink_->reset();
  while (!handed_.empty()) postWaveDone(notify_, WaveDirection::Output, handed_.pop().block);
  while (!waiting_.empty()) postWaveDone(notify_, WaveDirection::Output, waiting_.pop().block);
  front_offset_ = 0;
}

void QtWaveOutput::close() {
  timer_.stop();
  if (sink_) sink_->stop();
  sink_.reset();
  stream_ = nullptr;
  waiting_.clear();
  handed_.clear();
}

// Input ----------------------------------------------------------------

QtWaveInput::QtWaveInput() = default;

QtWaveInput::~QtWaveInput() { close(); }

bool QtWaveInput::open(const WaveFormat& format, QObject* notify) {
  close();
  error_text_.clear();
  const QAudioDevice device = QMediaDevices::defaultAudioInput();
  const QAudioFormat audioFormat = toQAudioFormat(format);
  if (device.isNull() || !audioFormat.isValid() || !device.isFormatSupported(audioFormat)) {
    error_text_ = describeOpenFailure("sound input device", device, audioFormat);
    return false;
  }
  source_ = std::make_unique<QAudioSource>(device, audioFormat);
  notify_ = notify;
  device_name_ = device.description().toStdString();
  return true;
}

bool QtWaveInput::addBuffer(WaveBlock& block) {
  if (!source_) return false;
  block.bytesRecorded = 0;
  return queue_.push(&block);
}

bool QtWaveInput::start() {
  if (!source_) return false;
  stream_ = source_->start();
  if (!stream_ || source_->error() != QAudio::NoError) {
    // The sound server may accept the format and still refuse to capture
    // (the device is busy or has gone away).
    error_text_ = "The sound input device \"" + device_name_ + "\" could not be started.";
    source_->stop();
    stream_ = nullptr;
    return false;
  }
  connect(stream_, &QIODevice::readyRead, this, [this] { takeAvailable(); });
  return true;
}

void QtWaveInput::takeAvailable() {
  if (!stream_) return;
  for (;;) {
    if (queue_.empty()) {
      // No block to fill: the bytes are lost, as on a device that ran dry.
      if (stream_->read(reinterpret_cast<char*>(overflow_.data()), overflow_.size()) <= 0) return;
      continue;
    }
    WaveBlock* block = queue_.front().block;
    const qint64 room = block->capacityBytes - block->bytesRecorded;
    const qint64 got = stream_->read(reinterpret_cast<char*>(block->data) + block->bytesRecorded, room);
    if (got <= 0) return;
    block->bytesRecorded += static_cast<std::uint32_t>(got);
    if (block->bytesRecorded == block->capacityBytes)
      postWaveDone(notify_, WaveDirection::Input, queue_.pop().block);
  }
}

void QtWaveInput::reset() {
  takeAvailable();
  if (source_) source_->stop();
  stream_ = nullptr;
  while (!queue_.empty()) postWaveDone(notify_, WaveDirection::Input, queue_.pop().block);
}

void QtWaveInput::close() {
  if (source_) source_->stop();
  source_.reset();
  stream_ = nullptr;
  queue_.clear();
}

std::unique_ptr<WaveOutputDevice> QtWaveDeviceFactory::makeOutput() {
  return std::make_unique<QtWaveOutput>();
}

std::unique_ptr<WaveInputDevice> QtWaveDeviceFactory::makeInput() {
  return std::make_unique<QtWaveInput>();
}

}  // namespace zv
