#include "wizard/wave_output_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include "encoder/engine_strings.h"
#include "wizard/compression_chart.h"
#include "wizard/output_name_rule.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

// Height of the chart: two bars, each tall enough for a line of text.
constexpr int kChartHeight = 84;

}  // namespace

CPageWaveOutput::CPageWaveOutput(WizardState& state, WizardServices& services, QWidget* parent)
    : QWizardPage(parent), state_(state), services_(services) {
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

  addToGallery_ = new QCheckBox(QStringLiteral("&Add to gallery"), this);
  addToGallery_->setAccessibleName(QStringLiteral("Add to gallery"));

  // Only the chart area's rectangle is used: the page paints the chart into
  // it (and its labels beyond it, into the room at its right).
  chartArea_ = new QWidget(this);
  chartArea_->setObjectName(QStringLiteral("chartArea"));
  chartArea_->setAttribute(Qt::WA_TransparentForMouseEvents);
  chartArea_->setFixedHeight(kChartHeight);
  chartArea_->setMinimumWidth(200);

  playbackColumn_ = new QVBoxLayout;
  playbackColumn_->addStretch(1);

  auto* chartRow = new QHBoxLayout;
  chartRow->addWidget(chartArea_, 3);
  chartRow->addStretch(2);
  chartRow->addLayout(playbackColumn_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addSpacing(8);
  layout->addWidget(nameLabel);
  layout->addWidget(name_);
  layout->addWidget(addToGallery_);
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
  pcmBytes_ = state_.pcmBytes;
  codedBytes_ = state_.codedBytes;
  // Screen readers cannot see the chart; its label says what it shows.
  chartArea_->setAccessibleName(originalLabel() + QStringLiteral(", ") + compressedLabelText());
  update();
}

bool CPageWaveOutput::validatePage() {
  const std::string problem = clipNameProblem(name_->text());
  if (!problem.empty()) {
    showEngineText(services_.presenter, problem);
    name_->setFocus(Qt::OtherFocusReason);
    name_->selectAll();
    return false;
  }
  state_.outputName = name_->text().toStdString();
  state_.addToGallery = addToGallery_->isChecked();
  return true;
}

int CPageWaveOutput::nextId() const { return kPageAppletProperties; }

QString CPageWaveOutput::compressedLabelText() const { return compressedLabel(pcmBytes_, codedBytes_); }

void CPageWaveOutput::paintEvent(QPaintEvent* event) {
  QWizardPage::paintEvent(event);
  QPainter painter(this);
  painter.setFont(font());
  paintCompressionChart(painter, chartArea_->geometry(), pcmBytes_, codedBytes_,
                        palette().color(QPalette::WindowText));
}

}  // namespace zv
