#include "webbot/attributes/tag_attribute_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "widgets/dialog_exchange.h"
#include "webbot/attributes/field_label.h"
#include "webbot/attributes/attribute_build.h"
#include "webbot/attributes/attribute_strings.h"
#include "webbot/attributes/tag_attribute_rules.h"

namespace zv {

CTagAttributeDialog::CTagAttributeDialog(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent),
      presenter_(presenter),
      nameField_(new QLineEdit(this)),
      valueField_(new QPlainTextEdit(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setWindowTitle(tr("Tag Attribute"));
  setAccessibleName(tr("Tag Attribute"));

  // The value is one attribute value: Tab leaves the field, Enter presses
  // OK (Ctrl+Enter still starts a new line).
  valueField_->setTabChangesFocus(true);
  valueField_->installEventFilter(this);
  valueField_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  valueField_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  valueField_->setFixedHeight(valueField_->fontMetrics().lineSpacing() * 4 + 12);

  auto* fields = new QGridLayout;
  fields->addWidget(labelFor(tr("&Attribute name"), nameField_, this), 0, 0);
  fields->addWidget(nameField_, 0, 1);
  auto* valueLabel = labelFor(tr("&Value"), valueField_, this);
  fields->addWidget(valueLabel, 1, 0, Qt::AlignTop);
  fields->addWidget(valueField_, 1, 1);
  fields->setColumnStretch(1, 1);

  if constexpr (!kAttributesForEditBot) {
    helpButton_ = buttons_->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
    helpButton_->setAccessibleName(tr("Help"));
    connect(buttons_, &QDialogButtonBox::helpRequested, this, &CTagAttributeDialog::showHelp);
  }
  okButton()->setDefault(true);
  connect(buttons_, &QDialogButtonBox::accepted, this, &CTagAttributeDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &CTagAttributeDialog::reject);
  connect(nameField_, &QLineEdit::textChanged, this, &CTagAttributeDialog::updateOkButton);
  connect(valueField_, &QPlainTextEdit::textChanged, this, &CTagAttributeDialog::updateOkButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(buttons_);
  setMinimumWidth(380);
  updateOkButton();
}

QPushButton* CTagAttributeDialog::okButton() const { return buttons_->button(QDialogButtonBox::Ok); }

QPushButton* CTagAttributeDialog::cancelButton() const {
  return buttons_->button(QDialogButtonBox::Cancel);
}

void CTagAttributeDialog::setAttribute(const std::string& name, const std::string& value) {
  nameField_->setText(QString::fromStdString(name));
  valueField_->setPlainText(QString::fromStdString(value));
  updateOkButton();
}

void CTagAttributeDialog::updateOkButton() {
  okButton()->setEnabled(!nameField_->text().isEmpty() &&
                         !valueField_->toPlainText().isEmpty());
}

void CTagAttributeDialog::accept() {
  // Enter may reach here while OK is disabled; an attribute needs both.
  if (!okButton()->isEnabled()) return;
  if (!checkValue()) return;
  name_ = nameField_->text().toStdString();
  value_ = valueField_->toPlainText().toStdString();
  if (!checkName()) return;
  QDialog::accept();
}

bool CTagAttributeDialog::checkValue() {
  std::string value = valueField_->toPlainText().toStdString();
  if (valueNeedsQuoteRepair(value)) {
    if (askAttributeQuestion(presenter_, kIdsValueQuotesUnbalanced) == MessageAnswer::No) {
      focusRefusedField(*valueField_);
      return false;
    }
    value = repairValueQuotes(value);
    valueField_->setPlainText(QString::fromStdString(value));
  }
  if (hasInnerQuote(value)) {
    showAttributeMessage(presenter_, kIdsValueInnerQuote);
    focusRefusedField(*valueField_);
    return false;
  }
  return true;
}

bool CTagAttributeDialog::checkName() {
  const std::optional<char32_t> bad = firstBadNameCharacter(nameField_->text());
  if (!bad) return true;
  if (*bad == U' ')
    showAttributeMessage(presenter_, kIdsNameHasSpace);
  else
    showAttributeMessage(presenter_, kIdsNameBadCharacter,
                         QString::fromUcs4(&*bad, 1).toStdString());
  focusRefusedField(*nameField_);
  return false;
}

void CTagAttributeDialog::showHelp() {
  QWhatsThis::showText(
      mapToGlobal(QPoint(width() / 4, height() / 3)),
      tr("An attribute is added to the applet element as name=value.\n"
         "The name may hold letters, digits and hyphens.\n"
         "A value that holds spaces must be enclosed in double quotes; "
         "no double quote may appear inside them."),
      this);
}

bool CTagAttributeDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == valueField_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && !(key->modifiers() & Qt::ControlModifier)) {
      accept();
      return true;
    }
    if (enter) {
      valueField_->insertPlainText(QStringLiteral("\n"));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zv
