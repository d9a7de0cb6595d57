// Reading a dialog's integer fields back, with the dialog layer's messages:
// a refused field shows its message through the message layer, takes the
// focus with its text selected, and the caller's save fails.
#ifndef ZV_WIDGETS_DIALOG_EXCHANGE_H
#define ZV_WIDGETS_DIALOG_EXCHANGE_H

#include <optional>
#include <string>

#include "platform/message_presenter.h"

class QLineEdit;
class QWidget;

namespace zv {

// The caption of the dialog layer's messages: the application title.
inline constexpr char kDialogMessageCaption[] = "Z&V Tavelworks";

// Shows `text` as an information message with the application title.
void showDialogMessage(MessagePresenter& presenter, const std::string& text);

// Gives `field` the focus, selecting all of its text when it is a line edit,
// so that the author can type the correction at once.
void focusRefusedField(QWidget& field);

// The field's integer; when its text is not one: message 61712, the focus
// in the field, nothing returned.
std::optional<int> exchangeInteger(QLineEdit& field, MessagePresenter& presenter);

// As exchangeInteger(), then the value must lie in low..high; outside it:
// message 61713 with low and high, the focus in the field, nothing returned.
std::optional<int> exchangeIntegerInRange(QLineEdit& field, MessagePresenter& presenter, int low,
                                          int high);

}  // namespace zv

#endif  // ZV_WIDGETS_DIALOG_EXCHANGE_H
