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

  galleryRadio_ = makeRadio(QStringLiteral("Select &previously compressed file"), this);
  // A combo box is named by its label (its own accessible name is the
  // chosen text, which says what is chosen but not what for).
  galleryLabel_ = new QLabel(QStringLiteral("&Gallery clip:"), this);
  galleryList_ = new QComboBox(this);
  galleryList_->setAccessibleName(QStringLiteral("Gallery clip"));
  galleryList_->setEditable(false);
  galleryLabel_->setBuddy(galleryList_);
  recordingRadio_ = makeRadio(QStringLiteral("&Quick voice recording"), this);
  sourceFileRadio_ = makeRadio(QStringLiteral("&Specify the source audio file"), this);
  pathEdit_ = new QLineEdit(this);
  pathEdit_->setAccessibleName(QStringLiteral("Source audio file"));
  browseButton_ = new QPushButton(QStringLiteral("..."), this);
  browseButton_->setAccessibleName(QStringLiteral("..."));
  browseButton_->setAccessibleDescription(QStringLiteral("Browse for the source audio file"));
  browseButton_->setToolTip(QStringLiteral("Browse for the source audio file"));
  browseButton_->setAutoDefault(false);
  browseButton_->setFixedWidth(browseButton_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);

  choices_ = new QButtonGroup(this);
  choices_->addButton(galleryRadio_, kInputGalleryClip);
  choices_->addButton(recordingRadio_, kInputVoiceRecording);
  choices_->addButton(sourceFileRadio_, kInputSourceFile);

  // The list and the path sit under their radio buttons, indented by the
  // width of a radio's indicator so that they line up with its text.
  const int indent = galleryRadio_->sizeHint().height() + 6;
  auto* galleryRow = new QHBoxLayout;
  galleryRow->addSpacing(indent);
  galleryRow->addWidget(galleryLabel_);
  galleryRow->addWidget(galleryList_, 1);
  auto* pathRow = new QHBoxLayout;
  pathRow->addSpacing(indent);
  pathRow->addWidget(pathEdit_, 1);
  pathRow->addWidget(browseButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addSpacing(12);
  // The radio buttons keep their natural width, so that a click beside
  // their text is not taken for a click on them.
  layout->addWidget(galleryRadio_, 0, Qt::AlignLeft);
  layout->addLayout(galleryRow);
  layout->addSpacing(6);
  layout->addWidget(recordingRadio_, 0, Qt::AlignLeft);
  layout->addSpacing(6);
  layout->addWidget(sourceFileRadio_, 0, Qt::AlignLeft);
  layout->addLayout(pathRow);
  layout->addStretch(1);

  setTabOrder(galleryRadio_, galleryList_);
  setTabOrder(galleryList_, recordingRadio_);
  setTabOrder(recordingRadio_, sourceFileRadio_);
  setTabOrder(sourceFileRadio_, pathEdit_);
  setTabOrder(pathEdit_, browseButton_);

  recordingRadio_->setEnabled(false);
  pathEdit_->setText(QFile::decodeName(state_.sourcePath.c_str()));
  selectChoice(state_.inputChoice);

  // Toggled, not clicked: a radio set through the accessibility interface
  // or the keyboard counts as much as one set by a click.
  connect(choices_, &QButtonGroup::idToggled, this, [this](int choice, bool checked) {
    if (checked) onChoiceChanged(choice);
  });
  connect(galleryList_, &QComboBox::currentTextChanged, this,
          [this](const QString& name) { state_.galleryClipName = QFile::encodeName(name).toStdString(); });
  connect(pathEdit_, &QLineEdit::textChanged, this,
          [this](const QString& path) { state_.sourcePath = QFile::encodeName(path).toStdString(); });
  connect(browseButton_, &QPushButton::clicked, this, &CPageWaveInput::onBrowse);
}

void CPageWaveInput::setVoiceRecordingAvailable(bool available) {
  recordingAvailable_ = available;
  recordingRadio_->setEnabled(available);
  if (!available && state_.inputChoice == kInputVoiceRecording) selectChoice(kInputSourceFile);
}

void CPageWaveInput::initializePage() {
  if (galleryFilled_) return;
  galleryFilled_ = true;
  fillGalleryList();
}

void CPageWaveInput::fillGalleryList() {
  const std::vector<std::string> clips = listGalleryClips(services_.gallery);
  if (clips.empty()) {
    showWizardMessage(services_.presenter, kIdsNoGalleryClips);
    galleryList_->setEnabled(false);
    galleryRadio_->setEnabled(false);
    if (state_.inputChoice == kInputGalleryClip)
      selectChoice(recordingAvailable_ ? kInputVoiceRecording : kInputSourceFile);
    return;
  }
  QSignalBlocker quiet(galleryList_);
  galleryList_->clear();
  for (const std::string& clip : clips) galleryList_->addItem(QFile::decodeName(clip.c_str()));
  galleryList_->setCurrentIndex(0);
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
  galleryList_->setEnabled(gallery && galleryRadio_->isEnabled());
  galleryLabel_->setEnabled(galleryList_->isEnabled());
  pathEdit_->setEnabled(sourceFile);
  browseButton_->setEnabled(sourceFile);
}

void CPageWaveInput::onBrowse() {
  const QString filter = QString::fromStdString(wizardMessage(kIdsSoundFileFilter));
  QString chosen;
  if (fileChooser_) {
    chosen = fileChooser_(this, filter);
  } else {
    const QString current = pathEdit_->text();
    chosen = chooseSoundFile(this, filter, current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
  }
  if (chosen.isEmpty()) return;
  pathEdit_->setText(chosen);
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
  if (state_.inputChoice == kInputVoiceRecording) return recordingAvailable_;

  state_.sourcePath = QFile::encodeName(pathEdit_->text()).toStdString();
  // A wrong name is answered at once, without a progress dialog.
  if (!checkSourceFile(state_.sourcePath, services_.presenter)) {
    pathEdit_->setFocus();
    pathEdit_->selectAll();
    return false;
  }
  // A long MP3 or FLAC takes a while: the conversion runs on a worker under
  // the progress dialog, which the user can cancel. The job shows its own
  // messages; a failed or cancelled one leaves PcmWorkFile as it was.
  JobEnvironment environment(services_.workspace, services_.presenter);
  if (jobTicks_) environment.ticks = jobTicks_;
  CCompressProgressDialog dialog(JobMode::Convert, state_.sourcePath, 0, environment, this);
  if (progressDialogHook_) progressDialogHook_(dialog);
  const int result = dialog.exec();
  // A conversion that completed just as Cancel was pressed has still
  // replaced PcmWorkFile.
  if (dialog.jobEnd() == JobEnd::Completed) state_.compressionStale = true;
  if (result == kProgressCancelled || dialog.jobEnd() != JobEnd::Completed) {
    if (result != kProgressCancelled) {
      pathEdit_->setFocus();
      pathEdit_->selectAll();
    }
    return false;
  }
  return true;
}

}  // namespace zv
