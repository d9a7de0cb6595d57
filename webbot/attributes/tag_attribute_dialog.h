// CTagAttributeDialog, "Tag Attribute": one further attribute of the applet
// element, its name and its value.
//
// OK is enabled only while both fields hold text. On OK the value is checked
// first (a value with spaces must be quoted at both ends, which the dialog
// offers to repair; no double quote inside the quotes), then the name
// (letters, digits and hyphens). A refused value or name keeps the dialog
// open with the field's text as typed (or as repaired) and the focus in
// the field at fault. The encoder build has a "&Help" button as well.
#ifndef ZV_WEBBOT_ATTRIBUTES_TAG_ATTRIBUTE_DIALOG_H
#define ZV_WEBBOT_ATTRIBUTES_TAG_ATTRIBUTE_DIALOG_H

#include <string>

#include <QDialog>

#include "platform/message_presenter.h"

class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zv {

class CTagAttributeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CTagAttributeDialog(MessagePresenter& presenter, QWidget* parent = nullptr);

  // The fields' texts when the dialog opens (empty for a new attribute).
  void setAttribute(const std::string& name, const std::string& value);

  // After OK: the accepted name and value.
  std::string name() const { return name_; }
  std::string value() const { return value_; }

  QLineEdit* nameField() const { return name_field_; }
  QPlainTextEdit* valueField() const { return value_field_; }
  QPushButton* okButton() const;
  QPushButton* cancelButton() const;
  // Null in the web component's build.
  QPushButton* helpButton() const { return help_button_; }

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateOkButton();
  bool checkValue();
  bool checkName();
  void showHelp();

  MessagePresenter& presenter_;
  QLineEdit* name_field_;
  QPlainTextEdit* value_field_;
  QDialogButtonBox* buttons_;
  QPushButton* help_button_ = nullptr;
  std::string name_;
  std::string value_;
};

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_TAG_ATTRIBUTE_DIALOG_H
