#include "wizard/wave_output_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "encoder/engine_strings.h"
#include "encoder/engine_workspace.h"
#include "wizard/audio/qt_wave_devices.h"
#include "wizard/compress_progress_dialog.h"
#include "wizard/compression_chart.h"
#include "wizard/job_failure_message.h"
#include "wizard/record/recording_animation.h"
#include "wizard/output_name_rule.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

// Height of the chart: two bars, each tall enough for a line of text.
constexpr int kChartHeight = 84;

// The devices a page uses: those handed in, else the system's, owned here.
WaveDeviceFactory& devicesOrDefault(WaveDeviceFactory* given, std::unique_ptr<WaveDeviceFactory>& own) {
  if (given) return *given;
  own = std::make_unique<QtWaveDeviceFactory>();
  return *own;
}

}  // namespace

CPageWaveOutput::CPageWaveOutput(WizardState& state, WizardServices& services, QWidget* parent,
                                 WaveDeviceFactory* devices)
    : QWizardPage(parent),
      state_(state),
      services_(services),
      player_(devicesOrDefault(devices, own_devices_).makeOutput()) {
  setTitle(QStringLiteral("Compressed Audio File Output"));

  intro_ = new QLabel(
      QStringLiteral("Give the compressed audio file a name.  You may also add it to the "
                     "gallery, so that you can choose it again later."),
      this);
  intro_->setWordWrap(true);
  QFont bold = intro_->font();
  bold.setBold(true);
  intro_->setFont(bold);

  auto* nameLabel = new QLabel(QStringLiteral("&Specify the name for the compressed audio file"), this);
  name_ = new QLineEdit(this);
  name_->setAccessibleName(QStringLiteral("Specify the name for the compressed audio file"));
  nameLabel->setBuddy(name_);

  add_to_gallery_ = new QCheckBox(QStringLiteral("&Add to gallery"), this);
  add_to_gallery_->setAccessibleName(QStringLiteral("Add to gallery"));

  // Only the chart area's rectangle is used: the page paints the chart into
  // it (and its labels beyond it, into the room at its right).
  chart_area_ = new QWidget(this);
  chart_area_->setObjectName(QStringLiteral("chartArea"));
  chart_area_->setAttribute(Qt::WA_TransparentForMouseEvents);
  chart_area_->setFixedHeight(kChartHeight);
  chart_area_->setMinimumWidth(200);

  play_ = new QPushButton(playIcon(), QStringLiteral("&Play"), this);
  play_->setAccessibleName(QStringLiteral("Play"));
  stop_ = new QPushButton(stopIcon(), QStringLiteral("S&top"), this);
  stop_->setAccessibleName(QStringLiteral("Stop"));
  for (QPushButton* button : {play_, stop_}) {
    button->setIconSize(QSize(24, 24));
    button->setMinimumWidth(96);
  }
  stop_->setEnabled(false);
  connect(play_, &QPushButton::clicked, this, &CPageWaveOutput::onPlay);
  connect(stop_, &QPushButton::clicked, this, &CPageWaveOutput::onStop);

  playback_column_ = new QVBoxLayout;
  playback_column_->addWidget(play_);
  playback_column_->addWidget(stop_);
  playback_column_->addStretch(1);

  auto* chartRow = new QHBoxLayout;
  chartRow->addWidget(chart_area_, 3);
  chartRow->addStretch(2);
  chartRow->addLayout(playback_column_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addSpacing(8);
  layout->addWidget(nameLabel);
  layout->addWidget(name_);
  layout->addWidget(add_to_gallery_);
  layout->addSpacing(12);
  layout->addLayout(chartRow);
  layout->addStretch(1);
}

QString CPageWaveOutput::proposedName() const {
  switch (state_.inputChoice) {
    case kInputGalleryClip: return QString::fromStdString(state_.galleryClipName);
    case kInputVoiceRecording: return QString::fromStdString(wizardMessage(kIdsRecordedFileName));
    default: return clipNameFromSourcePath(state_.sourcePath);
  }
}

void CPageWaveOutput::initializePage() {
  if (name_->text().isEmpty()) name_->setText(proposedName());
  pcm_bytes_ = state_.pcmBytes;
  coded_bytes_ = state_.codedBytes;
  // Screen readers cannot see the chart; its label says what it shows.
  chart_area_->setAccessibleName(originalLabel() + QStringLiteral(", ") + compressedLabelText());
  update();
}

CPageWaveOutput::~CPageWaveOutput() { player_.stop(); }

bool CPageWaveOutput::validatePage() {
  if (stop_->isEnabled()) onStop();
  const std::string problem = clipNameProblem(name_->text());
  if (!problem.empty()) {
    showEngineText(services_.presenter, problem);
    name_->setFocus(Qt::OtherFocusReason);
    name_->selectAll();
    return false;
  }
  state_.outputName = name_->text().toStdString();
  state_.addToGallery = add_to_gallery_->isChecked();
  return true;
}

int CPageWaveOutput::nextId() const { return kPageAppletProperties; }

void CPageWaveOutput::cleanupPage() {
  if (stop_->isEnabled()) onStop();
}

bool CPageWaveOutput::decodeForPlayback() {
  if (!state_.decompressionStale) return true;
  const JobEnvironment environment(services_.workspace, services_.presenter);
  CCompressProgressDialog dialog(JobMode::Decode, state_.streamPath, state_.codecIndex, environment,
                                 this);
  if (progress_dialog_hook_) progress_dialog_hook_(dialog);
  if (dialog.exec() == kProgressCancelled) return false;
  if (dialog.jobEnd() != JobEnd::Completed) {
    // A decode that broke off would play a truncated or empty file as if it
    // were the clip: say why instead, and decode again next time.
    showJobFailure(services_.presenter, JobMode::Decode, dialog.jobEnd(), environment.codecTable,
                   state_.codecIndex);
    return false;
  }
  state_.decompressionStale = false;
  return true;
}

void CPageWaveOutput::onPlay() {
  if (!decodeForPlayback()) return;
  play_->setEnabled(false);
  stop_->setEnabled(true);
  stop_->setDefault(true);
  stop_->setFocus();
  if (!player_.open(services_.workspace.DecodedPcmFile, services_.workspace.PcmFormat, this)) {
    showIdle();
    showWizardMessage(services_.presenter, kIdsOutputDeviceFailed, player_.errorText());
  }
}

void CPageWaveOutput::onStop() {
  player_.stop();
  showIdle();
}

void CPageWaveOutput::showIdle() {
  const bool hadFocus = stop_->hasFocus();
  play_->setEnabled(true);
  stop_->setEnabled(false);
  play_->setDefault(true);
  if (hadFocus) play_->setFocus();
}

bool CPageWaveOutput::event(QEvent* event) {
  if (event->type() != WaveDoneEvent::eventType()) return QWizardPage::event(event);
  if (player_.onBlockDone(*static_cast<WaveDoneEvent*>(event)) == CWavePlayer::Notice::PlaybackEnded)
    showIdle();
  return true;
}

QString CPageWaveOutput::compressedLabelText() const { return compressedLabel(pcm_bytes_, coded_bytes_); }

void CPageWaveOutput::paintEvent(QPaintEvent* event) {
  QWizardPage::paintEvent(event);
  QPainter painter(this);
  painter.setFont(font());
  paintCompressionChart(painter, chart_area_->geometry(), pcm_bytes_, coded_bytes_,
                        palette().color(QPalette::WindowText));
}

}  // namespace zv
