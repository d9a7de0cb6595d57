#include "wizard/encoder_property_sheet.h"

#include <QAbstractButton>
#include <QAction>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>

#include "widgets/caption_mnemonic.h"
#include "wizard/about_dialog.h"
#include "wizard/audio/qt_wave_devices.h"
#include "wizard/applet_properties_page.h"
#include "wizard/wave_compression_page.h"
#include "wizard/wave_input_page.h"
#include "wizard/record/wave_record_page.h"
#include "wizard/wave_output_page.h"
#include "wizard/wizard_icon.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

QString wizardText(unsigned id, std::string_view value = {}) {
  return QString::fromStdString(wizardMessage(id, value));
}

// The help text of each page, by the page's identifier.
unsigned helpTextOf(int pageId) {
  switch (pageId) {
    case kPageWaveInput:
      return kIdsHelpWaveInput;
    case kPageWaveRecord:
      return kIdsHelpWaveRecord;
    case kPageWaveCompression:
      return kIdsHelpWaveCompression;
    case kPageWaveOutput:
      return kIdsHelpWaveOutput;
    default:
      return kIdsHelpAppletProperties;
  }
}

// The smallest size at which every page shows its controls comfortably.
constexpr QSize kMinimumSheetSize(600, 470);

}  // namespace

CEncoderPropertySheet::CEncoderPropertySheet(WizardServices& services, SettingsStore& settings,
                                             std::uint32_t reserved, QWidget* parent,
                                             WaveDeviceFactory* devices)
    : QWizard(parent), services_(services), reserved_(reserved) {
  if (!devices) {
    own_devices_ = std::make_unique<QtWaveDeviceFactory>();
    devices = own_devices_.get();
  }
  setWindowTitle(wizardText(kIdsWizardCaption));
  setWindowIcon(wizardIcon());
  // A title bar with its menu, minimize and close; no maximize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWizardStyle(QWizard::ClassicStyle);
  setOption(QWizard::HaveHelpButton, true);
  setOption(QWizard::HaveCustomButton1, true);

  input_ = new CPageWaveInput(state_, services_);
  input_->setVoiceRecordingAvailable(true);
  record_ = new CPageWaveRecord(state_, services_, *devices);
  compression_ = new CPageWaveCompression(state_, services_);
  output_ = new CPageWaveOutput(state_, services_, nullptr, devices);
  applet_ = new CPageAppletProperties(state_, services_, settings);
  applet_->setPreviewClipName([this]() { return finishedClipName(state_); });
  setPage(kPageWaveInput, input_);
  setPage(kPageWaveRecord, record_);
  setPage(kPageWaveCompression, compression_);
  setPage(kPageWaveOutput, output_);
  setPage(kPageAppletProperties, applet_);
  setStartId(kPageWaveInput);

  // About: the entry a title-bar menu would have carried, as a button on the
  // sheet and in the window's context menu. The button has no mnemonic of
  // its own, since Alt+A belongs to the pages ("&Add to gallery",
  // "&Autoplay"); the menu entry keeps it.
  const QString aboutText = wizardText(kIdsAboutEntry);
  setButtonText(kAboutButton, captionWithoutMnemonic(aboutText));
  button(kAboutButton)->setAccessibleName(captionText(aboutText));
  about_action_ = new QAction(aboutText, this);
  addAction(about_action_);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(about_action_, &QAction::triggered, this, &CEncoderPropertySheet::showAbout);
  connect(this, &QWizard::customButtonClicked, this, [this](int which) {
    if (which == kAboutButton) showAbout();
  });
  connect(this, &QWizard::helpRequested, this, &CEncoderPropertySheet::showHelp);
  // F1, the desktop's key for help, as well as the Help button.
  auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
  connect(helpKey, &QShortcut::activated, this, &CEncoderPropertySheet::showHelp);
  setButtonLayout({kAboutButton, QWizard::HelpButton, QWizard::Stretch, QWizard::BackButton,
                   QWizard::NextButton, QWizard::FinishButton, QWizard::CancelButton});

  setMinimumSize(kMinimumSheetSize);
  resize(kMinimumSheetSize.expandedTo(sizeHint()));
}

CEncoderPropertySheet::~CEncoderPropertySheet() = default;

AppletValues CEncoderPropertySheet::appletValues() const { return applet_->appletValues(); }

bool CEncoderPropertySheet::validateCurrentPage() {
  if (!QWizard::validateCurrentPage()) return false;
  if (currentId() != kPageAppletProperties || !place_clip_on_finish_) return true;
  placed_ = placeFinishedClip(state_, services_);
  return placed_.has_value();
}

void CEncoderPropertySheet::showEvent(QShowEvent* event) {
  QWizard::showEvent(event);
  if (centred_ || event->spontaneous()) return;
  centred_ = true;
  if (QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void CEncoderPropertySheet::showAbout() {
  CAboutDialog about(this);
  runDialog(about);
}

void CEncoderPropertySheet::showHelp() {
  QWizardPage* page = currentPage();
  const QString title = page ? page->title() : windowTitle();
  QMessageBox help(QMessageBox::Information, wizardText(kIdsHelpCaption, title.toStdString()),
                   wizardText(helpTextOf(currentId())), QMessageBox::Ok, this);
  help.setWindowIcon(wizardIcon());
  runDialog(help);
}

void CEncoderPropertySheet::runDialog(QDialog& dialog) {
  if (dialog_hook_) dialog_hook_(dialog);
  dialog.exec();
}

}  // namespace zv
