#include "widgets/spin_edit.h"

#include <algorithm>

#include <QEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>

#include "widgets/dialog_integer.h"

namespace zv {

namespace {

QToolButton* makeArrowButton(QWidget* parent, Qt::ArrowType arrow, const QString& name) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoRepeat(true);
  button->setCursor(Qt::ArrowCursor);
  button->setAccessibleName(name);
  return button;
}

}  // namespace

SpinEdit::SpinEdit(QWidget* parent)
    : QLineEdit(parent),
      up_(makeArrowButton(this, Qt::UpArrow, tr("Increase"))),
      down_(makeArrowButton(this, Qt::DownArrow, tr("Decrease"))) {
  connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
  placeButtons();
}

void SpinEdit::setRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
}

void SpinEdit::stepBy(int steps) {
  const std::string current = text().toStdString();
  const bool hasNumber = current.find_first_of("0123456789") != std::string::npos;
  const long long start = hasNumber ? leadingInteger(current) : minimum_;
  const int value =
      static_cast<int>(std::clamp<long long>(start + steps, minimum_, maximum_));
  setText(QString::number(value));
  emit stepped(value);
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    if (event->key() == Qt::Key_Up) return stepBy(1);
    if (event->key() == Qt::Key_Down) return stepBy(-1);
  }
  QLineEdit::keyPressEvent(event);
}

void SpinEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  placeButtons();
}

void SpinEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  // The buttons follow the edit: a disabled field cannot be stepped either.
  if (event->type() == QEvent::EnabledChange) {
    up_->setEnabled(isEnabled());
    down_->setEnabled(isEnabled());
  }
}

void SpinEdit::placeButtons() {
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int inner = std::max(2, height() - 2 * frame);
  const int buttonWidth = std::max(14, inner * 3 / 4);
  const int upHeight = inner / 2;
  const int x = width() - frame - buttonWidth;
  up_->setGeometry(x, frame, buttonWidth, upHeight);
  down_->setGeometry(x, frame + upHeight, buttonWidth, inner - upHeight);
  setTextMargins(0, 0, buttonWidth, 0);
}

}  // namespace zv
