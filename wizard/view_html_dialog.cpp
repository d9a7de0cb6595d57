#include "wizard/view_html_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zv {

CViewHtmlDialog::CViewHtmlDialog(std::string markup, QWidget* parent)
    : QDialog(parent), markup_(std::move(markup)), field_(new QPlainTextEdit(this)) {
  setWindowTitle(tr("View HTML"));
  setAccessibleName(tr("View HTML"));

  // The edit shows lines; a CR LF pair is one line end there.
  QString shown = QString::fromStdString(markup_);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  field_->setPlainText(shown);
  field_->setReadOnly(true);
  field_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  field_->setLineWrapMode(QPlainTextEdit::NoWrap);
  field_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  field_->setTabChangesFocus(true);
  field_->setAccessibleName(tr("HTML"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(field_);
  layout->addWidget(buttons);
  resize(720, 260);
}

}  // namespace zv
