// The Edit entry of the real libZvEditBot.so, loaded at run time by a test
// host with its own callback table; the sheet and its messages are answered
// through their real widgets, found by their accessible names.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <string>
#include <vector>

#include <zv/webbot_host.h>

#include "platform/module.h"
#include "tests/support/modal_dialog.h"
#include "tests/webbot/edit/recording_component.h"

using zv::test::ModalScript;

using Component = zv::test::RecordingComponent;
using zv::test::insertedComponent;

class EditLibraryTest : public QObject {
  Q_OBJECT

 private:
  zv::Module library_;
  ZvTavelworkEditFn edit_ = nullptr;

  std::int32_t runEdit(Component& component) {
    return edit_(&component, &component.callbacks);
  }

  static QWidget* page(QWidget* sheet, int index) {
    auto* tabs = sheet->findChild<QTabWidget*>();
    tabs->setCurrentIndex(index);
    return tabs->widget(index);
  }

 private slots:
  void initTestCase() {
    library_ = zv::Module::load(ZV_EDITBOT_LIBRARY);
    QVERIFY2(library_.loaded(), library_.error().c_str());
    edit_ = reinterpret_cast<ZvTavelworkEditFn>(library_.ordinal(ZV_ORD_TAVELWORK_EDIT));
    QVERIFY(edit_);
    QVERIFY(QDir().mkpath(QStringLiteral(ZV_TEST_ARTIFACTS_DIR)));
  }

  void okWritesEveryAttributeInOrder() {
    Component component = insertedComponent();
    ModalScript script;
    script.then([](QWidget* sheet) {
      QCOMPARE(sheet->windowTitle(), QStringLiteral("Applet Attributes"));
      sheet->grab().save(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/edit-sheet-general.png"));
      page(sheet, 1);
      sheet->grab().save(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/edit-sheet-required.png"));
      page(sheet, 2);
      sheet->grab().save(QStringLiteral(ZV_TEST_ARTIFACTS_DIR "/edit-sheet-optional.png"));
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    QCOMPARE(runEdit(component), 1);
    QVERIFY(script.finished());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"PREVIEW", ""},  // checked below
        {"I-NUMBUTTONS", "3"}, {"I-AUTOPLAY", "0"}, {"I-VISIBLE", "1"}, {"I-COUNT", "1"},
        {"I-USETEXT", "0"}, {"I-HEIGHT", "32"}, {"I-WIDTH", "96"},
        {"S-CLASS", "ZvStreamPlayer.class"}, {"S-CODEBASE", "/Java/ZvTavelwork"},
        {"S-APPLETTAG", "APPLET"}, {"S-ALIGN", "middle"},
        {"S-BODY", "Say &quot;hi&quot; &amp; go"},
        {"S-ATTRIBS", "ALT=&quot;Java is not available&quot; HSPACE=4"},
    };
    QCOMPARE(component.written.size(), expected.size());
    for (std::size_t i = 1; i < expected.size(); ++i) {
      QCOMPARE(component.written[i].first, expected[i].first);
      QCOMPARE(component.written[i].second, expected[i].second);
    }
    QCOMPARE(component.written[0].first, std::string("PREVIEW"));
    const std::string& preview = component.written[0].second;
    QVERIFY2(preview.rfind("<IMG SRC=\"file:///", 0) == 0, preview.c_str());
    QVERIFY2(preview.find("FPThreeButton.gif\" HEIGHT=\"32\" WIDTH=\"96\">") != std::string::npos,
             preview.c_str());
  }

  void cancelWritesNothing() {
    Component component = insertedComponent();
    ModalScript script;
    script.then([](QWidget* sheet) {
      ModalScript::find<QCheckBox>(page(sheet, 0), "Autoplay")->setChecked(true);
      ModalScript::press(sheet, QDialogButtonBox::Cancel);
    });
    QCOMPARE(runEdit(component), 0);
    QVERIFY(component.written.empty());
  }

  void continuouslyIsWrittenBackAsMinusOne() {
    Component component = insertedComponent();
    component.attributes["I-COUNT"] = "-1";
    ModalScript script;
    script.then([](QWidget* sheet) {
      QWidget* general = page(sheet, 0);
      QVERIFY(ModalScript::find<QRadioButton>(general, "Continuously")->isChecked());
      QCOMPARE(ModalScript::find<QLineEdit>(general, "Play count")->text(), QStringLiteral("1"));
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    QCOMPARE(runEdit(component), 1);
    QCOMPARE(component.writtenValue("I-COUNT"), std::string("-1"));
  }

  void aCountOfZeroIsReportedOnOpeningAndOnOkUntilCorrected() {
    Component component = insertedComponent();
    component.attributes["I-COUNT"] = "0";
    ModalScript script;
    script.then(script.answerMessage());  // 10301 as the General page opens
    script.then([](QWidget* sheet) { ModalScript::press(sheet, QDialogButtonBox::Ok); });
    script.then(script.answerMessage());  // 10301 again on OK
    script.then([](QWidget* sheet) {
      auto* count = ModalScript::find<QLineEdit>(page(sheet, 0), "Play count");
      count->setText("3");
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    QCOMPARE(runEdit(component), 1);
    QCOMPARE(script.messages().size(), std::size_t{2});
    for (const std::string& text : script.messages())
      QVERIFY2(text.find("The Play count value is not in a valid range.  Please provide a decimal "
                         "number between 1 and 2,147,483,647 (without commas).") == 0,
               text.c_str());
    QCOMPARE(component.writtenValue("I-COUNT"), std::string("3"));
  }

  void countTextsAreCheckedInOrder() {
    struct Case {
      const char* typed;
      const char* message;
    } cases[] = {
        {"abc", "Please enter an integer."},
        {"5 ", "The Play count value is not a valid number."},
        {"-4", "The Play count value is not in a valid range."},
    };
    for (const Case& c : cases) {
      Component component = insertedComponent();
      ModalScript script;
      script.then([&c](QWidget* sheet) {
        ModalScript::find<QLineEdit>(page(sheet, 0), "Play count")->setText(c.typed);
        ModalScript::press(sheet, QDialogButtonBox::Ok);
      });
      script.then(script.answerMessage());
      script.then([](QWidget* sheet) { ModalScript::press(sheet, QDialogButtonBox::Cancel); });
      QCOMPARE(runEdit(component), 0);
      QCOMPARE(script.messages().size(), std::size_t{1});
      QVERIFY2(script.messages()[0].rfind(c.message, 0) == 0, script.messages()[0].c_str());
    }
  }

  void aStoredCountBeyondTheRangeIsShownAndWrittenBackLimited() {
    Component component = insertedComponent();
    component.attributes["I-COUNT"] = "99999999999";
    ModalScript script;
    script.then([](QWidget* sheet) {
      QCOMPARE(ModalScript::find<QLineEdit>(page(sheet, 0), "Play count")->text(),
               QStringLiteral("99999999999"));
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    QCOMPARE(runEdit(component), 1);
    QCOMPARE(component.writtenValue("I-COUNT"), std::string("2147483647"));
  }

  void textOnlyPreviewForOneAndThreeButtons() {
    const struct {
      int comboIndex;
      const char* preview;
    } cases[] = {
        {0, "<font color=\"maroon\" face=\"Arial\"><b>[Z&V Tavelworks, hello, 1 button, height=32, "
            "width=96]</b></font>"},
        {2, "<font color=\"maroon\" face=\"Arial\"><b>[Z&V Tavelworks, hello, 3 buttons, height=32, "
            "width=96]</b></font>"},
    };
    for (const auto& c : cases) {
      Component component = insertedComponent();
      ModalScript script;
      script.then([&c](QWidget* sheet) {
        QWidget* general = page(sheet, 0);
        ModalScript::find<QComboBox>(general, "Select number of buttons")->setCurrentIndex(c.comboIndex);
        ModalScript::find<QCheckBox>(general, "Use text only for WebBot in FrontPage Editor, instead of image")
            ->setChecked(true);
        ModalScript::press(sheet, QDialogButtonBox::Ok);
      });
      QCOMPARE(runEdit(component), 1);
      QCOMPARE(component.writtenValue("PREVIEW"), std::string(c.preview));
      QCOMPARE(component.writtenValue("I-USETEXT"), std::string("1"));
      QCOMPARE(component.writtenValue("I-NUMBUTTONS"), std::to_string(c.comboIndex + 1));
    }
  }

  void bodyAndAttributesAreDecodedForTheAuthorAndEncodedOnWrite() {
    Component component = insertedComponent();
    ModalScript script;
    script.then([](QWidget* sheet) {
      QWidget* optional = page(sheet, 2);
      auto* body = optional->findChild<QPlainTextEdit*>();
      QCOMPARE(body->toPlainText(), QStringLiteral("Say \"hi\" & go"));
      body->setPlainText("<b>Fish & \"chips\"</b>");
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    QCOMPARE(runEdit(component), 1);
    QCOMPARE(component.writtenValue("S-BODY"), std::string("<b&gt;Fish &amp; &quot;chips&quot;</b&gt;"));
    QCOMPARE(component.writtenValue("S-ATTRIBS"),
             std::string("ALT=&quot;Java is not available&quot; HSPACE=4"));
  }

  void aChangedButtonCountRecalculatesTheWidthWhenCalculateWidthIsOn() {
    Component component = insertedComponent();
    ModalScript script;
    script.then([](QWidget* sheet) {
      QWidget* required = page(sheet, 1);
      ModalScript::find<QCheckBox>(required, "Calculate width")->click();
      QWidget* general = page(sheet, 0);
      ModalScript::find<QComboBox>(general, "Select number of buttons")->setCurrentIndex(0);
      ModalScript::press(sheet, QDialogButtonBox::Ok);
    });
    QCOMPARE(runEdit(component), 1);
    QCOMPARE(component.writtenValue("I-WIDTH"), std::string("32"));
  }
};

QTEST_MAIN(EditLibraryTest)
#include "edit_library_test.moc"
