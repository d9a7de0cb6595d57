#include "webbot/attributes/applet_optional_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "webbot/attributes/field_label.h"
#include "webbot/attributes/attribute_build.h"
#include "webbot/attributes/attribute_strings.h"
#include "webbot/attributes/tag_attribute_dialog.h"
#include "widgets/caption_mnemonic.h"

namespace zv {

namespace {

enum Column { kNameColumn = 0, kValueColumn = 1 };

// Rows sort by name ignoring letter case, names that differ only in case
// by their exact text, so the order is the same on every run.
class AttributeRow : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : kNameColumn;
    const QString mine = text(column);
    const QString theirs = other.text(column);
    const int folded = mine.compare(theirs, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : mine < theirs;
  }
};


QPushButton* makeButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAccessibleName(captionText(text));
  button->setAutoDefault(false);
  return button;
}

std::string rowName(const QTreeWidgetItem& row) { return row.text(kNameColumn).toStdString(); }
std::string rowValue(const QTreeWidgetItem& row) { return row.text(kValueColumn).toStdString(); }

}  // namespace

CPageAppletOptional::CPageAppletOptional(MessagePresenter& presenter, QWidget* parent)
    : CAttributeSheetPage(parent),
      presenter_(presenter),
      body_text_(new QPlainTextEdit(this)),
      list_(new QTreeWidget(this)),
      add_(makeButton(tr("&Add"), this)),
      remove_(makeButton(tr("&Remove"), this)),
      edit_(makeButton(tr("&Edit"), this)),
      save_(new QCheckBox(tr("&Save these properties for next time"), this)) {
  setAccessibleName(tr("Optional"));
  save_->setAccessibleName(tr("Save these properties for next time"));
  // The body text may hold line breaks; Tab still moves on.
  body_text_->setTabChangesFocus(true);
  body_text_->setFixedHeight(body_text_->fontMetrics().lineSpacing() * 4 + 12);

  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setAllColumnsShowFocus(true);
  list_->setUniformRowHeights(true);
  list_->header()->setSectionsMovable(false);
  list_->header()->setStretchLastSection(false);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(remove_);
  buttons->addWidget(edit_);
  buttons->addStretch(1);

  auto* grid = new QGridLayout;
  grid->addWidget(labelFor(tr("Applet &body text"), body_text_, this), 0, 0, 1, 2);
  grid->addWidget(body_text_, 1, 0);
  grid->addWidget(labelFor(tr("&Other attributes"), list_, this), 2, 0, 1, 2);
  grid->addWidget(list_, 3, 0);
  grid->addLayout(buttons, 3, 1);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(makeTitle(tr("Advanced applet parameters that are optional"), this));
  layout->addSpacing(8);
  layout->addLayout(grid, 1);
  layout->addWidget(save_);

  if constexpr (kAttributesForEditBot) save_->setVisible(false);

  setTabOrder(body_text_, list_);
  setTabOrder(list_, add_);
  setTabOrder(add_, remove_);
  setTabOrder(remove_, edit_);
  setTabOrder(edit_, save_);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CPageAppletOptional::selectionChanged);
  connect(add_, &QPushButton::clicked, this, &CPageAppletOptional::addAttribute);
  connect(remove_, &QPushButton::clicked, this, &CPageAppletOptional::removeAttribute);
  connect(edit_, &QPushButton::clicked, this, &CPageAppletOptional::editAttribute);
}

void CPageAppletOptional::setValues(const OptionalAppletAttributes& values) {
  values_ = values;
  if (isOpened()) showValues();
}

void CPageAppletOptional::showValues() {
  body_text_->setPlainText(QString::fromStdString(values_.bodyText));
  save_->setChecked(values_.saveForNextTime);
  list_->clear();
  for (const auto& [name, value] : values_.attributes) addRow(name, value);
  remove_->setEnabled(false);
  edit_->setEnabled(false);
}

void CPageAppletOptional::openPage() {
  if constexpr (kAttributesForEditBot) {
    save_->setEnabled(false);
    save_->setVisible(false);
  }
  list_->setHeaderLabels({tr("Attribute"), tr("Value")});
  list_->setColumnWidth(kNameColumn, kAttributeColumnWidth);
  list_->setColumnWidth(kValueColumn, kValueColumnWidth);
  list_->setSortingEnabled(true);
  list_->sortByColumn(kNameColumn, Qt::AscendingOrder);
  // The header only shows the order; clicking it does not change it.
  list_->header()->setSectionsClickable(false);
  showValues();
}

bool CPageAppletOptional::saveControls() {
  if (!isOpened()) return true;
  values_.bodyText = body_text_->toPlainText().toStdString();
  values_.saveForNextTime = save_->isChecked();
  return true;
}

void CPageAppletOptional::selectionChanged() {
  const bool selected = selectedRow() != nullptr;
  remove_->setEnabled(selected);
  edit_->setEnabled(selected);
}

QTreeWidgetItem* CPageAppletOptional::selectedRow() const {
  const QList<QTreeWidgetItem*> rows = list_->selectedItems();
  return rows.isEmpty() ? nullptr : rows.front();
}

QTreeWidgetItem* CPageAppletOptional::addRow(const std::string& name, const std::string& value) {
  auto* row = new AttributeRow(QStringList{QString::fromStdString(name),
                                           QString::fromStdString(value)});
  list_->addTopLevelItem(row);
  return row;
}

void CPageAppletOptional::deleteRowsNamed(const std::string& name, const QTreeWidgetItem* except) {
  for (int index = list_->topLevelItemCount() - 1; index >= 0; --index) {
    QTreeWidgetItem* row = list_->topLevelItem(index);
    if (row != except && rowName(*row) == name) delete list_->takeTopLevelItem(index);
  }
}

void CPageAppletOptional::addAttribute() {
  CTagAttributeDialog dialog(presenter_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string name = dialog.name();
  if (values_.attributes.contains(name) &&
      askAttributeQuestion(presenter_, kIdsReplaceAttribute, name) == MessageAnswer::No)
    return;
  deleteRowsNamed(name);
  list_->setCurrentItem(addRow(name, dialog.value()));
  values_.attributes[name] = dialog.value();
}

void CPageAppletOptional::removeAttribute() {
  QTreeWidgetItem* row = selectedRow();
  if (row == nullptr) return;
  const std::string name = rowName(*row);
  if (askAttributeQuestion(presenter_, kIdsDeleteAttribute, name) == MessageAnswer::No) return;
  delete row;
  values_.attributes.erase(name);
  selectionChanged();
}

void CPageAppletOptional::editAttribute() {
  QTreeWidgetItem* row = selectedRow();
  if (row == nullptr) return;
  const std::string oldName = rowName(*row);
  CTagAttributeDialog dialog(presenter_, this);
  dialog.setAttribute(oldName, rowValue(*row));
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string name = dialog.name();
  const std::string value = dialog.value();
  if (name == oldName) {
    row->setText(kNameColumn, QString::fromStdString(name));
    row->setText(kValueColumn, QString::fromStdString(value));
  } else {
    // Storing the new name replaces any attribute of that name, so its row
    // goes too: the list always shows the set, one row per name.
    deleteRowsNamed(name);
    QTreeWidgetItem* renamed = addRow(name, value);
    delete row;
    values_.attributes.erase(oldName);
    list_->setCurrentItem(renamed);
  }
  values_.attributes[name] = value;
  selectionChanged();
}

}  // namespace zv
