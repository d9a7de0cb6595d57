#include "wizard/zvwizard/clip_save_dialog.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLineEdit>
#include <QStringList>

#include "wizard/zvwizard/window_finish_texts.h"

namespace zv {

namespace {

namespace texts = window_finish_texts;

// Qt's dialog leaves its views without names; a screen reader would say
// only "list". The object names are the dialog's own.
void nameTheViews(QFileDialog& dialog) {
  const struct {
    const char* objectName;
    const char* accessibleName;
  } kViews[] = {
      {"sidebar", "Places"},
      {"listView", "Files"},
      {"treeView", "Files"},
  };
  for (const auto& view : kViews)
    if (auto* widget = dialog.findChild<QAbstractItemView*>(QString::fromLatin1(view.objectName));
        widget != nullptr && widget->accessibleName().isEmpty())
      widget->setAccessibleName(QString::fromLatin1(view.accessibleName));
}

}  // namespace

ClipSaveDialog::ClipSaveDialog(const std::string& folder, const std::string& clipFileName,
                               QWidget* parent)
    : QFileDialog(parent, QString::fromUtf8(texts::kSaveDialogTitle)) {
  setOption(QFileDialog::DontUseNativeDialog);
  setOption(QFileDialog::DontConfirmOverwrite);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setNameFilters({QString::fromUtf8(texts::kClipFilter)});
  setDefaultSuffix(QString::fromLatin1(texts::kClipSuffix));
  setDirectory(QFile::decodeName(folder.c_str()));
  selectFile(QFile::decodeName(clipFileName.c_str()));
  setAccessibleName(windowTitle());
  nameTheViews(*this);
}

std::string ClipSaveDialog::chosenPath() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? std::string() : QFile::encodeName(files.front()).toStdString();
}

QLineEdit* ClipSaveDialog::fileNameField() const {
  return findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

}  // namespace zv
