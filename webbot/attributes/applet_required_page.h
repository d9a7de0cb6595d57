// CPageAppletRequired: the applet's size, class, codebase, element name and
// alignment ("Advanced applet parameters that are either required or
// common").
//
// Width and height are integers from 10 to 32767. With "Calculate width"
// ticked the width is not typed but follows the height: height x button
// count, at most 32767, recomputed whenever the height changes, and the
// width field is disabled. The button count comes from the opener (the
// wizard's applet page stores it) or, in the web component, from a source
// the Edit sheet's General page supplies.
#ifndef ZV_WEBBOT_ATTRIBUTES_APPLET_REQUIRED_PAGE_H
#define ZV_WEBBOT_ATTRIBUTES_APPLET_REQUIRED_PAGE_H

#include <functional>

#include "platform/message_presenter.h"
#include "webbot/attributes/applet_attribute_values.h"
#include "webbot/attributes/attribute_sheet_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zv {

class SpinEdit;

// The range of the width and the height, in pixels.
inline constexpr int kAppletDimensionMinimum = 10;
inline constexpr int kAppletDimensionMaximum = 32767;

class CPageAppletRequired : public CAttributeSheetPage {
  Q_OBJECT

 public:
  explicit CPageAppletRequired(MessagePresenter& presenter, QWidget* parent = nullptr);

  // The values the page shows when it opens (and at once, if it is open).
  void setValues(const RequiredAppletAttributes& values);
  // The values as last read back from the controls (or as set).
  const RequiredAppletAttributes& values() const { return values_; }

  // The button count for the width calculation, stored by the opener.
  void setButtonCount(int buttonCount) { button_count_ = buttonCount; }
  // A source asked for the button count each time the width is calculated;
  // it takes the place of the stored count (the Edit sheet's General page:
  // its button index plus one).
  void setButtonCountSource(std::function<int()> source) { button_count_source_ = std::move(source); }
  int buttonCount() const { return button_count_source_ ? button_count_source_() : button_count_; }
  // The button count has changed: with "Calculate width" ticked, the width
  // follows at once.
  void buttonCountChanged() { heightChanged(); }

  bool saveControls() override;

  SpinEdit* widthField() const { return width_; }
  SpinEdit* heightField() const { return height_; }
  QLineEdit* classNameField() const { return class_name_; }
  QLineEdit* codebaseField() const { return codebase_; }
  QComboBox* tagList() const { return tag_; }
  QCheckBox* saveBox() const { return save_; }
  QComboBox* alignmentList() const { return alignment_; }
  QCheckBox* calculateWidthBox() const { return calculate_width_; }

 protected:
  void openPage() override;

 private:
  void showValues();
  void calculateWidth();
  void calculateWidthClicked();
  void heightChanged();

  MessagePresenter& presenter_;
  RequiredAppletAttributes values_;
  int button_count_ = 1;
  std::function<int()> button_count_source_;

  SpinEdit* width_;
  SpinEdit* height_;
  QLineEdit* class_name_;
  QLineEdit* codebase_;
  QComboBox* tag_;
  QCheckBox* save_;
  QComboBox* alignment_;
  QCheckBox* calculate_width_;
};

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_APPLET_REQUIRED_PAGE_H
