// The applet page driven through its real controls, inside a wizard of its
// own (it is the last page: Finish validates it): the defaults from a
// settings store in a private folder, the width rule, the play count's
// checks and messages, the advanced sheet writing the store on request, and
// the resulting HTML. Messages are answered by a recording presenter; the
// modal sheet and dialogs are answered when they open.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QWizard>

#include <memory>
#include <string>
#include <vector>

#include "encoder/engine_workspace.h"
#include "widgets/spin_edit.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "webbot/attributes/applet_attributes_sheet.h"
#include "webbot/attributes/applet_optional_page.h"
#include "webbot/attributes/applet_required_page.h"
#include "webbot/attributes/tag_attribute_dialog.h"
#include "wizard/applet_properties_page.h"
#include "wizard/settings_store.h"
#include "wizard/view_html_dialog.h"

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace zv::test {
namespace {

using Texts = std::vector<std::string>;
using namespace settings_names;

constexpr char kNotNumber[] =
    "The Play count value is not a valid number.  Please provide a decimal number between 1 "
    "and 32,767 (without commas).";
constexpr char kOutOfRange[] =
    "The Play count value is not in a valid range.  Please provide a decimal number between 1 "
    "and 32,767 (without commas).";
constexpr char kNotInteger[] = "Please enter an integer.";

// The page in a wizard of its own, on a store in a private folder.
struct PageFixture {
  explicit PageFixture(const std::function<void(SettingsStore&)>& prepareStore = {}) {
    std::string error;
    workspace = EngineWorkspace::create(error);
    if (!workspace) qFatal("no workspace: %s", error.c_str());
    services = std::make_unique<WizardServices>(
        WizardServices{*workspace, presenter, GalleryFolders{folder.file("Gallery"), {}}});
    store = std::make_unique<SettingsStore>(storeFile());
    if (prepareStore) {
      prepareStore(*store);
      store->sync();
    }
    page = new CPageAppletProperties(state, *services, *store);
    wizard.setPage(kPageAppletProperties, page);
    wizard.resize(560, 420);
    wizard.show();
    wizard.activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&wizard));
  }

  std::string storeFile() const { return folder.file("settings.conf"); }
  void finish() { QTest::mouseClick(wizard.button(QWizard::FinishButton), Qt::LeftButton); }
  void retypeCount(const QString& text) {
    page->playCountField()->selectAll();
    QTest::keyClick(page->playCountField(), Qt::Key_Delete);
    QTest::keyClicks(page->playCountField(), text);
  }
  void chooseButtons(int index) { page->buttonCountList()->setCurrentIndex(index); }
  static void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }

  TempDir folder;
  std::unique_ptr<EngineWorkspace> workspace;
  RecordingPresenter presenter;
  WizardState state;
  std::unique_ptr<WizardServices> services;
  std::unique_ptr<SettingsStore> store;
  QWizard wizard;
  CPageAppletProperties* page = nullptr;
};

void retype(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
}

void storeRequired(SettingsStore& store, int calculate, int width, int height) {
  store.writeInteger(kRequiredSection, kCalculateWidth, calculate);
  store.writeInteger(kRequiredSection, kAppletWidth, width);
  store.writeInteger(kRequiredSection, kAppletHeight, height);
}

}  // namespace

class AppletPropertiesPageTest : public QObject {
  Q_OBJECT

 private slots:
  void freshStoreGivesTheDefaults() {
    PageFixture fixture;
    CPageAppletProperties& page = *fixture.page;
    QCOMPARE(page.title(), QStringLiteral("Applet Attributes"));
    QCOMPARE(page.nextId(), -1);
    QCOMPARE(page.buttonCountList()->currentText(), QStringLiteral("Two buttons"));
    QCOMPARE(page.buttonCountList()->count(), 3);
    QVERIFY(!page.autoplayBox()->isChecked());
    QVERIFY(page.visibleBox()->isChecked());
    QVERIFY(page.playTimesButton()->isChecked());
    QVERIFY(page.playCountField()->isEnabled());
    QCOMPARE(page.playCountField()->text(), QStringLiteral("1"));
    QCOMPARE(page.playCountField()->minimum(), 1);
    QCOMPARE(page.playCountField()->maximum(), 32767);
    QVERIFY(fixture.wizard.button(QWizard::FinishButton)->isVisible());

    fixture.finish();
    QCOMPARE(fixture.presenter.texts(), Texts{});
    const AppletValues values = page.appletValues();
    QCOMPARE(values.buttonCount, 2);
    QCOMPARE(values.autoplay, 0);
    QCOMPARE(values.visible, 1);
    QCOMPARE(values.playCount, 1);
    QCOMPARE(values.height, 32);
    QCOMPARE(values.width, 64);
    QCOMPARE(values.className, std::string("ZvStreamPlayer.class"));
    QCOMPARE(values.codebase, std::string("/Java/ZvTavelwork"));
    QCOMPARE(values.tag, std::string("APPLET"));
    QCOMPARE(values.alignment, std::string("middle"));
    QCOMPARE(values.bodyText,
             std::string("This browser is aware of Java applets, but is unable to execute them."));
    QCOMPARE(values.otherAttributes, std::string("ALT=\"Java is not available in this browser\""));
    // Reading the defaults wrote nothing.
    QVERIFY(!QFileInfo::exists(QString::fromStdString(fixture.storeFile())));
  }

  void storedAttributeCounts_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("joined");
    QTest::newRow("none stored gives ALT") << -1 << "ALT=\"Java is not available in this browser\"";
    QTest::newRow("zero gives none") << 0 << "";
    QTest::newRow("two pairs") << 2 << "a0=v0 a1=v1";
  }

  void storedAttributeCounts() {
    QFETCH(int, count);
    QFETCH(QString, joined);
    PageFixture fixture([count](SettingsStore& store) {
      for (int index = 0; index < 3; ++index) {
        store.writeText(kOptionalSection, optionalAttributeNameEntry(index),
                        "a" + std::to_string(index));
        store.writeText(kOptionalSection, optionalAttributeValueEntry(index),
                        "v" + std::to_string(index));
      }
      if (count != -1) store.writeInteger(kOptionalSection, kAttributeCount, count);
    });
    fixture.finish();
    QCOMPARE(QString::fromStdString(fixture.page->appletValues().otherAttributes), joined);
  }

  void widthRule_data() {
    QTest::addColumn<int>("calculate");
    QTest::addColumn<int>("storedWidth");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("buttonIndex");
    QTest::addColumn<int>("width");
    QTest::newRow("32 x 3") << 1 << 64 << 32 << 2 << 96;
    QTest::newRow("20 x 3") << 1 << 64 << 20 << 2 << 60;
    QTest::newRow("20000 x 3 stops at 32767") << 1 << 64 << 20000 << 2 << 32767;
    QTest::newRow("32 x 1") << 1 << 64 << 32 << 0 << 32;
    QTest::newRow("stored width recomputed") << 1 << 500 << 40 << 1 << 80;
    QTest::newRow("not calculated") << 0 << 500 << 32 << 2 << 500;
  }

  void widthRule() {
    QFETCH(int, calculate);
    QFETCH(int, storedWidth);
    QFETCH(int, height);
    QFETCH(int, buttonIndex);
    QFETCH(int, width);
    PageFixture fixture([&](SettingsStore& store) {
      storeRequired(store, calculate, storedWidth, height);
    });
    fixture.chooseButtons(buttonIndex);
    fixture.finish();
    QCOMPARE(fixture.page->appletValues().width, width);
    QCOMPARE(fixture.page->appletValues().height, height);
    QCOMPARE(fixture.page->appletValues().buttonCount, buttonIndex + 1);
  }

  void playCount_data() {
    QTest::addColumn<bool>("continuously");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Texts>("messages");
    QTest::addColumn<int>("playCount");  // after a finish that passed
    QTest::newRow("1") << false << "1" << Texts{} << 1;
    QTest::newRow("32767") << false << "32767" << Texts{} << 32767;
    QTest::newRow("leading blank") << false << " 7" << Texts{} << 7;
    QTest::newRow("0") << false << "0" << Texts{kOutOfRange} << 0;
    QTest::newRow("40000") << false << "40000" << Texts{kOutOfRange} << 0;
    QTest::newRow("negative") << false << "-3" << Texts{kOutOfRange} << 0;
    QTest::newRow("trailing blank") << false << "5 " << Texts{kNotNumber} << 0;
    QTest::newRow("empty") << false << "" << Texts{kNotInteger} << 0;
    QTest::newRow("letters") << false << "abc" << Texts{kNotInteger} << 0;
    QTest::newRow("digit and letter") << false << "5x" << Texts{kNotInteger} << 0;
    QTest::newRow("comma") << false << "1,000" << Texts{kNotInteger} << 0;
    QTest::newRow("continuously, 0") << true << "0" << Texts{} << -1;
    QTest::newRow("continuously, 40000") << true << "40000" << Texts{} << -1;
    QTest::newRow("continuously, trailing blank") << true << "5 " << Texts{} << -1;
    QTest::newRow("continuously, empty") << true << "" << Texts{kNotInteger} << 0;
  }

  void playCount() {
    QFETCH(bool, continuously);
    QFETCH(QString, text);
    QFETCH(Texts, messages);
    QFETCH(int, playCount);
    PageFixture fixture;
    fixture.retypeCount(text);
    if (continuously) PageFixture::click(fixture.page->continuouslyButton());
    QCOMPARE(fixture.page->playCountField()->isEnabled(), !continuously);
    fixture.finish();
    QCOMPARE(fixture.presenter.texts(), messages);
    for (const MessageRequest& shown : fixture.presenter.shown()) {
      QCOMPARE(shown.caption, std::string("Z&V Tavelworks"));
      QCOMPARE(shown.kind, MessageKind::Information);
    }
    const bool passed = messages.empty();
    QCOMPARE(fixture.wizard.result() == QDialog::Accepted, passed);
    QCOMPARE(fixture.wizard.isVisible(), !passed);
    if (passed) {
      QCOMPARE(fixture.page->appletValues().playCount, playCount);
    } else {
      QCOMPARE(fixture.page->playCountField()->text(), text);
      if (!continuously)
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(fixture.page->playCountField()));
    }
  }

  void radiosEnableTheCount() {
    PageFixture fixture;
    CPageAppletProperties& page = *fixture.page;
    PageFixture::click(page.continuouslyButton());
    QVERIFY(!page.playCountField()->isEnabled());
    QVERIFY(!page.playCountField()->upButton()->isEnabled());
    PageFixture::click(page.playTimesButton());
    QVERIFY(page.playCountField()->isEnabled());
  }

  void countSpinStaysInRange() {
    PageFixture fixture;
    SpinEdit* count = fixture.page->playCountField();
    QTest::mouseClick(count->downButton(), Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("1"));
    QTest::mouseClick(count->upButton(), Qt::LeftButton);
    QCOMPARE(count->text(), QStringLiteral("2"));
    fixture.retypeCount(QStringLiteral("32767"));
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Up);
    QCOMPARE(count->text(), QStringLiteral("32767"));
  }

  void advancedSheetWritesTheStoreOnRequest() {
    PageFixture fixture;
    fixture.chooseButtons(2);  // three buttons: the sheet calculates with 3
    bool sheetCalculatedWithThree = false;
    whenModal<CAppletAttributesPropertySheet>([&](CAppletAttributesPropertySheet& sheet) {
      CPageAppletRequired& required = sheet.requiredPage();
      sheetCalculatedWithThree = required.widthField()->text() == QStringLiteral("96");
      retype(required.heightField(), QStringLiteral("40"));
      retype(required.codebaseField(), QStringLiteral("/players"));
      PageFixture::click(required.saveBox());
      sheet.tabs()->setCurrentIndex(1);
      CPageAppletOptional& optional = sheet.optionalPage();
      whenModal<CTagAttributeDialog>([](CTagAttributeDialog& dialog) {
        QTest::keyClicks(dialog.nameField(), QStringLiteral("BORDER"));
        QTest::keyClicks(dialog.valueField(), QStringLiteral("0"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
      });
      QTest::mouseClick(optional.addButton(), Qt::LeftButton);
      optional.bodyTextField()->selectAll();
      QTest::keyClicks(optional.bodyTextField(), QStringLiteral("No player."));
      PageFixture::click(optional.saveBox());
      QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(fixture.page->advancedButton(), Qt::LeftButton);
    QVERIFY(sheetCalculatedWithThree);
    QCOMPARE(fixture.presenter.texts(), Texts{});

    fixture.finish();
    const AppletValues values = fixture.page->appletValues();
    QCOMPARE(values.height, 40);
    QCOMPARE(values.width, 120);
    QCOMPARE(values.codebase, std::string("/players"));
    QCOMPARE(values.bodyText, std::string("No player."));
    QCOMPARE(values.otherAttributes,
             std::string("ALT=\"Java is not available in this browser\" BORDER=0"));

    // The store holds both sections, the attributes numbered in the map's
    // order, and a new page starts from them.
    QSettings raw(QString::fromStdString(fixture.storeFile()), QSettings::IniFormat);
    raw.beginGroup(QString::fromLatin1(kRequiredSection));
    QCOMPARE(raw.childKeys().size(), 7);
    QCOMPARE(raw.value(kCalculateWidth).toInt(), 1);
    QCOMPARE(raw.value(kAppletWidth).toInt(), 120);
    QCOMPARE(raw.value(kAppletHeight).toInt(), 40);
    QCOMPARE(raw.value(kAppletClassCodebase).toString(), QStringLiteral("/players"));
    raw.endGroup();
    raw.beginGroup(QString::fromLatin1(kOptionalSection));
    QCOMPARE(raw.value(kAttributeCount).toInt(), 2);
    QCOMPARE(raw.value("Optional Applet Attribute 00 Name").toString(), QStringLiteral("ALT"));
    QCOMPARE(raw.value("Optional Applet Attribute 01 Name").toString(), QStringLiteral("BORDER"));
    QCOMPARE(raw.value("Optional Applet Attribute 01 Value").toString(), QStringLiteral("0"));
    QCOMPARE(raw.value(kAppletBodyText).toString(), QStringLiteral("No player."));
    raw.endGroup();

    SettingsStore reopened(fixture.storeFile());
    const StoredAppletAttributes stored = readAppletAttributes(reopened);
    QCOMPARE(stored.required.height, 40);
    QCOMPARE(webbot::joinAttributeText(stored.optional.attributes),
             std::string("ALT=\"Java is not available in this browser\" BORDER=0"));
  }

  void advancedSheetWithoutSaveWritesNothing() {
    PageFixture fixture;
    whenModal<CAppletAttributesPropertySheet>([](CAppletAttributesPropertySheet& sheet) {
      retype(sheet.requiredPage().heightField(), QStringLiteral("50"));
      QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(fixture.page->advancedButton(), Qt::LeftButton);
    fixture.finish();
    QCOMPARE(fixture.page->appletValues().height, 50);
    QCOMPARE(fixture.page->appletValues().width, 100);
    fixture.store->sync();
    QVERIFY(!QFileInfo::exists(QString::fromStdString(fixture.storeFile())));
  }

  void advancedSheetCancelledChangesNothing() {
    PageFixture fixture;
    whenModal<CAppletAttributesPropertySheet>([](CAppletAttributesPropertySheet& sheet) {
      retype(sheet.requiredPage().heightField(), QStringLiteral("50"));
      PageFixture::click(sheet.requiredPage().saveBox());
      sheet.tabs()->setCurrentIndex(1);
      whenModal<CTagAttributeDialog>([](CTagAttributeDialog& dialog) {
        QTest::keyClicks(dialog.nameField(), QStringLiteral("BORDER"));
        QTest::keyClicks(dialog.valueField(), QStringLiteral("0"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
      });
      QTest::mouseClick(sheet.optionalPage().addButton(), Qt::LeftButton);
      QTest::mouseClick(sheet.cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(fixture.page->advancedButton(), Qt::LeftButton);
    fixture.finish();
    QCOMPARE(fixture.page->appletValues().height, 32);
    QCOMPARE(fixture.page->appletValues().otherAttributes,
             std::string("ALT=\"Java is not available in this browser\""));
    fixture.store->sync();
    QVERIFY(!QFileInfo::exists(QString::fromStdString(fixture.storeFile())));
  }

  void resultingHtml_data() {
    QTest::addColumn<bool>("continuously");
    QTest::addColumn<QString>("count");
    QTest::addColumn<Texts>("messages");
    QTest::addColumn<QString>("countLine");
    QTest::newRow("three plays") << false << "3" << Texts{} << "3";
    QTest::newRow("continuously") << true << "3" << Texts{} << "-1";
    // A refused count is reported; the preview shows the count held before.
    QTest::newRow("refused count") << false << "0" << Texts{kOutOfRange} << "0";
  }

  void resultingHtml() {
    QFETCH(bool, continuously);
    QFETCH(QString, count);
    QFETCH(Texts, messages);
    QFETCH(QString, countLine);
    PageFixture fixture;
    fixture.page->setPreviewClipName([] { return std::string("bells.zvsa"); });
    fixture.chooseButtons(2);
    PageFixture::click(fixture.page->autoplayBox());
    fixture.retypeCount(count);
    if (continuously) PageFixture::click(fixture.page->continuouslyButton());
    std::string shown;
    whenModal<CViewHtmlDialog>([&shown](CViewHtmlDialog& dialog) {
      shown = dialog.markup();
      QCOMPARE(dialog.markupField()->document()->findBlockByNumber(1).text(),
               QStringLiteral("    <PARAM NAME=\"Clip\" VALUE=\"bells.zvsa\">"));
      QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(fixture.page->viewHtmlButton(), Qt::LeftButton);
    QCOMPARE(fixture.presenter.texts(), messages);
    const std::string expected =
        "<APPLET WIDTH=\"96\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\" "
        "CODEBASE=\"/Java/ZvTavelwork\" ALIGN=\"middle\" "
        "ALT=\"Java is not available in this browser\">\r\n"
        "    <PARAM NAME=\"Clip\" VALUE=\"bells.zvsa\">\r\n"
        "    <PARAM NAME=\"Visible\" VALUE=\"yes\">\r\n"
        "    <PARAM NAME=\"Buttons\" VALUE=\"3\">\r\n"
        "    <PARAM NAME=\"Autoplay\" VALUE=\"yes\">\r\n"
        "    <PARAM NAME=\"Count\" VALUE=\"" + countLine.toStdString() + "\">\r\n"
        "This browser is aware of Java applets, but is unable to execute them.\r\n"
        "</APPLET>\r\n";
    QCOMPARE(shown, expected);
    // The preview touches no file: nothing in the folder, no gallery made.
    QCOMPARE(fixture.folder.entries(), std::vector<std::string>{});
    QVERIFY(fixture.wizard.isVisible());
  }

  void everyControlIsNamed() {
    PageFixture fixture;
    for (QWidget* control : fixture.page->findChildren<QWidget*>()) {
      if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(control) ||
          control->parentWidget() != fixture.page)
        continue;
      QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
      QVERIFY2(!control->accessibleName().contains(u'&'), qPrintable(control->accessibleName()));
    }
    QCOMPARE(fixture.page->advancedButton()->text(), QStringLiteral("A&dvanced Applet Attributes"));
    QCOMPARE(fixture.page->viewHtmlButton()->text(), QStringLiteral("View &Resulting HTML"));
    QCOMPARE(fixture.page->buttonCountList()->accessibleName(),
             QStringLiteral("Select number of buttons"));
  }

  void screenshot() {
    PageFixture fixture;
    const QString folder = QStringLiteral(ZV_TEST_ARTIFACTS_DIR);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(fixture.wizard.grab().save(folder + QStringLiteral("/wizard-applet-page.png")));
  }
};

}  // namespace zv::test

QTEST_MAIN(zv::test::AppletPropertiesPageTest)
#include "applet_properties_page_test.moc"
