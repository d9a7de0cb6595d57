// zvwizard's windows' road after Finish, driven through its real widgets:
// the save dialog (where it opens, the name it proposes, the replace
// question answered by script, a save that fails), the clip moved or copied
// and the run folder gone, Cancel keeping a new clip in the user's gallery,
// and the markup window (where the clip went, Copy onto the clipboard, Close
// ends), by mouse and by keys. Screenshots go to test-artifacts/.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "encoder/engine_strings.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "wizard/settings_store.h"
#include "wizard/wizard_result_assembly.h"
#include "wizard/wizard_strings.h"
#include "wizard/zvwizard/clip_markup.h"
#include "wizard/zvwizard/clip_save_dialog.h"
#include "wizard/zvwizard/markup_window.h"
#include "wizard/zvwizard/window_finish.h"
#include "wizard/zvwizard/window_finish_texts.h"

namespace zv {
namespace {

using test::Bytes;
namespace texts = window_finish_texts;

void saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = QStringLiteral(ZV_TEST_ARTIFACTS_DIR);
  QDir().mkpath(folder);
  widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

std::string withPath(const char* pattern, const std::string& path) {
  std::string text = pattern;
  text.replace(text.find("%s"), 2, path);
  return text;
}

// Every control a user can reach has a name a screen reader says.
void checkEveryControlNamed(QWidget& window) {
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus || !widget->isEnabled()) continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible != nullptr);
    const QString name = accessible->text(QAccessible::Name);
    QVERIFY2(!name.trimmed().isEmpty(),
             qPrintable(QStringLiteral("%1 \"%2\" has no accessible name")
                            .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName())));
  }
}

void typeNameAndSave(ClipSaveDialog& dialog, const QString& name) {
  QLineEdit* field = dialog.fileNameField();
  QVERIFY(field != nullptr);
  // Another name is given as the dialog takes one (typing races the
  // dialog's background reading of the folder, which selects the proposed
  // file again once done); before that reading is done selectFile() may
  // leave the field as it was, so the name is then typed into it.
  if (field->text() != name) dialog.selectFile(name);
  if (field->text() != name) field->setText(name);
  QCOMPARE(field->text(), name);
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  QVERIFY(buttons != nullptr);
  QPushButton* save = buttons->button(QDialogButtonBox::Save);
  QVERIFY(save != nullptr && save->isEnabled());
  QTest::mouseClick(save, Qt::LeftButton);
}

// One Finish: the clip as the wizard leaves it (a new clip alone in its run
// folder, or a gallery clip in a read-only gallery), a folder to save into,
// the user's gallery not made yet, a private settings file and a message
// layer answered by script.
struct RoadFixture {
  explicit RoadFixture(bool galleryClip = false) {
    std::filesystem::create_directories(root.file("web"));
    clipBytes = Bytes(300, 0x5a);
    clipBytes[0] = 'Z';
    if (galleryClip) {
      std::filesystem::create_directories(root.file("Gallery"));
      clip.path = root.file("Gallery/hello.zvsa");
      test::writeFile(clip.path, clipBytes);
      std::filesystem::permissions(root.file("Gallery"), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::remove);
    } else {
      std::filesystem::create_directories(root.file("ZVSA-run-test"));
      clip.path = root.file("ZVSA-run-test/hello.zvsa");
      test::writeFile(clip.path, clipBytes);
    }
    clip.fromGallery = galleryClip;
    std::memset(&record, 0, sizeof record);
    AppletValues values;
    values.buttonCount = 2;
    fillWizardResult(record, values, clip.path);
    clip.markup = markupForClip(record, "hello.zvsa");
    clip.markupFor = [this](const std::string& name) { return markupForClip(record, name); };
    keepFolder = root.file("data/zvtavelworks/Gallery");
  }
  ~RoadFixture() {
    freeWizardResultStrings(record);
    std::error_code error;
    std::filesystem::permissions(root.file("Gallery"), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  }

  WindowFinishOutcome run(const std::string& startFolder = {}) {
    return finishInWindows(clip, WindowFinishSetup{presenter, settings, startFolder, keepFolder});
  }
  std::string web(const std::string& name) const { return root.file("web/" + name); }

  test::TempDir root;
  Bytes clipBytes;
  WizardResult record;
  FinishedClip clip;
  std::string keepFolder;
  test::RecordingPresenter presenter;
  SettingsStore settings{root.file("settings.ini")};
};

}  // namespace

class WindowFinishTest : public QObject {
  Q_OBJECT

 private slots:
  void aNewClipIsSavedWhereTheUserSays() {
    RoadFixture fixture;
    QString proposed, openedIn;
    test::whenModal<ClipSaveDialog>([&](ClipSaveDialog& dialog) {
      proposed = dialog.fileNameField()->text();
      openedIn = dialog.directory().absolutePath();
      checkEveryControlNamed(dialog);
      saveScreenshot(dialog, QStringLiteral("zvwizard_save_dialog"));
      typeNameAndSave(dialog, QStringLiteral("hello.zvsa"));
    });
    std::string shownWhere, shownMarkup;
    test::whenModal<MarkupWindow>([&](MarkupWindow& window) {
      shownWhere = window.whereLabel()->text().toStdString();
      shownMarkup = window.markupField()->toPlainText().toStdString();
      window.accept();
    });
    const WindowFinishOutcome outcome = fixture.run(fixture.root.file("web"));

    QCOMPARE(proposed, QStringLiteral("hello.zvsa"));
    QCOMPARE(openedIn.toStdString(), fixture.root.file("web"));
    QCOMPARE(outcome.where, ClipWhereabouts::Saved);
    QCOMPARE(outcome.path, fixture.web("hello.zvsa"));
    QCOMPARE(test::readFile(fixture.web("hello.zvsa")), fixture.clipBytes);
    // Moved, not copied: the run folder is empty, and gone.
    QVERIFY(!std::filesystem::exists(fixture.root.file("ZVSA-run-test")));
    QVERIFY(!std::filesystem::exists(fixture.keepFolder));
    QVERIFY(fixture.presenter.shown().empty());
    QCOMPARE(shownWhere, withPath(texts::kSavedAs, fixture.web("hello.zvsa")));
    QCOMPARE(shownMarkup, fixture.clip.markup);
    QVERIFY(shownMarkup.find("VALUE=\"hello.zvsa\"") != std::string::npos);
    // The folder is remembered for the next time.
    QCOMPARE(fixture.settings.readText(kZvwizardSection, kLastSaveFolderEntry, ""), fixture.root.file("web"));
  }

  void theSaveDialogOpensInTheFolderAsked_data() {
    QTest::addColumn<bool>("startGiven");
    QTest::addColumn<QString>("remembered");  // "web", "gone" or empty
    QTest::addColumn<QString>("expected");    // "start", "web" or "home"
    QTest::newRow("-o wins over the folder remembered") << true << "web" << "start";
    QTest::newRow("the folder last saved to") << false << "web" << "web";
    QTest::newRow("a remembered folder that is gone") << false << "gone" << "home";
    QTest::newRow("nothing remembered") << false << "" << "home";
  }
  void theSaveDialogOpensInTheFolderAsked() {
    QFETCH(bool, startGiven);
    QFETCH(QString, remembered);
    QFETCH(QString, expected);
    RoadFixture fixture(true);
    std::filesystem::create_directories(fixture.root.file("start"));
    if (!remembered.isEmpty())
      fixture.settings.writeText(kZvwizardSection, kLastSaveFolderEntry, fixture.root.file(remembered.toStdString()));
    QString openedIn;
    test::whenModal<ClipSaveDialog>([&](ClipSaveDialog& dialog) {
      openedIn = dialog.directory().absolutePath();
      dialog.reject();
    });
    test::whenModal<MarkupWindow>([](MarkupWindow& window) { window.accept(); });
    fixture.run(startGiven ? fixture.root.file("start") : std::string());
    const QString want = expected == QStringLiteral("home")
                             ? QDir::homePath()
                             : QString::fromStdString(fixture.root.file(expected.toStdString()));
    QCOMPARE(openedIn, QDir(want).absolutePath());
  }

  void anExistingFileIsReplacedOnlyAfterTheQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes: replaced") << int(MessageAnswer::Yes);
    QTest::newRow("No: asked again, saved under another name") << int(MessageAnswer::No);
  }
  void anExistingFileIsReplacedOnlyAfterTheQuestion() {
    QFETCH(int, answer);
    RoadFixture fixture;
    const Bytes mine(12, 1);
    test::writeFile(fixture.web("hello.zvsa"), mine);
    fixture.presenter.scriptAnswer(static_cast<MessageAnswer>(answer));
    int dialogs = 0;
    QString secondProposal;
    std::function<void(ClipSaveDialog&)> drive = [&](ClipSaveDialog& dialog) {
      ++dialogs;
      if (dialogs == 1) {
        if (static_cast<MessageAnswer>(answer) == MessageAnswer::No) test::whenModal<ClipSaveDialog>(drive);
        typeNameAndSave(dialog, QStringLiteral("hello.zvsa"));
        return;
      }
      // The dialog opens again where the user was, with the name typed.
      secondProposal = QString::fromStdString(
          QFile::encodeName(dialog.directory().absolutePath()).toStdString() + "/" +
          dialog.fileNameField()->text().toStdString());
      typeNameAndSave(dialog, QStringLiteral("other"));  // ".zvsa" is added
    };
    test::whenModal<ClipSaveDialog>(drive);
    std::string shownMarkup;
    test::whenModal<MarkupWindow>([&](MarkupWindow& window) {
      shownMarkup = window.markupField()->toPlainText().toStdString();
      window.accept();
    });
    const WindowFinishOutcome outcome = fixture.run(fixture.root.file("web"));

    const std::vector<MessageRequest> shown = fixture.presenter.shown();
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0].kind, MessageKind::Question);
    QCOMPARE(shown[0].caption, std::string("Z&V Tavelworks"));
    QCOMPARE(shown[0].text, wizardMessage(kIdsGalleryOverwrite, fixture.web("hello.zvsa")));
    QCOMPARE(outcome.where, ClipWhereabouts::Saved);
    if (static_cast<MessageAnswer>(answer) == MessageAnswer::Yes) {
      QCOMPARE(dialogs, 1);
      QCOMPARE(test::readFile(fixture.web("hello.zvsa")), fixture.clipBytes);
      QCOMPARE(shownMarkup, fixture.clip.markup);
    } else {
      QCOMPARE(dialogs, 2);
      QCOMPARE(secondProposal.toStdString(), fixture.web("hello.zvsa"));
      QCOMPARE(test::readFile(fixture.web("hello.zvsa")), mine);
      QCOMPARE(outcome.path, fixture.web("other.zvsa"));
      QCOMPARE(test::readFile(fixture.web("other.zvsa")), fixture.clipBytes);
      // The markup names the clip by the name it was saved under.
      QVERIFY2(shownMarkup.find("VALUE=\"other.zvsa\"") != std::string::npos, shownMarkup.c_str());
      QCOMPARE(shownMarkup, markupForClip(fixture.record, "other.zvsa"));
    }
    QVERIFY(!std::filesystem::exists(fixture.root.file("ZVSA-run-test")));
  }

  void aCancelledSaveLosesNothing_data() {
    QTest::addColumn<bool>("galleryClip");
    QTest::addColumn<QString>("alreadyKept");  // what the user's gallery holds as hello.zvsa
    QTest::addColumn<QString>("keptAs");
    QTest::newRow("new clip: into the user's gallery, made now") << false << "" << "hello.zvsa";
    QTest::newRow("new clip: another hello there, a new name") << false << "other" << "hello-2.zvsa";
    QTest::newRow("new clip: added to the gallery already") << false << "same" << "hello.zvsa";
    QTest::newRow("gallery clip: stays in the gallery") << true << "" << "";
  }
  void aCancelledSaveLosesNothing() {
    QFETCH(bool, galleryClip);
    QFETCH(QString, alreadyKept);
    QFETCH(QString, keptAs);
    RoadFixture fixture(galleryClip);
    const Bytes other(40, 2);
    if (!alreadyKept.isEmpty()) {
      std::filesystem::create_directories(fixture.keepFolder);
      test::writeFile(fixture.keepFolder + "/hello.zvsa",
                      alreadyKept == QStringLiteral("same") ? fixture.clipBytes : other);
    }
    test::whenModal<ClipSaveDialog>([](ClipSaveDialog& dialog) {
      auto* buttons = dialog.findChild<QDialogButtonBox*>();
      QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    std::string shownWhere, shownMarkup;
    test::whenModal<MarkupWindow>([&](MarkupWindow& window) {
      shownWhere = window.whereLabel()->text().toStdString();
      shownMarkup = window.markupField()->toPlainText().toStdString();
      if (!galleryClip && alreadyKept.isEmpty()) saveScreenshot(window, QStringLiteral("zvwizard_markup_window_kept"));
      window.accept();
    });
    const WindowFinishOutcome outcome = fixture.run(fixture.root.file("web"));

    QVERIFY(std::filesystem::is_empty(fixture.root.file("web")));
    QVERIFY(fixture.settings.readText(kZvwizardSection, kLastSaveFolderEntry, "").empty());
    if (galleryClip) {
      QCOMPARE(outcome.where, ClipWhereabouts::LeftInGallery);
      QCOMPARE(outcome.path, fixture.clip.path);
      QCOMPARE(test::readFile(fixture.clip.path), fixture.clipBytes);
      QVERIFY(!std::filesystem::exists(fixture.keepFolder));
      QCOMPARE(shownWhere, withPath(texts::kLeftInGallery, fixture.clip.path));
      QCOMPARE(shownMarkup, fixture.clip.markup);
      return;
    }
    const std::string kept = fixture.keepFolder + "/" + keptAs.toStdString();
    QCOMPARE(outcome.where, ClipWhereabouts::KeptInGallery);
    QCOMPARE(outcome.path, kept);
    QCOMPARE(test::readFile(kept), fixture.clipBytes);
    if (alreadyKept == QStringLiteral("other")) QCOMPARE(test::readFile(fixture.keepFolder + "/hello.zvsa"), other);
    QCOMPARE(shownWhere, withPath(texts::kKeptInGallery, kept));
    QCOMPARE(shownMarkup, markupForClip(fixture.record, keptAs.toStdString()));
    // Nothing left in the run folder, which is gone.
    QVERIFY(!std::filesystem::exists(fixture.root.file("ZVSA-run-test")));
  }

  void aSaveThatFailsIsToldAndAskedAgain() {
    // The gallery clip has gone from under the wizard: the copy cannot be
    // made. The user is told why and asked again; then cancels.
    RoadFixture fixture(true);
    std::filesystem::permissions(fixture.root.file("Gallery"), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    std::filesystem::remove(fixture.clip.path);
    int dialogs = 0;
    std::function<void(ClipSaveDialog&)> drive = [&](ClipSaveDialog& dialog) {
      if (++dialogs == 1) {
        test::whenModal<ClipSaveDialog>(drive);
        typeNameAndSave(dialog, QStringLiteral("hello.zvsa"));
      } else {
        dialog.reject();
      }
    };
    test::whenModal<ClipSaveDialog>(drive);
    test::whenModal<MarkupWindow>([](MarkupWindow& window) { window.accept(); });
    const WindowFinishOutcome outcome = fixture.run(fixture.root.file("web"));
    QCOMPARE(dialogs, 2);
    QCOMPARE(outcome.where, ClipWhereabouts::LeftInGallery);
    const std::vector<std::string> shown = fixture.presenter.texts();
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0], withPath(texts::kNotSaved, fixture.web("hello.zvsa")) + "  " +
                           wizardMessage(kIdsSystemReason, std::strerror(ENOENT)));
    QVERIFY(!std::filesystem::exists(fixture.web("hello.zvsa")));
  }

  void theMarkupWindowCopiesAndCloses_data() {
    QTest::addColumn<bool>("byKeys");
    QTest::newRow("mouse") << false;
    QTest::newRow("keys: Alt+C, Alt+L") << true;
  }
  void theMarkupWindowCopiesAndCloses() {
    QFETCH(bool, byKeys);
    const std::string markup = "<APPLET CODE=\"ZvStreamPlayer.class\">\n"
                               "    <PARAM NAME=\"Clip\" VALUE=\"hello.zvsa\">\n"
                               "</APPLET>\n";
    QGuiApplication::clipboard()->setText(QStringLiteral("what was there before"));
    MarkupWindow window(withPath(texts::kSavedAs, "/home/someone/web/hello.zvsa"), markup);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("The Clip's HTML"));
    QCOMPARE(window.markupField()->toPlainText().toStdString(), markup);
    QVERIFY(window.markupField()->isReadOnly());
    QVERIFY(window.closeButton()->isDefault());
    QVERIFY(window.copiedLabel()->text().isEmpty());
    checkEveryControlNamed(window);
    if (!byKeys) saveScreenshot(window, QStringLiteral("zvwizard_markup_window"));

    if (byKeys)
      QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    else
      QTest::mouseClick(window.copyButton(), Qt::LeftButton);
    QTRY_COMPARE(QGuiApplication::clipboard()->text().toStdString(), markup);
    QCOMPARE(window.copiedLabel()->text(), QString::fromUtf8(texts::kCopied));
    QVERIFY(window.isVisible());
    if (byKeys) {
      // Alt+H reaches the markup, for reading it line by line.
      QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);
      QTRY_VERIFY(window.markupField()->hasFocus());
      QTest::keyClick(&window, Qt::Key_L, Qt::AltModifier);
    } else {
      QTest::mouseClick(window.closeButton(), Qt::LeftButton);
    }
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
  }
};

}  // namespace zv

QTEST_MAIN(zv::WindowFinishTest)
#include "window_finish_test.moc"
