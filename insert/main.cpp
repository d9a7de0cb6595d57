// ZvInsertBot: puts one audio player on the page that the author is editing.
// It runs the encoder wizard, copies the finished clip (and, on first use,
// the player's files) into the web open in the editor's Explorer, and
// inserts the component at the Editor's insertion point, then ends. It has
// no main window and takes no arguments.
#include <QApplication>
#include <QDBusConnection>
#include <cstring>
#include <iostream>

#include "automation/dbus_automation.h"
#include "insert/insertion_pass.h"
#include "insert/qt_status_window.h"
#include "insert/zv_encoder_wizard.h"
#include "platform/install_folders.h"
#include "platform/install_layout.h"
#include "platform/qt/qt_message_box_presenter.h"
#include "platform/temporary_file.h"

namespace {

constexpr char kHelp[] =
    "Usage: ZvInsertBot\n"
    "\n"
    "Adds an audio player to the page open in the web editor: runs the Z&V\n"
    "Tavelworks encoder wizard, copies the clip (and, the first time, the\n"
    "player's files) into the web open in FrontPage Explorer, and inserts the\n"
    "player at FrontPage Editor's insertion point. The two programs are reached\n"
    "on the D-Bus session bus under the names FrontPage.Explorer and\n"
    "FrontPage.Editor (webhost serve offers both).\n"
    "\n"
    "Exit status: 0 when the player was inserted with its clip and files in\n"
    "the web, 1 otherwise (the wizard was cancelled, or a message told what\n"
    "was not done), 2 for bad usage.\n";

// The folder of the program's files, the images and the player's files: the
// private data folder as seen from the program's own folder, the private
// library folder. Ends with '/'.
std::string programFilesFolder() {
  return zv::folderFrom(QCoreApplication::applicationDirPath().toStdString(),
                        zv::layout::kPrivateDataFromPrivateLibrary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kHelp;
    return 0;
  }
  if (argc > 1) {
    std::cerr << "ZvInsertBot: takes no arguments\n\n" << kHelp;
    return 2;
  }
  QApplication application(argc, argv);
  application.setQuitOnLastWindowClosed(false);

  zv::QtMessageBoxPresenter messages;
  zv::automation::DBusAutomationConnector automation(QDBusConnection::sessionBus());
  zv::insert::InsertionEnvironment environment{
      automation,
      zv::insert::runZvEncoderWizard,
      messages,
      [] { return std::make_unique<zv::insert::QtStatusWindow>(); },
      programFilesFolder(),
      zv::temporaryDirectory()};
  // Every other end left something undone, and the author has been told.
  const zv::insert::PassOutcome outcome = zv::insert::runInsertionPass(environment);
  return outcome == zv::insert::PassOutcome::Inserted ? 0 : 1;
}
