// The attribute sheet with its Required and Optional pages, driven through
// their real controls in this build: the width calculation, the range of
// width and height, the values read back after OK, the attribute list's Add,
// Remove and Edit with their questions, and the build's caption, save boxes
// and button-count source. Messages are answered by a recording presenter;
// the Tag Attribute dialog is answered when it opens.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <string>
#include <vector>

#include "widgets/spin_edit.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/recording_presenter.h"
#include "tests/webbot/attributes/attribute_test_support.h"
#include "webbot/attributes/applet_attributes_sheet.h"
#include "webbot/attributes/applet_optional_page.h"
#include "webbot/attributes/applet_required_page.h"
#include "webbot/attributes/attribute_build.h"
#include "webbot/attributes/tag_attribute_dialog.h"

namespace zv::test {
namespace {

using Texts = std::vector<std::string>;

constexpr char kRangeMessage[] = "Please enter an integer between 10 and 32767.";
constexpr char kIntegerMessage[] = "Please enter an integer.";

RequiredAppletAttributes storedRequired() {
  RequiredAppletAttributes values;
  values.width = 64;
  values.height = 32;
  values.className = "ZvStreamPlayer.class";
  values.codebase = "/Java/ZvTavelwork";
  values.tag = "APPLET";
  values.alignment = "middle";
  values.calculateWidth = true;
  return values;
}

OptionalAppletAttributes someAttributes() {
  OptionalAppletAttributes values;
  values.bodyText = "No Java here.";
  values.attributes = {{"VSPACE", "4"}, {"ALT", "\"Java is off\""}, {"hspace", "2"}};
  return values;
}

// The list's rows as "name=value", top to bottom.
Texts rows(const QTreeWidget& list) {
  Texts out;
  for (int index = 0; index < list.topLevelItemCount(); ++index) {
    const QTreeWidgetItem* row = list.topLevelItem(index);
    out.push_back(row->text(0).toStdString() + "=" + row->text(1).toStdString());
  }
  return out;
}

QTreeWidgetItem* rowNamed(QTreeWidget& list, const QString& name) {
  const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchExactly, 0);
  return found.isEmpty() ? nullptr : found.front();
}

// Answers the next Tag Attribute dialog: replaces both fields and presses OK.
void answerTagDialog(const QString& name, const QString& value) {
  whenModal<CTagAttributeDialog>([name, value](CTagAttributeDialog& dialog) {
    dialog.nameField()->clear();
    QTest::keyClicks(dialog.nameField(), name);
    dialog.valueField()->clear();
    QTest::keyClicks(dialog.valueField(), value);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    // A refused entry leaves the dialog open: the test then cancels it.
    if (dialog.isVisible()) dialog.reject();
  });
}

}  // namespace

class AttributeSheetTest : public QObject {
  Q_OBJECT

 private:
  // A shown sheet on the given page with the given values.
  struct Fixture {
    explicit Fixture(int page = 0, RequiredAppletAttributes required = storedRequired(),
                     OptionalAppletAttributes optional = someAttributes())
        : sheet(presenter) {
      sheet.requiredPage().setButtonCount(2);
      sheet.requiredPage().setValues(required);
      sheet.optionalPage().setValues(optional);
      sheet.tabs()->setCurrentIndex(page);
      sheet.show();
    }
    CPageAppletRequired& requiredPage() { return sheet.requiredPage(); }
    CPageAppletOptional& optionalPage() { return sheet.optionalPage(); }
    void pressOk() { QTest::mouseClick(sheet.okButton(), Qt::LeftButton); }

    RecordingPresenter presenter;
    CAppletAttributesPropertySheet sheet;
  };

  // Clicks the box on its indicator (its middle may lie past its text).
  static void click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }

  static void retype(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
  }

 private slots:
  void captionAndPagesOfThisBuild() {
    Fixture fixture;
    QCOMPARE(fixture.sheet.windowTitle(), kAttributesForEditBot
                                              ? QStringLiteral("Applet Attributes")
                                              : QStringLiteral("Advanced Applet Attributes"));
    QCOMPARE(fixture.sheet.tabs()->count(), 2);
    QVERIFY(fixture.sheet.okButton() != nullptr);
    QVERIFY(fixture.sheet.cancelButton() != nullptr);
    // OK and Cancel only: no Apply.
    for (QPushButton* button : fixture.sheet.findChildren<QPushButton*>())
      QVERIFY(button->text() != QStringLiteral("Apply") &&
              button->text() != QStringLiteral("&Apply"));
    saveScreenshot(fixture.sheet, "sheet_required");
    fixture.sheet.tabs()->setCurrentIndex(1);
    saveScreenshot(fixture.sheet, "sheet_optional");
  }

  // Outside tools find every control by its label's text; every label leads
  // to its control by its mnemonic.
  void everyControlIsNamed() {
    Fixture fixture;
    for (QWidget* page : {static_cast<QWidget*>(&fixture.requiredPage()),
                          static_cast<QWidget*>(&fixture.optionalPage())}) {
      for (QWidget* control : page->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(control) ||
            control->parentWidget() != page)
          continue;
        QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
        QVERIFY2(!control->accessibleName().contains(u'&'), qPrintable(control->accessibleName()));
      }
      for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->buddy() == nullptr) continue;
        QVERIFY2(label->text().contains(u'&'), qPrintable(label->text()));
        QCOMPARE(label->buddy()->accessibleName(), QString(label->text()).remove(u'&'));
      }
    }
  }

  void saveBoxesOfThisBuild() {
    Fixture fixture;
    fixture.sheet.tabs()->setCurrentIndex(1);
    for (QCheckBox* box : {fixture.requiredPage().saveBox(), fixture.optionalPage().saveBox()}) {
      QCOMPARE(box->text(), QStringLiteral("&Save these properties for next time"));
      QCOMPARE(box->isHidden(), kAttributesForEditBot);
      QCOMPARE(box->isEnabled(), !kAttributesForEditBot);
    }
  }

  void widthFollowsHeight_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("width");
    QTest::newRow("20 x 3") << 3 << "20" << "60";
    QTest::newRow("20000 x 3 stops at 32767") << 3 << "20000" << "32767";
    QTest::newRow("10922 x 3 just below") << 3 << "10922" << "32766";
    QTest::newRow("32 x 2") << 2 << "32" << "64";
    QTest::newRow("leading digits only") << 2 << "15px" << "30";
    QTest::newRow("no digits") << 3 << "abc" << "0";
  }

  void widthFollowsHeight() {
    QFETCH(int, buttons);
    QFETCH(QString, height);
    QFETCH(QString, width);
    RecordingPresenter presenter;
    CAppletAttributesPropertySheet sheet(presenter);
    sheet.requiredPage().setButtonCount(buttons);
    sheet.requiredPage().setValues(storedRequired());
    sheet.show();
    CPageAppletRequired& page = sheet.requiredPage();
    QVERIFY(!page.widthField()->isEnabled());
    retype(page.heightField(), height);
    QCOMPARE(page.widthField()->text(), width);
  }

  void widthCalculatedWhenPageOpens() {
    RequiredAppletAttributes values = storedRequired();
    values.height = 20;
    values.width = 11;
    RecordingPresenter presenter;
    CAppletAttributesPropertySheet sheet(presenter);
    sheet.requiredPage().setButtonCount(3);
    sheet.requiredPage().setValues(values);
    sheet.show();
    QCOMPARE(sheet.requiredPage().widthField()->text(), QStringLiteral("60"));
  }

  void calculateWidthBoxEnablesWidth() {
    RequiredAppletAttributes values = storedRequired();
    values.calculateWidth = false;
    values.width = 100;
    RecordingPresenter presenter;
    CAppletAttributesPropertySheet sheet(presenter);
    sheet.requiredPage().setButtonCount(3);
    sheet.requiredPage().setValues(values);
    sheet.show();
    CPageAppletRequired& page = sheet.requiredPage();
    QVERIFY(page.widthField()->isEnabled());
    // Without the box the height leaves the width alone.
    retype(page.heightField(), QStringLiteral("40"));
    QCOMPARE(page.widthField()->text(), QStringLiteral("100"));
    click(page.calculateWidthBox());
    QVERIFY(!page.widthField()->isEnabled());
    QVERIFY(!page.widthField()->upButton()->isEnabled());
    QCOMPARE(page.widthField()->text(), QStringLiteral("120"));
    click(page.calculateWidthBox());
    QVERIFY(page.widthField()->isEnabled());
    QCOMPARE(page.widthField()->text(), QStringLiteral("120"));
  }

  void heightSpinRecalculates() {
    Fixture fixture;
    CPageAppletRequired& page = fixture.requiredPage();
    page.setButtonCount(3);
    QTest::mouseClick(page.heightField()->upButton(), Qt::LeftButton);
    QCOMPARE(page.heightField()->text(), QStringLiteral("33"));
    QCOMPARE(page.widthField()->text(), QStringLiteral("99"));
    page.heightField()->setFocus();
    QTest::keyClick(page.heightField(), Qt::Key_Down);
    QTest::keyClick(page.heightField(), Qt::Key_Down);
    QCOMPARE(page.heightField()->text(), QStringLiteral("31"));
    QCOMPARE(page.widthField()->text(), QStringLiteral("93"));
    // The spin stays within 10..32767.
    retype(page.heightField(), QStringLiteral("32767"));
    QTest::mouseClick(page.heightField()->upButton(), Qt::LeftButton);
    QCOMPARE(page.heightField()->text(), QStringLiteral("32767"));
    retype(page.heightField(), QStringLiteral("3"));
    QTest::mouseClick(page.heightField()->downButton(), Qt::LeftButton);
    QCOMPARE(page.heightField()->text(), QStringLiteral("10"));
  }

  void buttonCountSource() {
    // The Edit sheet asks its General page; the stored count is then unused.
    int generalButtons = 2;
    RecordingPresenter presenter;
    CAppletAttributesPropertySheet sheet(presenter);
    sheet.requiredPage().setButtonCount(1);
    sheet.requiredPage().setButtonCountSource([&generalButtons] { return generalButtons; });
    sheet.requiredPage().setValues(storedRequired());
    sheet.show();
    CPageAppletRequired& page = sheet.requiredPage();
    QCOMPARE(page.widthField()->text(), QStringLiteral("64"));
    generalButtons = 3;
    retype(page.heightField(), QStringLiteral("20"));
    QCOMPARE(page.widthField()->text(), QStringLiteral("60"));
  }

  void generalPageInFront() {
    RecordingPresenter presenter;
    CAppletAttributesPropertySheet sheet(presenter);
    struct General : CAttributeSheetPage {
      bool saveControls() override { ++saves; return true; }
      void openPage() override { ++opens; }
      int saves = 0;
      int opens = 0;
    };
    auto* general = new General;
    sheet.requiredPage().setValues(storedRequired());
    sheet.insertGeneralPage(general, QStringLiteral("General"));
    sheet.show();
    QCOMPARE(sheet.tabs()->count(), 3);
    QCOMPARE(sheet.tabs()->widget(0), static_cast<QWidget*>(general));
    QCOMPARE(sheet.tabs()->currentIndex(), 0);
    QCOMPARE(general->opens, 1);
    QCOMPARE(general->saves, 0);
    // Leaving the General page reads it back; OK reads every page.
    sheet.tabs()->setCurrentIndex(1);
    QCOMPARE(general->saves, 1);
    QTest::mouseClick(sheet.okButton(), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(general->saves, 2);
  }

  void widthAndHeightRange_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("widthAtFault");
    QTest::newRow("width below 10") << "9" << "32" << kRangeMessage << true;
    QTest::newRow("width above 32767") << "32768" << "32" << kRangeMessage << true;
    QTest::newRow("width not an integer") << "6O" << "32" << kIntegerMessage << true;
    QTest::newRow("width empty") << "" << "32" << kIntegerMessage << true;
    QTest::newRow("height below 10") << "64" << "0" << kRangeMessage << false;
    QTest::newRow("height above 32767") << "64" << "40000" << kRangeMessage << false;
    QTest::newRow("height with a letter") << "64" << "3x" << kIntegerMessage << false;
    QTest::newRow("width reported before height") << "5" << "5" << kRangeMessage << true;
  }

  void widthAndHeightRange() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);
    QFETCH(bool, widthAtFault);
    RequiredAppletAttributes values = storedRequired();
    values.calculateWidth = false;
    Fixture fixture(0, values);
    CPageAppletRequired& page = fixture.requiredPage();
    retype(page.widthField(), width);
    retype(page.heightField(), height);
    fixture.pressOk();
    QCOMPARE(fixture.presenter.texts(), Texts{message.toStdString()});
    QCOMPARE(fixture.presenter.shown().front().kind, MessageKind::Information);
    QVERIFY(fixture.sheet.isVisible());
    QCOMPARE(fixture.sheet.focusWidget(),
             static_cast<QWidget*>(widthAtFault ? page.widthField() : page.heightField()));
    // The page keeps what was typed.
    QCOMPARE(page.widthField()->text(), width);
    QCOMPARE(page.heightField()->text(), height);
    // Nothing reached the values the opener reads.
    QCOMPARE(page.values().width, 64);
    QCOMPARE(page.values().height, 32);
  }

  void refusedPageKeepsItsTab() {
    RequiredAppletAttributes values = storedRequired();
    values.calculateWidth = false;
    Fixture fixture(0, values);
    retype(fixture.requiredPage().widthField(), QStringLiteral("3"));
    fixture.sheet.tabs()->setCurrentIndex(1);
    QCOMPARE(fixture.sheet.tabs()->currentIndex(), 0);
    QCOMPARE(fixture.presenter.texts(), Texts{kRangeMessage});
    retype(fixture.requiredPage().widthField(), QStringLiteral("30"));
    fixture.sheet.tabs()->setCurrentIndex(1);
    QCOMPARE(fixture.sheet.tabs()->currentIndex(), 1);
  }

  void requiredValuesReadBackAfterOk() {
    RequiredAppletAttributes values = storedRequired();
    values.calculateWidth = false;
    Fixture fixture(0, values);
    CPageAppletRequired& page = fixture.requiredPage();
    QVERIFY(!page.classNameField()->isVisible());
    QVERIFY(page.classNameField()->isReadOnly());
    QCOMPARE(page.tagList()->currentText(), QStringLiteral("APPLET"));
    QCOMPARE(page.alignmentList()->currentText(), QStringLiteral("middle"));
    retype(page.widthField(), QStringLiteral("200"));
    retype(page.heightField(), QStringLiteral("50"));
    retype(page.codebaseField(), QStringLiteral("/applets"));
    page.tagList()->setCurrentIndex(page.tagList()->findText(QStringLiteral("OBJECT")));
    page.alignmentList()->setCurrentIndex(0);
    if constexpr (!kAttributesForEditBot) click(page.saveBox());
    fixture.pressOk();
    QCOMPARE(fixture.presenter.texts(), Texts{});
    QCOMPARE(fixture.sheet.result(), int(QDialog::Accepted));
    const RequiredAppletAttributes& read = page.values();
    QCOMPARE(read.width, 200);
    QCOMPARE(read.height, 50);
    QCOMPARE(read.className, std::string("ZvStreamPlayer.class"));
    QCOMPARE(read.codebase, std::string("/applets"));
    QCOMPARE(read.tag, std::string("OBJECT"));
    QCOMPARE(read.alignment, std::string());
    QCOMPARE(read.calculateWidth, false);
    QCOMPARE(read.saveForNextTime, !kAttributesForEditBot);
  }

  void unusualTagAndAlignmentSurvive() {
    RequiredAppletAttributes values = storedRequired();
    values.tag = "object";
    values.alignment = "absmiddle";
    Fixture fixture(0, values);
    CPageAppletRequired& page = fixture.requiredPage();
    QCOMPARE(page.tagList()->currentText(), QStringLiteral("OBJECT"));
    QCOMPARE(page.alignmentList()->currentText(), QStringLiteral("absmiddle"));
    fixture.pressOk();
    QCOMPARE(page.values().tag, std::string("OBJECT"));
    QCOMPARE(page.values().alignment, std::string("absmiddle"));
  }

  void pageNeverShownKeepsItsValues() {
    OptionalAppletAttributes optional = someAttributes();
    Fixture fixture(0, storedRequired(), optional);
    fixture.pressOk();
    QCOMPARE(fixture.sheet.result(), int(QDialog::Accepted));
    QVERIFY(!fixture.optionalPage().isOpened());
    QCOMPARE(fixture.optionalPage().values().attributes, optional.attributes);
    QCOMPARE(fixture.optionalPage().values().bodyText, optional.bodyText);
  }

  void listShowsTheSetSortedByName() {
    Fixture fixture(1);
    QTreeWidget& list = *fixture.optionalPage().attributeList();
    QCOMPARE(list.headerItem()->text(0), QStringLiteral("Attribute"));
    QCOMPARE(list.headerItem()->text(1), QStringLiteral("Value"));
    QCOMPARE(list.columnWidth(0), 70);
    QCOMPARE(list.columnWidth(1), 300);
    QCOMPARE(list.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(rows(list), (Texts{"ALT=\"Java is off\"", "hspace=2", "VSPACE=4"}));
    QCOMPARE(fixture.optionalPage().bodyTextField()->toPlainText(), QStringLiteral("No Java here."));
    QVERIFY(!fixture.optionalPage().removeButton()->isEnabled());
    QVERIFY(!fixture.optionalPage().editButton()->isEnabled());
    list.setCurrentItem(rowNamed(list, QStringLiteral("hspace")));
    QVERIFY(fixture.optionalPage().removeButton()->isEnabled());
    QVERIFY(fixture.optionalPage().editButton()->isEnabled());
    list.clearSelection();
    QVERIFY(!fixture.optionalPage().removeButton()->isEnabled());
    QVERIFY(!fixture.optionalPage().editButton()->isEnabled());
  }

  void addNewAttribute() {
    Fixture fixture(1);
    answerTagDialog(QStringLiteral("BORDER"), QStringLiteral("0"));
    QTest::mouseClick(fixture.optionalPage().addButton(), Qt::LeftButton);
    QCOMPARE(fixture.presenter.texts(), Texts{});
    QCOMPARE(rows(*fixture.optionalPage().attributeList()),
             (Texts{"ALT=\"Java is off\"", "BORDER=0", "hspace=2", "VSPACE=4"}));
    QCOMPARE(fixture.optionalPage().values().attributes.at("BORDER"), std::string("0"));
  }

  void addExistingAttribute_data() {
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QString>("altAfter");
    QTest::newRow("replace") << true << "\"Plugin missing\"";
    QTest::newRow("keep") << false << "\"Java is off\"";
  }

  void addExistingAttribute() {
    QFETCH(bool, answerYes);
    QFETCH(QString, altAfter);
    Fixture fixture(1);
    fixture.presenter.scriptAnswer(answerYes ? MessageAnswer::Yes : MessageAnswer::No);
    answerTagDialog(QStringLiteral("ALT"), QStringLiteral("\"Plugin missing\""));
    QTest::mouseClick(fixture.optionalPage().addButton(), Qt::LeftButton);
    QCOMPARE(fixture.presenter.texts(),
             Texts{"The 'ALT' attribute is already in the list.  Would you like to replace it?"});
    QCOMPARE(fixture.presenter.shown().front().kind, MessageKind::Question);
    const Texts expected{"ALT=" + altAfter.toStdString(), "hspace=2", "VSPACE=4"};
    QCOMPARE(rows(*fixture.optionalPage().attributeList()), expected);
    QCOMPARE(fixture.optionalPage().values().attributes.at("ALT"), altAfter.toStdString());
    QCOMPARE(fixture.optionalPage().values().attributes.size(), std::size_t{3});
  }

  void addCancelledChangesNothing() {
    Fixture fixture(1);
    whenModal<CTagAttributeDialog>([](CTagAttributeDialog& dialog) {
      QTest::keyClicks(dialog.nameField(), QStringLiteral("BORDER"));
      QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(fixture.optionalPage().addButton(), Qt::LeftButton);
    QCOMPARE(rows(*fixture.optionalPage().attributeList()).size(), std::size_t{3});
    QCOMPARE(fixture.optionalPage().values().attributes, someAttributes().attributes);
  }

  void removeAttribute_data() {
    QTest::addColumn<bool>("answerYes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
  }

  void removeAttribute() {
    QFETCH(bool, answerYes);
    Fixture fixture(1);
    QTreeWidget& list = *fixture.optionalPage().attributeList();
    list.setCurrentItem(rowNamed(list, QStringLiteral("hspace")));
    fixture.presenter.scriptAnswer(answerYes ? MessageAnswer::Yes : MessageAnswer::No);
    QTest::mouseClick(fixture.optionalPage().removeButton(), Qt::LeftButton);
    QCOMPARE(fixture.presenter.texts(),
             Texts{"Are you sure that you would like to delete the 'hspace' attribute?"});
    QCOMPARE(fixture.presenter.shown().front().kind, MessageKind::Question);
    QCOMPARE(rowNamed(list, QStringLiteral("hspace")) == nullptr, answerYes);
    QCOMPARE(fixture.optionalPage().values().attributes.contains("hspace"), !answerYes);
    QCOMPARE(fixture.optionalPage().values().attributes.size(), answerYes ? 2u : 3u);
  }

  void editKeepingTheName() {
    Fixture fixture(1);
    QTreeWidget& list = *fixture.optionalPage().attributeList();
    list.setCurrentItem(rowNamed(list, QStringLiteral("VSPACE")));
    whenModal<CTagAttributeDialog>([](CTagAttributeDialog& dialog) {
      // The dialog opens with the row's texts.
      QCOMPARE(dialog.nameField()->text(), QStringLiteral("VSPACE"));
      QCOMPARE(dialog.valueField()->toPlainText(), QStringLiteral("4"));
      dialog.valueField()->clear();
      QTest::keyClicks(dialog.valueField(), QStringLiteral("12"));
      QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(fixture.optionalPage().editButton(), Qt::LeftButton);
    QCOMPARE(rows(list), (Texts{"ALT=\"Java is off\"", "hspace=2", "VSPACE=12"}));
    QCOMPARE(fixture.optionalPage().values().attributes.at("VSPACE"), std::string("12"));
  }

  void editRenaming() {
    Fixture fixture(1);
    QTreeWidget& list = *fixture.optionalPage().attributeList();
    list.setCurrentItem(rowNamed(list, QStringLiteral("hspace")));
    answerTagDialog(QStringLiteral("BORDER"), QStringLiteral("1"));
    QTest::mouseClick(fixture.optionalPage().editButton(), Qt::LeftButton);
    QCOMPARE(rows(list), (Texts{"ALT=\"Java is off\"", "BORDER=1", "VSPACE=4"}));
    const AttributeMap expected{{"ALT", "\"Java is off\""}, {"BORDER", "1"}, {"VSPACE", "4"}};
    QCOMPARE(fixture.optionalPage().values().attributes, expected);
  }

  void editRenamingOntoAnotherName() {
    // The new name is not compared with the others: the set keeps one entry
    // of that name, and so does the list.
    Fixture fixture(1);
    QTreeWidget& list = *fixture.optionalPage().attributeList();
    list.setCurrentItem(rowNamed(list, QStringLiteral("hspace")));
    answerTagDialog(QStringLiteral("VSPACE"), QStringLiteral("9"));
    QTest::mouseClick(fixture.optionalPage().editButton(), Qt::LeftButton);
    QCOMPARE(fixture.presenter.texts(), Texts{});
    QCOMPARE(rows(list), (Texts{"ALT=\"Java is off\"", "VSPACE=9"}));
    const AttributeMap expected{{"ALT", "\"Java is off\""}, {"VSPACE", "9"}};
    QCOMPARE(fixture.optionalPage().values().attributes, expected);
  }

  void optionalValuesReadBackAfterOk() {
    Fixture fixture(1);
    CPageAppletOptional& page = fixture.optionalPage();
    page.bodyTextField()->setFocus();
    page.bodyTextField()->selectAll();
    QTest::keyClicks(page.bodyTextField(), QStringLiteral("line one"));
    QTest::keyClick(page.bodyTextField(), Qt::Key_Return);
    QTest::keyClicks(page.bodyTextField(), QStringLiteral("line two"));
    if constexpr (!kAttributesForEditBot) click(page.saveBox());
    fixture.pressOk();
    QCOMPARE(fixture.sheet.result(), int(QDialog::Accepted));
    QCOMPARE(page.values().bodyText, std::string("line one\nline two"));
    QCOMPARE(page.values().saveForNextTime, !kAttributesForEditBot);
  }

  void joinedAttributes() {
    QCOMPARE(webbot::joinAttributeText({}), std::string());
    QCOMPARE(webbot::joinAttributeText({{"ALT", "\"a b\""}}), std::string("ALT=\"a b\""));
    QCOMPARE(webbot::joinAttributeText(someAttributes().attributes),
             std::string("ALT=\"Java is off\" VSPACE=4 hspace=2"));
  }
};

}  // namespace zv::test

QTEST_MAIN(zv::test::AttributeSheetTest)
#include "attribute_sheet_test.moc"
