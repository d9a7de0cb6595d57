#include "webbot/attributes/applet_attributes_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

#include "webbot/attributes/applet_optional_page.h"
#include "webbot/attributes/applet_required_page.h"
#include "webbot/attributes/attribute_strings.h"

namespace zv {

CAppletAttributesPropertySheet::CAppletAttributesPropertySheet(MessagePresenter& presenter,
                                                               QWidget* parent)
    : QDialog(parent),
      tabs_(new QTabWidget(this)),
      required_(new CPageAppletRequired(presenter, tabs_)),
      optional_(new CPageAppletOptional(presenter, tabs_)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  const QString caption = QString::fromStdString(attributeMessage(kIdsAttributeSheetCaption));
  setWindowTitle(caption);
  setAccessibleName(caption);
  tabs_->addTab(required_, tr("Required"));
  tabs_->addTab(optional_, tr("Optional"));
  okButton()->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
  resize(560, 440);

  connect(buttons_, &QDialogButtonBox::accepted, this, &CAppletAttributesPropertySheet::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &CAppletAttributesPropertySheet::reject);
  connect(tabs_, &QTabWidget::currentChanged, this,
          &CAppletAttributesPropertySheet::currentPageChanged);
}

QPushButton* CAppletAttributesPropertySheet::okButton() const {
  return buttons_->button(QDialogButtonBox::Ok);
}

QPushButton* CAppletAttributesPropertySheet::cancelButton() const {
  return buttons_->button(QDialogButtonBox::Cancel);
}

void CAppletAttributesPropertySheet::insertGeneralPage(CAttributeSheetPage* page,
                                                       const QString& title) {
  // Inserting in front moves the current tab; that is no page change by the
  // author and must not read any page back.
  const QSignalBlocker quiet(tabs_);
  tabs_->insertTab(0, page, title);
  tabs_->setCurrentIndex(0);
  shown_index_ = 0;
}

CAttributeSheetPage* CAppletAttributesPropertySheet::pageAt(int index) const {
  return qobject_cast<CAttributeSheetPage*>(tabs_->widget(index));
}

void CAppletAttributesPropertySheet::currentPageChanged(int index) {
  if (returning_to_refused_page_) return;
  CAttributeSheetPage* left = pageAt(shown_index_);
  if (left != nullptr && !left->saveControls()) {
    // The page being left refused a field: it stays in front, with the
    // focus where its message put it.
    returning_to_refused_page_ = true;
    tabs_->setCurrentIndex(shown_index_);
    returning_to_refused_page_ = false;
    return;
  }
  shown_index_ = index;
}

void CAppletAttributesPropertySheet::accept() {
  // The page in front first: that is where the author has just typed. The
  // others were read back when they were left, but are read again, so that
  // a page changed by its opener in the meantime is still checked.
  std::vector<int> order{tabs_->currentIndex()};
  for (int index = 0; index < tabs_->count(); ++index)
    if (index != order.front()) order.push_back(index);
  for (const int index : order) {
    CAttributeSheetPage* page = pageAt(index);
    if (page == nullptr || page->saveControls()) continue;
    if (tabs_->currentIndex() != index) {
      returning_to_refused_page_ = true;
      tabs_->setCurrentIndex(index);
      returning_to_refused_page_ = false;
      shown_index_ = index;
    }
    return;
  }
  QDialog::accept();
}

}  // namespace zv
