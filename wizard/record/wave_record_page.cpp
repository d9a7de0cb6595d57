#include "wizard/record/wave_record_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "encoder/engine_strings.h"
#include "encoder/engine_workspace.h"
#include "platform/message_presenter.h"
#include "widgets/caption_mnemonic.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

constexpr int kAnimationPixels = 64;

QPushButton* makeMediaButton(const QString& text, const QIcon& icon, QWidget* parent) {
  auto* button = new QPushButton(icon, text, parent);
  button->setIconSize(QSize(24, 24));
  button->setMinimumWidth(96);
  button->setAccessibleName(captionText(text));
  return button;
}

}  // namespace

CPageWaveRecord::CPageWaveRecord(WizardState& state, WizardServices& services,
                                 WaveDeviceFactory& devices, QWidget* parent)
    : QWizardPage(parent),
      state_(state),
      services_(services),
      player_(devices.makeOutput()),
      recorder_(devices.makeInput()),
      frames_(drawRecordingAnimation(kAnimationPixels)) {
  setTitle(tr("Record Voice"));

  introduction_ = new QLabel(QString::fromStdString(wizardMessage(kIdsRecordIntroduction)), this);
  introduction_->setWordWrap(true);
  QFont bold = introduction_->font();
  bold.setWeight(QFont::Bold);
  introduction_->setFont(bold);

  play_ = makeMediaButton(tr("&Play"), playIcon(), this);
  record_ = makeMediaButton(tr("&Record"), recordIcon(), this);
  stop_ = makeMediaButton(tr("S&top"), stopIcon(), this);

  animation_ = new QLabel(this);
  animation_->setFixedSize(kAnimationPixels, kAnimationPixels);
  animation_->setAccessibleName(tr("Recording in progress"));
  animation_->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(play_);
  buttons->addWidget(record_);
  buttons->addWidget(stop_);
  buttons->addSpacing(16);
  buttons->addWidget(animation_);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(introduction_);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->addStretch();

  setTabOrder(record_, stop_);
  setTabOrder(stop_, play_);

  connect(record_, &QPushButton::clicked, this, &CPageWaveRecord::onRecord);
  connect(play_, &QPushButton::clicked, this, &CPageWaveRecord::onPlay);
  connect(stop_, &QPushButton::clicked, this, &CPageWaveRecord::onStop);

  play_->setEnabled(false);
  stop_->setEnabled(false);
  record_->setEnabled(true);
  default_button_ = record_;
}

CPageWaveRecord::~CPageWaveRecord() {
  player_.stop();
  recorder_.stop();
}

void CPageWaveRecord::initializePage() {
  // Recordings are always made, played and compressed as 8 kHz 16-bit mono.
  services_.workspace.PcmFormat = codecPcmFormat();
  emit completeChanged();
  // The wizard makes its own Next or Finish the default button after it has
  // shown a page; the page's own default follows once that is done.
  QMetaObject::invokeMethod(this, [this] { makeDefault(default_button_); }, Qt::QueuedConnection);
}

bool CPageWaveRecord::isComplete() const { return has_recording_; }

bool CPageWaveRecord::validatePage() {
  if (recorder_.isRecording() || player_.isPlaying()) onStop();
  return has_recording_;
}

void CPageWaveRecord::cleanupPage() {
  if (recorder_.isRecording() || player_.isPlaying()) onStop();
}

void CPageWaveRecord::onRecord() {
  recording_flag_ = true;
  showBusy();
  if (!recorder_.open(services_.workspace.PcmWorkFile, services_.workspace.PcmFormat, this)) {
    showIdle(has_recording_ ? play_ : record_);
    reportDeviceFailure(kIdsInputDeviceFailed, recorder_.errorText());
    return;
  }
  // A new recording replaces the old one, which the compression page must
  // not keep using.
  state_.compressionStale = true;
  frame_ = 0;
  advanceAnimation();
  animation_->show();
  animation_timer_.start(kAnimationIntervalMs, this);
}

void CPageWaveRecord::onPlay() {
  recording_flag_ = false;
  showBusy();
  if (!player_.open(services_.workspace.PcmWorkFile, services_.workspace.PcmFormat, this)) {
    showIdle(play_);
    reportDeviceFailure(kIdsOutputDeviceFailed, player_.errorText());
  }
}

void CPageWaveRecord::onStop() {
  CWaveRecorder::Failure failure = CWaveRecorder::Failure::None;
  if (recording_flag_) {
    const bool wasRecording = recorder_.isRecording();
    failure = recorder_.stop();
    // The file was truncated when this recording began, so a recording that
    // failed leaves none behind, not even the one before it.
    if (wasRecording) has_recording_ = failure == CWaveRecorder::Failure::None;
  } else {
    player_.stop();
  }
  animation_timer_.stop();
  animation_->hide();
  shown_frame_id_ = 0;
  frame_ = 0;
  emit completeChanged();
  showIdle(play_);
  if (failure != CWaveRecorder::Failure::None) reportRecordingFailure(failure);
}

void CPageWaveRecord::showBusy() {
  play_->setEnabled(false);
  record_->setEnabled(false);
  stop_->setEnabled(true);
  makeDefault(stop_);
  stop_->setFocus();
}

void CPageWaveRecord::showIdle(QPushButton* defaultButton) {
  play_->setEnabled(has_recording_);
  record_->setEnabled(true);
  stop_->setEnabled(false);
  if (!defaultButton->isEnabled()) defaultButton = record_;
  makeDefault(defaultButton);
  defaultButton->setFocus();
}

void CPageWaveRecord::makeDefault(QPushButton* button) {
  default_button_ = button;
  button->setDefault(true);
}

void CPageWaveRecord::advanceAnimation() {
  animation_->setPixmap(frames_[frame_]);
  shown_frame_id_ = kFirstAnimationFrameId + frame_;
  frame_ = (frame_ + 1) % kAnimationFrameCount;
}

void CPageWaveRecord::timerEvent(QTimerEvent* event) {
  if (event->timerId() == animation_timer_.timerId())
    advanceAnimation();
  else
    QWizardPage::timerEvent(event);
}

bool CPageWaveRecord::event(QEvent* event) {
  if (event->type() != WaveDoneEvent::eventType()) return QWizardPage::event(event);
  auto* done = static_cast<WaveDoneEvent*>(event);
  if (done->direction() == WaveDirection::Input) {
    // A failed recording is stopped and reported at once, not when the user
    // presses Stop.
    if (recorder_.onBlockDone(*done) == CWaveRecorder::Notice::Failed) onStop();
  } else if (player_.onBlockDone(*done) == CWavePlayer::Notice::PlaybackEnded) {
    showIdle(record_);
  }
  return true;
}

void CPageWaveRecord::reportDeviceFailure(unsigned messageId, const std::string& reason) {
  showWizardMessage(services_.presenter, messageId, reason);
}

void CPageWaveRecord::reportRecordingFailure(CWaveRecorder::Failure failure) {
  if (failure == CWaveRecorder::Failure::Device) {
    reportDeviceFailure(kIdsInputDeviceStopped, recorder_.errorText());
    return;
  }
  showEngineText(services_.presenter,
                 wizardMessage(kIdsRecordingNotWritten, services_.workspace.PcmWorkFile) + "  " +
                     wizardMessage(kIdsSystemReason, recorder_.errorText()));
}

}  // namespace zv
