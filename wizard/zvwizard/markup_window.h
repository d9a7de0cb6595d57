// "The Clip's HTML": the last window of zvwizard's windows' road. It says
// where the clip went and shows the markup that embeds the player for it;
// Copy puts the markup on the clipboard, Close (or Esc) ends.
#ifndef ZV_WIZARD_ZVWIZARD_MARKUP_WINDOW_H
#define ZV_WIZARD_ZVWIZARD_MARKUP_WINDOW_H

#include <string>

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zv {

class MarkupWindow : public QDialog {
  Q_OBJECT

 public:
  // `whereTheClipIs`: one sentence; `markup`: lines ending in LF.
  MarkupWindow(const std::string& whereTheClipIs, std::string markup, QWidget* parent = nullptr);

  const std::string& markup() const { return markup_; }
  QLabel* whereLabel() const { return where_; }
  QPlainTextEdit* markupField() const { return field_; }
  QLabel* copiedLabel() const { return copied_; }
  QPushButton* copyButton() const { return copy_; }
  QPushButton* closeButton() const { return close_; }

 private:
  void copyMarkup();

  std::string markup_;
  QLabel* where_;
  QPlainTextEdit* field_;
  QLabel* copied_;
  QPushButton* copy_;
  QPushButton* close_;
};

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_MARKUP_WINDOW_H
