// CPageAppletGeneral: the first page of the web component's "Applet
// Attributes" sheet: the number of buttons, autoplay, visibility, how often
// the clip plays, and whether the editor shows the component as text.
//
// The count field takes any number from 1 to 2,147,483,647 when typed (a
// longer run of digits counts as 2,147,483,647); its arrows step within 1 to
// 32,767. When the count radio button is selected, the field is checked
// whenever the page exchanges its values: the dialog layer's integer check
// first ("Please enter an integer."), then 10300 when characters follow the
// number and 10301 below 1 (in "Continuously" mode only the integer check).
// The check also runs when the page fills its controls, so a stored count of
// 0 is reported as soon as the page opens.
#ifndef ZV_WEBBOT_EDIT_APPLET_GENERAL_PAGE_H
#define ZV_WEBBOT_EDIT_APPLET_GENERAL_PAGE_H

#include "platform/message_presenter.h"
#include "webbot/attributes/attribute_sheet_page.h"
#include "webbot/edit/component_values.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace zv {
class SpinEdit;
}

namespace zv::webbot {

class CPageAppletGeneral : public CAttributeSheetPage {
  Q_OBJECT

 public:
  static constexpr int kSpinMinimum = 1;
  static constexpr int kSpinMaximum = 32767;

  CPageAppletGeneral(const GeneralValues& values, MessagePresenter& presenter,
                     QWidget* parent = nullptr);

  bool saveControls() override;
  const GeneralValues& values() const { return values_; }

  // The button count the combo box shows now (index + 1).
  int buttonCount() const;

  QComboBox* buttonsCombo() const { return buttons_; }
  QCheckBox* autoplayBox() const { return autoplay_; }
  QCheckBox* visibleBox() const { return visible_; }
  QRadioButton* countRadio() const { return count_radio_; }
  QRadioButton* continuouslyRadio() const { return continuously_; }
  SpinEdit* countField() const { return count_; }
  QCheckBox* textOnlyBox() const { return text_only_; }

 signals:
  // The author chose another number of buttons.
  void buttonCountChanged(int buttonCount);

 protected:
  void openPage() override;

 private:
  bool checkCount();
  void updateCountEnabled();

  GeneralValues values_;
  MessagePresenter& presenter_;
  QComboBox* buttons_;
  QCheckBox* autoplay_;
  QCheckBox* visible_;
  QRadioButton* count_radio_;
  QRadioButton* continuously_;
  SpinEdit* count_;
  QCheckBox* text_only_;
};

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_EDIT_APPLET_GENERAL_PAGE_H
