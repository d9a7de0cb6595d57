// CCompressProgressDialog running real encode and decode jobs on their
// worker thread: the bar, Cancel and Esc, the end of a job that never posts
// its end message, and how the dialog reports the way a job ended.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

#include "encoder/codec_table.h"
#include "encoder/job_context.h"
#include "platform/temporary_file.h"
#include "tests/wizard/compression_fixture.h"
#include "wizard/compress_progress_dialog.h"
#include "wizard/queued_job_notifier.h"

Q_DECLARE_METATYPE(zv::JobEnd)

namespace zv {
namespace {

// Speech codec: 320 PCM bytes (160 samples) per frame.
constexpr std::size_t kSpeechFrameSamples = 160;

// Every call is a second later than the one before, so a job posts a
// progress message after every frame.
TickSource secondPerCall() {
  auto now = std::make_shared<std::atomic<std::uint64_t>>(0);
  return [now]() { return now->fetch_add(1000) + 1000; };
}

// Runs `dialog` modally. If it is still open after `limit` ms, a guard
// closes it through Cancel and the result says so: a dialog that waits for
// a message that never comes fails the test instead of hanging it.
struct Outcome {
  int result = -1;
  bool closedByGuard = false;
};
Outcome runWithGuard(CCompressProgressDialog& dialog, int limit = 60000) {
  Outcome outcome;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dialog, [&]() {
    outcome.closedByGuard = true;
    dialog.reject();
  });
  guard.start(limit);
  outcome.result = dialog.exec();
  return outcome;
}

}  // namespace

class ProgressDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::WizardFixture> fixture_;

  JobEnvironment environment(CodecTable codecs = kCodecTable) {
    JobEnvironment env(*fixture_->workspace, fixture_->presenter);
    env.codecTable = codecs;
    return env;
  }
  std::string streamFile() {
    // An empty file where the page would have made one.
    const std::string path = createTemporaryFile(kWorkingFilePrefix);
    streams_.push_back(path);
    return path;
  }
  std::vector<std::string> streams_;

 private slots:
  void init() { fixture_ = std::make_unique<test::WizardFixture>(); }
  void cleanup() {
    fixture_.reset();
    for (const std::string& path : streams_) std::remove(path.c_str());
    streams_.clear();
  }

  void showsCaptionStatusBarAndCancelWithoutCloseBox_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::newRow("encode") << static_cast<int>(JobMode::Encode) << "Compressing...";
    QTest::newRow("decode") << static_cast<int>(JobMode::Decode) << "Decompressing...";
  }
  void showsCaptionStatusBarAndCancelWithoutCloseBox() {
    QFETCH(int, mode);
    QFETCH(QString, caption);
    CCompressProgressDialog dialog(static_cast<JobMode>(mode), streamFile(), kSpeechCodecIndex,
                                   environment());
    QCOMPARE(dialog.windowTitle(), caption);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    auto* bar = dialog.findChild<QProgressBar*>();
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->accessibleName(), QStringLiteral("Status"));
    bool statusLabel = false;
    for (auto* label : dialog.findChildren<QLabel*>())
      statusLabel |= label->text() == QStringLiteral("Status") && label->buddy() == bar;
    QVERIFY(statusLabel);
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("&Cancel Compression"));
    QCOMPARE(dialog.cancelButton()->accessibleName(), QStringLiteral("Cancel Compression"));
    QVERIFY(dialog.cancelButton()->isDefault());
  }

  // The whole job runs; the dialog closes by itself only after the worker
  // has written the stream file and been joined, and hands back the sizes.
  void encodeRunsToTheEndAndReportsTheSizes() {
    fixture_->writeTone(50 * kSpeechFrameSamples + 7);
    const std::string stream = streamFile();
    CCompressProgressDialog dialog(JobMode::Encode, stream, kSpeechCodecIndex, environment());
    const Outcome outcome = runWithGuard(dialog);
    QVERIFY(!outcome.closedByGuard);
    QCOMPARE(outcome.result, kProgressJobEnded);
    QCOMPARE(dialog.jobEnd(), JobEnd::Completed);
    QCOMPARE(dialog.pcmBytes(), std::uint32_t{50 * 320 + 14});
    QVERIFY(dialog.codedBytes() > 0);
    // 51 frames, the last one short; the file is complete when exec returns.
    QCOMPARE(test::fileSize(stream), 154LL + dialog.codedBytes());
  }

  void decodeModeDecodesTheStreamIntoDecodedPcmFile() {
    fixture_->writeTone(20 * kSpeechFrameSamples);
    const std::string stream = streamFile();
    CCompressProgressDialog encode(JobMode::Encode, stream, kSpeechCodecIndex, environment());
    QCOMPARE(runWithGuard(encode).result, kProgressJobEnded);
    QCOMPARE(encode.jobEnd(), JobEnd::Completed);

    CCompressProgressDialog decode(JobMode::Decode, stream, kSpeechCodecIndex, environment());
    const Outcome outcome = runWithGuard(decode);
    QVERIFY(!outcome.closedByGuard);
    QCOMPARE(outcome.result, kProgressJobEnded);
    QCOMPARE(decode.jobEnd(), JobEnd::Completed);
    QCOMPARE(test::fileSize(fixture_->workspace->DecodedPcmFile), 20LL * 320);
  }

  // Each WM_JOB_PROGRESS moves the bar; it never goes back or past 100.
  void progressMessagesMoveTheBar() {
    fixture_->writeTone(200 * kSpeechFrameSamples);
    JobEnvironment env = environment();
    env.ticks = secondPerCall();
    CCompressProgressDialog dialog(JobMode::Encode, streamFile(), kSpeechCodecIndex, env);
    std::vector<int> seen;
    bool photographed = false;
    connect(&dialog, &CCompressProgressDialog::progressChanged, &dialog, [&](int percent) {
      seen.push_back(percent);
      if (!photographed && percent >= 40) {
        photographed = true;
        test::saveScreenshot(dialog, QStringLiteral("progress_dialog_compressing"));
      }
    });
    const Outcome outcome = runWithGuard(dialog);
    QCOMPARE(outcome.result, kProgressJobEnded);
    QVERIFY(seen.size() >= 100);
    for (std::size_t i = 1; i < seen.size(); ++i) QVERIFY(seen[i - 1] <= seen[i]);
    QVERIFY(seen.back() <= 100);
    QVERIFY(seen.back() >= 99);
    QCOMPARE(dialog.progress(), seen.back());
  }

  // Cancel (the button, Esc, or a close request from the window system)
  // once the job is under way: result 2, the worker joined, no stream file,
  // no sizes, and the job's later messages ignored.
  void cancelStopsTheJob_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("escape key") << "escape";
    QTest::newRow("close request") << "close";
  }
  void cancelStopsTheJob() {
    QFETCH(QString, how);
    // Far more frames than the worker can code while the first progress
    // message travels to the dialog and the click follows.
    fixture_->writeTone(5'000'000);
    JobEnvironment env = environment();
    env.ticks = secondPerCall();
    const std::string stream = streamFile();
    CCompressProgressDialog dialog(JobMode::Encode, stream, kSpeechCodecIndex, env);
    bool clicked = false;
    connect(&dialog, &CCompressProgressDialog::progressChanged, &dialog, [&](int) {
      if (clicked) return;
      clicked = true;
      QTimer::singleShot(0, &dialog, [&]() {
        if (how == "escape")
          QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == "close")
          dialog.close();
        else
          QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
      });
    });
    const Outcome outcome = runWithGuard(dialog);
    QVERIFY(clicked);
    QVERIFY(!outcome.closedByGuard);
    QCOMPARE(outcome.result, kProgressCancelled);
    QCOMPARE(dialog.jobEnd(), JobEnd::Cancelled);
    QCOMPARE(test::fileSize(stream), 0LL);
    QCOMPARE(dialog.pcmBytes(), 0u);

    const int bar = dialog.progress();
    QCoreApplication::postEvent(&dialog, new JobMessageEvent(WM_JOB_PROGRESS, 100));
    QCoreApplication::postEvent(&dialog, new JobMessageEvent(WM_JOB_DONE, 0));
    QCoreApplication::processEvents();
    QCOMPARE(dialog.progress(), bar);
    QCOMPARE(dialog.result(), kProgressCancelled);
    QCOMPARE(dialog.pcmBytes(), 0u);
  }

  // A codec library that cannot be loaded: the job ends without its end
  // message, and the dialog closes by itself instead of waiting at 0 %.
  void jobWithoutEndMessageClosesTheDialog() {
    fixture_->writeTone(1000);
    static constexpr CodecTableEntry kMissing[] = {
        {"/nonexistent/libQVMISSING.so", 20000, 20050, "QVX_"}, {"", 0, 0, ""}};
    CCompressProgressDialog dialog(JobMode::Encode, streamFile(), 0, environment(kMissing));
    const Outcome outcome = runWithGuard(dialog, 20000);
    QVERIFY(!outcome.closedByGuard);
    QCOMPARE(outcome.result, kProgressJobEnded);
    QCOMPARE(dialog.jobEnd(), JobEnd::LibraryNotLoaded);
    QCOMPARE(dialog.progress(), 0);
  }

  // A job that stops after an error still closes the dialog; jobEnd() says
  // which error, so that the caller does not take it for a compression.
  void failedJobReportsHowItEnded_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<JobEnd>("end");
    QTest::newRow("working file unreadable") << "no pcm" << JobEnd::InputNotOpened;
    QTest::newRow("stream file unwritable") << "bad stream path" << JobEnd::StreamNotWritten;
    QTest::newRow("codec fails a frame") << "failing codec" << JobEnd::CodecFailed;
  }
  void failedJobReportsHowItEnded() {
    QFETCH(QString, failure);
    QFETCH(JobEnd, end);
    static constexpr CodecTableEntry kFailing[] = {
        {ZV_FAKE_CODEC_FAIL_THIRD, 20000, 20050, "FAKE_"}, {"", 0, 0, ""}};
    fixture_->writeTone(2000);
    std::string stream = streamFile();
    CodecTable codecs = kCodecTable;
    int index = kSpeechCodecIndex;
    if (failure == "no pcm") std::remove(fixture_->workspace->PcmWorkFile.c_str());
    if (failure == "bad stream path") stream = "/nonexistent-folder/clip.zvsa";
    if (failure == "failing codec") {
      codecs = kFailing;
      index = 0;
    }
    CCompressProgressDialog dialog(JobMode::Encode, stream, index, environment(codecs));
    const Outcome outcome = runWithGuard(dialog);
    QVERIFY(!outcome.closedByGuard);
    QCOMPARE(outcome.result, kProgressJobEnded);
    QCOMPARE(dialog.jobEnd(), end);
  }
};

}  // namespace zv

QTEST_MAIN(zv::ProgressDialogTest)
#include "progress_dialog_test.moc"
