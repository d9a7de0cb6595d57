// The message layer for the Qt libraries: every message is a modal
// QMessageBox.
//
// Information is shown with the warning icon and an OK button; a question
// with the question icon and Yes and No (Yes is the default button, Esc
// answers No). The caption is the request's caption, or the application
// title "Z&V Tavelworks" when the request has none.
//
// present() may be called on any thread: a call from a thread other than
// the application's GUI thread is carried over to the GUI thread and waits
// there for the answer (the jobs raise their memory message on the worker
// thread while the progress dialog runs the event loop). The GUI thread
// must therefore keep its event loop running while a worker may raise a
// message. Without a QApplication nothing is shown: information is answered
// OK and a question No.
#ifndef ZV_PLATFORM_QT_QT_MESSAGE_BOX_PRESENTER_H
#define ZV_PLATFORM_QT_QT_MESSAGE_BOX_PRESENTER_H

#include <QPointer>
#include <QWidget>

#include "platform/message_presenter.h"

namespace zv {

class QtMessageBoxPresenter : public MessagePresenter {
 public:
  // `parent`: the window the message boxes are modal to and centred on; null
  // for application-modal boxes without an owner.
  explicit QtMessageBoxPresenter(QWidget* parent = nullptr) : parent_(parent) {}

  // The window for the following messages (may be null). Kept as a guarded
  // pointer, so a window that is destroyed is simply no longer the parent.
  void setParent(QWidget* parent) { parent_ = parent; }
  QWidget* parent() const { return parent_; }

  MessageAnswer present(const MessageRequest& request) override;

 private:
  MessageAnswer presentOnGuiThread(const MessageRequest& request);

  QPointer<QWidget> parent_;
};

}  // namespace zv

#endif  // ZV_PLATFORM_QT_QT_MESSAGE_BOX_PRESENTER_H
