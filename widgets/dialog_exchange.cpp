#include "widgets/dialog_exchange.h"

#include <QLineEdit>
#include <QWidget>

#include "widgets/dialog_integer.h"

namespace zv {

void showDialogMessage(MessagePresenter& presenter, const std::string& text) {
  presenter.present({kDialogMessageCaption, text, MessageKind::Information});
}

void focusRefusedField(QWidget& field) {
  field.setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(&field)) edit->selectAll();
}

std::optional<int> exchangeInteger(QLineEdit& field, MessagePresenter& presenter) {
  const std::optional<int> value = parseDialogInteger(field.text().toStdString());
  if (!value) {
    showDialogMessage(presenter, integerMessage());
    focusRefusedField(field);
  }
  return value;
}

std::optional<int> exchangeIntegerInRange(QLineEdit& field, MessagePresenter& presenter, int low,
                                          int high) {
  const std::optional<int> value = exchangeInteger(field, presenter);
  if (!value) return std::nullopt;
  if (*value < low || *value > high) {
    showDialogMessage(presenter, integerRangeMessage(low, high));
    focusRefusedField(field);
    return std::nullopt;
  }
  return value;
}

}  // namespace zv
