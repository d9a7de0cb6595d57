#include "wizard/compress_progress_dialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "widgets/caption_mnemonic.h"

namespace zv {

CCompressProgressDialog::CCompressProgressDialog(JobMode mode, const std::string& streamPath,
                                                 int codecIndex, JobEnvironment environment,
                                                 QWidget* parent)
    : QDialog(parent), mode_(mode), notifier_(this), environment_(std::move(environment)) {
  context_.streamPath = streamPath;
  context_.codecIndex = codecIndex;

  const bool converting = mode == JobMode::Convert;
  setWindowTitle(mode == JobMode::Decode ? QStringLiteral("Decompressing...")
                 : converting            ? QStringLiteral("Converting...")
                                         : QStringLiteral("Compressing..."));
  // A title bar without a close box: the only way out is Cancel (or Esc).
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);

  status_ = new QLabel(QStringLiteral("Status"), this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setAccessibleName(QStringLiteral("Status"));
  status_->setBuddy(bar_);

  const QString cancelText =
      converting ? QStringLiteral("&Cancel Conversion") : QStringLiteral("&Cancel Compression");
  cancel_ = new QPushButton(cancelText, this);
  cancel_->setAccessibleName(captionText(cancelText));
  cancel_->setDefault(true);
  connect(cancel_, &QPushButton::clicked, this, &CCompressProgressDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel_);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  // A fixed size, wide enough for the bar to show its steps.
  setFixedSize(360, sizeHint().height());
}

CCompressProgressDialog::~CCompressProgressDialog() {
  if (phase_ == Phase::Running || phase_ == Phase::Cancelling) {
    runner_.cancel();
    runner_.join();
  }
}

int CCompressProgressDialog::progress() const { return bar_->value(); }

void CCompressProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (phase_ == Phase::NotStarted) startJob();
}

void CCompressProgressDialog::startJob() {
  phase_ = Phase::Running;
  context_.notifyWindow = &notifier_;
  // The thread-end message follows every message of the job on the same
  // queue, so it arrives after WM_JOB_DONE when the job posted one.
  const bool started = runner_.start(mode_, context_, environment_, [this](JobEnd end) {
    notifier_.post(WM_JOB_THREAD_END, static_cast<std::uintptr_t>(end));
  });
  if (!started) notifier_.post(WM_JOB_THREAD_END, static_cast<std::uintptr_t>(JobEnd::ThreadNotStarted));
}

bool CCompressProgressDialog::event(QEvent* event) {
  if (event->type() == JobMessageEvent::eventType()) {
    const auto* message = static_cast<const JobMessageEvent*>(event);
    onJobMessage(message->message(), message->wParam());
    return true;
  }
  return QDialog::event(event);
}

void CCompressProgressDialog::onJobMessage(unsigned message, std::uintptr_t wParam) {
  // After the end, whatever the worker still had queued belongs to a job
  // that is already joined.
  if (phase_ == Phase::Finished || phase_ == Phase::NotStarted) return;
  if (phase_ == Phase::Cancelling) {
    // Only the worker's very last message matters now: after it, join()
    // cannot wait on a worker that waits on this thread.
    if (message == WM_JOB_THREAD_END) finish(runner_.join(), kProgressCancelled);
    return;
  }
  switch (message) {
    case WM_JOB_PROGRESS: {
      const int percent = static_cast<int>(std::min<std::uintptr_t>(wParam, 100));
      bar_->setValue(percent);
      emit progressChanged(percent);
      break;
    }
    case WM_JOB_DONE: {
      const JobEnd end = runner_.join();
      // Read only now: the worker wrote them before posting, and it has ended.
      pcm_bytes_ = context_.pcmBytes;
      coded_bytes_ = context_.codedBytes;
      finish(end, kProgressJobEnded);
      break;
    }
    case WM_JOB_THREAD_END:
      // The worker ended without its end message: nothing more will come.
      finish(runner_.join(), kProgressJobEnded);
      break;
    default:
      break;
  }
}

void CCompressProgressDialog::reject() {
  if (phase_ == Phase::Finished || phase_ == Phase::Cancelling) return;
  if (phase_ == Phase::Running) {
    // No join here: the worker may be waiting for this thread to answer a
    // message of its own (the message layer carries a worker's message
    // over to this thread and blocks until it is answered). The event loop
    // keeps running until the worker's thread-end message says it is done.
    runner_.cancel();
    phase_ = Phase::Cancelling;
    cancel_->setEnabled(false);
    return;
  }
  finish(JobEnd::Cancelled, kProgressCancelled);
}

void CCompressProgressDialog::finish(JobEnd end, int result) {
  phase_ = Phase::Finished;
  end_ = end;
  done(result);
}

}  // namespace zv
