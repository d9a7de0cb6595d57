// CPageAppletProperties, "Applet Attributes": the wizard's last page, with
// every applet setting that ends up in the result.
//
// On the page itself: the number of player buttons, autoplay, visibility and
// how often the clip plays. Behind "A&dvanced Applet Attributes" (the
// attribute sheet of webbot/attributes): size, class, codebase, tag,
// alignment, body text and the further attributes; the sheet's save boxes
// write them to the settings store as the next run's defaults. The page
// starts from the store's values, and "View &Resulting HTML" shows the
// markup that Finish would produce, without touching any file.
//
// With "Calculate width" set, the width is height x button count, at most
// 32767, recomputed when the button count changes. Finish (validatePage())
// reads the controls back: the play count must be an integer, and, when
// the clip plays a number of times, a plain decimal number from 1 to 32767.
#ifndef ZV_WIZARD_APPLET_PROPERTIES_PAGE_H
#define ZV_WIZARD_APPLET_PROPERTIES_PAGE_H

#include <functional>
#include <string>

#include <QWizardPage>

#include "webbot/attributes/applet_attribute_values.h"
#include "webbot/markup/applet_values.h"
#include "wizard/wizard_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zv {

class SettingsStore;
class SpinEdit;

// The play count's range.
inline constexpr int kPlayCountMinimum = 1;
inline constexpr int kPlayCountMaximum = 32767;

class CPageAppletProperties : public QWizardPage {
  Q_OBJECT

 public:
  // Reads its defaults from `store` now; `store` must outlive the page (the
  // advanced sheet's save boxes write to it). The page reads nothing of the
  // shared state: where Back leads is the sheet's history.
  CPageAppletProperties(WizardState& state, WizardServices& services, SettingsStore& store,
                        QWidget* parent = nullptr);

  // Reads the controls back and checks the play count; false (with the
  // message shown and the focus in the count) keeps the wizard open.
  bool validatePage() override;
  // The last page: Finish, no Next.
  int nextId() const override { return -1; }

  // The twelve applet settings as last read back (Finish reads the page
  // first): play count -1 when "Continuously" is chosen, the attribute map
  // joined into the other-attributes text.
  AppletValues appletValues() const;

  // The clip name "View &Resulting HTML" puts into the markup (the sheet
  // knows it: the gallery clip's or the output page's name plus ".zvsa").
  // Asked each time the preview is made; unset, the clip name is empty.
  void setPreviewClipName(std::function<std::string()> clipName) {
    preview_clip_name_ = std::move(clipName);
  }

  // The markup the preview shows: the values held (after reading the
  // controls back, whatever the count check said), lines ending in CR LF.
  std::string previewMarkup();

  // The settings held without a control on this page.
  const RequiredAppletAttributes& requiredAttributes() const { return required_; }
  const OptionalAppletAttributes& optionalAttributes() const { return optional_; }

  QComboBox* buttonCountList() const { return button_count_; }
  QCheckBox* autoplayBox() const { return autoplay_; }
  QCheckBox* visibleBox() const { return visible_; }
  QRadioButton* playTimesButton() const { return play_times_; }
  QRadioButton* continuouslyButton() const { return continuously_; }
  SpinEdit* playCountField() const { return play_count_; }
  QPushButton* advancedButton() const { return advanced_; }
  QPushButton* viewHtmlButton() const { return view_html_; }

 private:
  bool saveControls();
  bool checkPlayCount();
  void recomputeWidth();
  void playModeChanged();
  void openAdvancedAttributes();
  void showResultingHtml();

  WizardServices& services_;
  SettingsStore& store_;
  std::function<std::string()> preview_clip_name_;

  // Values read back from the controls by the last save.
  int button_index_ = 1;  // 0..2: one, two or three buttons
  bool autoplay_on_ = false;
  bool visible_on_ = true;
  bool plays_continuously_ = false;
  int play_count_value_ = 1;
  // Values without a control here (the advanced sheet's).
  RequiredAppletAttributes required_;
  OptionalAppletAttributes optional_;

  QLabel* intro_;
  QComboBox* button_count_;
  QCheckBox* autoplay_;
  QCheckBox* visible_;
  QRadioButton* play_times_;
  QRadioButton* continuously_;
  SpinEdit* play_count_;
  QPushButton* advanced_;
  QPushButton* view_html_;
};

}  // namespace zv

#endif  // ZV_WIZARD_APPLET_PROPERTIES_PAGE_H
