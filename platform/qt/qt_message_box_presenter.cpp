#include "platform/qt/qt_message_box_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QThread>

namespace zv {

namespace {

// The caption of a request that names none: the application title.
constexpr char kApplicationTitle[] = "Z&V Tavelworks";

}  // namespace

MessageAnswer QtMessageBoxPresenter::present(const MessageRequest& request) {
  // Without a widget application no box can be shown; nobody can answer.
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (application == nullptr)
    return request.kind == MessageKind::Question ? MessageAnswer::No : MessageAnswer::Ok;
  if (QThread::currentThread() == application->thread()) return presentOnGuiThread(request);

  MessageAnswer answer = MessageAnswer::Ok;
  QMetaObject::invokeMethod(
      application, [this, &request, &answer] { answer = presentOnGuiThread(request); },
      Qt::BlockingQueuedConnection);
  return answer;
}

MessageAnswer QtMessageBoxPresenter::presentOnGuiThread(const MessageRequest& request) {
  const QString caption =
      QString::fromStdString(request.caption.empty() ? kApplicationTitle : request.caption);
  const QString text = QString::fromStdString(request.text);

  QMessageBox box(parent_.data());
  box.setWindowTitle(caption);
  box.setText(text);
  box.setTextFormat(Qt::PlainText);
  box.setAccessibleName(caption);
  box.setAccessibleDescription(text);
  if (request.kind == MessageKind::Question) {
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setIcon(QMessageBox::Warning);
  box.setStandardButtons(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

}  // namespace zv
