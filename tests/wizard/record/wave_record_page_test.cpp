// The record page driven through its real buttons inside a wizard, with the
// simulated sound devices: the state table, the default buttons, Next and
// Back stopping first, the animation, and devices that cannot be opened.
#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimerEvent>
#include <QWizard>
#include <QtTest>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "encoder/engine_workspace.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/simulated_wave_devices.h"
#include "wizard/record/wave_record_page.h"
#include "wizard/wizard_strings.h"

using namespace zv;

namespace {

std::vector<char> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The page before the record page, as the input page is when the user chose
// a quick voice recording.
class PageBefore : public QWizardPage {
 public:
  int nextId() const override { return kPageWaveRecord; }
};

}  // namespace

class WaveRecordPageTest : public QObject {
  Q_OBJECT

 private:
  // A wizard around the page: a first page before it and one after it, so
  // that Back and Next have somewhere to go.
  struct Fixture {
    std::string error;
    std::unique_ptr<EngineWorkspace> workspace = EngineWorkspace::create(error);
    test::RecordingPresenter presenter;
    WizardState state;
    SimulatedAudio audio;
    SimulatedWaveDeviceFactory devices{audio};
    std::unique_ptr<WizardServices> services;
    QWizard wizard;
    CPageWaveRecord* page = nullptr;

    Fixture() {
      services = std::make_unique<WizardServices>(WizardServices{*workspace, presenter, {}});
      wizard.setPage(kPageWaveInput, new PageBefore);
      page = new CPageWaveRecord(state, *services, devices);
      wizard.setPage(kPageWaveRecord, page);
      wizard.setPage(kPageWaveCompression, new QWizardPage);
      wizard.show();
      wizard.activateWindow();
      if (!QTest::qWaitForWindowActive(&wizard)) qWarning("the wizard did not become active");
      wizard.next();
      QCoreApplication::processEvents();  // the page settles its default button
    }

    bool nextEnabled() const { return wizard.button(QWizard::NextButton)->isEnabled(); }
    void deliverNotices() { QCoreApplication::sendPostedEvents(); }
    void tick() {
      QTimerEvent tick(page->animationTimerId());
      QCoreApplication::sendEvent(page, &tick);
    }
  };

  static void expectButtons(const CPageWaveRecord& page, bool play, bool record, bool stop,
                            QPushButton* defaultButton) {
    QCOMPARE(page.playButton()->isEnabled(), play);
    QCOMPARE(page.recordButton()->isEnabled(), record);
    QCOMPARE(page.stopButton()->isEnabled(), stop);
    QVERIFY(defaultButton->isDefault());
  }

 private slots:
  void initTestCase() { QVERIFY(QDir().mkpath(QStringLiteral(ZV_TEST_ARTIFACTS_DIR))); }

  void walksTheStateTableWithItsDefaultButtons() {
    Fixture f;
    QCOMPARE(f.wizard.currentId(), int(kPageWaveRecord));
    QVERIFY(f.workspace);
    QCOMPARE(f.workspace->PcmFormat, codecPcmFormat());
    // Idle, nothing recorded: only Record; Next not offered yet.
    expectButtons(*f.page, false, true, false, f.page->recordButton());
    QVERIFY(!f.nextEnabled());

    f.state.compressionStale = false;
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    expectButtons(*f.page, false, false, true, f.page->stopButton());
    QVERIFY(f.page->isRecording());
    QVERIFY(f.state.compressionStale);
    QVERIFY(!f.nextEnabled());
    f.wizard.grab().save(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/record-page-recording.png"));

    f.audio.input->capture(std::vector<std::uint8_t>(2500, 0x11));
    f.deliverNotices();
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    // Idle with a recording: Play is the default, Next is offered.
    expectButtons(*f.page, true, true, false, f.page->playButton());
    QVERIFY(f.page->hasRecording());
    QVERIFY(f.nextEnabled());
    QCOMPARE(readFile(f.workspace->PcmWorkFile).size(), std::size_t{2500});

    QTest::mouseClick(f.page->playButton(), Qt::LeftButton);
    expectButtons(*f.page, false, false, true, f.page->stopButton());
    QVERIFY(f.page->isPlaying());
    // Playback that ends by itself leaves Record as the default.
    while (f.audio.output->completeNext()) f.deliverNotices();
    QVERIFY(!f.page->isPlaying());
    expectButtons(*f.page, true, true, false, f.page->recordButton());
    QCOMPARE(f.audio.output->played().size(), std::size_t{2500});

    // Play, then Stop: Play is the default again.
    QTest::mouseClick(f.page->playButton(), Qt::LeftButton);
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    expectButtons(*f.page, true, true, false, f.page->playButton());
    f.wizard.grab().save(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/record-page-idle.png"));
  }

  void keyboardAloneRecordsAndStops() {
    Fixture f;
    f.page->recordButton()->setFocus();
    QTest::keyClick(f.page->recordButton(), Qt::Key_Space);
    QVERIFY(f.page->isRecording());
    QVERIFY(f.page->stopButton()->hasFocus());
    QTest::keyClick(f.page->stopButton(), Qt::Key_Space);
    QVERIFY(!f.page->isRecording());
    QVERIFY(f.page->hasRecording());
    QCOMPARE(f.page->playButton()->accessibleName(), QStringLiteral("Play"));
    QCOMPARE(f.page->recordButton()->accessibleName(), QStringLiteral("Record"));
    QCOMPARE(f.page->stopButton()->accessibleName(), QStringLiteral("Stop"));
  }

  void nextWhileRecordingStopsKeepsTheRecordingAndMovesOn() {
    Fixture f;
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    f.audio.input->capture(std::vector<std::uint8_t>(700, 0x22));
    // Next is not offered before the first recording; the page's own check
    // still stops and keeps what was recorded when the wizard asks.
    QVERIFY(f.page->validatePage());
    QVERIFY(!f.page->isRecording());
    QCOMPARE(readFile(f.workspace->PcmWorkFile).size(), std::size_t{700});
    QVERIFY(f.nextEnabled());
    // A second recording, ended by Next this time.
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    f.audio.input->capture(std::vector<std::uint8_t>(300, 0x33));
    f.wizard.next();
    QCOMPARE(f.wizard.currentId(), int(kPageWaveCompression));
    QVERIFY(!f.page->isRecording());
    QCOMPARE(readFile(f.workspace->PcmWorkFile), std::vector<char>(300, 0x33));
  }

  void backWhilePlayingStopsAndGoesBack() {
    Fixture f;
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    f.audio.input->capture(std::vector<std::uint8_t>(40000, 0x44));
    f.deliverNotices();
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    QTest::mouseClick(f.page->playButton(), Qt::LeftButton);
    QVERIFY(f.page->isPlaying());
    f.wizard.back();
    QCOMPARE(f.wizard.currentId(), int(kPageWaveInput));
    QVERIFY(!f.page->isPlaying());
    QVERIFY(!f.audio.output->isOpen());
  }

  void animationShowsFramesInOrderAndRestartsAtTheFirst() {
    Fixture f;
    QCOMPARE(f.page->shownFrameId(), 0);
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    QCOMPARE(f.page->shownFrameId(), 147);
    const int expected[] = {148, 149, 150, 151, 147, 148};
    for (int id : expected) {
      f.tick();
      QCOMPARE(f.page->shownFrameId(), id);
    }
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    QCOMPARE(f.page->shownFrameId(), 0);
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    QCOMPARE(f.page->shownFrameId(), 147);
    f.tick();
    QCOMPARE(f.page->shownFrameId(), 148);
    QCOMPARE(CPageWaveRecord::kAnimationIntervalMs, 250);
  }

  void anInputDeviceThatCannotBeOpenedIsReportedAndCountsForNothing() {
    Fixture f;
    f.audio.input->refuseOpen = true;
    f.state.compressionStale = false;
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    QCOMPARE(f.presenter.texts().size(), std::size_t{1});
    QVERIFY(f.presenter.texts()[0].find("sound input device could not be opened") != std::string::npos);
    QVERIFY(f.presenter.texts()[0].find("simulated sound input device") != std::string::npos);
    QVERIFY(!f.page->isRecording());
    QCOMPARE(f.page->shownFrameId(), 0);
    expectButtons(*f.page, false, true, false, f.page->recordButton());
    QVERIFY(!f.page->hasRecording());
    QVERIFY(!f.nextEnabled());
    QVERIFY(!f.state.compressionStale);
  }

  void aDiskThatFillsWhileRecordingIsReportedAtOnceAndLeavesNoRecording() {
    Fixture f;
    // A good recording first: the failed one replaces it, so afterwards
    // there is none to play or compress.
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    f.audio.input->capture(std::vector<std::uint8_t>(1500, 1));
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    QVERIFY(f.nextEnabled());

    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    {
      test::FileSizeLimit limit(3000);
      QVERIFY(limit.active());
      f.audio.input->capture(std::vector<std::uint8_t>(4096, 2));
      f.deliverNotices();
    }
    // Told while it happens, without the user pressing Stop.
    const std::vector<std::string> texts = f.presenter.texts();
    QCOMPARE(texts.size(), std::size_t{1});
    QVERIFY2(texts[0].find(wizardMessage(kIdsRecordingNotWritten, f.workspace->PcmWorkFile)) == 0,
             texts[0].c_str());
    QVERIFY2(texts[0].find("File too large") != std::string::npos, texts[0].c_str());
    QVERIFY(!f.page->isRecording());
    QCOMPARE(f.page->shownFrameId(), 0);
    QVERIFY(!f.page->hasRecording());
    expectButtons(*f.page, false, true, false, f.page->recordButton());
    QVERIFY(!f.nextEnabled());
    QVERIFY(f.state.compressionStale);
    QCOMPARE(f.audio.input->queuedCount(), 0);  // the device was closed

    // A recording made afterwards counts again.
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    f.audio.input->capture(std::vector<std::uint8_t>(700, 3));
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    QVERIFY(f.page->hasRecording());
    QCOMPARE(readFile(f.workspace->PcmWorkFile).size(), std::size_t{700});
    QCOMPARE(f.presenter.texts().size(), std::size_t{1});
  }

  void anInputDeviceThatDoesNotStartIsReportedAndCountsForNothing() {
    Fixture f;
    f.audio.input->refuseStart = true;
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    QCOMPARE(f.presenter.texts(),
             std::vector<std::string>{wizardMessage(kIdsInputDeviceFailed,
                                                    "The simulated sound input device does not start.")});
    QVERIFY(!f.page->isRecording());
    QCOMPARE(f.page->shownFrameId(), 0);
    expectButtons(*f.page, false, true, false, f.page->recordButton());
    QVERIFY(!f.nextEnabled());
  }

  void anOutputDeviceThatCannotBeOpenedIsReportedAndThePageStaysIdle() {
    Fixture f;
    QTest::mouseClick(f.page->recordButton(), Qt::LeftButton);
    f.audio.input->capture(std::vector<std::uint8_t>(100, 1));
    QTest::mouseClick(f.page->stopButton(), Qt::LeftButton);
    f.audio.output->refuseOpen = true;
    QTest::mouseClick(f.page->playButton(), Qt::LeftButton);
    QCOMPARE(f.presenter.texts().size(), std::size_t{1});
    QVERIFY(f.presenter.texts()[0].find("sound output device could not be opened") != std::string::npos);
    QVERIFY(!f.page->isPlaying());
    expectButtons(*f.page, true, true, false, f.page->playButton());
    QVERIFY(f.nextEnabled());
  }
};

QTEST_MAIN(WaveRecordPageTest)
#include "wave_record_page_test.moc"
