// Answers the modal windows a library opens during a call, the way a user
// would: each step of the script waits for the next modal window (a sheet,
// then perhaps a message box over it) and acts on its real widgets, found by
// their accessible names. The event loop runs throughout: a timer looks for
// the window, nothing sleeps.
#ifndef ZV_TESTS_WEBBOT_EDIT_MODAL_SCRIPT_H
#define ZV_TESTS_WEBBOT_EDIT_MODAL_SCRIPT_H

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>

namespace zv::test {

class ModalScript : public QObject {
 public:
  using Step = std::function<void(QWidget* modal)>;

  ModalScript() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
  }

  // Adds a step for the next modal window that is not the one handled last
  // (or the same one again, when `sameWindow`).
  void then(Step step, bool sameWindow = false) {
    steps_.push_back({std::move(step), sameWindow});
    timer_.start();
  }

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
    bool sameWindow;
  };

  void poll() {
    if (steps_.empty()) {
      timer_.stop();
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    if (modal == last_ && !steps_.front().sameWindow) return;
    last_ = modal;
    if (qEnvironmentVariableIsSet("ZV_MODAL_SCRIPT_TRACE")) qInfo("modal step on %s \"%s\"", modal->metaObject()->className(), qPrintable(modal->windowTitle()));
    Pending pending = std::move(steps_.front());
    steps_.pop_front();
    // Run the step from the event loop, not from inside this timer's slot:
    // a step that opens a nested loop (a button that shows a message box)
    // must let this timer fire again, which Qt does not do while its slot is
    // still running.
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [step = std::move(pending.step), target] {
      if (target) step(target);
    });
  }

  QTimer timer_;
  std::deque<Pending> steps_;
  QPointer<QWidget> last_;  // cleared when that window is destroyed
  std::vector<std::string> messages_;
  std::string failures_;
};

}  // namespace zv::test

#endif  // ZV_TESTS_WEBBOT_EDIT_MODAL_SCRIPT_H
