// Acting on a modal dialog that the code under test opens with exec().
//
// whenModal<T>(action) returns at once; as soon as the event loop runs with
// a dialog of type T as the active modal widget (inside its exec()), it
// calls action(dialog) once. It polls with zero-length timers and never
// sleeps; after `limitMs` without such a dialog it gives up with a warning,
// so the test's own checks fail instead of the test hanging.
#ifndef ZV_TESTS_SUPPORT_MODAL_DIALOG_H
#define ZV_TESTS_SUPPORT_MODAL_DIALOG_H

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>

#include <functional>

namespace zv::test {

template <typename T>
void whenModal(std::function<void(T&)> action, int limitMs = 20000) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(0);
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, limitMs] {
    T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr && clock->elapsed() < limitMs) return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (dialog == nullptr) {
      qWarning("whenModal: no %s opened", T::staticMetaObject.className());
      return;
    }
    action(*dialog);
  });
  timer->start();
}

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_MODAL_DIALOG_H
