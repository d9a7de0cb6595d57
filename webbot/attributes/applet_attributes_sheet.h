// CAppletAttributesPropertySheet: the Required and Optional applet attribute
// pages in one dialog, with OK and Cancel (no Apply).
//
// The encoder wizard's applet page opens it as "Advanced Applet Attributes"
// with the two pages; the web component's Edit entry opens it as "Applet
// Attributes" and puts its General page in front (insertGeneralPage()). The
// opener fills the pages' values, runs exec(), and after Accepted reads
// them back; after Cancel nothing has changed for the opener.
//
// Leaving a page reads its controls back; a refused field keeps that page
// in front. OK does the same for every page that has been opened.
#ifndef ZV_WEBBOT_ATTRIBUTES_APPLET_ATTRIBUTES_SHEET_H
#define ZV_WEBBOT_ATTRIBUTES_APPLET_ATTRIBUTES_SHEET_H

#include <QDialog>

#include "platform/message_presenter.h"

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace zv {

class CAttributeSheetPage;
class CPageAppletOptional;
class CPageAppletRequired;

class CAppletAttributesPropertySheet : public QDialog {
  Q_OBJECT

 public:
  explicit CAppletAttributesPropertySheet(MessagePresenter& presenter, QWidget* parent = nullptr);

  CPageAppletRequired& requiredPage() const { return *required_; }
  CPageAppletOptional& optionalPage() const { return *optional_; }

  // Puts `page` in front of the Required page, titled `title`, and shows it
  // first. The sheet takes ownership.
  void insertGeneralPage(CAttributeSheetPage* page, const QString& title);

  QTabWidget* tabs() const { return tabs_; }
  QPushButton* okButton() const;
  QPushButton* cancelButton() const;

  void accept() override;

 private:
  CAttributeSheetPage* pageAt(int index) const;
  void currentPageChanged(int index);

  QTabWidget* tabs_;
  CPageAppletRequired* required_;
  CPageAppletOptional* optional_;
  QDialogButtonBox* buttons_;
  int shown_index_ = 0;
  bool returning_to_refused_page_ = false;
};

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_APPLET_ATTRIBUTES_SHEET_H
