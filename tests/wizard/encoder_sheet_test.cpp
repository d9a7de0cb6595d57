// The wizard sheet driven through its real widgets: the gallery road and
// the file road to Finish (the clip put in place, the result record and the
// markup), the input page's checks and messages, Back, Help and About, and
// the Finish faults: a clip that cannot be renamed keeps the wizard open, a
// gallery copy that fails is reported and the wizard still finishes.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "encoder/engine_strings.h"
#include "encoder/engine_workspace.h"
#include "platform/temporary_file.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "webbot/markup/applet_markup.h"
#include "wizard/about_dialog.h"
#include "wizard/applet_properties_page.h"
#include "tests/support/simulated_wave_devices.h"
#include "wizard/encoder_property_sheet.h"
#include "wizard/gallery_folder.h"
#include "wizard/gallery_folders.h"
#include "wizard/record/wave_record_page.h"
#include "wizard/settings_store.h"
#include "wizard/wave_input_page.h"
#include "wizard/wave_output_page.h"
#include "wizard/wizard_result_assembly.h"
#include "wizard/wizard_strings.h"

namespace zv {
namespace {

using test::Bytes;

// Clicks a check box or radio button on its indicator: the widget may be
// stretched far beyond its text, and a click there is not a click on it.
void clickIndicator(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

std::string text(SystemString string) { return string ? std::string(string) : std::string(); }

void saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = QStringLiteral(ZV_TEST_ARTIFACTS_DIR);
  QDir().mkpath(folder);
  widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// One wizard run in a private temporary folder (working files, stream file
// and finished clip all land there), with its own settings file, a shipped
// gallery folder the test fills or leaves out, read-only as an installed one
// is, and the user's own gallery, which does not exist until a clip is added
// unless the test asks for it.
struct SheetFixture {
  enum class Gallery { ThreeClips, Missing, Empty, PlainFile };
  // The user's gallery: none at all (no home folder), not made yet, three
  // clips of its own ("bells" also in the shipped one), or a plain file.
  enum class UserGallery { None, NotMadeYet, ThreeClips, PlainFile };

  explicit SheetFixture(Gallery gallery = Gallery::ThreeClips,
                        UserGallery userGallery = UserGallery::NotMadeYet)
      : tmpdirVariable("TMPDIR", temp.path()) {
    galleryDir = galleryRoot.file("Gallery");
    switch (gallery) {
      case Gallery::ThreeClips:
        std::filesystem::create_directory(galleryDir);
        for (const char* name : {"chime", "Alarm", "bells"})
          test::writeFile(pathInFolder(galleryDir, std::string(name) + ".zvsa"), Bytes(200, 7));
        test::writeFile(pathInFolder(galleryDir, "notes.txt"), Bytes(3, 1));
        break;
      case Gallery::Empty:
        std::filesystem::create_directory(galleryDir);
        std::filesystem::create_directory(pathInFolder(galleryDir, "folder.zvsa"));
        test::writeFile(pathInFolder(galleryDir, "notes.txt"), Bytes(3, 1));
        break;
      case Gallery::PlainFile:
        test::writeFile(galleryDir, Bytes(3, 1));
        break;
      case Gallery::Missing:
        break;
    }
    if (gallery != Gallery::PlainFile && gallery != Gallery::Missing)
      std::filesystem::permissions(galleryDir, std::filesystem::perms::owner_write |
                                                   std::filesystem::perms::group_write |
                                                   std::filesystem::perms::others_write,
                                   std::filesystem::perm_options::remove);
    if (userGallery != UserGallery::None) userGalleryDir = userRoot.file("zvtavelworks/Gallery");
    switch (userGallery) {
      case UserGallery::ThreeClips:
        std::filesystem::create_directories(userGalleryDir);
        for (const char* name : {"bells", "drum", "Zither"})
          test::writeFile(pathInFolder(userGalleryDir, std::string(name) + ".zvsa"), Bytes(120, 9));
        break;
      case UserGallery::PlainFile:
        std::filesystem::create_directories(userRoot.file("zvtavelworks"));
        test::writeFile(userGalleryDir, Bytes(3, 1));
        break;
      case UserGallery::None:
      case UserGallery::NotMadeYet:
        break;
    }
    std::string error;
    workspace = EngineWorkspace::create(error);
    if (!workspace) qFatal("no workspace: %s", error.c_str());
    settings = std::make_unique<SettingsStore>(temp.file("settings.ini"));
    services = std::make_unique<WizardServices>(
        WizardServices{*workspace, presenter, GalleryFolders{galleryDir, userGalleryDir}});
    sheet = std::make_unique<CEncoderPropertySheet>(*services, *settings, 0, nullptr, &devices);
    sheet->show();
    sheet->activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(sheet.get()));
  }

  ~SheetFixture() {
    // Writable again, so that the folder can be removed.
    std::error_code error;
    std::filesystem::permissions(galleryDir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  }

  void click(QWizard::WizardButton which) {
    QAbstractButton* button = sheet->button(which);
    QVERIFY2(button->isVisible() && button->isEnabled(), "the button can be pressed");
    QTest::mouseClick(button, Qt::LeftButton);
  }
  void next() { click(QWizard::NextButton); }
  void back() { click(QWizard::BackButton); }
  void finish() { click(QWizard::FinishButton); }

  // A 1.5 s tone as a WAV file in the temporary folder.
  std::string writeToneWave(const std::string& name = "tone.wav") {
    const std::string path = temp.file(name);
    test::PcmLayout layout;
    layout.samplesPerSec = 11025;
    test::writeFile(path, test::pcmWave(layout, test::pcm16(test::sine16(440.0, 11025, 16538))));
    return path;
  }

  // Input -> Compression -> Output -> Applet with `source`, named `name`.
  void fileRoadToAppletPage(const std::string& source, const QString& name, bool addToGallery) {
    CPageWaveInput* input = sheet->inputPage();
    clickIndicator(input->sourceFileRadio());
    input->pathEdit()->clear();
    QTest::keyClicks(input->pathEdit(), QString::fromStdString(source));
    next();
    QCOMPARE(sheet->currentId(), int{kPageWaveCompression});
    next();  // compresses, under the progress dialog
    QCOMPARE(sheet->currentId(), int{kPageWaveOutput});
    CPageWaveOutput* output = sheet->outputPage();
    output->nameEdit()->selectAll();
    QTest::keyClicks(output->nameEdit(), name);
    if (output->addToGalleryBox()->isChecked() != addToGallery)
      clickIndicator(output->addToGalleryBox());
    next();
    QCOMPARE(sheet->currentId(), int{kPageAppletProperties});
  }

  std::string galleryFile(const std::string& clipName) const {
    return pathInFolder(galleryDir, clipName);
  }
  std::string userGalleryFile(const std::string& clipName) const {
    return pathInFolder(userGalleryDir, clipName);
  }

  test::TempDir temp;
  test::ScopedEnvironment tmpdirVariable;
  test::TempDir galleryRoot;
  std::string galleryDir;
  test::TempDir userRoot;
  std::string userGalleryDir;
  std::unique_ptr<EngineWorkspace> workspace;
  test::RecordingPresenter presenter;
  std::unique_ptr<SettingsStore> settings;
  std::unique_ptr<WizardServices> services;
  // Sound devices the test drives: nothing is played or recorded for real.
  SimulatedAudio audio;
  SimulatedWaveDeviceFactory devices{audio};
  std::unique_ptr<CEncoderPropertySheet> sheet;
};

// The record and markup the entry would hand back after this Finish.
struct HandedOver {
  explicit HandedOver(const CEncoderPropertySheet& sheet) {
    std::memset(&record, 0, sizeof record);
    QVERIFY(handOverResult(sheet.appletValues(), sheet.placedClip(), &markup, &record, presenter));
  }
  ~HandedOver() {
    freeWizardResultStrings(record);
    SysFreeString(markup);
  }
  HandedOver(const HandedOver&) = delete;
  HandedOver& operator=(const HandedOver&) = delete;

  test::RecordingPresenter presenter;
  WizardResult record;
  SystemString markup = nullptr;
};

// What the generator makes of `values` and `clipName`, independently of the
// record.
std::string expectedMarkup(const AppletValues& values, const std::string& clipName) {
  SystemString markup = nullptr;
  GenerateAppletMarkup(values.settings(), clipName.c_str(), &markup, kMarkupLinesEndLf);
  std::string result = text(markup);
  SysFreeString(markup);
  return result;
}

void compareRecordWithValues(const WizardResult& record, const AppletValues& values) {
  QCOMPARE(record.buttonCount, values.buttonCount);
  QCOMPARE(record.autoplay, values.autoplay);
  QCOMPARE(record.visible, values.visible);
  QCOMPARE(record.playCount, values.playCount);
  QCOMPARE(record.height, values.height);
  QCOMPARE(record.width, values.width);
  QCOMPARE(text(record.className), values.className);
  QCOMPARE(text(record.codebase), values.codebase);
  QCOMPARE(text(record.tag), values.tag);
  QCOMPARE(text(record.alignment), values.alignment);
  QCOMPARE(text(record.bodyText), values.bodyText);
  QCOMPARE(text(record.otherAttributes), values.otherAttributes);
}

std::vector<std::string> messagesAfter(const test::RecordingPresenter& presenter, std::size_t skip) {
  std::vector<std::string> texts = presenter.texts();
  return {texts.begin() + static_cast<std::ptrdiff_t>(std::min(skip, texts.size())), texts.end()};
}

}  // namespace

class EncoderSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void galleryRoadFinishesWithTheGalleryClip() {
    SheetFixture fixture;
    CPageWaveInput* input = fixture.sheet->inputPage();
    QCOMPARE(fixture.presenter.texts().size(), std::size_t{0});
    QVERIFY(input->galleryRadio()->isChecked());
    // Sorted without regard to case; only .zvsa files; the first selected.
    QCOMPARE(input->galleryList()->count(), 3);
    QCOMPARE(input->galleryList()->itemText(0), QStringLiteral("Alarm"));
    QCOMPARE(input->galleryList()->itemText(1), QStringLiteral("bells"));
    QCOMPARE(input->galleryList()->itemText(2), QStringLiteral("chime"));
    QCOMPARE(input->galleryList()->currentText(), QStringLiteral("Alarm"));
    QVERIFY(!input->pathEdit()->isEnabled());
    QVERIFY(input->recordingRadio()->isEnabled());
    saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_audio_input"));

    // A radio set without a click, as the accessibility interface sets it,
    // switches the controls as a click does.
    input->sourceFileRadio()->setChecked(true);
    QVERIFY(input->pathEdit()->isEnabled() && input->browseButton()->isEnabled());
    QVERIFY(!input->galleryList()->isEnabled());
    QCOMPARE(input->nextId(), int{kPageWaveCompression});
    input->galleryRadio()->setChecked(true);
    QVERIFY(!input->pathEdit()->isEnabled() && input->galleryList()->isEnabled());

    input->galleryList()->setCurrentIndex(1);
    const auto tempBefore = fixture.temp.entries();
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageAppletProperties});
    saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_applet_attributes"));
    // The player plays continuously and starts by itself.
    CPageAppletProperties* applet = fixture.sheet->appletPage();
    clickIndicator(applet->continuouslyButton());
    if (!applet->autoplayBox()->isChecked())
      clickIndicator(applet->autoplayBox());
    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    QVERIFY(fixture.sheet->placedClip().has_value());

    HandedOver handed(*fixture.sheet);
    const AppletValues values = fixture.sheet->appletValues();
    compareRecordWithValues(handed.record, values);
    QCOMPARE(handed.record.playCount, -1);
    QCOMPARE(handed.record.autoplay, 1);
    QCOMPARE(text(handed.record.clipFile), fixture.galleryFile("bells.zvsa"));
    QCOMPARE(text(handed.markup), expectedMarkup(values, "bells.zvsa"));
    QVERIFY(text(handed.markup).find('\r') == std::string::npos);
    QVERIFY(text(handed.markup).find("VALUE=\"bells.zvsa\"") != std::string::npos);
    // No file was touched: nothing new in the temporary folder, the gallery
    // as it was.
    QCOMPARE(fixture.temp.entries(), tempBefore);
    QCOMPARE(listGalleryClips(fixture.galleryDir),
             (std::vector<std::string>{"Alarm", "bells", "chime"}));
  }

  void theGalleryListsTheShippedAndTheUsersClips_data() {
    QTest::addColumn<int>("shipped");
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("fromUser");
    const int threeClips = int(SheetFixture::Gallery::ThreeClips);
    const QStringList both{"Alarm", "bells", "chime", "drum", "Zither"};
    // "bells" is in both: listed once, and the user's is the one taken.
    QTest::newRow("in both, the user's shadows") << threeClips << "bells" << both << true;
    QTest::newRow("shipped only") << threeClips << "chime" << both << false;
    QTest::newRow("user's only") << threeClips << "Zither" << both << true;
    QTest::newRow("no shipped gallery") << int(SheetFixture::Gallery::Missing) << "drum"
                                        << QStringList{"bells", "drum", "Zither"} << true;
  }
  void theGalleryListsTheShippedAndTheUsersClips() {
    QFETCH(int, shipped);
    QFETCH(QString, pick);
    QFETCH(QStringList, listed);
    QFETCH(bool, fromUser);
    SheetFixture fixture(static_cast<SheetFixture::Gallery>(shipped),
                         SheetFixture::UserGallery::ThreeClips);
    CPageWaveInput* input = fixture.sheet->inputPage();
    QVERIFY(fixture.presenter.texts().empty());
    QVERIFY(input->galleryRadio()->isEnabled() && input->galleryRadio()->isChecked());
    QStringList shown;
    for (int i = 0; i < input->galleryList()->count(); ++i) shown << input->galleryList()->itemText(i);
    QCOMPARE(shown, listed);
    if (shipped == int(SheetFixture::Gallery::ThreeClips) && pick == QStringLiteral("bells"))
      saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_audio_input_both_galleries"));

    input->galleryList()->setCurrentIndex(listed.indexOf(pick));
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageAppletProperties});
    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    HandedOver handed(*fixture.sheet);
    const std::string clipName = pick.toStdString() + ".zvsa";
    const std::string expected =
        fromUser ? fixture.userGalleryFile(clipName) : fixture.galleryFile(clipName);
    QCOMPARE(text(handed.record.clipFile), expected);
    QVERIFY(text(handed.markup).find("VALUE=\"" + clipName + "\"") != std::string::npos);
  }

  void fileRoadFinishesWithTheRenamedClip() {
    SheetFixture fixture;
    const std::string source = fixture.writeToneWave();
    // A clip of that name from an earlier run is replaced.
    test::writeFile(fixture.temp.file("hello.zvsa"), Bytes(10, 1));
    fixture.fileRoadToAppletPage(source, QStringLiteral("hello"), true);
    QVERIFY(!std::filesystem::exists(fixture.userGalleryDir));
    const std::string streamPath = fixture.sheet->state().streamPath;
    const Bytes stream = test::readFile(streamPath);
    QVERIFY(stream.size() > 154);
    QCOMPARE(fixture.sheet->state().sourcePath, source);

    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    HandedOver handed(*fixture.sheet);
    const AppletValues values = fixture.sheet->appletValues();
    compareRecordWithValues(handed.record, values);
    const std::string clip = fixture.temp.file("hello.zvsa");
    QCOMPARE(text(handed.record.clipFile), clip);
    QCOMPARE(test::readFile(clip), stream);
    QVERIFY(!test::fileExists(streamPath));
    // "Add to gallery" made the user's own gallery and wrote the clip there;
    // the shipped gallery is read only.
    QCOMPARE(test::readFile(fixture.userGalleryFile("hello.zvsa")), stream);
    QVERIFY(!test::fileExists(fixture.galleryFile("hello.zvsa")));
    QCOMPARE(text(handed.markup), expectedMarkup(values, "hello.zvsa"));
    // The gallery did not hold the clip, so nobody was asked anything.
    QCOMPARE(fixture.presenter.texts().size(), std::size_t{0});
  }

  void recordingRoadFinishesWithTheRecordingCompressed() {
    SheetFixture fixture;
    CPageWaveInput* input = fixture.sheet->inputPage();
    clickIndicator(input->recordingRadio());
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveRecord});
    CPageWaveRecord* record = fixture.sheet->recordPage();
    // No recording yet: Next is not offered.
    QVERIFY(!fixture.sheet->button(QWizard::NextButton)->isEnabled());
    saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_record_voice"));

    QTest::mouseClick(record->recordButton(), Qt::LeftButton);
    QVERIFY(record->isRecording());
    // One second of a 440 Hz tone from the (simulated) microphone.
    std::vector<std::int16_t> samples(8000);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440.0 * i / 8000));
    const Bytes tone = test::pcm16(samples);
    fixture.audio.input->capture(std::vector<std::uint8_t>(tone.begin(), tone.end()));
    QCoreApplication::sendPostedEvents();
    QTest::mouseClick(record->stopButton(), Qt::LeftButton);
    QCOMPARE(test::readFile(fixture.workspace->PcmWorkFile).size(), tone.size());

    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveCompression});
    // Back from the compression page returns to the recording.
    fixture.click(QWizard::BackButton);
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveRecord});
    fixture.next();
    fixture.next();  // compresses, under the progress dialog
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveOutput});
    CPageWaveOutput* output = fixture.sheet->outputPage();
    QCOMPARE(output->nameEdit()->text(), QStringLiteral("TypeRecordedFileNameHere"));
    output->nameEdit()->selectAll();
    QTest::keyClicks(output->nameEdit(), QStringLiteral("greeting"));
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageAppletProperties});
    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    HandedOver handed(*fixture.sheet);
    const std::string clip = fixture.temp.file("greeting.zvsa");
    QCOMPARE(text(handed.record.clipFile), clip);
    // 154 header bytes and, for one second with the first codec (the
    // lower-quality one, 240 samples a frame), 34 frames of 18 bytes.
    QCOMPARE(test::readFile(clip).size(), std::size_t{154 + 34 * 18});
  }

  void resultWithoutARecordFreesItsStrings() {
    // Under the sanitizers a string that is not freed fails this test.
    AppletValues values;
    values.otherAttributes = "ALT=hello";
    SystemString markup = SysAllocString("old markup");
    test::RecordingPresenter presenter;
    QVERIFY(handOverResult(values, PlacedClip{"bells.zvsa", "/g/bells.zvsa"}, &markup, nullptr, presenter));
    QVERIFY(text(markup).find("VALUE=\"bells.zvsa\"") != std::string::npos);
    SysFreeString(markup);

    // Without a markup slot nothing is assembled: the record stays zeroed.
    WizardResult record;
    std::memset(&record, 0, sizeof record);
    QVERIFY(handOverResult(values, PlacedClip{"bells.zvsa", "/g/bells.zvsa"}, nullptr, &record, presenter));
    QCOMPARE(record.buttonCount, 0);
    QVERIFY(record.className == nullptr && record.clipFile == nullptr);
    QVERIFY(presenter.texts().empty());
  }

  void aMarkupThatCannotBeMadeIsReportedAndHandsNothingBack_data() {
    QTest::addColumn<bool>("slotHoldsText");
    QTest::addColumn<bool>("withRecord");
    QTest::newRow("empty slot, record") << false << true;
    QTest::newRow("caller's markup, record") << true << true;
    QTest::newRow("caller's markup, no record") << true << false;
  }
  void aMarkupThatCannotBeMadeIsReportedAndHandsNothingBack() {
    // A tag typed by hand in the advanced sheet that is no element name: the
    // generator refuses it. The author is told, the caller's slot and record
    // stay as they were (no half-filled record, no stale markup passed off
    // as this clip's), and nothing leaks (the sanitizer build checks).
    QFETCH(bool, slotHoldsText);
    QFETCH(bool, withRecord);
    AppletValues values;
    values.tag = "my applet";
    test::RecordingPresenter presenter;
    SystemString markup = slotHoldsText ? SysAllocString("the caller's markup") : nullptr;
    const SystemString before = markup;
    WizardResult record;
    std::memset(&record, 0, sizeof record);
    QVERIFY(!handOverResult(values, PlacedClip{"bells.zvsa", "/g/bells.zvsa"}, &markup,
                            withRecord ? &record : nullptr, presenter));
    QCOMPARE(markup, before);
    if (slotHoldsText) QCOMPARE(text(markup), std::string("the caller's markup"));
    SysFreeString(markup);
    QCOMPARE(record.buttonCount, 0);
    QVERIFY(record.className == nullptr && record.tag == nullptr && record.clipFile == nullptr);
    QCOMPARE(presenter.texts(), std::vector<std::string>{wizardMessage(kIdsMarkupNotMade, "my applet")});
  }

  void theMarkupNamesAGalleryClipOfAnyNameByUrl() {
    // A gallery clip's file name may hold anything a file system allows; the
    // markup's Clip value is the URL of that file beside the page, and the
    // element stays whole.
    AppletValues values;
    SystemString markup = nullptr;
    test::RecordingPresenter presenter;
    QVERIFY(handOverResult(values, PlacedClip{"my \"clip\" <b>#1 50%?\xC3\xBC.zvsa", "/g/x.zvsa"}, &markup,
                           nullptr, presenter));
    const std::string html = text(markup);
    SysFreeString(markup);
    QVERIFY2(html.find("<PARAM NAME=\"Clip\" VALUE=\"my%20%22clip%22%20%3Cb%3E%231%2050%25%3F%C3%BC.zvsa\">") !=
                 std::string::npos,
             html.c_str());
  }

  void backRetracesThePagesVisited() {
    SheetFixture fixture;
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageAppletProperties});
    fixture.back();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveInput});

    fixture.fileRoadToAppletPage(fixture.writeToneWave(), QStringLiteral("clip"), false);
    QCOMPARE(fixture.sheet->visitedIds(),
             (QList<int>{kPageWaveInput, kPageWaveCompression, kPageWaveOutput, kPageAppletProperties}));
    fixture.back();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveOutput});
    fixture.back();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveCompression});
    saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_compression"));
    fixture.back();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveInput});
    QVERIFY(!fixture.sheet->button(QWizard::BackButton)->isEnabled());
  }

  void sourceFileChecksShowTheirMessages_data() {
    QTest::addColumn<QByteArray>("content");  // empty: no file at all
    QTest::addColumn<bool>("typePath");
    QTest::addColumn<QString>("expected");
    const Bytes riffAvi = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
    test::AuHeader stereo;
    stereo.channels = 2;
    const Bytes stereoAu = test::auFile(stereo, Bytes(400, 0));
    const auto bytes = [](const Bytes& b) {
      return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
    };
    QTest::newRow("no path") << QByteArray() << false << QString::fromStdString(engineMessage(kIdsSelectSourceFile));
    QTest::newRow("no such file") << QByteArray() << true << QStringLiteral("10403");
    QTest::newRow("neither WAV nor AU") << QByteArray("plain text\n") << true
                                        << QString::fromStdString(engineMessage(kIdsNeitherWavNorAu));
    QTest::newRow("shorter than four bytes") << QByteArray("RI") << true
                                             << QString::fromStdString(engineMessage(kIdsNeitherWavNorAu));
    QTest::newRow("RIFF but not WAVE") << bytes(riffAvi) << true
                                       << QString::fromStdString(engineMessage(kIdsNotSupportedWav));
    QTest::newRow("stereo AU") << bytes(stereoAu) << true
                               << QString::fromStdString(engineMessage(kIdsStereoNotSupported));
  }
  void sourceFileChecksShowTheirMessages() {
    QFETCH(QByteArray, content);
    QFETCH(bool, typePath);
    QFETCH(QString, expected);
    SheetFixture fixture;
    const std::string path = fixture.temp.file("source.snd");
    if (!content.isEmpty())
      test::writeFile(path, Bytes(content.begin(), content.end()));
    if (expected == QStringLiteral("10403"))
      expected = QString::fromStdString(engineMessage(kIdsInvalidFileName, path));
    const Bytes marker(64, 0x5a);
    test::writeFile(fixture.workspace->PcmWorkFile, marker);
    fixture.sheet->inputPage()->setVoiceRecordingAvailable(false);

    CPageWaveInput* input = fixture.sheet->inputPage();
    clickIndicator(input->sourceFileRadio());
    QVERIFY(input->pathEdit()->isEnabled() && !input->galleryList()->isEnabled());
    if (typePath) QTest::keyClicks(input->pathEdit(), QString::fromStdString(path));
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveInput});
    QCOMPARE(fixture.presenter.texts(), (std::vector<std::string>{expected.toStdString()}));
    QCOMPARE(fixture.presenter.shown().front().caption, std::string("Z&V Tavelworks"));
    QCOMPARE(test::readFile(fixture.workspace->PcmWorkFile), marker);
    // The user can correct the path: what was typed is still there.
    QCOMPARE(input->pathEdit()->text().toStdString(), typePath ? path : std::string());
  }

  void aGoodSourceFileIsConvertedAndMarksTheCompressionStale() {
    SheetFixture fixture;
    const std::string source = fixture.writeToneWave();
    CPageWaveInput* input = fixture.sheet->inputPage();
    // The mnemonic reaches the radio from the keyboard.
    QTest::keyClick(fixture.sheet.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(input->sourceFileRadio()->isChecked());  // after the click's short animation
    QTest::keyClicks(input->pathEdit(), QString::fromStdString(source));
    auto& state = const_cast<WizardState&>(fixture.sheet->state());
    state.compressionStale = false;
    fixture.next();
    QCOMPARE(fixture.sheet->currentId(), int{kPageWaveCompression});
    QVERIFY(state.compressionStale);
    // 1.5 s at 11025 Hz becomes 1.5 s at 8000 Hz, 16-bit mono.
    QCOMPARE(test::readFile(fixture.workspace->PcmWorkFile).size(), std::size_t{24000});
    QCOMPARE(fixture.workspace->PcmFormat.samplesPerSec, std::uint32_t{8000});
  }

  void browseFillsThePathAndMarksTheCompressionStale() {
    SheetFixture fixture;
    CPageWaveInput* input = fixture.sheet->inputPage();
    QString filterSeen;
    input->setFileChooser([&](QWidget*, const QString& filter) {
      filterSeen = filter;
      return QStringLiteral("/music/chosen.wav");
    });
    clickIndicator(input->sourceFileRadio());
    auto& state = const_cast<WizardState&>(fixture.sheet->state());
    state.compressionStale = false;
    QTest::mouseClick(input->browseButton(), Qt::LeftButton);
    QCOMPARE(input->pathEdit()->text(), QStringLiteral("/music/chosen.wav"));
    QCOMPARE(state.sourcePath, std::string("/music/chosen.wav"));
    QVERIFY(state.compressionStale);
    QCOMPARE(filterSeen, QStringLiteral("Sound (*.wav *.au *.snd *.flac *.ogg *.opus *.mp3 *.aif "
                                        "*.aiff);;All files (*)"));

    // Cancelling the chooser changes nothing.
    input->setFileChooser([](QWidget*, const QString&) { return QString(); });
    state.compressionStale = false;
    QTest::mouseClick(input->browseButton(), Qt::LeftButton);
    QCOMPARE(input->pathEdit()->text(), QStringLiteral("/music/chosen.wav"));
    QVERIFY(!state.compressionStale);
  }

  void aGalleryWithoutClipsIsReported_data() {
    QTest::addColumn<int>("gallery");
    QTest::newRow("missing folder") << int(SheetFixture::Gallery::Missing);
    QTest::newRow("no clips in it") << int(SheetFixture::Gallery::Empty);
  }
  void aGalleryWithoutClipsIsReported() {
    QFETCH(int, gallery);
    SheetFixture fixture(static_cast<SheetFixture::Gallery>(gallery));
    CPageWaveInput* input = fixture.sheet->inputPage();
    QCOMPARE(fixture.presenter.texts(),
             (std::vector<std::string>{wizardMessage(kIdsNoGalleryClips)}));
    QVERIFY(!input->galleryRadio()->isEnabled());
    QVERIFY(!input->galleryList()->isEnabled());
    // The gallery cannot be chosen: "Quick voice recording" is chosen instead.
    QVERIFY(input->recordingRadio()->isChecked());
    QVERIFY(!input->pathEdit()->isEnabled());
    QCOMPARE(input->nextId(), int{kPageWaveRecord});
    if (gallery == int(SheetFixture::Gallery::Missing))
      saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_audio_input_no_gallery"));
  }

  void aClipThatCannotBeRenamedKeepsTheWizardOpen() {
    SheetFixture fixture;
    fixture.fileRoadToAppletPage(fixture.writeToneWave(), QStringLiteral("hello"), false);
    saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_applet_attributes_file_road"));
    // A folder of the clip's name, not empty, cannot be replaced by a file.
    const std::string target = fixture.temp.file("hello.zvsa");
    std::filesystem::create_directory(target);
    test::writeFile(target + "/inside", Bytes(1, 1));
    const std::string streamPath = fixture.sheet->state().streamPath;

    fixture.finish();
    QVERIFY(fixture.sheet->isVisible());
    QCOMPARE(fixture.sheet->currentId(), int{kPageAppletProperties});
    QVERIFY(!fixture.sheet->placedClip().has_value());
    QVERIFY(test::fileExists(streamPath));
    const std::vector<std::string> shown = fixture.presenter.texts();
    QCOMPARE(shown.size(), std::size_t{1});
    QVERIFY2(shown[0].rfind(wizardMessage(kIdsClipNotRenamed, target), 0) == 0, shown[0].c_str());
    QVERIFY(shown[0].find(std::strerror(EISDIR)) != std::string::npos);

    // With the obstacle gone, Finish goes through.
    std::filesystem::remove_all(target);
    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    QVERIFY(test::fileExists(target));
  }

  void addToGalleryAsksOnlyWhenTheGalleryHasTheClip_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("new in the gallery") << false << int(MessageAnswer::No) << true;
    QTest::newRow("there, keep it") << true << int(MessageAnswer::No) << false;
    QTest::newRow("there, overwrite it") << true << int(MessageAnswer::Yes) << true;
  }
  void addToGalleryAsksOnlyWhenTheGalleryHasTheClip() {
    QFETCH(bool, exists);
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    SheetFixture fixture(SheetFixture::Gallery::ThreeClips, SheetFixture::UserGallery::ThreeClips);
    const std::string galleryFile = fixture.userGalleryFile("hello.zvsa");
    const Bytes old(30, 3);
    if (exists) test::writeFile(galleryFile, old);
    fixture.presenter.scriptAnswer(static_cast<MessageAnswer>(answer));
    fixture.fileRoadToAppletPage(fixture.writeToneWave(), QStringLiteral("hello"), true);
    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    const Bytes clip = test::readFile(fixture.temp.file("hello.zvsa"));
    QCOMPARE(test::readFile(galleryFile), replaced ? clip : old);
    const std::vector<MessageRequest> shown = fixture.presenter.shown();
    if (exists) {
      QCOMPARE(shown.size(), std::size_t{1});
      QCOMPARE(shown[0].kind, MessageKind::Question);
      QCOMPARE(shown[0].text, wizardMessage(kIdsGalleryOverwrite, galleryFile));
    } else {
      QCOMPARE(shown.size(), std::size_t{0});
    }
    // No partial file is left in the gallery.
    QCOMPARE(listGalleryClips(fixture.userGalleryDir).size(), std::size_t{4});
    QCOMPARE(std::distance(std::filesystem::directory_iterator(fixture.userGalleryDir),
                           std::filesystem::directory_iterator{}),
             std::ptrdiff_t{4});
    QVERIFY(!test::fileExists(fixture.galleryFile("hello.zvsa")));
  }

  void aGalleryCopyThatFailsIsReportedAndTheWizardFinishes_data() {
    QTest::addColumn<int>("userGallery");
    // No folder can be made for the copy where a plain file has its name.
    QTest::newRow("user's gallery a plain file") << int(SheetFixture::UserGallery::PlainFile);
    // Without a home folder there is no user's gallery to add to; the copy
    // must not land in the current folder instead.
    QTest::newRow("no user's gallery") << int(SheetFixture::UserGallery::None);
  }
  void aGalleryCopyThatFailsIsReportedAndTheWizardFinishes() {
    QFETCH(int, userGallery);
    SheetFixture fixture(SheetFixture::Gallery::ThreeClips,
                         static_cast<SheetFixture::UserGallery>(userGallery));
    const auto currentBefore = std::filesystem::current_path();
    const std::size_t atOpen = fixture.presenter.texts().size();
    fixture.fileRoadToAppletPage(fixture.writeToneWave(), QStringLiteral("hello"), true);
    fixture.finish();
    QCOMPARE(fixture.sheet->result(), int{QDialog::Accepted});
    QVERIFY(test::fileExists(fixture.temp.file("hello.zvsa")));
    QVERIFY(!std::filesystem::exists(currentBefore / "hello.zvsa"));
    const std::vector<std::string> shown = messagesAfter(fixture.presenter, atOpen);
    QCOMPARE(shown.size(), std::size_t{1});
    const std::string galleryFile = fixture.userGalleryFile("hello.zvsa");
    QVERIFY2(shown[0].rfind(wizardMessage(kIdsGalleryCopyFailed, galleryFile), 0) == 0, shown[0].c_str());
    QVERIFY2(shown[0].find("The system's reason: ") != std::string::npos, shown[0].c_str());
    HandedOver handed(*fixture.sheet);
    QCOMPARE(text(handed.record.clipFile), fixture.temp.file("hello.zvsa"));
  }

  void everyPageHasHelp() {
    SheetFixture fixture;
    QStringList shown;
    fixture.sheet->setDialogHook([&](QDialog& dialog) {
      QTimer::singleShot(0, &dialog, [&shown, &dialog]() {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        QVERIFY(box != nullptr);
        shown << box->windowTitle() + QLatin1Char('|') + box->text();
        if (shown.size() == 1) saveScreenshot(dialog, QStringLiteral("wizard_help_box"));
        dialog.accept();
      });
    });
    const auto pressHelp = [&]() {
      QAbstractButton* help = fixture.sheet->button(QWizard::HelpButton);
      QVERIFY(help->isVisible() && help->isEnabled());
      QTest::mouseClick(help, Qt::LeftButton);
    };
    pressHelp();
    fixture.fileRoadToAppletPage(fixture.writeToneWave(), QStringLiteral("clip"), false);
    pressHelp();
    fixture.back();
    // The help key does what the button does.
    fixture.sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.sheet.get()));
    QTest::keyClick(fixture.sheet.get(), Qt::Key_F1);
    saveScreenshot(*fixture.sheet, QStringLiteral("wizard_sheet_output"));
    fixture.back();
    pressHelp();
    const auto expected = [](const char* title, unsigned id) {
      return QString::fromStdString(wizardMessage(kIdsHelpCaption, title)) + QLatin1Char('|') +
             QString::fromStdString(wizardMessage(id));
    };
    QCOMPARE(shown, (QStringList{expected("Audio Input", kIdsHelpWaveInput),
                                 expected("Applet Attributes", kIdsHelpAppletProperties),
                                 expected("Compressed Audio File Output", kIdsHelpWaveOutput),
                                 expected("Compression Algorithms", kIdsHelpWaveCompression)}));
  }

  void aboutOpensFromTheButtonAndTheContextMenu() {
    SheetFixture fixture;
    QCOMPARE(fixture.sheet->windowTitle(), QStringLiteral("Wizard"));
    QVERIFY(!fixture.sheet->windowIcon().isNull());
    QAbstractButton* aboutButton = fixture.sheet->button(CEncoderPropertySheet::kAboutButton);
    // No mnemonic on the button: Alt+A belongs to the pages' controls.
    QCOMPARE(aboutButton->text(), QStringLiteral("About Z&&V Tavelworks..."));
    QCOMPARE(aboutButton->accessibleName(), QStringLiteral("About Z&V Tavelworks..."));
    QCOMPARE(fixture.sheet->aboutAction()->text(), QStringLiteral("&About Z&&V Tavelworks..."));
    QVERIFY(fixture.sheet->actions().contains(fixture.sheet->aboutAction()));
    QCOMPARE(fixture.sheet->contextMenuPolicy(), Qt::ActionsContextMenu);

    int opened = 0;
    QList<QUrl> urls;
    fixture.sheet->setDialogHook([&](QDialog& dialog) {
      auto* about = qobject_cast<CAboutDialog*>(&dialog);
      QVERIFY(about != nullptr);
      about->setUrlOpener([&urls](const QUrl& url) {
        urls << url;
        return true;
      });
      QTimer::singleShot(0, about, [&opened, about]() {
        ++opened;
        QVERIFY(about->aboutText()->isReadOnly());
        QVERIFY(about->aboutText()->toPlainText().startsWith(QStringLiteral("Z&V Tavelworks ")));
        QTest::mouseClick(about->soundLibraryButton(), Qt::LeftButton);
        if (about->productButton()->isEnabled())
          QTest::mouseClick(about->productButton(), Qt::LeftButton);
        if (opened == 1) saveScreenshot(*about, QStringLiteral("wizard_about_dialog"));
        about->accept();
      });
    });
    QTest::mouseClick(aboutButton, Qt::LeftButton);
    fixture.sheet->aboutAction()->trigger();
    QCOMPARE(opened, 2);
    // The build tree holds the user guide the first button opens, as an
    // installation does.
    const QUrl guide = CAboutDialog::productPage();
    QVERIFY(guide.isLocalFile() && guide.path().endsWith(QStringLiteral("/README.md")));
    QCOMPARE(urls, (QList<QUrl>{CAboutDialog::soundLibraryPage(), guide,
                                CAboutDialog::soundLibraryPage(), guide}));
  }
};

}  // namespace zv

QTEST_MAIN(zv::EncoderSheetTest)
#include "encoder_sheet_test.moc"
