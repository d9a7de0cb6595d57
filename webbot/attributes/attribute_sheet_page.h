// A page of the applet attribute sheet.
//
// A page is made with its values and fills its controls when it is first
// shown (a page the author never looks at keeps the values it was given).
// Leaving the page, and OK on the sheet, read the controls back through
// saveControls(), which may refuse a field: it then shows the reason, puts
// the focus into the field, and the page stays.
//
// The web component's Edit sheet puts its own General page in front of the
// Required and Optional pages; it derives from this class as well.
#ifndef ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_SHEET_PAGE_H
#define ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_SHEET_PAGE_H

#include <QWidget>

class QLabel;

namespace zv {

class CAttributeSheetPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // Reads the controls into the page's values, in the page's exchange
  // order. False when a field was refused (its message has been shown).
  // A page that has not been opened has nothing to read and succeeds.
  virtual bool saveControls() = 0;

  // True once the page has filled its controls.
  bool isOpened() const { return opened_; }
  // Opens the page now if it has not been opened (the sheet does this for
  // the page it shows first; tests use it to reach a page's controls).
  void ensureOpened();

 protected:
  // Fills the controls from the values and sets the page up; called once.
  virtual void openPage() = 0;
  void showEvent(QShowEvent* event) override;

  // The page's first line, in the dialog font made bold.
  static QLabel* makeTitle(const QString& text, QWidget* parent);

 private:
  bool opened_ = false;
};

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_SHEET_PAGE_H
