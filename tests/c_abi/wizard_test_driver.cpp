// A test hand for the wizard: a library that a test program loads before it
// calls DoZvEncoder, and that then operates the wizard the way a user would,
// through its widgets found by their accessible names, without anything in
// the wizard library knowing about it.
//
// Qt runs the functions registered with Q_COREAPP_STARTUP_FUNCTION each time
// an application object is made, so every DoZvEncoder call (which makes its
// own application when the caller has none) starts the hand anew. What it
// does in that call is read then from ZV_WIZARD_DRIVER_SCRIPT:
//
//   cancel                       press Cancel on the first page
//   gallery-finish               take the first gallery clip, then Finish
//   file-finish:NAME:PATH        the sound file PATH, the default codec, the
//                                clip name NAME, then Finish
//   file-cancel:NAME:PATH        the same as far as the output page (the sound
//                                converted and compressed), then Cancel
//   file-hold:NAME:PATH          the same as far as the output page, then
//                                writes "wizard driver: holding" to stderr and
//                                does nothing more (the test ends the program)
//
// The hand polls with a timer (no sleeping) and acts once on each page it
// sees. A message box that appears is written to stderr and answered, so a
// surprise fails the caller's checks instead of hanging it.
//
// After Finish, zvwizard's windows (its road without a terminal) are
// operated too: a file dialog gets the path in ZV_WIZARD_DRIVER_SAVE_AS (or
// is cancelled when that says "cancel"), and the markup window's first line
// is written to stderr ("wizard driver: markup window: ...") before it is
// closed.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWizard>

#include <cstdio>
#include <cstdlib>

namespace {

template <typename T>
T* findByAccessibleName(QWidget* root, const QString& name) {
  for (T* widget : root->findChildren<T*>())
    if (widget->accessibleName() == name && widget->isVisible()) return widget;
  return nullptr;
}

QWizard* visibleWizard() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* wizard = qobject_cast<QWizard*>(widget); wizard && wizard->isVisible()) return wizard;
  return nullptr;
}

class Hand : public QObject {
 public:
  explicit Hand(QString script) : QObject(qApp), script_(std::move(script)) {
    auto* timer = new QTimer(this);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, this, &Hand::poll);
    timer->start();
  }

 private:
  void poll() {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      const QString saveAs = QString::fromLocal8Bit(qgetenv("ZV_WIZARD_DRIVER_SAVE_AS"));
      std::fprintf(stderr, "wizard driver: file dialog: %s\n", qPrintable(dialog->windowTitle()));
      if (saveAs.isEmpty() || saveAs == QLatin1String("cancel")) {
        dialog->reject();
      } else {
        dialog->selectFile(saveAs);
        // accept() is the dialog's slot (protected as a method): what its
        // Save button calls.
        QMetaObject::invokeMethod(dialog, "accept");
      }
      return;
    }
    if (QWidget* window = QApplication::activeModalWidget(); window && window->inherits("zv::MarkupWindow")) {
      const QList<QLabel*> labels = window->findChildren<QLabel*>();
      std::fprintf(stderr, "wizard driver: markup window: %s\n",
                   labels.isEmpty() ? "" : qPrintable(labels.front()->text()));
      if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->accept();
      return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "wizard driver: message box: %s\n", qPrintable(box->text()));
      box->done(box->defaultButton() ? box->standardButton(box->defaultButton())
                                     : QMessageBox::Ok);
      return;
    }
    QWizard* wizard = visibleWizard();
    if (wizard == nullptr || QApplication::activeModalWidget() != wizard) return;
    if (wizard->currentId() == acted_on_) return;
    acted_on_ = wizard->currentId();
    act(*wizard);
  }

  static void press(QWizard& wizard, QWizard::WizardButton which) {
    // Pressed from the event loop, not from inside this timer's call, so
    // that a page that runs a modal dialog on Next does not nest in it.
    QTimer::singleShot(0, wizard.button(which), &QAbstractButton::click);
  }

  void act(QWizard& wizard) {
    const QString command = script_.section(QLatin1Char(':'), 0, 0);
    if (command == QLatin1String("cancel")) {
      press(wizard, QWizard::CancelButton);
      return;
    }
    QWidget* page = wizard.currentPage();
    switch (wizard.currentId()) {
      case 103:
        if (command == QLatin1String("gallery-finish")) {
          findByAccessibleName<QAbstractButton>(page, QStringLiteral("Select previously compressed file"))->click();
        } else {
          findByAccessibleName<QAbstractButton>(page, QStringLiteral("Specify the source audio file"))->click();
          findByAccessibleName<QLineEdit>(page, QStringLiteral("Source audio file"))
              ->setText(script_.section(QLatin1Char(':'), 2));
        }
        press(wizard, QWizard::NextButton);
        break;
      case 104:
        press(wizard, QWizard::NextButton);
        break;
      case 109:
        if (command == QLatin1String("file-cancel")) {
          press(wizard, QWizard::CancelButton);
          break;
        }
        if (command == QLatin1String("file-hold")) {
          std::fprintf(stderr, "wizard driver: holding on the output page\n");
          std::fflush(stderr);
          break;
        }
        findByAccessibleName<QLineEdit>(page, QStringLiteral("Specify the name for the compressed audio file"))
            ->setText(script_.section(QLatin1Char(':'), 1, 1));
        press(wizard, QWizard::NextButton);
        break;
      case 106:
        press(wizard, QWizard::FinishButton);
        break;
      default:
        std::fprintf(stderr, "wizard driver: unexpected page %d; cancelling\n", wizard.currentId());
        press(wizard, QWizard::CancelButton);
        break;
    }
  }

  const QString script_;
  int acted_on_ = -1;
};

void startHand() {
  const char* script = std::getenv("ZV_WIZARD_DRIVER_SCRIPT");
  if (script == nullptr || *script == '\0') return;
  new Hand(QString::fromLocal8Bit(script));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startHand)
