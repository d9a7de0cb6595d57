#include "webbot/attributes/attribute_sheet_page.h"

#include <QLabel>

namespace zv {

void CAttributeSheetPage::ensureOpened() {
  if (opened_) return;
  opened_ = true;
  openPage();
}

void CAttributeSheetPage::showEvent(QShowEvent* event) {
  ensureOpened();
  QWidget::showEvent(event);
}

QLabel* CAttributeSheetPage::makeTitle(const QString& text, QWidget* parent) {
  auto* title = new QLabel(text, parent);
  QFont bold = title->font();
  bold.setWeight(QFont::Bold);  // 700
  title->setFont(bold);
  title->setWordWrap(true);
  return title;
}

}  // namespace zv
