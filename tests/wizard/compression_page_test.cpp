// CPageWaveCompression in a wizard, driven through its real list and the
// wizard's Next and Back buttons, with real encode jobs: the codec list,
// compression only when stale, Cancel, and jobs that fail.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "encoder/engine_strings.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/wizard/compression_fixture.h"
#include "tests/wizard/wizard_harness.h"
#include "wizard/encoder_property_sheet.h"
#include "wizard/settings_store.h"
#include "wizard/wave_input_page.h"

namespace zv {
namespace {

QString engineText(unsigned id) { return QString::fromStdString(loadString(engineStringTable(), id)); }

QListWidget* codecList(CPageWaveCompression& page) { return page.findChild<QListWidget*>(); }
QPlainTextEdit* descriptionEdit(CPageWaveCompression& page) {
  return page.findChild<QPlainTextEdit*>();
}

}  // namespace

class CompressionPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::WizardFixture> fixture_;

 private slots:
  void init() { fixture_ = std::make_unique<test::WizardFixture>(); }
  void cleanup() {
    if (!fixture_->state.streamPath.empty()) std::remove(fixture_->state.streamPath.c_str());
    fixture_.reset();
  }

  // The built-in table: all three codec libraries are delivered, so every
  // row can be chosen and the first, the lower-quality codec, is the choice.
  void listShowsEveryCodecAndTheFirstIsChosen() {
    test::WizardHarness harness(*fixture_, kPageWaveCompression);
    CPageWaveCompression& page = *harness.compression;
    QListWidget* list = codecList(page);
    QVERIFY(list);
    QCOMPARE(list->count(), 3);
    for (int row = 0; row < 3; ++row) {
      QCOMPARE(list->item(row)->text(), engineText(20000 + row));
      QVERIFY(list->item(row)->flags() & Qt::ItemIsEnabled);
      QVERIFY(page.codecAvailable(row));
    }
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(fixture_->state.codecIndex, 0);
    QCOMPARE(descriptionEdit(page)->toPlainText(), engineText(20050));
    QVERIFY(descriptionEdit(page)->isReadOnly());
    QCOMPARE(list->accessibleName(), QStringLiteral("Select the compression type"));
    QCOMPARE(descriptionEdit(page)->accessibleName(), QStringLiteral("Description"));

    list->setFocus();
    fixture_->state.compressionStale = false;
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(fixture_->state.codecIndex, 1);
    QVERIFY(fixture_->state.compressionStale);
    QCOMPARE(descriptionEdit(page)->toPlainText(), engineText(20051));
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(fixture_->state.codecIndex, 2);
    QCOMPARE(descriptionEdit(page)->toPlainText(), engineText(20052));

    // The stream file exists (empty) from the page's first showing.
    QVERIFY(!fixture_->state.streamPath.empty());
    QVERIFY(QFileInfo(QString::fromStdString(fixture_->state.streamPath)).fileName().startsWith("ZVSA"));
    QCOMPARE(test::fileSize(fixture_->state.streamPath), 0LL);
    test::saveScreenshot(harness.wizard, QStringLiteral("compression_page"));
  }

  // A row whose library cannot be loaded is shown, marked, and cannot be
  // chosen by keyboard or click; the first installed row is the choice.
  void rowWithoutItsLibraryIsShownButCannotBeChosen() {
    static constexpr CodecTableEntry kCodecs[] = {
        {"/nonexistent/libQVMISSING.so", 20000, 20050, "QVX_"},
        {"QV80W.DLL", 20001, 20051, "QV80_"},
        {"QV160MXW.DLL", 20002, 20052, "QV160MX_"},
        {"", 0, 0, ""}};
    test::WizardHarness harness(*fixture_, kPageWaveCompression, kCodecs);
    CPageWaveCompression& page = *harness.compression;
    QListWidget* list = codecList(page);
    QVERIFY(list);
    QCOMPARE(list->item(0)->text(), engineText(20000) + " (not installed)");
    QCOMPARE(list->item(1)->text(), engineText(20001));
    QVERIFY(!(list->item(0)->flags() & Qt::ItemIsEnabled));
    QVERIFY(!page.codecAvailable(0));
    QVERIFY(page.codecAvailable(1) && page.codecAvailable(2));
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(fixture_->state.codecIndex, 1);
    QCOMPARE(descriptionEdit(page)->toPlainText(), engineText(20051));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentRow(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(fixture_->state.codecIndex, 1);
  }

  void introIsBoldAndLabelsLeadToTheirControls() {
    test::WizardHarness harness(*fixture_, kPageWaveCompression);
    CPageWaveCompression& page = *harness.compression;
    bool boldIntro = false;
    QWidget* selectBuddy = nullptr;
    QWidget* descriptionBuddy = nullptr;
    for (QLabel* label : page.findChildren<QLabel*>()) {
      if (label->text().startsWith("You will need to select the compression type"))
        boldIntro = label->font().bold();
      if (label->text() == "&Select the compression type") selectBuddy = label->buddy();
      if (label->text() == "&Description") descriptionBuddy = label->buddy();
    }
    QVERIFY(boldIntro);
    QCOMPARE(selectBuddy, codecList(page));
    QCOMPARE(descriptionBuddy, descriptionEdit(page));

    // The mnemonics reach the controls from the keyboard.
    QTest::keyClick(&harness.wizard, Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(descriptionEdit(page)));
    QTest::keyClick(&harness.wizard, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(codecList(page)));
  }

  // Next compresses once; Back and Next again without a change moves on at
  // once; a new codec or new sound compresses again, and each completed
  // compression makes the output page decode again.
  void compressesOnlyWhenTheLastResultIsStale() {
    WizardState& state = fixture_->state;
    fixture_->writeTone(8000);
    test::WizardHarness harness(*fixture_, kPageWaveCompression);

    harness.next();
    QCOMPARE(harness.dialogs, 1);
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveOutput});
    QVERIFY(!state.compressionStale);
    QVERIFY(state.hasCompression);
    QVERIFY(state.decompressionStale);
    QCOMPARE(state.pcmBytes, 16000u);
    // The first row, the lower-quality codec, is the choice.
    const std::uint32_t firstBytes = state.codedBytes;
    QVERIFY(firstBytes > 0);
    QCOMPARE(test::fileSize(state.streamPath), 154LL + firstBytes);

    state.decompressionStale = false;  // as after a test playback
    harness.back();
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveCompression});
    harness.next();
    QCOMPARE(harness.dialogs, 1);
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveOutput});
    QVERIFY(!state.decompressionStale);

    harness.back();
    QListWidget* list = codecList(*harness.compression);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    harness.next();
    QCOMPARE(harness.dialogs, 2);
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveOutput});
    QVERIFY(state.decompressionStale);
    QCOMPARE(state.codecIndex, kSpeechCodecIndex);
    QVERIFY(state.codedBytes != firstBytes);

    // What the input page does after converting a new file.
    state.decompressionStale = false;
    harness.back();
    fixture_->writeTone(4000);
    state.compressionStale = true;
    harness.next();
    QCOMPARE(harness.dialogs, 3);
    QCOMPARE(state.pcmBytes, 8000u);
    QVERIFY(state.decompressionStale);
    QVERIFY(!harness.guardFired);
    QVERIFY(fixture_->presenter.shown().empty());
  }

  // In the whole sheet: the real input page marks the compression stale when
  // it converts a new file; returning from the output page without a change
  // does not compress again.
  void inTheSheetANewSourceFileIsCompressedAgain() {
    test::TempDir folder;
    std::filesystem::create_directory(folder.file("Gallery"));
    test::writeFile(folder.file("Gallery/bells.zvsa"), test::Bytes(200, 7));
    fixture_->services->gallery.shipped = folder.file("Gallery");
    SettingsStore settings(folder.file("settings.ini"));
    CEncoderPropertySheet sheet(*fixture_->services, settings);
    int dialogs = 0;
    sheet.compressionPage()->setProgressDialogHook([&](CCompressProgressDialog&) { ++dialogs; });
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    auto next = [&]() { QTest::mouseClick(sheet.button(QWizard::NextButton), Qt::LeftButton); };
    auto back = [&]() { QTest::mouseClick(sheet.button(QWizard::BackButton), Qt::LeftButton); };
    auto chooseFile = [&](const std::string& path, std::size_t samples) {
      test::writeFile(path, test::pcmWave({}, test::pcm16(test::sine16(440.0, 8000, samples))));
      CPageWaveInput* input = sheet.inputPage();
      QTest::keyClick(input->sourceFileRadio(), Qt::Key_Space);
      input->pathEdit()->selectAll();
      QTest::keyClicks(input->pathEdit(), QString::fromStdString(path));
    };

    chooseFile(folder.file("first.wav"), 8000);
    next();
    QCOMPARE(sheet.currentId(), int{kPageWaveCompression});
    next();
    QCOMPARE(sheet.currentId(), int{kPageWaveOutput});
    QCOMPARE(dialogs, 1);
    QCOMPARE(sheet.state().pcmBytes, 16000u);

    back();
    next();
    QCOMPARE(sheet.currentId(), int{kPageWaveOutput});
    QCOMPARE(dialogs, 1);

    back();
    back();
    QCOMPARE(sheet.currentId(), int{kPageWaveInput});
    chooseFile(folder.file("second.wav"), 4000);
    next();
    next();
    QCOMPARE(sheet.currentId(), int{kPageWaveOutput});
    QCOMPARE(dialogs, 2);
    QCOMPARE(sheet.state().pcmBytes, 8000u);
    QVERIFY(sheet.state().decompressionStale);
    QVERIFY(fixture_->presenter.shown().empty());
    std::remove(sheet.state().streamPath.c_str());
  }

  // Cancel once the compression is under way: the page stays, still stale,
  // and nothing of the cancelled job is taken.
  void cancelKeepsThePage() {
    WizardState& state = fixture_->state;
    // Minutes of sound: far longer than the first progress message takes.
    fixture_->writeTone(8'000'000);
    test::WizardHarness harness(*fixture_, kPageWaveCompression);
    bool clicked = false;
    harness.onDialog = [&](CCompressProgressDialog& dialog) {
      QObject::connect(&dialog, &CCompressProgressDialog::progressChanged, &dialog, [&](int) {
        if (clicked) return;
        clicked = true;
        QTimer::singleShot(0, &dialog, [&dialog]() {
          QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        });
      });
    };
    harness.next();
    QVERIFY(clicked);
    QVERIFY(!harness.guardFired);
    QCOMPARE(harness.dialogs, 1);
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveCompression});
    QVERIFY(state.compressionStale);
    QVERIFY(!state.hasCompression);
    QCOMPARE(state.pcmBytes, 0u);
    QCOMPARE(test::fileSize(state.streamPath), 0LL);
    QVERIFY(fixture_->presenter.shown().empty());
  }

  // A job that does not complete is not a compression: the user is told
  // why, the page stays, the flag stays set, and the sizes of the earlier
  // compression are kept (the failed job read a different length).
  void failedCompressionIsReportedAndKeepsThePage_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reason");
    QTest::newRow("codec library gone") << "library gone" << "the codec library cannot be loaded";
    QTest::newRow("working file unreadable") << "no pcm" << "the input cannot be opened";
    QTest::newRow("stream file unwritable") << "bad stream path" << "the stream file cannot be written";
    QTest::newRow("codec fails a frame") << "failing codec" << "the codec refused a frame";
  }
  void failedCompressionIsReportedAndKeepsThePage() {
    QFETCH(QString, failure);
    QFETCH(QString, reason);
    WizardState& state = fixture_->state;

    // Row 0: a copy of the copy codec that disappears after the page probed
    // it; row 1: the copy codec; row 2: a codec that fails its third frame.
    test::TempDir libraries;
    const std::string vanishing = libraries.file("libzv_vanishing_codec.so");
    std::filesystem::copy_file(ZV_FAKE_CODEC_COPY, vanishing);
    const CodecTableEntry codecs[] = {{vanishing.c_str(), 20000, 20050, "FAKE_"},
                                      {ZV_FAKE_CODEC_COPY, 20001, 20051, "FAKE_"},
                                      {ZV_FAKE_CODEC_FAIL_THIRD, 20002, 20052, "FAKE_"},
                                      {"", 0, 0, ""}};
    fixture_->writeTone(800);
    test::WizardHarness harness(*fixture_, kPageWaveCompression, codecs);
    QListWidget* list = codecList(*harness.compression);
    list->setCurrentRow(1);
    harness.next();
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveOutput});
    QCOMPARE(state.pcmBytes, 1600u);
    QCOMPARE(state.codedBytes, 1600u);
    harness.back();

    fixture_->writeTone(2000);
    state.compressionStale = true;
    const std::string goodStream = state.streamPath;
    if (failure == "library gone") {
      std::filesystem::remove(vanishing);
      list->setCurrentRow(0);
    }
    if (failure == "no pcm") std::filesystem::remove(fixture_->workspace->PcmWorkFile);
    if (failure == "bad stream path") state.streamPath = "/nonexistent-folder/clip.zvsa";
    if (failure == "failing codec") list->setCurrentRow(2);

    harness.next();
    QVERIFY(!harness.guardFired);
    QCOMPARE(harness.dialogs, 2);
    QCOMPARE(harness.wizard.currentId(), int{kPageWaveCompression});
    QVERIFY(state.compressionStale);
    QCOMPARE(state.pcmBytes, 1600u);
    QCOMPARE(state.codedBytes, 1600u);
    const auto shown = fixture_->presenter.shown();
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0].caption, std::string("Z&V Tavelworks"));
    const QString text = QString::fromStdString(shown[0].text);
    QVERIFY2(text.startsWith("The sound was not compressed because " + reason), qPrintable(text));
    if (failure == "library gone") QVERIFY2(text.contains("libzv_vanishing_codec.so"), qPrintable(text));
    if (failure == "bad stream path") state.streamPath = goodStream;
  }
};

}  // namespace zv

QTEST_MAIN(zv::CompressionPageTest)
#include "compression_page_test.moc"
