// CPageWaveOutput, "Compressed Audio File Output": the name of the finished
// clip, whether to add it to the gallery, and a chart of how much the
// compression saved.
//
// The name is proposed when the page is shown with an empty name edit: the
// gallery clip's name, "TypeRecordedFileNameHere" for a recording, or the
// source file's name reduced to the characters a clip name may hold. Next
// checks it (output_name_rule.h) and keeps the focus in the edit when it is
// refused. The chart (compression_chart.h) is drawn by the page itself in the
// rectangle of its chart area, so that its labels may run past that
// rectangle as far as the page allows.
#ifndef ZV_WIZARD_WAVE_OUTPUT_PAGE_H
#define ZV_WIZARD_WAVE_OUTPUT_PAGE_H

#include <QWizardPage>

#include <cstdint>

#include "wizard/wizard_state.h"

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace zv {

class CPageWaveOutput : public QWizardPage {
  Q_OBJECT

 public:
  CPageWaveOutput(WizardState& state, WizardServices& services, QWidget* parent = nullptr);

  // Proposes a name if there is none; takes the compression's sizes for the
  // chart and its label.
  void initializePage() override;
  // The name rule; on success the name and the gallery choice go to the
  // wizard's state.
  bool validatePage() override;
  // The applet page follows.
  int nextId() const override;

  // The widget whose rectangle (in the page's coordinates) the chart is
  // drawn in; its accessible name says what the chart shows.
  QWidget* chartArea() const { return chartArea_; }
  // The label drawn beside the compressed bar.
  QString compressedLabelText() const;

  QLineEdit* nameEdit() const { return name_; }
  QCheckBox* addToGalleryBox() const { return addToGallery_; }
  // The column beside the chart that holds the playback buttons.
  QBoxLayout* playbackButtonColumn() const { return playbackColumn_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString proposedName() const;

  WizardState& state_;
  WizardServices& services_;
  QLabel* intro_ = nullptr;
  QLineEdit* name_ = nullptr;
  QCheckBox* addToGallery_ = nullptr;
  QWidget* chartArea_ = nullptr;
  QBoxLayout* playbackColumn_ = nullptr;
  // The sizes the chart shows, taken when the page was shown.
  std::uint32_t pcmBytes_ = 0;
  std::uint32_t codedBytes_ = 0;
};

}  // namespace zv

#endif  // ZV_WIZARD_WAVE_OUTPUT_PAGE_H
