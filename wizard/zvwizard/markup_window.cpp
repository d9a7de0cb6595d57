#include "wizard/zvwizard/markup_window.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "wizard/wizard_icon.h"
#include "wizard/zvwizard/window_finish_texts.h"

namespace zv {

namespace {

namespace texts = window_finish_texts;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

MarkupWindow::MarkupWindow(const std::string& whereTheClipIs, std::string markup, QWidget* parent)
    : QDialog(parent),
      markup_(std::move(markup)),
      where_(new QLabel(QString::fromStdString(whereTheClipIs), this)),
      field_(new QPlainTextEdit(this)),
      copied_(new QLabel(this)),
      copy_(new QPushButton(text(texts::kCopyButton), this)),
      close_(new QPushButton(text(texts::kCloseButton), this)) {
  setWindowTitle(text(texts::kMarkupWindowTitle));
  setAccessibleName(windowTitle());
  setWindowIcon(wizardIcon());

  // The path may be long: wrapped, and selectable so that it can be copied.
  where_->setWordWrap(true);
  where_->setTextFormat(Qt::PlainText);
  where_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* markupLabel = new QLabel(text(texts::kMarkupLabel), this);
  markupLabel->setBuddy(field_);
  field_->setPlainText(QString::fromStdString(markup_));
  field_->setReadOnly(true);
  field_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  field_->setLineWrapMode(QPlainTextEdit::NoWrap);
  field_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Tab leaves the field for the buttons instead of typing into it.
  field_->setTabChangesFocus(true);
  field_->setAccessibleName(text(texts::kMarkupFieldName));

  copied_->setTextFormat(Qt::PlainText);

  copy_->setAutoDefault(false);
  close_->setDefault(true);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(copy_, QDialogButtonBox::ActionRole);
  buttons->addButton(close_, QDialogButtonBox::AcceptRole);
  connect(copy_, &QPushButton::clicked, this, &MarkupWindow::copyMarkup);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(where_);
  layout->addWidget(markupLabel);
  layout->addWidget(field_, 1);
  layout->addWidget(copied_);
  layout->addWidget(buttons);
  resize(720, 360);
}

void MarkupWindow::copyMarkup() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(markup_));
  // Said once, in words, so that a screen reader user knows it worked.
  copied_->setText(text(texts::kCopied));
}

}  // namespace zv
