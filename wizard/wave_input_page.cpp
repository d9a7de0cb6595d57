#include "wizard/wave_input_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "encoder/input_preparation.h"
#include "widgets/caption_mnemonic.h"
#include "wizard/compress_progress_dialog.h"
#include "wizard/gallery_folders.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

// The file chooser of a desktop session: the platform's open-file dialog,
// for existing files only.
QString chooseSoundFile(QWidget* parent, const QString& filter, const QString& startFolder) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Select the Source Audio File"),
                                      startFolder, filter);
}

// A radio button with a mnemonic and the same text, without the "&", as its
// accessible name.
QRadioButton* makeRadio(const QString& text, QWidget* parent) {
  auto* radio = new QRadioButton(text, parent);
  radio->setAccessibleName(captionText(text));
  return radio;
}

}  // namespace

CPageWaveInput::CPageWaveInput(WizardState& state, WizardServices& services, QWidget* parent)
    : QWizardPage(parent), state_(state), services_(services) {
  setTitle(QStringLiteral("Audio Input"));

  intro_ = new QLabel(
      QStringLiteral("Choose the sound for your page: a clip you have compressed before, a short "
                     "voice recording, or a sound file on your computer."),
      this);
  intro_->setWordWrap(true);
  QFont bold = intro_->font();
  bold.setWeight(QFont::Bold);
  intro_->setFont(bold);

  gallery_radio_ = makeRadio(QStringLiteral("Select &previously compressed file"), this);
  // A combo box is named by its label (its own accessible name is the
  // chosen text, which says what is chosen but not what for).
  gallery_label_ = new QLabel(QStringLiteral("&Gallery clip:"), this);
  gallery_list_ = new QComboBox(this);
  gallery_list_->setAccessibleName(QStringLiteral("Gallery clip"));
  gallery_list_->setEditable(false);
  gallery_label_->setBuddy(gallery_list_);
  recording_radio_ = makeRadio(QStringLiteral("&Quick voice recording"), this);
  source_file_radio_ = makeRadio(QStringLiteral("&Specify the source audio file"), this);
  path_edit_ = new QLineEdit(this);
  path_edit_->setAccessibleName(QStringLiteral("Source audio file"));
  browse_button_ = new QPushButton(QStringLiteral("..."), this);
  browse_button_->setAccessibleName(QStringLiteral("..."));
  browse_button_->setAccessibleDescription(QStringLiteral("Browse for the source audio file"));
  browse_button_->setToolTip(QStringLiteral("Browse for the source audio file"));
  browse_button_->setAutoDefault(false);
  browse_button_->setFixedWidth(browse_button_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

  choices_ = new QButtonGroup(this);
  choices_->addButton(gallery_radio_, kInputGalleryClip);
  choices_->addButton(recording_radio_, kInputVoiceRecording);
  choices_->addButton(source_file_radio_, kInputSourceFile);

  // The list and the path sit under their radio buttons, indented by the
  // width of a radio's indicator so that they line up with its text.
  const int indent = gallery_radio_->sizeHint().height() + 6;
  auto* galleryRow = new QHBoxLayout;
  galleryRow->addSpacing(indent);
  galleryRow->addWidget(gallery_label_);
  galleryRow->addWidget(gallery_list_, 1);
  auto* pathRow = new QHBoxLayout;
  pathRow->addSpacing(indent);
  pathRow->addWidget(path_edit_, 1);
  pathRow->addWidget(browse_button_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addSpacing(12);
  // The radio buttons keep their natural width, so that a click beside
  // their text is not taken for a click on them.
  layout->addWidget(gallery_radio_, 0, Qt::AlignLeft);
  layout->addLayout(galleryRow);
  layout->addSpacing(6);
  layout->addWidget(recording_radio_, 0, Qt::AlignLeft);
  layout->addSpacing(6);
  layout->addWidget(source_file_radio_, 0, Qt::AlignLeft);
  layout->addLayout(pathRow);
  layout->addStretch(1);

  setTabOrder(gallery_radio_, gallery_list_);
  setTabOrder(gallery_list_, recording_radio_);
  setTabOrder(recording_radio_, source_file_radio_);
  setTabOrder(source_file_radio_, path_edit_);
  setTabOrder(path_edit_, browse_button_);

  recording_radio_->setEnabled(false);
  path_edit_->setText(QFile::decodeName(state_.sourcePath.c_str()));
  selectChoice(state_.inputChoice);

  // Toggled, not clicked: a radio set through the accessibility interface
  // or the keyboard counts as much as one set by a click.
  connect(choices_, &QButtonGroup::idToggled, this, [this](int choice, bool checked) {
    if (checked) onChoiceChanged(choice);
  });
  connect(gallery_list_, &QComboBox::currentTextChanged, this,
          [this](const QString& name) { state_.galleryClipName = QFile::encodeName(name).toStdString(); });
  connect(path_edit_, &QLineEdit::textChanged, this,
          [this](const QString& path) { state_.sourcePath = QFile::encodeName(path).toStdString(); });
  connect(browse_button_, &QPushButton::clicked, this, &CPageWaveInput::onBrowse);
}

void CPageWaveInput::setVoiceRecordingAvailable(bool available) {
  recording_available_ = available;
  recording_radio_->setEnabled(available);
  if (!available && state_.inputChoice == kInputVoiceRecording) selectChoice(kInputSourceFile);
}

void CPageWaveInput::initializePage() {
  if (gallery_filled_) return;
  gallery_filled_ = true;
  fillGalleryList();
}

void CPageWaveInput::fillGalleryList() {
  const std::vector<std::string> clips = listGalleryClips(services_.gallery);
  if (clips.empty()) {
    showWizardMessage(services_.presenter, kIdsNoGalleryClips);
    gallery_list_->setEnabled(false);
    gallery_radio_->setEnabled(false);
    if (state_.inputChoice == kInputGalleryClip)
      selectChoice(recording_available_ ? kInputVoiceRecording : kInputSourceFile);
    return;
  }
  QSignalBlocker quiet(gallery_list_);
  gallery_list_->clear();
  for (const std::string& clip : clips) gallery_list_->addItem(QFile::decodeName(clip.c_str()));
  gallery_list_->setCurrentIndex(0);
  state_.galleryClipName = clips.front();
}

void CPageWaveInput::selectChoice(int choice) {
  if (QAbstractButton* radio = choices_->button(choice)) radio->setChecked(true);
  state_.inputChoice = choice;
  enableControlsForChoice();
}

void CPageWaveInput::onChoiceChanged(int choice) {
  state_.inputChoice = choice;
  enableControlsForChoice();
}

void CPageWaveInput::enableControlsForChoice() {
  const bool gallery = state_.inputChoice == kInputGalleryClip;
  const bool sourceFile = state_.inputChoice == kInputSourceFile;
  gallery_list_->setEnabled(gallery && gallery_radio_->isEnabled());
  gallery_label_->setEnabled(gallery_list_->isEnabled());
  path_edit_->setEnabled(sourceFile);
  browse_button_->setEnabled(sourceFile);
}

void CPageWaveInput::onBrowse() {
  const QString filter = QString::fromStdString(wizardMessage(kIdsSoundFileFilter));
  QString chosen;
  if (file_chooser_) {
    chosen = file_chooser_(this, filter);
  } else {
    const QString current = path_edit_->text();
    chosen = chooseSoundFile(this, filter, current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
  }
  if (chosen.isEmpty()) return;
  path_edit_->setText(chosen);
  state_.compressionStale = true;
}

int CPageWaveInput::nextId() const {
  switch (state_.inputChoice) {
    case kInputGalleryClip:
      return kPageAppletProperties;
    case kInputVoiceRecording:
      return kPageWaveRecord;
    default:
      return kPageWaveCompression;
  }
}

bool CPageWaveInput::validatePage() {
  if (state_.inputChoice == kInputGalleryClip) return !state_.galleryClipName.empty();
  if (state_.inputChoice == kInputVoiceRecording) return recording_available_;

  state_.sourcePath = QFile::encodeName(path_edit_->text()).toStdString();
  // A wrong name is answered at once, without a progress dialog.
  if (!checkSourceFile(state_.sourcePath, services_.presenter)) {
    path_edit_->setFocus();
    path_edit_->selectAll();
    return false;
  }
  // A long MP3 or FLAC takes a while: the conversion runs on a worker under
  // the progress dialog, which the user can cancel. The job shows its own
  // messages; a failed or cancelled one leaves PcmWorkFile as it was.
  JobEnvironment environment(services_.workspace, services_.presenter);
  if (job_ticks_) environment.ticks = job_ticks_;
  CCompressProgressDialog dialog(JobMode::Convert, state_.sourcePath, 0, environment, this);
  if (progress_dialog_hook_) progress_dialog_hook_(dialog);
  const int result = dialog.exec();
  // A conversion that completed just as Cancel was pressed has still
  // replaced PcmWorkFile.
  if (dialog.jobEnd() == JobEnd::Completed) state_.compressionStale = true;
  if (result == kProgressCancelled || dialog.jobEnd() != JobEnd::Completed) {
    if (result != kProgressCancelled) {
      path_edit_->setFocus();
      path_edit_->selectAll();
    }
    return false;
  }
  return true;
}

}  // namespace zv
