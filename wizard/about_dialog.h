// CAboutDialog: the wizard's about box. The icon, the about text in a
// read-only box, and two buttons that open a web page in the user's browser:
// the project's documentation and the home of the resampling library the
// engine converts sample rates with.
#ifndef ZV_WIZARD_ABOUT_DIALOG_H
#define ZV_WIZARD_ABOUT_DIALOG_H

#include <QDialog>
#include <QUrl>

#include <functional>
#include <utility>

class QPlainTextEdit;
class QPushButton;

namespace zv {

class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDialog(QWidget* parent = nullptr);

  // Where the two buttons lead.
  static QUrl productPage();
  static QUrl soundLibraryPage();

  // Replaces the opening of web pages (QDesktopServices::openUrl): for tests.
  void setUrlOpener(std::function<bool(const QUrl&)> opener) { open_url_ = std::move(opener); }

  QPlainTextEdit* aboutText() const { return text_; }
  QPushButton* productButton() const { return product_; }
  QPushButton* soundLibraryButton() const { return sound_library_; }

 private:
  void openPage(const QUrl& url);

  QPlainTextEdit* text_ = nullptr;
  QPushButton* product_ = nullptr;
  QPushButton* sound_library_ = nullptr;
  std::function<bool(const QUrl&)> open_url_;
};

}  // namespace zv

#endif  // ZV_WIZARD_ABOUT_DIALOG_H
