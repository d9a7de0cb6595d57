#include "webbot/attributes/combo_entry.h"

#include <QComboBox>

namespace zv {

void chooseComboEntry(QComboBox& list, const std::string& text) {
  const QString wanted = QString::fromStdString(text);
  for (int row = 0; row < list.count(); ++row) {
    if (list.itemText(row).compare(wanted, Qt::CaseInsensitive) == 0) {
      list.setCurrentIndex(row);
      return;
    }
  }
  list.addItem(wanted);
  list.setCurrentIndex(list.count() - 1);
}

}  // namespace zv
