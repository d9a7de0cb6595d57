// DoZvEncoder called by a program that already runs a QApplication (as the
// insertion program does): the wizard runs inside the caller's application
// object, which stays the same object and keeps running afterwards. The
// wizard is operated by the test hand of tests/c_abi, loaded here while the
// application exists, so that Qt starts it at once.
#include <dlfcn.h>
#include <stdlib.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QThreadPool>

#include <cstring>
#include <string>

#include <zv/zv_encoder.h>

class DoZvEncoderInQtAppTest : public QObject {
  Q_OBJECT

 private slots:
  void runsInTheCallersApplication() {
    QCoreApplication* before = QCoreApplication::instance();
    QVERIFY(qobject_cast<QApplication*>(before) != nullptr);
    ::setenv("ZV_WIZARD_DRIVER_SCRIPT", "gallery-finish", 1);
    QVERIFY2(::dlopen(ZV_WIZARD_DRIVER, RTLD_NOW | RTLD_GLOBAL) != nullptr, ::dlerror());

    SystemString markup = nullptr;
    WizardResult result;
    std::memset(&result, 0, sizeof result);
    QCOMPARE(DoZvEncoder(0, &markup, &result), ZV_WIZARD_FINISHED);
    QCOMPARE(QCoreApplication::instance(), before);
    QVERIFY(result.clipFile != nullptr);
    QVERIFY(std::string(result.clipFile).ends_with("/Gallery/speech-sample-music.zvsa"));
    QVERIFY(markup != nullptr && std::strstr(markup, "VALUE=\"speech-sample-music.zvsa\"") != nullptr);
    for (SystemString text : {result.className, result.codebase, result.tag, result.alignment,
                              result.bodyText, result.otherAttributes, result.clipFile})
      SysFreeString(text);
    SysFreeString(markup);

    // The caller's event loop still delivers events.
    bool delivered = false;
    QMetaObject::invokeMethod(qApp, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(delivered);
  }

  // Qt may still have pooled work of the wizard's widgets running when the
  // test ends; the caller waits for it, as a program that exits should, so
  // that the pool's threads are gone before the leak check at exit.
  void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(DoZvEncoderInQtAppTest)
#include "do_zv_encoder_in_qt_app_test.moc"
