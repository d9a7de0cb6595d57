#include "webbot/attributes/applet_required_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/dialog_exchange.h"
#include "widgets/dialog_integer.h"
#include "widgets/spin_edit.h"
#include "webbot/attributes/field_label.h"
#include "webbot/attributes/attribute_build.h"
#include "webbot/attributes/combo_entry.h"
#include "webbot/markup/applet_defaults.h"

namespace zv {

CPageAppletRequired::CPageAppletRequired(MessagePresenter& presenter, QWidget* parent)
    : CAttributeSheetPage(parent),
      presenter_(presenter),
      width_(new SpinEdit(this)),
      height_(new SpinEdit(this)),
      class_name_(new QLineEdit(this)),
      codebase_(new QLineEdit(this)),
      tag_(new QComboBox(this)),
      save_(new QCheckBox(tr("&Save these properties for next time"), this)),
      alignment_(new QComboBox(this)),
      calculate_width_(new QCheckBox(tr("&Calculate width"), this)) {
  setAccessibleName(tr("Required"));
  tag_->addItems({QStringLiteral("APPLET"), QStringLiteral("OBJECT")});
  alignment_->addItems({QString(), QStringLiteral("top"), QStringLiteral("middle"),
                        QStringLiteral("bottom"), QStringLiteral("left"), QStringLiteral("right")});
  // The class name passes through the page unchanged; it is never shown.
  class_name_->setReadOnly(true);
  class_name_->setVisible(false);
  save_->setAccessibleName(tr("Save these properties for next time"));
  calculate_width_->setAccessibleName(tr("Calculate width"));
  width_->setMaximumWidth(110);
  height_->setMaximumWidth(110);

  auto* grid = new QGridLayout;
  grid->addWidget(labelFor(tr("&Width"), width_, this), 0, 0);
  grid->addWidget(width_, 0, 1);
  grid->addWidget(calculate_width_, 0, 2);
  grid->addWidget(labelFor(tr("&Height"), height_, this), 1, 0);
  grid->addWidget(height_, 1, 1);
  grid->addWidget(labelFor(tr("&Name of applet class"), class_name_, this), 2, 0);
  grid->itemAtPosition(2, 0)->widget()->setVisible(false);
  grid->addWidget(class_name_, 2, 1, 1, 2);
  grid->addWidget(labelFor(tr("Co&debase for applet class"), codebase_, this), 3, 0);
  grid->addWidget(codebase_, 3, 1, 1, 2);
  grid->addWidget(labelFor(tr("HTML &tag"), tag_, this), 4, 0);
  grid->addWidget(tag_, 4, 1);
  grid->addWidget(labelFor(tr("A&lignment"), alignment_, this), 5, 0);
  grid->addWidget(alignment_, 5, 1);
  grid->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(makeTitle(tr("Advanced applet parameters that are either required or common"),
                              this));
  layout->addSpacing(8);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addWidget(save_);
  layout->addStretch(1);

  // In the web component the values are the component's own, not defaults
  // to keep: the box is never offered.
  if constexpr (kAttributesForEditBot) save_->setVisible(false);

  setTabOrder(width_, calculate_width_);
  setTabOrder(calculate_width_, height_);
  setTabOrder(height_, codebase_);
  setTabOrder(codebase_, tag_);
  setTabOrder(tag_, alignment_);
  setTabOrder(alignment_, save_);

  // Toggled, not clicked: a box set through the accessibility interface or
  // the keyboard counts as much as a click.
  connect(calculate_width_, &QCheckBox::toggled, this, &CPageAppletRequired::calculateWidthClicked);
  connect(height_, &QLineEdit::textChanged, this, &CPageAppletRequired::heightChanged);
  connect(height_, &SpinEdit::stepped, this, &CPageAppletRequired::heightChanged);
}

void CPageAppletRequired::setValues(const RequiredAppletAttributes& values) {
  values_ = values;
  if (isOpened()) showValues();
}

// Into the controls, in the exchange order: width, height, class name,
// codebase, tag, save flag, alignment, calculate width.
void CPageAppletRequired::showValues() {
  width_->setText(QString::number(values_.width));
  height_->setText(QString::number(values_.height));
  class_name_->setText(QString::fromStdString(values_.className));
  codebase_->setText(QString::fromStdString(values_.codebase));
  chooseComboEntry(*tag_, values_.tag);
  save_->setChecked(values_.saveForNextTime);
  chooseComboEntry(*alignment_, values_.alignment);
  calculate_width_->setChecked(values_.calculateWidth);
}

void CPageAppletRequired::openPage() {
  showValues();
  if constexpr (kAttributesForEditBot) {
    save_->setEnabled(false);
    save_->setVisible(false);
  }
  width_->setRange(kAppletDimensionMinimum, kAppletDimensionMaximum);
  height_->setRange(kAppletDimensionMinimum, kAppletDimensionMaximum);
  width_->setEnabled(!calculate_width_->isChecked());
  if (calculate_width_->isChecked()) calculateWidth();
}

void CPageAppletRequired::calculateWidth() {
  const int height = leadingInteger(height_->text().toStdString());
  width_->setText(QString::number(applet_defaults::calculatedWidth(height, buttonCount())));
}

void CPageAppletRequired::calculateWidthClicked() {
  if (calculate_width_->isChecked()) {
    calculateWidth();
    width_->setEnabled(false);
  } else {
    width_->setEnabled(true);
  }
}

void CPageAppletRequired::heightChanged() {
  if (calculate_width_->isChecked()) calculateWidth();
}

bool CPageAppletRequired::saveControls() {
  if (!isOpened()) return true;
  RequiredAppletAttributes read;
  const std::optional<int> width = exchangeIntegerInRange(*width_, presenter_,
                                                          kAppletDimensionMinimum,
                                                          kAppletDimensionMaximum);
  if (!width) return false;
  read.width = *width;
  const std::optional<int> height = exchangeIntegerInRange(*height_, presenter_,
                                                           kAppletDimensionMinimum,
                                                           kAppletDimensionMaximum);
  if (!height) return false;
  read.height = *height;
  read.className = class_name_->text().toStdString();
  read.codebase = codebase_->text().toStdString();
  read.tag = tag_->currentText().toStdString();
  read.saveForNextTime = save_->isChecked();
  read.alignment = alignment_->currentText().toStdString();
  read.calculateWidth = calculate_width_->isChecked();
  values_ = std::move(read);
  return true;
}

}  // namespace zv
