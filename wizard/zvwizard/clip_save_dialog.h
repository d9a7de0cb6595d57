// "Save the Clip": where zvwizard's windows' road asks for the folder and
// name of the finished clip.
//
// Qt's own file dialog, not the desktop's, so that Qt Test and the
// accessibility interface drive it as they drive the wizard; it never asks
// about an existing file itself (the road asks through the message layer,
// with the system's question). Every control it shows has an accessible
// name, and the file name field is reached with Alt+N.
#ifndef ZV_WIZARD_ZVWIZARD_CLIP_SAVE_DIALOG_H
#define ZV_WIZARD_ZVWIZARD_CLIP_SAVE_DIALOG_H

#include <string>

#include <QFileDialog>

class QLineEdit;

namespace zv {

class ClipSaveDialog : public QFileDialog {
  Q_OBJECT

 public:
  // Opens in `folder` with `clipFileName` ("<name>.zvsa") proposed.
  ClipSaveDialog(const std::string& folder, const std::string& clipFileName, QWidget* parent = nullptr);

  // The path chosen (after exec() returned Accepted), ".zvsa" added when the
  // name had no extension.
  std::string chosenPath() const;

  QLineEdit* fileNameField() const;
};

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_CLIP_SAVE_DIALOG_H
