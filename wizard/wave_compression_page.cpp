#include "wizard/wave_compression_page.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <filesystem>
#include <string>

#include "encoder/codec_library.h"
#include "encoder/engine_strings.h"
#include "encoder/job_context.h"
#include "platform/temporary_file.h"
#include "wizard/compress_progress_dialog.h"
#include "wizard/job_failure_message.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

QString engineText(unsigned id) {
  return QString::fromStdString(loadString(engineStringTable(), id));
}

// Whether the row's library loads here; it is unloaded again at once.
bool codecLoads(const CodecTableEntry& row) {
  CodecLibrary library;
  return library.load(row);
}

}  // namespace

CPageWaveCompression::CPageWaveCompression(WizardState& state, WizardServices& services,
                                           QWidget* parent, CodecTable codecs)
    : QWizardPage(parent), state_(state), services_(services), codecs_(codecs) {
  setTitle(QStringLiteral("Compression Algorithms"));

  intro_ = new QLabel(
      QStringLiteral("You will need to select the compression type that you desire.  The "
                     "different compressions offer different costs and benifits."),
      this);
  intro_->setWordWrap(true);
  QFont bold = intro_->font();
  bold.setBold(true);
  intro_->setFont(bold);

  auto* listLabel = new QLabel(QStringLiteral("&Select the compression type"), this);
  list_ = new QListWidget(this);
  list_->setAccessibleName(QStringLiteral("Select the compression type"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  listLabel->setBuddy(list_);

  auto* descriptionLabel = new QLabel(QStringLiteral("&Description"), this);
  description_ = new QPlainTextEdit(this);
  description_->setReadOnly(true);
  description_->setAccessibleName(QStringLiteral("Description"));
  description_->setTabChangesFocus(true);
  // Room for the longest description, three lines, and no more.
  description_->setFixedHeight(description_->fontMetrics().lineSpacing() * 3 +
                               2 * description_->frameWidth() +
                               static_cast<int>(2 * description_->document()->documentMargin()));
  descriptionLabel->setBuddy(description_);

  const std::size_t rows = codecTableRowCount(codecs_);
  int firstAvailable = -1;
  for (std::size_t i = 0; i < rows; ++i) {
    const CodecTableEntry& row = codecs_[i];
    const bool loads = codecLoads(row);
    available_.push_back(loads);
    const QString name = engineText(row.nameStringId);
    auto* item = new QListWidgetItem(list_);
    if (loads) {
      item->setText(name);
      if (firstAvailable < 0) firstAvailable = static_cast<int>(i);
    } else {
      item->setText(QString::fromStdString(wizardMessage(kIdsCodecNotInstalled, name.toStdString())));
      // Shown, so that the user knows the choice exists, but not selectable.
      item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    }
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addSpacing(8);
  layout->addWidget(listLabel);
  layout->addWidget(list_, 1);
  layout->addWidget(descriptionLabel);
  layout->addWidget(description_);

  connect(list_, &QListWidget::currentRowChanged, this, &CPageWaveCompression::onCodecRowChanged);
  // The accessibility interface selects a row without making it current:
  // a selected row is the choice as much as a current one.
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.size() == 1 && list_->row(selected.front()) != list_->currentRow())
      list_->setCurrentRow(list_->row(selected.front()));
  });
  // With no row installed the first row stays the choice: its job then says
  // why it cannot run.
  const int initial = firstAvailable >= 0 ? firstAvailable : 0;
  if (rows > 0) {
    if (available_[static_cast<std::size_t>(initial)]) {
      list_->setCurrentRow(initial);
    } else {
      onCodecRowChanged(initial);
    }
  }
}

bool CPageWaveCompression::codecAvailable(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < available_.size() &&
         available_[static_cast<std::size_t>(row)];
}

void CPageWaveCompression::onCodecRowChanged(int row) {
  if (row < 0) return;
  state_.codecIndex = row;
  state_.compressionStale = true;
  const CodecTableEntry* entry = codecTableRow(codecs_, row);
  description_->setPlainText(entry ? engineText(entry->descriptionStringId) : QString());
}

void CPageWaveCompression::initializePage() { ensureStreamFile(); }

// Beside the working files: in the run's own folder, where the finished clip
// will lie too.
std::string CPageWaveCompression::streamFolder() const {
  return std::filesystem::path(services_.workspace.PcmWorkFile).parent_path().string();
}

bool CPageWaveCompression::ensureStreamFile() {
  if (state_.streamPath.empty())
    state_.streamPath = createUniqueFile(streamFolder(), kWorkingFilePrefix);
  return !state_.streamPath.empty();
}

int CPageWaveCompression::nextId() const { return kPageWaveOutput; }

bool CPageWaveCompression::validatePage() {
  if (!state_.compressionStale) return true;
  if (!ensureStreamFile()) {
    showWizardMessage(services_.presenter, kIdsStreamFileNotCreated, streamFolder());
    return false;
  }

  JobEnvironment environment(services_.workspace, services_.presenter);
  environment.codecTable = codecs_;
  CCompressProgressDialog dialog(JobMode::Encode, state_.streamPath, state_.codecIndex,
                                 environment, this);
  if (progress_dialog_hook_) progress_dialog_hook_(dialog);
  if (dialog.exec() == kProgressCancelled) return false;
  if (dialog.jobEnd() != JobEnd::Completed) {
    showJobFailure(services_.presenter, JobMode::Encode, dialog.jobEnd(), codecs_,
                   state_.codecIndex);
    return false;
  }

  state_.pcmBytes = dialog.pcmBytes();
  state_.codedBytes = dialog.codedBytes();
  state_.hasCompression = true;
  state_.decompressionStale = true;
  state_.compressionStale = false;
  return true;
}

}  // namespace zv
