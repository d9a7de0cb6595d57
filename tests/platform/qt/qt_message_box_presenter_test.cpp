// The Qt message layer: a question and an information message as message
// boxes (caption, icon, buttons, the answer given by the button pressed),
// and a message raised on a worker thread shown on the GUI thread.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <thread>

#include "platform/qt/qt_message_box_presenter.h"
#include "tests/support/modal_dialog.h"

namespace zv::test {

namespace {

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  QWidget* parent = nullptr;
};

// Notes what the next message box shows and presses `press` (or Esc).
void answerBox(SeenBox& seen, QMessageBox::StandardButton press) {
  whenModal<QMessageBox>([&seen, press](QMessageBox& box) {
    seen.title = box.windowTitle();
    seen.text = box.text();
    seen.icon = box.icon();
    seen.buttons = box.standardButtons();
    seen.defaultButton = box.standardButton(box.defaultButton());
    seen.parent = box.parentWidget();
    if (press == QMessageBox::NoButton)
      QTest::keyClick(&box, Qt::Key_Escape);
    else
      QTest::mouseClick(box.button(press), Qt::LeftButton);
  });
}

}  // namespace

class QtMessageBoxPresenterTest : public QObject {
  Q_OBJECT

 private slots:
  void information() {
    QWidget owner;
    owner.show();
    QtMessageBoxPresenter presenter(&owner);
    SeenBox seen;
    answerBox(seen, QMessageBox::Ok);
    const MessageAnswer answer =
        presenter.present({"Z&V Tavelworks", "The file was not found.", MessageKind::Information});
    QCOMPARE(answer, MessageAnswer::Ok);
    QCOMPARE(seen.title, QStringLiteral("Z&V Tavelworks"));
    QCOMPARE(seen.text, QStringLiteral("The file was not found."));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.parent, &owner);
  }

  void question_data() {
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(QMessageBox::Yes) << int(MessageAnswer::Yes);
    QTest::newRow("no") << int(QMessageBox::No) << int(MessageAnswer::No);
    QTest::newRow("escape") << int(QMessageBox::NoButton) << int(MessageAnswer::No);
  }

  void question() {
    QFETCH(int, press);
    QFETCH(int, answer);
    QtMessageBoxPresenter presenter;
    SeenBox seen;
    answerBox(seen, QMessageBox::StandardButton(press));
    const MessageAnswer given =
        presenter.present({"", "Would you like to overwrite it?", MessageKind::Question});
    QCOMPARE(int(given), answer);
    // A request without a caption gets the application title.
    QCOMPARE(seen.title, QStringLiteral("Z&V Tavelworks"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, QMessageBox::Yes);
    QVERIFY(seen.parent == nullptr);
  }

  void parentThatIsGoneIsDropped() {
    QtMessageBoxPresenter presenter;
    {
      QWidget owner;
      presenter.setParent(&owner);
      QCOMPARE(presenter.parent(), &owner);
    }
    QVERIFY(presenter.parent() == nullptr);
  }

  void messageFromWorkerThread() {
    QtMessageBoxPresenter presenter;
    SeenBox seen;
    answerBox(seen, QMessageBox::Yes);
    std::atomic<bool> done{false};
    MessageAnswer answer = MessageAnswer::Ok;
    std::thread worker([&] {
      answer = presenter.present({"Z&V Tavelworks", "Out of memory?", MessageKind::Question});
      done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 20000);
    worker.join();
    QCOMPARE(answer, MessageAnswer::Yes);
    QCOMPARE(seen.text, QStringLiteral("Out of memory?"));
  }
};

}  // namespace zv::test

QTEST_MAIN(zv::test::QtMessageBoxPresenterTest)
#include "qt_message_box_presenter_test.moc"
