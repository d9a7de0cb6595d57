// The input page's Next with a source file: the conversion runs on a worker
// under the progress dialog, which shows its progress and can be cancelled
// (the page stays, the previous working file stays, Next works again), and
// a Cancel pressed while the worker waits for its message to be answered on
// the window's thread does not lock the two threads up.
#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QWizard>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "encoder/engine_workspace.h"
#include "platform/qt/qt_message_box_presenter.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "tests/wizard/compression_fixture.h"
#include "wizard/compress_progress_dialog.h"
#include "wizard/wave_input_page.h"

namespace zv {
namespace {

// Three minutes of a 16 kHz tone: the reader gets through it in hundreds of
// blocks, each of which may report progress.
constexpr std::uint32_t kSourceRate = 16000;
constexpr std::size_t kSourceFrames = 3 * 60 * kSourceRate;
// What PcmWorkFile holds before each Next: a sound converted earlier.
const test::Bytes kEarlierSound(4000, 0x5a);

// Every call is a second later than the one before, so the job posts a
// progress message after every block it reads.
TickSource secondPerCall() {
  auto now = std::make_shared<std::atomic<std::uint64_t>>(0);
  return [now]() { return now->fetch_add(1000) + 1000; };
}

std::set<std::string> filesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// Stands in for the presenter of the wizard (the message boxes, carried over
// to the window's thread and waited for there), and presses Cancel at the
// very moment the worker asks for its message: the click is queued on the
// window's thread before the message.
class CancelWhileAskingPresenter : public MessagePresenter {
 public:
  MessageAnswer present(const MessageRequest& request) override {
    if (QPushButton* cancel = cancel_.load())
      QMetaObject::invokeMethod(cancel, [cancel] { cancel->click(); }, Qt::QueuedConnection);
    return boxes_.present(request);
  }
  void cancelWith(QPushButton* button) { cancel_.store(button); }

 private:
  std::atomic<QPushButton*> cancel_{nullptr};
  QtMessageBoxPresenter boxes_;
};

// A deadlocked window thread cannot fail a test by itself: this aborts the
// test program, with a message, when it is still running after a minute.
class DeadlockGuard {
 public:
  DeadlockGuard()
      : thread_([this] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!done_changed_.wait_for(lock, std::chrono::minutes(1), [this] { return done_; })) {
            std::fputs("deadlock: the window thread never came back from Cancel\n", stderr);
            std::abort();
          }
        }) {}
  ~DeadlockGuard() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    done_changed_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_changed_;
  bool done_ = false;
  std::thread thread_;
};

// The real input page in a wizard of its own, in a private temporary folder
// that holds the workspace's files, the source and any partial file.
struct InputPageRun {
  explicit InputPageRun(MessagePresenter* presenter = nullptr)
      : tmpdirVariable("TMPDIR", temp.path()) {
    std::string error;
    workspace = EngineWorkspace::create(error);
    if (!workspace) qFatal("no workspace: %s", error.c_str());
    test::writeFile(workspace->PcmWorkFile, kEarlierSound);
    // A gallery with a clip: the page has nothing to say when first shown.
    std::filesystem::create_directory(temp.file("Gallery"));
    test::writeFile(temp.file("Gallery/chime.zvsa"), test::Bytes(200, 7));
    services = std::make_unique<WizardServices>(
        WizardServices{*workspace, presenter ? *presenter : recorder, GalleryFolders{temp.file("Gallery"), {}}});
    page = new CPageWaveInput(state, *services);
    wizard.setPage(kPageWaveInput, page);
    wizard.setPage(kPageWaveCompression, new QWizardPage);
    wizard.setStartId(kPageWaveInput);
    page->setProgressDialogHook([this](CCompressProgressDialog& dialog) {
      ++dialogs;
      if (onDialog) onDialog(dialog);
    });
    wizard.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&wizard));
  }

  std::string writeSource(const std::string& name = "long.wav") {
    const std::string path = temp.file(name);
    test::PcmLayout layout;
    layout.samplesPerSec = kSourceRate;
    test::writeFile(path, test::pcmWave(layout, test::pcm16(test::sine16(440.0, kSourceRate, kSourceFrames))));
    return path;
  }

  void chooseSource(const std::string& path) {
    page->sourceFileRadio()->setChecked(true);
    page->pathEdit()->setText(QString::fromStdString(path));
  }
  void next() {
    QAbstractButton* button = wizard.button(QWizard::NextButton);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
  }

  test::TempDir temp;
  test::ScopedEnvironment tmpdirVariable;
  std::unique_ptr<EngineWorkspace> workspace;
  test::RecordingPresenter recorder;
  WizardState state;
  std::unique_ptr<WizardServices> services;
  QWizard wizard;
  CPageWaveInput* page = nullptr;
  int dialogs = 0;
  std::function<void(CCompressProgressDialog&)> onDialog;
};

}  // namespace

class InputConversionTest : public QObject {
  Q_OBJECT

 private slots:
  // Next converts under "Converting...": the bar moves many times, never
  // back, the page leaves only when the whole sound is in PcmWorkFile.
  void longSourceConvertsUnderTheProgressDialog() {
    InputPageRun run;
    run.page->setJobTicks(secondPerCall());
    run.chooseSource(run.writeSource());
    std::vector<int> seen;
    QString caption;
    QString cancelText;
    run.onDialog = [&](CCompressProgressDialog& dialog) {
      caption = dialog.windowTitle();
      cancelText = dialog.cancelButton()->text();
      connect(&dialog, &CCompressProgressDialog::progressChanged, &dialog, [&seen, &dialog](int percent) {
        // Taken while the window thread is free: the dialog is live.
        if (!seen.empty() && seen.back() < 50 && percent >= 50) {
          QDir().mkpath(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/wizard"));
          test::saveScreenshot(dialog, QStringLiteral("wizard/input_page_converting"));
        }
        seen.push_back(percent);
      });
    };
    run.next();
    QCOMPARE(run.dialogs, 1);
    QCOMPARE(caption, QStringLiteral("Converting..."));
    QCOMPARE(cancelText, QStringLiteral("&Cancel Conversion"));
    QVERIFY2(seen.size() >= 10, qPrintable(QString::number(seen.size())));
    for (std::size_t i = 1; i < seen.size(); ++i) QVERIFY(seen[i - 1] <= seen[i]);
    QVERIFY(seen.back() >= 95);
    QCOMPARE(run.wizard.currentId(), int{kPageWaveCompression});
    // 16 kHz to 8 kHz: half the frames, two bytes each.
    QVERIFY(std::abs(test::fileSize(run.workspace->PcmWorkFile) - static_cast<long long>(kSourceFrames)) < 64);
    QVERIFY(run.state.compressionStale);
    QVERIFY(run.recorder.texts().empty());
  }

  // Cancel in the middle: the page stays with Next usable, PcmWorkFile keeps
  // the earlier sound, no partial file is left; the next Next converts.
  void cancelledConversionKeepsThePageAndTheEarlierSound() {
    InputPageRun run;
    // The worker waits at its second progress report until Cancel has been
    // pressed, so the click always lands in the middle of the conversion.
    auto gate = std::make_shared<std::pair<std::mutex, std::condition_variable>>();
    auto pressed = std::make_shared<bool>(false);
    auto calls = std::make_shared<std::atomic<int>>(0);
    TickSource ticks = secondPerCall();
    run.page->setJobTicks([=]() {
      if (calls->fetch_add(1) == 3) {
        std::unique_lock<std::mutex> lock(gate->first);
        gate->second.wait(lock, [&] { return *pressed; });
      }
      return ticks();
    });
    const std::string source = run.writeSource();
    run.chooseSource(source);
    run.state.compressionStale = false;  // the earlier sound was compressed
    const std::set<std::string> before = filesIn(run.temp.path());
    int progressBeforeCancel = -1;
    run.onDialog = [&](CCompressProgressDialog& dialog) {
      connect(&dialog, &CCompressProgressDialog::progressChanged, &dialog, [&, gate, pressed](int percent) {
        if (progressBeforeCancel >= 0) return;
        progressBeforeCancel = percent;
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        {
          std::lock_guard<std::mutex> lock(gate->first);
          *pressed = true;
        }
        gate->second.notify_all();
      });
    };
    run.next();
    QCOMPARE(run.dialogs, 1);
    QVERIFY(progressBeforeCancel >= 0 && progressBeforeCancel < 50);
    QCOMPARE(run.wizard.currentId(), int{kPageWaveInput});
    QCOMPARE(test::readFile(run.workspace->PcmWorkFile), kEarlierSound);
    QCOMPARE(filesIn(run.temp.path()), before);
    QVERIFY(!run.state.compressionStale);
    QCOMPARE(run.page->pathEdit()->text(), QString::fromStdString(source));

    run.onDialog = {};
    run.next();
    QCOMPARE(run.dialogs, 2);
    QCOMPARE(run.wizard.currentId(), int{kPageWaveCompression});
    QVERIFY(test::fileSize(run.workspace->PcmWorkFile) > 1'000'000);
    QCOMPARE(filesIn(run.temp.path()), before);
  }

  // The worker asks for its message (a source cut short) through the
  // message boxes, which wait for the window's thread, and Cancel is
  // pressed just before the window's thread gets to it: Cancel must not
  // wait for the worker while the worker waits for the window.
  void cancelWhileTheWorkerAsksForItsMessageEnds() {
    CancelWhileAskingPresenter presenter;
    InputPageRun run(&presenter);
    const std::string source = run.writeSource("cut.wav");
    std::filesystem::resize_file(source, test::fileSize(source) / 2);
    run.chooseSource(source);
    int result = -1;
    run.onDialog = [&](CCompressProgressDialog& dialog) {
      presenter.cancelWith(dialog.cancelButton());
      connect(&dialog, &QDialog::finished, &dialog, [&result](int code) { result = code; });
    };
    QString answered;
    test::whenModal<QMessageBox>([&answered](QMessageBox& box) {
      answered = box.text();
      box.button(QMessageBox::Ok)->click();
    });
    {
      DeadlockGuard guard;
      run.next();
    }
    QCOMPARE(run.dialogs, 1);
    QCOMPARE(result, kProgressCancelled);
    QVERIFY2(answered.contains(QStringLiteral("runs past the end of the file")), qPrintable(answered));
    QCOMPARE(run.wizard.currentId(), int{kPageWaveInput});
    QCOMPARE(test::readFile(run.workspace->PcmWorkFile), kEarlierSound);
  }
};

}  // namespace zv

QTEST_MAIN(zv::InputConversionTest)
#include "input_conversion_test.moc"
