// CPageWaveInput, "Audio Input" (103): where the sound comes from.
//
//   "Select previously compressed file"  a clip from the gallery, used as it
//                                        is: Next goes to the applet page
//   "Quick voice recording"              Next goes to the record page
//   "Specify the source audio file"      Next reads and converts the file
//                                        into PcmWorkFile, then goes to the
//                                        compression page
//
// The gallery list is filled when the page is first shown; an empty or
// missing gallery is reported (10000) and the first choice disabled. The
// recording choice is offered only when the sheet has a record page.
//
// Next with a source file checks, in this order: an empty path (10400), a
// file that cannot be opened (10403), a file that is neither RIFF nor AU
// (10202), the reader's own message; each keeps the page. The conversion
// runs under the progress dialog ("Converting..."); Cancel keeps the page
// and the previous PcmWorkFile. A converted file sets the compression-stale
// flag, as does a file picked with "...".
#ifndef ZV_WIZARD_WAVE_INPUT_PAGE_H
#define ZV_WIZARD_WAVE_INPUT_PAGE_H

#include <QString>
#include <QWizardPage>

#include <functional>
#include <utility>

#include "platform/tick_count.h"
#include "wizard/wizard_state.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zv {

class CCompressProgressDialog;

class CPageWaveInput : public QWizardPage {
  Q_OBJECT

 public:
  CPageWaveInput(WizardState& state, WizardServices& services, QWidget* parent = nullptr);

  // Whether "Quick voice recording" can be chosen (the sheet has a record
  // page). Call before the page is first shown.
  void setVoiceRecordingAvailable(bool available);

  // Fills the gallery list (first time only).
  void initializePage() override;
  // The chosen road: the applet page, the record page or the compression
  // page. Reads the state only.
  int nextId() const override;
  // For a source file: checks and converts it; false keeps the page.
  bool validatePage() override;

  // Replaces the file chooser behind "..." (returns the chosen path, or an
  // empty text when the user cancelled): for tests.
  void setFileChooser(std::function<QString(QWidget* parent, const QString& filter)> chooser) {
    file_chooser_ = std::move(chooser);
  }

  // Called with the conversion's progress dialog before it runs: for tests.
  void setProgressDialogHook(std::function<void(CCompressProgressDialog&)> hook) {
    progress_dialog_hook_ = std::move(hook);
  }

  // The clock the conversion job throttles its progress by: for tests.
  void setJobTicks(TickSource ticks) { job_ticks_ = std::move(ticks); }

  QRadioButton* galleryRadio() const { return gallery_radio_; }
  QRadioButton* recordingRadio() const { return recording_radio_; }
  QRadioButton* sourceFileRadio() const { return source_file_radio_; }
  QComboBox* galleryList() const { return gallery_list_; }
  QLineEdit* pathEdit() const { return path_edit_; }
  QPushButton* browseButton() const { return browse_button_; }

 private:
  void fillGalleryList();
  void selectChoice(int choice);
  void onChoiceChanged(int choice);
  void onBrowse();
  void enableControlsForChoice();

  WizardState& state_;
  WizardServices& services_;
  bool recording_available_ = false;
  bool gallery_filled_ = false;
  QLabel* intro_ = nullptr;
  QButtonGroup* choices_ = nullptr;
  QRadioButton* gallery_radio_ = nullptr;
  QLabel* gallery_label_ = nullptr;
  QComboBox* gallery_list_ = nullptr;
  QRadioButton* recording_radio_ = nullptr;
  QRadioButton* source_file_radio_ = nullptr;
  QLineEdit* path_edit_ = nullptr;
  QPushButton* browse_button_ = nullptr;
  std::function<QString(QWidget*, const QString&)> file_chooser_;
  std::function<void(CCompressProgressDialog&)> progress_dialog_hook_;
  TickSource job_ticks_;
};

}  // namespace zv

#endif  // ZV_WIZARD_WAVE_INPUT_PAGE_H
