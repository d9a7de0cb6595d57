// CViewHtmlDialog, "View HTML": the applet markup the wizard would produce,
// shown read-only so that the author can look at it (and copy it) before
// finishing.
#ifndef ZV_WIZARD_VIEW_HTML_DIALOG_H
#define ZV_WIZARD_VIEW_HTML_DIALOG_H

#include <string>

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zv {

class CViewHtmlDialog : public QDialog {
  Q_OBJECT

 public:
  // `markup`: the text to show, lines ending in CR LF (as the generator
  // writes it for an edit box).
  explicit CViewHtmlDialog(std::string markup, QWidget* parent = nullptr);

  // The text as handed in.
  const std::string& markup() const { return markup_; }
  QPlainTextEdit* markupField() const { return field_; }
  QPushButton* okButton() const { return ok_; }

 private:
  std::string markup_;
  QPlainTextEdit* field_;
  QPushButton* ok_;
};

}  // namespace zv

#endif  // ZV_WIZARD_VIEW_HTML_DIALOG_H
