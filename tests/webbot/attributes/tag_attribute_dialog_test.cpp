// The Tag Attribute dialog driven through its real fields and buttons: when
// OK may be pressed, the value's quote rules with the repair question, the
// name's character rule, and the one difference between the two builds
// (Help). Messages are answered by a recording presenter.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <string>
#include <vector>

#include "tests/support/recording_presenter.h"
#include "tests/webbot/attributes/attribute_test_support.h"
#include "webbot/attributes/attribute_build.h"
#include "webbot/attributes/tag_attribute_dialog.h"

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace zv::test {
namespace {

constexpr char kQuotesQuestion[] =
    "The value contains spaces.  There are either no double-quotes around the value or the "
    "double-quotes are unbalanced.  Would you like it to be fixed automatically?";
constexpr char kInnerQuote[] =
    "It is not allowed to have a double-quote in the middle of a value.  They are only allowed "
    "at the beginning an the end of the value.";
constexpr char kNameSpace[] = "There are no spaces allowed in the attribute name.";

using Texts = std::vector<std::string>;

}  // namespace

class TagAttributeDialogTest : public QObject {
  Q_OBJECT

 private:
  // Types name and value into a shown dialog and presses OK.
  static void typeAndPressOk(CTagAttributeDialog& dialog, const QString& name,
                             const QString& value) {
    // QTest types ASCII only; other letters arrive as an input method would
    // deliver them.
    if (name.toLatin1() == name.toUtf8())
      QTest::keyClicks(dialog.nameField(), name);
    else
      dialog.nameField()->insert(name);
    dialog.valueField()->setFocus();
    QTest::keyClicks(dialog.valueField(), value);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  }

 private slots:
  void okNeedsBothFields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("both empty") << "" << "" << false;
    QTest::newRow("name only") << "ALT" << "" << false;
    QTest::newRow("value only") << "" << "x" << false;
    QTest::newRow("both") << "ALT" << "x" << true;
    QTest::newRow("blank value is text") << "ALT" << " " << true;
  }

  void okNeedsBothFields() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, okEnabled);
    RecordingPresenter presenter;
    CTagAttributeDialog dialog(presenter);
    dialog.show();
    QVERIFY(!dialog.okButton()->isEnabled());
    QTest::keyClicks(dialog.nameField(), name);
    QTest::keyClicks(dialog.valueField(), value);
    QCOMPARE(dialog.okButton()->isEnabled(), okEnabled);
    // Emptying either field disables OK again.
    dialog.nameField()->clear();
    QVERIFY(!dialog.okButton()->isEnabled());
  }

  void openedWithTextEnablesOk() {
    RecordingPresenter presenter;
    CTagAttributeDialog dialog(presenter);
    dialog.setAttribute("ALT", "\"a b\"");
    dialog.show();
    QVERIFY(dialog.okButton()->isEnabled());
    QCOMPARE(dialog.valueField()->toPlainText(), QStringLiteral("\"a b\""));
  }

  void valueRules_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("valueAfter");
    QTest::addColumn<Texts>("messages");
    QTest::newRow("two words, repaired") << "two words" << true << true << "\"two words\""
                                         << Texts{kQuotesQuestion};
    QTest::newRow("opening quote only, closing added")
        << "\"two words" << true << true << "\"two words\"" << Texts{kQuotesQuestion};
    QTest::newRow("closing quote only, opening added")
        << "two words\"" << true << true << "\"two words\"" << Texts{kQuotesQuestion};
    QTest::newRow("repair refused") << "two words" << false << false << "two words"
                                    << Texts{kQuotesQuestion};
    QTest::newRow("quoted with spaces") << "\"two words\"" << false << true << "\"two words\""
                                        << Texts{};
    QTest::newRow("quoted without spaces") << "\"x\"" << false << true << "\"x\"" << Texts{};
    QTest::newRow("plain") << "25" << false << true << "25" << Texts{};
    QTest::newRow("inner quote, no space") << "a\"b" << false << false << "a\"b"
                                           << Texts{kInnerQuote};
    QTest::newRow("inner quote inside quotes") << "\"a\"b\"" << false << false << "\"a\"b\""
                                               << Texts{kInnerQuote};
    QTest::newRow("inner quote after repair") << "a \"b" << true << false << "\"a \"b\""
                                              << Texts{kQuotesQuestion, kInnerQuote};
  }

  void valueRules() {
    QFETCH(QString, value);
    QFETCH(bool, answerYes);
    QFETCH(bool, accepted);
    QFETCH(QString, valueAfter);
    QFETCH(Texts, messages);
    RecordingPresenter presenter;
    presenter.scriptAnswer(answerYes ? MessageAnswer::Yes : MessageAnswer::No);
    CTagAttributeDialog dialog(presenter);
    dialog.show();
    typeAndPressOk(dialog, QStringLiteral("title"), value);

    QCOMPARE(presenter.texts(), messages);
    for (const MessageRequest& shown : presenter.shown())
      QCOMPARE(shown.caption, std::string("Z&V Tavelworks"));
    if (!messages.empty())
      QCOMPARE(presenter.shown().front().kind, messages.front() == kQuotesQuestion
                                                   ? MessageKind::Question
                                                   : MessageKind::Information);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    QCOMPARE(dialog.valueField()->toPlainText(), valueAfter);
    if (accepted) {
      QCOMPARE(dialog.value(), valueAfter.toStdString());
      QCOMPARE(dialog.name(), std::string("title"));
    } else {
      QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.valueField()));
    }
  }

  void nameRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("hyphen and letters") << "data-src" << "";
    QTest::newRow("digits") << "h2" << "";
    QTest::newRow("letters beyond ASCII") << QStringLiteral("n\u00e4me") << "";
    QTest::newRow("space") << "my attr" << kNameSpace;
    QTest::newRow("underscore")
        << "a_b" << "The character '_' cannot be used in the attribute name.";
    QTest::newRow("first bad character named") << "a.b=c"
                                               << "The character '.' cannot be used in the "
                                                  "attribute name.";
    QTest::newRow("space after a bad character")
        << "a:b c" << "The character ':' cannot be used in the attribute name.";
  }

  void nameRules() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    RecordingPresenter presenter;
    CTagAttributeDialog dialog(presenter);
    dialog.show();
    typeAndPressOk(dialog, name, QStringLiteral("1"));
    if (message.isEmpty()) {
      QCOMPARE(presenter.texts(), Texts{});
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(QString::fromStdString(dialog.name()), name);
      return;
    }
    QCOMPARE(presenter.texts(), Texts{message.toStdString()});
    QCOMPARE(presenter.shown().front().kind, MessageKind::Information);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.nameField()->text(), name);
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(dialog.nameField()));
  }

  // The value is examined before the name: a bad value is all that is said.
  void valueCheckedBeforeName() {
    RecordingPresenter presenter;
    CTagAttributeDialog dialog(presenter);
    dialog.show();
    typeAndPressOk(dialog, QStringLiteral("a_b"), QStringLiteral("x\"y"));
    QCOMPARE(presenter.texts(), Texts{kInnerQuote});
  }

  void enterInValuePressesOk() {
    RecordingPresenter presenter;
    CTagAttributeDialog dialog(presenter);
    dialog.show();
    QTest::keyClicks(dialog.nameField(), QStringLiteral("ALT"));
    QTest::keyClicks(dialog.valueField(), QStringLiteral("hello"));
    QTest::keyClick(dialog.valueField(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.value(), std::string("hello"));
  }

  void captionAndHelpOfThisBuild() {
    RecordingPresenter presenter;
    CTagAttributeDialog dialog(presenter);
    dialog.setAttribute("ALT", "\"Java is not available in this browser\"");
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Tag Attribute"));
    QCOMPARE(dialog.nameField()->accessibleName(), QStringLiteral("Attribute name"));
    QCOMPARE(dialog.valueField()->accessibleName(), QStringLiteral("Value"));
    if constexpr (kAttributesForEditBot) {
      QVERIFY(dialog.helpButton() == nullptr);
    } else {
      QVERIFY(dialog.helpButton() != nullptr);
      QCOMPARE(dialog.helpButton()->text(), QStringLiteral("&Help"));
      QVERIFY(dialog.helpButton()->isVisible());
    }
    saveScreenshot(dialog, "tag_attribute_dialog");
  }
};

}  // namespace zv::test

QTEST_MAIN(zv::test::TagAttributeDialogTest)
#include "tag_attribute_dialog_test.moc"
