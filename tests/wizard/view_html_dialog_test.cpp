// The View HTML dialog: the markup as handed in (CR LF line ends), shown one
// line per line in a read-only edit, and closed with OK.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <string>

#include "wizard/view_html_dialog.h"

namespace zv::test {

class ViewHtmlDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheMarkupReadOnly() {
    const std::string markup =
        "<APPLET WIDTH=\"64\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\">\r\n"
        "    <PARAM NAME=\"Clip\" VALUE=\"bells.zvsa\">\r\n"
        "</APPLET>\r\n";
    CViewHtmlDialog dialog(markup);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("View HTML"));
    QCOMPARE(dialog.markup(), markup);
    QPlainTextEdit* field = dialog.markupField();
    QVERIFY(field->isReadOnly());
    QCOMPARE(field->document()->blockCount(), 4);  // three lines and the empty one after
    QCOMPARE(field->document()->findBlockByNumber(1).text(),
             QStringLiteral("    <PARAM NAME=\"Clip\" VALUE=\"bells.zvsa\">"));
    QVERIFY(!field->toPlainText().contains(u'\r'));
    // Typing changes nothing.
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("x"));
    QCOMPARE(field->document()->findBlockByNumber(0).text().left(7), QStringLiteral("<APPLET"));
    QVERIFY(dialog.okButton()->isDefault());
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
  }
};

}  // namespace zv::test

QTEST_MAIN(zv::test::ViewHtmlDialogTest)
#include "view_html_dialog_test.moc"
