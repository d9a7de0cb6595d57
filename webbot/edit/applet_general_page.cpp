#include "webbot/edit/applet_general_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "webbot/edit/edit_strings.h"
#include "widgets/caption_mnemonic.h"
#include "widgets/dialog_exchange.h"
#include "widgets/dialog_integer.h"
#include "widgets/spin_edit.h"

namespace zv::webbot {

namespace {

// A control's accessible name: its label's text without the mnemonic mark.

// Whether `text` is an integer to the dialog layer apart from its size:
// blanks, a sign, at least one digit, blanks.
bool isIntegerText(const std::string& text) {
  std::size_t at = 0;
  auto blank = [&](std::size_t i) { return text[i] == ' ' || text[i] == '\t'; };
  while (at < text.size() && blank(at)) ++at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const std::size_t digits = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at == digits) return false;
  while (at < text.size() && blank(at)) ++at;
  return at == text.size();
}

}  // namespace

CPageAppletGeneral::CPageAppletGeneral(const GeneralValues& values, MessagePresenter& presenter,
                                       QWidget* parent)
    : CAttributeSheetPage(parent), values_(values), presenter_(presenter) {
  auto* title = makeTitle(QString::fromStdString(editMessage(kIdsGeneralIntroduction)), this);

  buttons_ = new QComboBox(this);
  buttons_->addItems({tr("One button"), tr("Two buttons"), tr("Three buttons")});
  auto* buttonsLabel = new QLabel(tr("&Select number of buttons"), this);
  buttonsLabel->setBuddy(buttons_);
  buttons_->setAccessibleName(captionText(buttonsLabel->text()));

  autoplay_ = new QCheckBox(tr("&Autoplay"), this);
  autoplay_->setAccessibleName(captionText(autoplay_->text()));
  visible_ = new QCheckBox(tr("&Visible"), this);
  visible_->setAccessibleName(captionText(visible_->text()));

  // The count radio button has no text of its own: it reads with the label
  // before it and "time(s)" after the count field.
  count_radio_ = new QRadioButton(this);
  auto* playLabel = new QLabel(tr("&Play"), this);
  playLabel->setBuddy(count_radio_);
  count_radio_->setAccessibleName(tr("Play"));
  count_ = new SpinEdit(this);
  count_->setAccessibleName(tr("Play count"));
  count_->setAccessibleDescription(tr("time(s)"));
  count_->setMaximumWidth(110);
  auto* timesLabel = new QLabel(tr("time(s)"), this);
  continuously_ = new QRadioButton(tr("C&ontinuously"), this);
  continuously_->setAccessibleName(captionText(continuously_->text()));
  auto* playMode = new QButtonGroup(this);
  playMode->addButton(count_radio_, 0);
  playMode->addButton(continuously_, 1);

  text_only_ = new QCheckBox(tr("Use &text only for WebBot in FrontPage Editor, instead of image"), this);
  text_only_->setAccessibleName(captionText(text_only_->text()));

  auto* grid = new QGridLayout;
  grid->addWidget(buttonsLabel, 0, 0);
  grid->addWidget(buttons_, 0, 1, 1, 3);
  grid->addWidget(autoplay_, 1, 0, 1, 4);
  grid->addWidget(visible_, 2, 0, 1, 4);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(count_radio_);
  countRow->addWidget(playLabel);
  countRow->addWidget(count_);
  countRow->addWidget(timesLabel);
  countRow->addStretch();
  grid->addLayout(countRow, 3, 0, 1, 4);
  grid->addWidget(continuously_, 4, 0, 1, 4);
  grid->setColumnStretch(3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addSpacing(8);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addWidget(text_only_);
  layout->addStretch();

  setTabOrder(buttons_, autoplay_);
  setTabOrder(autoplay_, visible_);
  setTabOrder(visible_, count_radio_);
  setTabOrder(count_radio_, count_);
  setTabOrder(count_, continuously_);
  setTabOrder(continuously_, text_only_);

  connect(count_radio_, &QRadioButton::toggled, this, [this] { updateCountEnabled(); });
  connect(buttons_, &QComboBox::currentIndexChanged, this,
          [this](int index) { emit buttonCountChanged(index + 1); });
}

int CPageAppletGeneral::buttonCount() const { return buttons_->currentIndex() + 1; }

void CPageAppletGeneral::openPage() {
  count_->setRange(kSpinMinimum, kSpinMaximum);
  {
    // Filling the controls is not the author's choice of a button count.
    const QSignalBlocker quiet(buttons_);
    buttons_->setCurrentIndex(values_.buttonIndex >= 0 && values_.buttonIndex <= 2 ? values_.buttonIndex : 0);
  }
  autoplay_->setChecked(values_.autoplay);
  visible_->setChecked(values_.visible);
  (values_.continuously ? continuously_ : count_radio_)->setChecked(true);
  count_->setText(QString::fromStdString(values_.countText));
  text_only_->setChecked(values_.textOnlyPreview);
  updateCountEnabled();
  emit buttonCountChanged(buttonCount());
  // The count is checked whenever the page exchanges its values, filling
  // included: a stored count the author must correct is reported at once.
  checkCount();
}

void CPageAppletGeneral::updateCountEnabled() { count_->setEnabled(count_radio_->isChecked()); }

bool CPageAppletGeneral::checkCount() {
  // The field is an integer field in both play modes; only the count radio
  // button makes it a play count that must be valid.
  const std::string text = count_->text().toStdString();
  if (!isIntegerText(text)) {
    showDialogMessage(presenter_, integerMessage());
    focusRefusedField(*count_);
    return false;
  }
  if (!count_radio_->isChecked()) return true;
  // strtol's reading: digits up to the first other character; beyond the
  // range, the limit. Anything after the number (trailing blanks included)
  // is not part of a valid count.
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0') {
    showEditMessage(presenter_, kIdsPlayCountNotANumber);
    focusRefusedField(*count_);
    return false;
  }
  if (value < 1) {
    showEditMessage(presenter_, kIdsPlayCountOutOfRange);
    focusRefusedField(*count_);
    return false;
  }
  return true;
}

bool CPageAppletGeneral::saveControls() {
  if (!isOpened()) return true;
  if (!checkCount()) return false;
  values_.buttonIndex = buttons_->currentIndex();
  values_.autoplay = autoplay_->isChecked();
  values_.visible = visible_->isChecked();
  values_.continuously = continuously_->isChecked();
  values_.countText = count_->text().toStdString();
  values_.textOnlyPreview = text_only_->isChecked();
  return true;
}

}  // namespace zv::webbot
