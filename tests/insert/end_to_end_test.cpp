// The whole road, as an author takes it: `webhost serve` offers a web on a
// private session bus (the test runs under dbus-run-session, offscreen), the
// insertion pass runs the real wizard from libZvEncoder.so, driven through
// its controls on the file road to Finish, and then the page holds the
// sixteen-line WEBBOT text at the insertion point and nothing else changed,
// the clip and the player's files are in the web, and `webhost publish`
// turns the component into the APPLET markup for the clip.
#include <gtest/gtest.h>
#include <signal.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWizard>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "automation/dbus_automation.h"
#include "insert/insertion_pass.h"
#include "insert/qt_status_window.h"
#include "insert/zv_encoder_wizard.h"
#include "platform/file_url.h"
#include "platform/temporary_file.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "webbot/markup/applet_markup.h"
#include "player/player_files.h"
#include "wizard/wizard_state.h"

namespace zv::insert {
namespace {

namespace fs = std::filesystem;

const QString kWebhost = QStringLiteral(ZV_WEBHOST_PROGRAM);
const std::string kProgramFilesFolder = ZV_PROGRAM_FILES_DIR;  // the private data folder of the build tree
const std::string kSourceSound = ZV_SOURCE_SOUND;
constexpr int kWaitMs = 60000;
constexpr char kMarker[] = "<!-- player here -->";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

template <typename Widget>
Widget* findByName(QWidget* root, const QString& accessibleName) {
  for (Widget* widget : root->findChildren<Widget*>())
    if (widget->accessibleName() == accessibleName && widget->isVisible()) return widget;
  return nullptr;
}

// Answers the wizard the way an author does on the file road: the source
// file on the input page, Next through compression and output, Finish on
// the applet page. It acts once per page, from a timer, so that it also runs
// inside the modal loops of the wizard and its progress dialog. Any message
// box is noted and closed: the road has none.
class WizardDriver : public QObject {
 public:
  explicit WizardDriver(std::string sourceFile) : source_(std::move(sourceFile)) {
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, [this] { step(); });
    timer_.start();
  }

  std::vector<int> pagesSeen;
  std::vector<std::string> unexpectedMessages;

 private:
  void step() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
        unexpectedMessages.push_back(box->text().toStdString());
        box->reject();
        return;
      }
    }
    QWizard* wizard = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* candidate = qobject_cast<QWizard*>(window); candidate && candidate->isVisible()) wizard = candidate;
    if (!wizard || QApplication::activeModalWidget() != wizard) return;
    const int page = wizard->currentId();
    if (!pagesSeen.empty() && pagesSeen.back() == page) return;  // already answered; the page is working
    pagesSeen.push_back(page);
    switch (page) {
      case kPageWaveInput: {
        auto* fileRadio = findByName<QRadioButton>(wizard, QStringLiteral("Specify the source audio file"));
        auto* path = findByName<QLineEdit>(wizard, QStringLiteral("Source audio file"));
        if (!fileRadio || !path) return;
        // On the round indicator: a radio button takes clicks on its indicator
        // and label only, and the layout makes it wider than both.
        QTest::mouseClick(fileRadio, Qt::LeftButton, {}, QPoint(6, fileRadio->height() / 2));
        if (!fileRadio->isChecked()) unexpectedMessages.push_back("the source file choice did not take the click");
        path->clear();
        QTest::keyClicks(path, QString::fromStdString(source_));
        QTest::mouseClick(wizard->button(QWizard::NextButton), Qt::LeftButton);
        break;
      }
      case kPageAppletProperties: {
        // A play count unlike every other number of the settings, so that
        // one copied into another's place shows in the page.
        auto* count = findByName<QLineEdit>(wizard, QStringLiteral("Play count"));
        if (!count) return;
        count->clear();
        QTest::keyClicks(count, QStringLiteral("5"));
        QTest::mouseClick(wizard->button(QWizard::FinishButton), Qt::LeftButton);
        break;
      }
      default:
        QTest::mouseClick(wizard->button(QWizard::NextButton), Qt::LeftButton);
    }
  }

  std::string source_;
  QTimer timer_;
};

class EndToEndTest : public testing::Test {
 protected:
  EndToEndTest() : web(fs::path(folder.path()) / "my site") {
    writeFile(web / "index.htm", kPageBefore);
    writeFile(web / "about.htm", "<html><body>About</body></html>\n");
  }

  ~EndToEndTest() override {
    if (server.state() != QProcess::NotRunning) {
      ::kill(static_cast<pid_t>(server.processId()), SIGTERM);
      if (!server.waitForFinished(kWaitMs)) server.kill();
    }
  }

  void startServer() {
    QDBusServiceWatcher watcher(QStringLiteral("FrontPage.Editor"), QDBusConnection::sessionBus(),
                                QDBusServiceWatcher::WatchForRegistration);
    QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
    server.start(kWebhost, {QStringLiteral("serve"), QStringLiteral("--web"), QString::fromStdString(web.string()),
                            QStringLiteral("--page"), QStringLiteral("index.htm"), QStringLiteral("--marker"),
                            QString::fromLatin1(kMarker), QStringLiteral("-v")});
    ASSERT_TRUE(server.waitForStarted(kWaitMs));
    ASSERT_TRUE(registered.wait(kWaitMs)) << server.readAllStandardError().toStdString();
  }

  static constexpr char kPageBefore[] =
      "<html>\r\n<body>\r\n<h1>Hello</h1>\r\n<!-- player here --><p>After.</p>\r\n</body>\r\n</html>\r\n";

  test::TempDir folder;
  fs::path web;
  QProcess server;
};

TEST_F(EndToEndTest, WizardOnTheFileRoadPutsThePlayerOnThePage) {
  startServer();
  std::optional<WizardRecord> record;
  test::RecordingPresenter presenter;
  presenter.scriptAnswer(MessageAnswer::Yes);  // add the player's files when asked
  WizardDriver driver(kSourceSound);
  automation::DBusAutomationConnector connector(QDBusConnection::sessionBus());
  InsertionEnvironment environment{connector,
                                   [&record] {
                                     WizardRun run = runZvEncoderWizard();
                                     if (run.end == WizardEnd::Finished) record = run.record;
                                     return run;
                                   },
                                   presenter,
                                   [] { return std::make_unique<QtStatusWindow>(); },
                                   kProgramFilesFolder + "/",
                                   temporaryDirectory()};
  const PassOutcome outcome = runInsertionPass(environment);
  EXPECT_TRUE(driver.unexpectedMessages.empty()) << driver.unexpectedMessages.front();
  ASSERT_EQ(outcome, PassOutcome::Inserted) << "pages seen: " << driver.pagesSeen.size();
  ASSERT_TRUE(record);
  EXPECT_EQ(driver.pagesSeen, (std::vector<int>{kPageWaveInput, kPageWaveCompression, kPageWaveOutput,
                                                kPageAppletProperties}))
      << "the file road";

  // The clip: in the web beside the page, and gone from the temporary folder.
  const std::string clipName = fs::path(record->clipFile).filename().string();
  EXPECT_EQ(record->clipFile.rfind(temporaryDirectory(), 0), 0u) << record->clipFile;
  EXPECT_FALSE(fs::exists(record->clipFile));
  ASSERT_TRUE(fs::is_regular_file(web / clipName));
  EXPECT_GT(fs::file_size(web / clipName), 154u) << "a stream file: header and frames";

  // The player's files, every one the player has, beside the page in a
  // disk-based web, as they are in the program's folder.
  for (const char* name : player::kPlayerFiles) {
    ASSERT_TRUE(fs::is_regular_file(fs::path(kProgramFilesFolder) / name)) << name << " was not built";
    EXPECT_TRUE(fs::is_regular_file(web / name)) << name << " is not in the web";
    EXPECT_EQ(readFile(web / name), readFile(fs::path(kProgramFilesFolder) / name)) << name;
  }

  // The page: the WEBBOT text just before the marker, every other byte as it
  // was. The text is written out from what the wizard was given: the sound
  // file's name for the clip, the settings a fresh configuration starts with
  // (the play count as typed), and no codebase, as a disk-based web keeps the classes beside the page.
  EXPECT_EQ(clipName, fs::path(kSourceSound).stem().string() + ".zvsa");
  const std::string expectedText =
      "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;" +
      fileUrlForPath(kProgramFilesFolder + "/FPTwoButton.gif") +
      "&quot; HEIGHT=&quot;32&quot; WIDTH=&quot;64&quot;&gt;\"\r\n"
      " I-NUMBUTTONS=\"2\" \r\n"
      "I-AUTOPLAY=\"0\" \r\n"
      "I-VISIBLE=\"1\" \r\n"
      "I-COUNT=\"5\" \r\n"
      "I-HEIGHT=\"32\" \r\n"
      "I-WIDTH=\"64\" \r\n"
      "S-CLASS=\"ZvStreamPlayer.class\" \r\n"
      "S-CODEBASE=\"\" \r\n"
      "S-APPLETTAG=\"APPLET\" \r\n"
      "S-ALIGN=\"middle\" \r\n"
      "S-BODY=\"This browser is aware of Java applets, but is unable to execute them.\" \r\n"
      "S-ATTRIBS=\"ALT=&quot;Java is not available in this browser&quot;\" \r\n"
      "S-CLIP=\"" + fs::path(kSourceSound).stem().string() + ".zvsa\" -->\r\n"
      "\r\n"
      "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n";
  WizardRecord inserted = *record;
  inserted.codebase.clear();  // for the markup webhost publish writes
  const std::string before = kPageBefore;
  const std::size_t at = before.find(kMarker);
  EXPECT_EQ(readFile(web / "index.htm"), before.substr(0, at) + expectedText + before.substr(at));
  EXPECT_EQ(std::count(expectedText.begin(), expectedText.end(), '\n'), 16);
  EXPECT_EQ(readFile(web / "about.htm"), "<html><body>About</body></html>\n");

  // Published, the component becomes the APPLET markup for the clip.
  QProcess publish;
  const fs::path out = fs::path(folder.path()) / "published";
  publish.start(kWebhost, {QStringLiteral("publish"), QString::fromStdString(web.string()),
                           QString::fromStdString(out.string())});
  ASSERT_TRUE(publish.waitForFinished(kWaitMs));
  EXPECT_EQ(publish.exitCode(), 0) << publish.readAllStandardError().toStdString();
  SystemString markup = nullptr;
  ASSERT_TRUE(GenerateAppletMarkup(inserted.settings(), clipName.c_str(), &markup, kMarkupLinesEndLf));
  const std::string applet = markup;
  SysFreeString(markup);
  EXPECT_NE(readFile(out / "index.htm").find(applet), std::string::npos) << readFile(out / "index.htm");
  EXPECT_NE(applet.find("<PARAM NAME=\"Clip\" VALUE=\"" + clipName + "\">"), std::string::npos);
}

// webhost refuses to change a read-only page: the author hears of it, the
// clip added for it leaves the web folder again, and the page and the
// wizard's clip stay as they were.
TEST_F(EndToEndTest, APageThatRefusesThePlayerGetsItsClipTakenOutAgain) {
  fs::permissions(web / "index.htm", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  startServer();
  test::TempDir temporary;
  WizardRun wizard{WizardEnd::Finished, {}, 12325};
  wizard.record.buttonCount = 1;
  wizard.record.className = "ZvStreamPlayer.class";
  wizard.record.tag = "APPLET";
  wizard.record.clipFile = temporary.path() + "/refused clip.zvsa";
  writeFile(wizard.record.clipFile, "clip");
  test::RecordingPresenter presenter;
  automation::DBusAutomationConnector connector(QDBusConnection::sessionBus());
  InsertionEnvironment environment{connector,
                                   [&wizard] { return wizard; },
                                   presenter,
                                   [] { return std::make_unique<QtStatusWindow>(); },
                                   kProgramFilesFolder + "/",
                                   temporary.path() + "/"};
  EXPECT_EQ(runInsertionPass(environment), PassOutcome::InsertRefused);
  ASSERT_FALSE(presenter.texts().empty());
  EXPECT_NE(presenter.texts().back().find("taken out of the web again"), std::string::npos)
      << presenter.texts().back();
  EXPECT_FALSE(fs::exists(web / "refused clip.zvsa"));
  EXPECT_TRUE(fs::exists(wizard.record.clipFile));
  EXPECT_EQ(readFile(web / "index.htm"), kPageBefore);
}

}  // namespace
}  // namespace zv::insert

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The wizard keeps its settings in the user's configuration: use a fresh one.
  zv::test::TempDir configuration;
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configuration.path()));
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
