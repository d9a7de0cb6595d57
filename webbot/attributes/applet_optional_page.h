// CPageAppletOptional: the text inside the applet element and the free list
// of its further attributes ("Advanced applet parameters that are
// optional").
//
// The list shows the attribute set sorted by name, one row per attribute;
// Add and Edit go through the Tag Attribute dialog, Remove asks first. The
// set is changed at once; the opener reads it after OK on the sheet.
#ifndef ZV_WEBBOT_ATTRIBUTES_APPLET_OPTIONAL_PAGE_H
#define ZV_WEBBOT_ATTRIBUTES_APPLET_OPTIONAL_PAGE_H

#include "platform/message_presenter.h"
#include "webbot/attributes/applet_attribute_values.h"
#include "webbot/attributes/attribute_sheet_page.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zv {

// The list's column widths, in pixels.
inline constexpr int kAttributeColumnWidth = 70;
inline constexpr int kValueColumnWidth = 300;

class CPageAppletOptional : public CAttributeSheetPage {
  Q_OBJECT

 public:
  explicit CPageAppletOptional(MessagePresenter& presenter, QWidget* parent = nullptr);

  // The values the page shows when it opens (and at once, if it is open).
  void setValues(const OptionalAppletAttributes& values);
  // The body text and save flag as last read back; the attribute set as the
  // list's buttons left it.
  const OptionalAppletAttributes& values() const { return values_; }

  bool saveControls() override;

  QPlainTextEdit* bodyTextField() const { return body_text_; }
  QTreeWidget* attributeList() const { return list_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* removeButton() const { return remove_; }
  QPushButton* editButton() const { return edit_; }
  QCheckBox* saveBox() const { return save_; }

 protected:
  void openPage() override;

 private:
  void showValues();
  void selectionChanged();
  void addAttribute();
  void removeAttribute();
  void editAttribute();
  QTreeWidgetItem* addRow(const std::string& name, const std::string& value);
  void deleteRowsNamed(const std::string& name, const QTreeWidgetItem* except = nullptr);
  QTreeWidgetItem* selectedRow() const;

  MessagePresenter& presenter_;
  OptionalAppletAttributes values_;

  QPlainTextEdit* body_text_;
  QTreeWidget* list_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* edit_;
  QCheckBox* save_;
};

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_APPLET_OPTIONAL_PAGE_H
