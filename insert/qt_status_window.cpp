#include "insert/qt_status_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "insert/insert_strings.h"

namespace zv::insert {

QtStatusWindow::QtStatusWindow(QWidget* parent)
    : QDialog(parent), bar_(new QProgressBar(this)), line_(new QLabel(this)) {
  setWindowTitle(QString::fromStdString(loadString(kInsertStrings, kStatusCaption)));
  setObjectName(QStringLiteral("StatusWindow"));
  bar_->setObjectName(QStringLiteral("progress"));
  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setRange(kStatusRangeFirst, kStatusRangeLast);
  bar_->setTextVisible(false);
  line_->setObjectName(QStringLiteral("status"));
  line_->setAccessibleName(QStringLiteral("Status"));
  line_->setMinimumWidth(360);
  line_->setTextFormat(Qt::PlainText);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  layout->addWidget(line_);
  setModal(false);
  show();
  refresh();
}

void QtStatusWindow::setProgress(int value) {
  // QProgressBar ignores values outside its range, so the bar stays full
  // once the counter passes its end.
  bar_->setValue(value);
  refresh();
}

void QtStatusWindow::setText(const std::string& text) {
  line_->setText(QString::fromStdString(text));
  refresh();
}

void QtStatusWindow::refresh() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace zv::insert
