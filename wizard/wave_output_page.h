// CPageWaveOutput, "Compressed Audio File Output": the name of the finished
// clip, whether to add it to the gallery, a chart of how much the
// compression saved, and Play and Stop to listen to the compressed sound.
//
// The name is proposed when the page is shown with an empty name edit: the
// gallery clip's name, "TypeRecordedFileNameHere" for a recording, or the
// source file's name reduced to the characters a clip name may hold. Next
// checks it (output_name_rule.h) and keeps the focus in the edit when it is
// refused. The chart (compression_chart.h) is drawn by the page itself in the
// rectangle of its chart area, so that its labels may run past that
// rectangle as far as the page allows.
//
// Play decodes the stream file into DecodedPcmFile once per compression
// (under the progress dialog in decode mode) and plays it; a decode that is
// cancelled or fails (its reason is shown) plays nothing and is tried again
// on the next Play. A sound output that cannot be opened is reported with
// the reason and the page stays idle. Next and Back stop the playback first.
#ifndef ZV_WIZARD_WAVE_OUTPUT_PAGE_H
#define ZV_WIZARD_WAVE_OUTPUT_PAGE_H

#include <QWizardPage>

#include <cstdint>
#include <functional>
#include <memory>

#include "wizard/audio/wave_player.h"
#include "wizard/wizard_state.h"

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zv {

class CCompressProgressDialog;

class CPageWaveOutput : public QWizardPage {
  Q_OBJECT

 public:
  // `devices`: where the sound is played (null: the system's default output).
  CPageWaveOutput(WizardState& state, WizardServices& services, QWidget* parent = nullptr,
                  WaveDeviceFactory* devices = nullptr);
  ~CPageWaveOutput() override;

  // Proposes a name if there is none; takes the compression's sizes for the
  // chart and its label.
  void initializePage() override;
  // Stops the playback, then the name rule; on success the name and the
  // gallery choice go to the wizard's state.
  bool validatePage() override;
  // Back: stops the playback.
  void cleanupPage() override;
  // The applet page follows.
  int nextId() const override;

  // The widget whose rectangle (in the page's coordinates) the chart is
  // drawn in; its accessible name says what the chart shows.
  QWidget* chartArea() const { return chart_area_; }
  // The label drawn beside the compressed bar.
  QString compressedLabelText() const;

  QLineEdit* nameEdit() const { return name_; }
  QCheckBox* addToGalleryBox() const { return add_to_gallery_; }
  // The column beside the chart that holds the playback buttons.
  QBoxLayout* playbackButtonColumn() const { return playback_column_; }
  QPushButton* playButton() const { return play_; }
  QPushButton* stopButton() const { return stop_; }
  bool isPlaying() const { return player_.isPlaying(); }

  // Called with the decode's progress dialog before it runs (for tests).
  void setProgressDialogHook(std::function<void(CCompressProgressDialog&)> hook) {
    progress_dialog_hook_ = std::move(hook);
  }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QString proposedName() const;
  void onPlay();
  void onStop();
  bool decodeForPlayback();
  void showIdle();

  WizardState& state_;
  WizardServices& services_;
  QLabel* intro_ = nullptr;
  QLineEdit* name_ = nullptr;
  QCheckBox* add_to_gallery_ = nullptr;
  QWidget* chart_area_ = nullptr;
  QBoxLayout* playback_column_ = nullptr;
  QPushButton* play_ = nullptr;
  QPushButton* stop_ = nullptr;
  std::unique_ptr<WaveDeviceFactory> own_devices_;  // when none was handed in
  CWavePlayer player_;
  std::function<void(CCompressProgressDialog&)> progress_dialog_hook_;
  // The sizes the chart shows, taken when the page was shown.
  std::uint32_t pcm_bytes_ = 0;
  std::uint32_t coded_bytes_ = 0;
};

}  // namespace zv

#endif  // ZV_WIZARD_WAVE_OUTPUT_PAGE_H
