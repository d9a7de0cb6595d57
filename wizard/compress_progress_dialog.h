// CCompressProgressDialog: runs one encode, decode or source conversion job
// on a worker thread under a modal dialog with a percentage bar and
// "&Cancel Compression" ("Converting..." and "&Cancel Conversion" for a
// conversion, whose name is not a compression's).
//
// Protocol with the job (through a JobRunner and a QueuedJobNotifier):
//   - shown: the job starts (the runner resets CancelEvent first);
//   - WM_JOB_PROGRESS: the bar moves to the percentage;
//   - WM_JOB_DONE: the worker is joined, the sizes are taken from the job's
//     context, and the dialog closes with kProgressJobEnded;
//   - the worker's thread end without a WM_JOB_DONE before it (a codec
//     library that cannot be loaded, a thread that could not start): the
//     worker is joined and the dialog closes with kProgressJobEnded as well,
//     instead of waiting at 0 % for a message that never comes;
//   - Cancel (the button, Esc, or a close request; there is no close box):
//     CancelEvent is set and the button disabled; the event loop goes on
//     until the worker's thread-end message, so that a message the worker
//     is waiting to have answered on this thread can still be shown; then
//     the worker is joined and the dialog closes with kProgressCancelled.
//     Job messages before the thread-end and after the close are ignored.
// The worker is joined before the dialog closes on every path. jobEnd()
// tells the caller how the job ended; only a JobEnd::Completed job is a
// finished compression or decompression.
#ifndef ZV_WIZARD_COMPRESS_PROGRESS_DIALOG_H
#define ZV_WIZARD_COMPRESS_PROGRESS_DIALOG_H

#include <QDialog>

#include <cstdint>
#include <string>

#include "encoder/job_context.h"
#include "encoder/job_runner.h"
#include "wizard/queued_job_notifier.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zv {

// Results of exec().
inline constexpr int kProgressJobEnded = 1;   // the job ended by itself; see jobEnd()
inline constexpr int kProgressCancelled = 2;  // the user cancelled

// Message number the worker's thread-end callback posts (after any message
// the job itself posted); wParam is the JobEnd.
inline constexpr unsigned WM_JOB_THREAD_END = kUserMessageBase + 3;

class CCompressProgressDialog : public QDialog {
  Q_OBJECT

 public:
  // `environment` gives the workspace, the presenter for the job's own
  // message, and the codec table `codecIndex` refers to. For a conversion
  // `streamPath` is the source sound file (and `codecIndex` unused).
  CCompressProgressDialog(JobMode mode, const std::string& streamPath, int codecIndex,
                          JobEnvironment environment, QWidget* parent = nullptr);
  ~CCompressProgressDialog() override;

  JobMode mode() const { return mode_; }
  // How the job ended (JobEnd::ThreadNotStarted until it has).
  JobEnd jobEnd() const { return end_; }
  // The job context's sizes, taken when WM_JOB_DONE arrived (0 otherwise).
  std::uint32_t pcmBytes() const { return pcm_bytes_; }
  std::uint32_t codedBytes() const { return coded_bytes_; }
  int progress() const;

  QPushButton* cancelButton() const { return cancel_; }

 public slots:
  // Cancel: the button, Esc and close requests all come here.
  void reject() override;

 signals:
  // The bar moved to `percent` because of a WM_JOB_PROGRESS.
  void progressChanged(int percent);

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  enum class Phase { NotStarted, Running, Cancelling, Finished };

  void startJob();
  void onJobMessage(unsigned message, std::uintptr_t wParam);
  void finish(JobEnd end, int result);

  const JobMode mode_;
  QLabel* status_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancel_ = nullptr;

  Phase phase_ = Phase::NotStarted;
  JobEnd end_ = JobEnd::ThreadNotStarted;
  std::uint32_t pcm_bytes_ = 0;
  std::uint32_t coded_bytes_ = 0;

  QueuedJobNotifier notifier_;
  JobContext context_;
  JobEnvironment environment_;
  // Last member: destroyed first, so a worker still running is cancelled and
  // joined while the notifier and the context it uses still exist.
  JobRunner runner_;
};

}  // namespace zv

#endif  // ZV_WIZARD_COMPRESS_PROGRESS_DIALOG_H
