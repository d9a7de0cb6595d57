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
      buttonCount_(new QComboBox(this)),
      autoplay_(new QCheckBox(tr("&Autoplay"), this)),
      visible_(new QCheckBox(tr("&Visible"), this)),
      playTimes_(new QRadioButton(tr("&Play"), this)),
      continuously_(new QRadioButton(tr("&Continuously"), this)),
      playCount_(new SpinEdit(this)),
      advanced_(new QPushButton(tr("A&dvanced Applet Attributes"), this)),
      viewHtml_(new QPushButton(tr("View &Resulting HTML"), this)) {
  setTitle(tr("Applet Attributes"));
  QFont bold = intro_->font();
  bold.setWeight(QFont::Bold);
  intro_->setFont(bold);
  intro_->setWordWrap(true);

  buttonCount_->addItems({tr("One button"), tr("Two buttons"), tr("Three buttons")});
  auto* buttonCountLabel = new QLabel(tr("&Select number of buttons"), this);
  buttonCountLabel->setBuddy(buttonCount_);
  buttonCount_->setAccessibleName(captionText(buttonCountLabel->text()));
  autoplay_->setAccessibleName(captionText(autoplay_->text()));
  visible_->setAccessibleName(captionText(visible_->text()));
  playTimes_->setAccessibleName(captionText(playTimes_->text()));
  continuously_->setAccessibleName(captionText(continuously_->text()));
  playCount_->setAccessibleName(tr("Play count"));
  playCount_->setMaximumWidth(90);
  advanced_->setAccessibleName(captionText(advanced_->text()));
  viewHtml_->setAccessibleName(captionText(viewHtml_->text()));
  advanced_->setAutoDefault(false);
  viewHtml_->setAutoDefault(false);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(playTimes_);
  countRow->addWidget(playCount_);
  countRow->addWidget(new QLabel(tr("time(s)"), this));
  countRow->addStretch(1);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(buttonCountLabel);
  buttonRow->addWidget(buttonCount_);
  buttonRow->addStretch(1);

  auto* actions = new QHBoxLayout;
  actions->addWidget(advanced_);
  actions->addWidget(viewHtml_);
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

  setTabOrder(buttonCount_, autoplay_);
  setTabOrder(autoplay_, visible_);
  setTabOrder(visible_, playTimes_);
  setTabOrder(playTimes_, playCount_);
  setTabOrder(playCount_, continuously_);
  setTabOrder(continuously_, advanced_);
  setTabOrder(advanced_, viewHtml_);

  // The controls' first values: two buttons, no autoplay, visible, play
  // once.
  buttonCount_->setCurrentIndex(buttonIndex_);
  autoplay_->setChecked(autoplayOn_);
  visible_->setChecked(visibleOn_);
  playTimes_->setChecked(!playsContinuously_);
  continuously_->setChecked(playsContinuously_);
  playCount_->setText(QString::number(playCountValue_));

  // The advanced values as the store keeps them.
  const StoredAppletAttributes stored = readAppletAttributes(store_);
  required_ = stored.required;
  optional_ = stored.optional;
  recomputeWidth();
  playModeChanged();
  playCount_->setRange(kPlayCountMinimum, kPlayCountMaximum);

  connect(buttonCount_, &QComboBox::currentIndexChanged, this,
          &CPageAppletProperties::recomputeWidth);
  connect(playTimes_, &QRadioButton::toggled, this, &CPageAppletProperties::playModeChanged);
  connect(advanced_, &QPushButton::clicked, this, &CPageAppletProperties::openAdvancedAttributes);
  connect(viewHtml_, &QPushButton::clicked, this, &CPageAppletProperties::showResultingHtml);
}

void CPageAppletProperties::recomputeWidth() {
  if (!required_.calculateWidth) return;
  required_.width = applet_defaults::calculatedWidth(required_.height,
                                                     buttonCount_->currentIndex() + 1);
}

void CPageAppletProperties::playModeChanged() {
  playCount_->setEnabled(playTimes_->isChecked());
}

bool CPageAppletProperties::validatePage() { return saveControls(); }

bool CPageAppletProperties::saveControls() {
  buttonIndex_ = buttonCount_->currentIndex();
  autoplayOn_ = autoplay_->isChecked();
  visibleOn_ = visible_->isChecked();
  playsContinuously_ = continuously_->isChecked();
  const std::optional<int> count = exchangeInteger(*playCount_, services_.presenter);
  if (!count) return false;
  playCountValue_ = *count;
  return playsContinuously_ || checkPlayCount();
}

// The count as a plain decimal number: whatever follows the number (even a
// blank the integer field allowed) makes it invalid.
bool CPageAppletProperties::checkPlayCount() {
  const std::string text = playCount_->text().toStdString();
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
  focusRefusedField(*playCount_);
  return false;
}

AppletValues CPageAppletProperties::appletValues() const {
  AppletValues values;
  values.buttonCount = buttonIndex_ + 1;
  values.autoplay = autoplayOn_ ? 1 : 0;
  values.visible = visibleOn_ ? 1 : 0;
  values.playCount = playsContinuously_ ? -1 : playCountValue_;
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
  sheet.requiredPage().setButtonCount(buttonCount_->currentIndex() + 1);
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
      previewClipName_ ? clipReferenceForPath(previewClipName_()) : std::string();
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
