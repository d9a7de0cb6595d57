// CPageWaveRecord: the wizard's "Record Voice" page (108).
//
// Records from the default sound input into PcmWorkFile at 8 kHz, 16-bit
// mono, lets the user listen to the recording, and shows a five-frame
// animation (four frames a second) while recording. States and buttons:
//
//   state                   Play      Record    Stop      default button
//   idle, nothing recorded  disabled  enabled   disabled  Record
//   recording               disabled  disabled  enabled   Stop
//   idle with recording     enabled   enabled   disabled  Play (after Stop)
//   playing                 disabled  disabled  enabled   Stop
//
// Next is available once a recording has been stopped. Next and Back stop
// whatever is running first; the recording made so far is kept. A device
// that cannot be opened is reported with the reason, and the page stays
// (or returns to) idle: a recording that never started does not count. A
// recording that cannot be written (a full disk) or whose device stops is
// stopped and reported when it happens, and does not count either.
#ifndef ZV_WIZARD_RECORD_WAVE_RECORD_PAGE_H
#define ZV_WIZARD_RECORD_WAVE_RECORD_PAGE_H

#include <QBasicTimer>
#include <QWizardPage>

#include <array>
#include <memory>

#include "wizard/audio/wave_player.h"
#include "wizard/audio/wave_recorder.h"
#include "wizard/record/recording_animation.h"
#include "wizard/wizard_state.h"

class QLabel;
class QPushButton;

namespace zv {

class CPageWaveRecord : public QWizardPage {
  Q_OBJECT
 public:
  static constexpr int kAnimationIntervalMs = 250;

  CPageWaveRecord(WizardState& state, WizardServices& services, WaveDeviceFactory& devices,
                  QWidget* parent = nullptr);
  ~CPageWaveRecord() override;

  void initializePage() override;
  int nextId() const override { return kPageWaveCompression; }
  bool isComplete() const override;
  bool validatePage() override;  // Next: stop first
  void cleanupPage() override;   // Back: stop first

  bool hasRecording() const { return has_recording_; }
  bool isRecording() const { return recorder_.isRecording(); }
  bool isPlaying() const { return player_.isPlaying(); }
  // The picture the animation shows now (147..151), or 0 while hidden, and
  // the timer that advances it (for tests, which deliver its ticks).
  int shownFrameId() const { return shown_frame_id_; }
  int animationTimerId() const { return animation_timer_.timerId(); }

  QPushButton* playButton() const { return play_; }
  QPushButton* recordButton() const { return record_; }
  QPushButton* stopButton() const { return stop_; }

 protected:
  bool event(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void onRecord();
  void onPlay();
  void onStop();
  void showIdle(QPushButton* defaultButton);
  void showBusy();
  void makeDefault(QPushButton* button);
  void advanceAnimation();
  void reportDeviceFailure(unsigned messageId, const std::string& reason);
  void reportRecordingFailure(CWaveRecorder::Failure failure);

  WizardState& state_;
  WizardServices& services_;
  CWavePlayer player_;
  CWaveRecorder recorder_;
  bool recording_flag_ = false;  // the last start was a recording (not a playback)
  bool has_recording_ = false;   // a recording has been stopped at least once
  int frame_ = 0;                // next animation frame, 0..4
  int shown_frame_id_ = 0;
  std::array<QPixmap, kAnimationFrameCount> frames_;
  QBasicTimer animation_timer_;

  QLabel* introduction_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* record_ = nullptr;
  QPushButton* stop_ = nullptr;
  QLabel* animation_ = nullptr;
  QPushButton* default_button_ = nullptr;  // the page's choice, kept against the wizard's
};

}  // namespace zv

#endif  // ZV_WIZARD_RECORD_WAVE_RECORD_PAGE_H
