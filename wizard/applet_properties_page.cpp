#include "wizard/applet_properties_page.h"

#include <cerrno>
#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <zv/system_string.h>
#include "webbot/attributes/applet_attributes_sheet.h"
#include "webbot/attributes/applet_optional_page.h"
#include "webbot/attributes/applet_required_page.h"
#include "webbot/markup/applet_defaults.h"
#include "webbot/markup/applet_markup.h"
#include "webbot/markup/clip_reference.h"
#include "widgets/caption_mnemonic.h"
#include "widgets/dialog_exchange.h"
#include "widgets/spin_edit.h"
#include "wizard/settings_store.h"
#include "wizard/view_html_dialog.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {


}  // namespace

CPageAppletProperties::CPageAppletProperties(WizardState& /*state*/, WizardServices& services,
                                             SettingsStore& store, QWidget* parent)
    : QWizardPage(parent),
      services_(services),
      store_(store),
      intro_(new QLabel(tr("Select the appearance and behavior of the applet"), this)),
      button_count_(new QComboBox(this)),
      autoplay_(new QCheckBox(tr("&Autoplay"), this)),
      visible_(new QCheckBox(tr("&Visible"), this)),
      play_times_(new QRadioButton(tr("&Play"), this)),
      continuously_(new QRadioButton(tr("&Continuously"), this)),
      play_count_(new SpinEdit(this)),
      advanced_(new QPushButton(tr("A&dvanced Applet Attributes"), this)),
      view_html_(new QPushButton(tr("View &Resulting HTML"), this)) {
  setTitle(tr("Applet Attributes"));
  QFont bold = intro_->font();
  bold.setWeight(QFont::Bold);
  intro_->setFont(bold);
  intro_->setWordWrap(true);

  button_count_->addItems({tr("One button"), tr("Two buttons"), tr("Three buttons")});
  auto* buttonCountLabel = new QLabel(tr("&Select number of buttons"), this);
  buttonCountLabel->setBuddy(button_count_);
  button_count_->setAccessibleName(captionText(buttonCountLabel->text()));
  autoplay_->setAccessibleName(captionText(autoplay_->text()));
  visible_->setAccessibleName(captionText(visible_->text()));
  play_times_->setAccessibleName(captionText(play_times_->text()));
  continuously_->setAccessibleName(captionText(continuously_->text()));
  play_count_->setAccessibleName(tr("Play count"));
  play_count_->setMaximumWidth(90);
  advanced_->setAccessibleName(captionText(advanced_->text()));
  view_html_->setAccessibleName(captionText(view_html_->text()));
  advanced_->setAutoDefault(false);
  view_html_->setAutoDefault(false);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(play_times_);
  countRow->addWidget(play_count_);
  countRow->addWidget(new QLabel(tr("time(s)"), this));
  countRow->addStretch(1);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(buttonCountLabel);
  buttonRow->addWidget(button_count_);
  buttonRow->addStretch(1);

  auto* actions = new QHBoxLayout;
  actions->addWidget(advanced_);
  actions->addWidget(view_html_);
  actions->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro_);
  layout->addSpacing(10);
  layout->addLayout(buttonRow);
  layout->addWidget(autoplay_);
  layout->addWidget(visible_);
  layout->addSpacing(6);
  layout->addLayout(countRow);
  layout->addWidget(continuously_);
  layout->addStretch(1);
  layout->addLayout(actions);

  setTabOrder(button_count_, autoplay_);
  setTabOrder(autoplay_, visible_);
  setTabOrder(visible_, play_times_);
  setTabOrder(play_times_, play_count_);
  setTabOrder(play_count_, continuously_);
  setTabOrder(continuously_, advanced_);
  setTabOrder(advanced_, view_html_);

  // The controls' first values: two buttons, no autoplay, visible, play
  // once.
  button_count_->setCurrentIndex(button_index_);
  autoplay_->setChecked(autoplay_on_);
  visible_->setChecked(visible_on_);
  play_times_->setChecked(!plays_continuously_);
  continuously_->setChecked(plays_continuously_);
  play_count_->setText(QString::number(play_count_value_));

  // The advanced values as the store keeps them.
  const StoredAppletAttributes stored = readAppletAttributes(store_);
  required_ = stored.required;
  optional_ = stored.optional;
  recomputeWidth();
  playModeChanged();
  play_count_->setRange(kPlayCountMinimum, kPlayCountMaximum);

  connect(button_count_, &QComboBox::currentIndexChanged, this,
          &CPageAppletProperties::recomputeWidth);
  connect(play_times_, &QRadioButton::toggled, this, &CPageAppletProperties::playModeChanged);
  connect(advanced_, &QPushButton::clicked, this, &CPageAppletProperties::openAdvancedAttributes);
  connect(view_html_, &QPushButton::clicked, this, &CPageAppletProperties::showResultingHtml);
}

void CPageAppletProperties::recomputeWidth() {
  if (!required_.calculateWidth) return;
  required_.width = applet_defaults::calculatedWidth(required_.height,
                                                     button_count_->currentIndex() + 1);
}

void CPageAppletProperties::playModeChanged() {
  play_count_->setEnabled(play_times_->isChecked());
}

bool CPageAppletProperties::validatePage() { return saveControls(); }

bool CPageAppletProperties::saveControls() {
  button_index_ = button_count_->currentIndex();
  autoplay_on_ = autoplay_->isChecked();
  visible_on_ = visible_->isChecked();
  plays_continuously_ = continuously_->isChecked();
  const std::optional<int> count = exchangeInteger(*play_count_, services_.presenter);
  if (!count) return false;
  play_count_value_ = *count;
  return plays_continuously_ || checkPlayCount();
}

// The count as a plain decimal number: whatever follows the number (even a
// blank the integer field allowed) makes it invalid.
bool CPageAppletProperties::checkPlayCount() {
  const std::string text = play_count_->text().toStdString();
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text.c_str(), &end, 10);
  unsigned problem = 0;
  if (*end != '\0')
    problem = kIdsPlayCountNotNumber;
  else if (errno == ERANGE || number < kPlayCountMinimum || number > kPlayCountMaximum)
    problem = kIdsPlayCountOutOfRange;
  if (problem == 0) return true;
  showWizardMessage(services_.presenter, problem);
  focusRefusedField(*play_count_);
  return false;
}

AppletValues CPageAppletProperties::appletValues() const {
  AppletValues values;
  values.buttonCount = button_index_ + 1;
  values.autoplay = autoplay_on_ ? 1 : 0;
  values.visible = visible_on_ ? 1 : 0;
  values.playCount = plays_continuously_ ? -1 : play_count_value_;
  values.height = required_.height;
  values.width = required_.width;
  values.className = required_.className;
  values.codebase = required_.codebase;
  values.tag = required_.tag;
  values.alignment = required_.alignment;
  values.bodyText = optional_.bodyText;
  values.otherAttributes = webbot::joinAttributeText(optional_.attributes);
  return values;
}

void CPageAppletProperties::openAdvancedAttributes() {
  CAppletAttributesPropertySheet sheet(services_.presenter, this);
  RequiredAppletAttributes required = required_;
  required.saveForNextTime = false;
  sheet.requiredPage().setValues(required);
  sheet.requiredPage().setButtonCount(button_count_->currentIndex() + 1);
  OptionalAppletAttributes optional = optional_;
  optional.saveForNextTime = false;
  sheet.optionalPage().setValues(optional);
  if (sheet.exec() != QDialog::Accepted) return;

  const RequiredAppletAttributes& newRequired = sheet.requiredPage().values();
  const OptionalAppletAttributes& newOptional = sheet.optionalPage().values();
  required_ = newRequired;
  required_.saveForNextTime = false;
  optional_.attributes = newOptional.attributes;
  optional_.bodyText = newOptional.bodyText;
  if (newRequired.saveForNextTime) writeRequiredAppletAttributes(store_, newRequired);
  if (newOptional.saveForNextTime) writeOptionalAppletAttributes(store_, newOptional);
  if (newRequired.saveForNextTime || newOptional.saveForNextTime) store_.sync();
}

std::string CPageAppletProperties::previewMarkup() {
  // A refused count is reported, but the preview still shows what is held.
  saveControls();
  const AppletValues values = appletValues();
  const std::string clipName =
      preview_clip_name_ ? clipReferenceForPath(preview_clip_name_()) : std::string();
  SystemString markup = nullptr;
  if (!GenerateAppletMarkup(values.settings(), clipName.c_str(), &markup, kMarkupLinesEndCrLf))
    return {};
  std::string text(markup);
  SysFreeString(markup);
  return text;
}

void CPageAppletProperties::showResultingHtml() {
  CViewHtmlDialog dialog(previewMarkup(), this);
  dialog.exec();
}

}  // namespace zv
