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
      name_field_(new QLineEdit(this)),
      value_field_(new QPlainTextEdit(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setWindowTitle(tr("Tag Attribute"));
  setAccessibleName(tr("Tag Attribute"));

  // The value is one attribute value: Tab leaves the field, Enter presses
  // OK (Ctrl+Enter still starts a new line).
  value_field_->setTabChangesFocus(true);
  value_field_->installEventFilter(this);
  value_field_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  value_field_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  value_field_->setFixedHeight(value_field_->fontMetrics().lineSpacing() * 4 + 12);

  auto* fields = new QGridLayout;
  fields->addWidget(labelFor(tr("&Attribute name"), name_field_, this), 0, 0);
  fields->addWidget(name_field_, 0, 1);
  auto* valueLabel = labelFor(tr("&Value"), value_field_, this);
  fields->addWidget(valueLabel, 1, 0, Qt::AlignTop);
  fields->addWidget(value_field_, 1, 1);
  fields->setColumnStretch(1, 1);

  if constexpr (!kAttributesForEditBot) {
    help_button_ = buttons_->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
    help_button_->setAccessibleName(tr("Help"));
    connect(buttons_, &QDialogButtonBox::helpRequested, this, &CTagAttributeDialog::showHelp);
  }
  okButton()->setDefault(true);
  connect(buttons_, &QDialogButtonBox::accepted, this, &CTagAttributeDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &CTagAttributeDialog::reject);
  connect(name_field_, &QLineEdit::textChanged, this, &CTagAttributeDialog::updateOkButton);
  connect(value_field_, &QPlainTextEdit::textChanged, this, &CTagAttributeDialog::updateOkButton);

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
  name_field_->setText(QString::fromStdString(name));
  value_field_->setPlainText(QString::fromStdString(value));
  updateOkButton();
}

void CTagAttributeDialog::updateOkButton() {
  okButton()->setEnabled(!name_field_->text().isEmpty() &&
                         !value_field_->toPlainText().isEmpty());
}

void CTagAttributeDialog::accept() {
  // Enter may reach here while OK is disabled; an attribute needs both.
  if (!okButton()->isEnabled()) return;
  if (!checkValue()) return;
  name_ = name_field_->text().toStdString();
  value_ = value_field_->toPlainText().toStdString();
  if (!checkName()) return;
  QDialog::accept();
}

bool CTagAttributeDialog::checkValue() {
  std::string value = value_field_->toPlainText().toStdString();
  if (valueNeedsQuoteRepair(value)) {
    if (askAttributeQuestion(presenter_, kIdsValueQuotesUnbalanced) == MessageAnswer::No) {
      focusRefusedField(*value_field_);
      return false;
    }
    value = repairValueQuotes(value);
    value_field_->setPlainText(QString::fromStdString(value));
  }
  if (hasInnerQuote(value)) {
    showAttributeMessage(presenter_, kIdsValueInnerQuote);
    focusRefusedField(*value_field_);
    return false;
  }
  return true;
}

bool CTagAttributeDialog::checkName() {
  const std::optional<char32_t> bad = firstBadNameCharacter(name_field_->text());
  if (!bad) return true;
  if (*bad == U' ')
    showAttributeMessage(presenter_, kIdsNameHasSpace);
  else
    showAttributeMessage(presenter_, kIdsNameBadCharacter,
                         QString::fromUcs4(&*bad, 1).toStdString());
  focusRefusedField(*name_field_);
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
  if (watched == value_field_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && !(key->modifiers() & Qt::ControlModifier)) {
      accept();
      return true;
    }
    if (enter) {
      value_field_->insertPlainText(QStringLiteral("\n"));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zv
