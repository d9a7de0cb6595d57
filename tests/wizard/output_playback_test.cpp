// Play and Stop on the output page: the stream file decoded once per
// compression, DecodedPcmFile played through the (simulated) sound output,
// the end of playback, Next and Back stopping first, and what the user sees
// when the decode or the output device fails.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "tests/wizard/compression_fixture.h"
#include "tests/wizard/wizard_harness.h"
#include "tests/support/simulated_wave_devices.h"

using namespace zv;

namespace {

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class OutputPlaybackTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::WizardFixture> fixture_;
  SimulatedAudio audio_;
  std::unique_ptr<SimulatedWaveDeviceFactory> devices_;
  std::unique_ptr<test::WizardHarness> harness_;
  int decodes_ = 0;

  // The wizard on the compression page, then Next: a real compression of a
  // one-second tone, and the output page.
  void compressAndShowOutput() {
    harness_->next();
    QCOMPARE(harness_->wizard.currentId(), int(kPageWaveOutput));
    page().nameEdit()->setText(QStringLiteral("tone"));
    // The progress dialog was the active window; the wizard is again.
    harness_->wizard.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&harness_->wizard));
  }

  void playToEnd() {
    while (audio_.output->completeNext()) QCoreApplication::sendPostedEvents();
  }

  CPageWaveOutput& page() { return *harness_->output; }

 private slots:
  void init() {
    fixture_ = std::make_unique<test::WizardFixture>();
    fixture_->writeTone(8000);
    audio_ = SimulatedAudio{};
    devices_ = std::make_unique<SimulatedWaveDeviceFactory>(audio_);
    harness_ = std::make_unique<test::WizardHarness>(*fixture_, kPageWaveCompression, kCodecTable,
                                                     devices_.get());
    decodes_ = 0;
    page().setProgressDialogHook([this](CCompressProgressDialog&) { ++decodes_; });
  }

  void cleanup() {
    harness_.reset();
    if (!fixture_->state.streamPath.empty()) std::remove(fixture_->state.streamPath.c_str());
    fixture_.reset();
  }

  void playDecodesOnceThenPlaysTheDecodedSound() {
    compressAndShowOutput();
    QVERIFY(fixture_->state.decompressionStale);
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QCOMPARE(decodes_, 1);
    QVERIFY(!fixture_->state.decompressionStale);
    QVERIFY(page().isPlaying());
    QVERIFY(!page().playButton()->isEnabled());
    QVERIFY(page().stopButton()->isEnabled());
    QVERIFY(page().stopButton()->isDefault());
    QCOMPARE(audio_.output->format(), codecPcmFormat());
    test::saveScreenshot(harness_->wizard, QStringLiteral("output_page_playing"));

    playToEnd();
    QVERIFY(!page().isPlaying());
    QVERIFY(page().playButton()->isEnabled());
    QVERIFY(!page().stopButton()->isEnabled());
    const auto decoded = readFile(fixture_->workspace->DecodedPcmFile);
    // One second of 8 kHz 16-bit through the first codec (the lower-quality
    // one) comes back as its whole frames: 34 of 240 samples.
    QCOMPARE(decoded.size(), std::size_t{34 * 480});
    QCOMPARE(audio_.output->played(), decoded);

    // Again: no second decode.
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QCOMPARE(decodes_, 1);
    QVERIFY(page().isPlaying());
    QTest::mouseClick(page().stopButton(), Qt::LeftButton);
    QVERIFY(!page().isPlaying());
    QVERIFY(page().playButton()->isDefault());
  }

  void aNewCompressionIsDecodedAgainBeforeTheNextPlay() {
    compressAndShowOutput();
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QTest::mouseClick(page().stopButton(), Qt::LeftButton);
    QCOMPARE(decodes_, 1);
    const auto speechDecoded = readFile(fixture_->workspace->DecodedPcmFile);

    harness_->back();
    auto* list = harness_->compression->findChild<QListWidget*>();
    list->setCurrentRow(2);  // the music codec
    harness_->next();
    QCOMPARE(harness_->wizard.currentId(), int(kPageWaveOutput));
    QVERIFY(fixture_->state.decompressionStale);
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QCOMPARE(decodes_, 2);
    QVERIFY(readFile(fixture_->workspace->DecodedPcmFile) != speechDecoded);
  }

  void cancellingTheDecodePlaysNothingAndDecodesAgainNextTime() {
    compressAndShowOutput();
    page().setProgressDialogHook([this](CCompressProgressDialog& dialog) {
      ++decodes_;
      if (decodes_ == 1) QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    });
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QCOMPARE(decodes_, 1);
    QVERIFY(!page().isPlaying());
    QVERIFY(fixture_->state.decompressionStale);
    QCOMPARE(audio_.output->openCount, 0);
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QCOMPARE(decodes_, 2);
    QVERIFY(page().isPlaying());
  }

  void aDecodeThatFailsIsReportedAndNothingPlays() {
    compressAndShowOutput();
    // The stream file is gone: the decode job cannot open it.
    QVERIFY(std::remove(fixture_->state.streamPath.c_str()) == 0);
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QVERIFY(!page().isPlaying());
    QCOMPARE(audio_.output->openCount, 0);
    QVERIFY(fixture_->state.decompressionStale);
    QCOMPARE(fixture_->presenter.texts().size(), std::size_t{1});
    QVERIFY2(fixture_->presenter.texts()[0].find("could not be decompressed") != std::string::npos,
             fixture_->presenter.texts()[0].c_str());
  }

  void anOutputDeviceThatCannotBeOpenedIsReportedAndThePageStaysIdle() {
    compressAndShowOutput();
    audio_.output->refuseOpen = true;
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QVERIFY(!page().isPlaying());
    QVERIFY(page().playButton()->isEnabled());
    QVERIFY(!page().stopButton()->isEnabled());
    QCOMPARE(fixture_->presenter.texts().size(), std::size_t{1});
    QVERIFY2(fixture_->presenter.texts()[0].find("sound output device could not be opened") !=
                 std::string::npos,
             fixture_->presenter.texts()[0].c_str());
  }

  void nextAndBackStopThePlaybackFirst() {
    compressAndShowOutput();
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QVERIFY(page().isPlaying());
    harness_->next();
    QCOMPARE(harness_->wizard.currentId(), int(kPageAppletProperties));
    QVERIFY(!page().isPlaying());
    QVERIFY(!audio_.output->isOpen());

    harness_->back();
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QVERIFY(page().isPlaying());
    harness_->back();
    QCOMPARE(harness_->wizard.currentId(), int(kPageWaveCompression));
    QVERIFY(!page().isPlaying());
  }

  void playAndStopAreLabelledAndReachable() {
    compressAndShowOutput();
    QCOMPARE(page().playButton()->accessibleName(), QStringLiteral("Play"));
    QCOMPARE(page().stopButton()->accessibleName(), QStringLiteral("Stop"));
    // The first Play decodes under the progress dialog, which takes the
    // activation; the offscreen platform does not give it back by itself.
    QTest::mouseClick(page().playButton(), Qt::LeftButton);
    QTest::mouseClick(page().stopButton(), Qt::LeftButton);
    harness_->wizard.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&harness_->wizard));
    // A mnemonic presses its button the way a click looks: a moment later.
    QTest::keyClick(&harness_->wizard, Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(page().isPlaying());
    QTest::keyClick(&harness_->wizard, Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(!page().isPlaying());
  }
};

QTEST_MAIN(OutputPlaybackTest)
#include "output_playback_test.moc"
