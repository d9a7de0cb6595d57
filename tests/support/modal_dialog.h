// Answers the modal windows the code under test opens with exec(), the way a
// user would: each step of a script waits for the next modal window (a sheet,
// then perhaps a message box over it, or a window of a given type) and acts
// on its real widgets, found by their accessible names. The event loop runs
// throughout: a timer looks for the window, nothing sleeps.
//
//   ModalScript       a script of steps that lives as long as the test's
//                     call: then(step) for the next modal window whatever it
//                     is, thenOn<T>(action) for the next one of type T;
//   whenModal<T>(a)   one step on the next modal window of type T, from a
//                     script that deletes itself once it has run, or gives up
//                     with a warning after `limitMs` without such a window,
//                     so that the test's own checks fail rather than hang.
#ifndef ZV_TESTS_SUPPORT_MODAL_DIALOG_H
#define ZV_TESTS_SUPPORT_MODAL_DIALOG_H

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zv::test {

class ModalScript : public QObject {
 public:
  using Step = std::function<void(QWidget* modal)>;

  explicit ModalScript(QObject* parent = nullptr) : QObject(parent) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
  }

  // Adds a step for the next modal window that is not the one handled last
  // (or the same one again, when `sameWindow`).
  void then(Step step, bool sameWindow = false) {
    steps_.push_back({std::move(step), nullptr, "a modal window", sameWindow});
    timer_.start();
  }

  // Adds a step for the next modal window of type T; a modal window of
  // another type in front of it is waited out.
  template <class T>
  void thenOn(std::function<void(T&)> action) {
    Step step = [action = std::move(action)](QWidget* modal) { action(*qobject_cast<T*>(modal)); };
    steps_.push_back({std::move(step), [](QWidget* modal) { return qobject_cast<T*>(modal) != nullptr; },
                      T::staticMetaObject.className(), false});
    timer_.start();
  }

  // After `limitMs` of waiting, the steps not yet run are dropped with a
  // warning that names the window the next one waited for.
  void giveUpAfter(int limitMs) {
    limit_ms_ = limitMs;
    clock_.start();
  }

  // The script deletes itself once its last step has run or it gave up.
  void deleteWhenFinished() { delete_when_finished_ = true; }

  bool finished() const { return steps_.empty(); }
  // The texts of the message boxes seen, in order.
  const std::vector<std::string>& messages() const { return messages_; }

  // A step that notes the message box's text and presses its button
  // (OK, or the given one).
  Step answerMessage(QMessageBox::StandardButton button = QMessageBox::Ok) {
    return [this, button](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) {
        failures_ += "expected a message box, found " + modal->windowTitle().toStdString() + "\n";
        modal->close();
        return;
      }
      messages_.push_back(box->text().toStdString());
      QAbstractButton* answer = box->button(button);
      if (answer) answer->click();
      else box->close();
    };
  }

  const std::string& failures() const { return failures_; }

  // The control of type T whose accessible name is `name`, or null.
  template <class T>
  static T* find(QWidget* root, const QString& name) {
    for (T* widget : root->findChildren<T*>())
      if (widget->accessibleName() == name) return widget;
    return nullptr;
  }

  static void press(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    for (auto* box : dialog->findChildren<QDialogButtonBox*>())
      if (QPushButton* button = box->button(which)) {
        button->click();
        return;
      }
  }

 private:
  struct Pending {
    Step step;
    std::function<bool(QWidget*)> accepts;  // null: any modal window
    const char* waitsFor;
    bool sameWindow;
  };

  void poll() {
    if (steps_.empty()) {
      timer_.stop();
      return;
    }
    if (limit_ms_ >= 0 && clock_.elapsed() >= limit_ms_) {
      qWarning("ModalScript: no %s opened within %d ms", steps_.front().waitsFor, limit_ms_);
      steps_.clear();
      timer_.stop();
      if (delete_when_finished_) deleteLater();
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (modal == last_ && !steps_.front().sameWindow) return;
    if (steps_.front().accepts && !steps_.front().accepts(modal)) return;
    last_ = modal;
    if (qEnvironmentVariableIsSet("ZV_MODAL_SCRIPT_TRACE")) qInfo("modal step on %s \"%s\"", modal->metaObject()->className(), qPrintable(modal->windowTitle()));
    Pending pending = std::move(steps_.front());
    steps_.pop_front();
    // Run the step from the event loop, not from inside this timer's slot:
    // a step that opens a nested loop (a button that shows a message box)
    // must let this timer fire again, which Qt does not do while its slot is
    // still running.
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [this, step = std::move(pending.step), target] {
      if (target) step(target);
      if (steps_.empty() && delete_when_finished_) deleteLater();
    });
  }

  QTimer timer_;
  std::deque<Pending> steps_;
  QPointer<QWidget> last_;  // cleared when that window is destroyed
  std::vector<std::string> messages_;
  std::string failures_;
  QElapsedTimer clock_;
  int limit_ms_ = -1;
  bool delete_when_finished_ = false;
};

// One step on the next modal window of type T (see above).
template <typename T>
void whenModal(std::function<void(T&)> action, int limitMs = 20000) {
  auto* script = new ModalScript(qApp);
  script->giveUpAfter(limitMs);
  script->deleteWhenFinished();
  script->thenOn<T>(std::move(action));
}

}  // namespace zv::test

#endif  // ZV_TESTS_SUPPORT_MODAL_DIALOG_H
