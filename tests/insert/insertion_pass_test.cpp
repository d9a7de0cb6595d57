// The whole insertion pass against a scripted Explorer and Editor on a
// private session bus (the test runs under dbus-run-session), with the
// wizard's result supplied by the test: every message path, checked by the
// messages shown, the calls the programs received in order, the text the
// Editor received and what happened to the clip file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/dbus_automation.h"
#include "insert/insert_strings.h"
#include "insert/insertion_pass.h"
#include "insert/message_text.h"
#include "insert/qt_status_window.h"
#include "tests/insert/scripted_automation_server.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "automation/web_url.h"
#include "webbot/attribute_encoding.h"
#include "webbot/webbot_text.h"

namespace zv::insert {
namespace {

using test::AutomationScript;
using test::ScriptedAutomationServer;
using Calls = std::vector<std::string>;

void touch(const std::string& path, const std::string& content = "x") {
  std::ofstream(path, std::ios::binary) << content;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

std::string message(unsigned id, std::initializer_list<std::string_view> values = {}) {
  return fillPlaceholders(loadString(kInsertStrings, id), values);
}

// Records what the status window was asked to show, and the bar's value in
// the real window after each step.
struct StatusLog {
  std::vector<int> progress;
  std::vector<int> barValues;
  std::vector<std::string> texts;
  int opened = 0;
};

class LoggedStatusWindow : public StatusDisplay {
 public:
  explicit LoggedStatusWindow(StatusLog& log) : log_(log) { ++log_.opened; }
  void setProgress(int value) override {
    window_.setProgress(value);
    log_.progress.push_back(value);
    log_.barValues.push_back(window_.progressBar()->value());
  }
  void setText(const std::string& text) override {
    window_.setText(text);
    log_.texts.push_back(window_.textLine()->text().toStdString());
  }

 private:
  StatusLog& log_;
  QtStatusWindow window_;
};

class InsertionPassTest : public testing::Test {
 protected:
  InsertionPassTest() {
    programFolder = program.path() + "/";
    temporaryFolder = temporary.path() + "/";
    clipFile = temporaryFolder + "ZVSA1234.zvsa";
    touch(clipFile, "clip");
    record.buttonCount = 2;
    record.autoplay = 0;
    record.visible = 1;
    record.playCount = -1;
    record.height = 32;
    record.width = 64;
    record.className = "ZvStreamPlayer.class";
    record.codebase = "/Java/ZvTavelwork";
    record.tag = "APPLET";
    record.alignment = "middle";
    record.bodyText = "<b>no \"Java\"</b>";
    record.otherAttributes = "ALT=\"x\"";
    record.clipFile = clipFile;
  }

  PassOutcome run(const AutomationScript& script) {
    server.emplace(script);
    return runWithoutServer();
  }

  PassOutcome runWithoutServer(std::optional<QDBusConnection> connection = std::nullopt) {
    automation::DBusAutomationConnector connector(connection.value_or(QDBusConnection::sessionBus()), limits);
    InsertionEnvironment environment{
        connector,
        [this] {
          ++wizardRuns;
          if (whileWizardIsOpen) whileWizardIsOpen();
          if (cancelWizard) return WizardRun{WizardEnd::Cancelled, {}, 2};
          return WizardRun{WizardEnd::Finished, record, 12325};
        },
        presenter,
        [this] { return std::make_unique<LoggedStatusWindow>(status); },
        programFolder,
        temporaryFolder};
    return runInsertionPass(environment);
  }

  Calls calls() const { return server ? server->calls() : Calls{}; }

  // The messages shown since forgetShown(), for the cases of a table that
  // share one test.
  void forgetShown() { shownBefore = presenter.texts().size(); }
  Calls shownTexts() const {
    const Calls all = presenter.texts();
    return Calls(all.begin() + static_cast<std::ptrdiff_t>(shownBefore), all.end());
  }

  // The WEBBOT text the pass should insert for the fixture's record with
  // this codebase value, written out from the record's values (each field
  // distinct, so that one copied into the wrong place shows).
  std::string expectedText(const std::string& codebaseValue) const {
    const std::string clipName = std::filesystem::path(record.clipFile).filename().string();
    return "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;file://" + programFolder +
           "FPTwoButton.gif&quot; HEIGHT=&quot;32&quot; WIDTH=&quot;64&quot;&gt;\"\r\n"
           " I-NUMBUTTONS=\"2\" \r\n"
           "I-AUTOPLAY=\"0\" \r\n"
           "I-VISIBLE=\"1\" \r\n"
           "I-COUNT=\"-1\" \r\n"
           "I-HEIGHT=\"32\" \r\n"
           "I-WIDTH=\"64\" \r\n"
           "S-CLASS=\"ZvStreamPlayer.class\" \r\n"
           "S-CODEBASE=\"" + codebaseValue + "\" \r\n"
           "S-APPLETTAG=\"APPLET\" \r\n"
           "S-ALIGN=\"middle\" \r\n"
           "S-BODY=\"<b&gt;no &quot;Java&quot;</b&gt;\" \r\n"
           "S-ATTRIBS=\"ALT=&quot;x&quot;\" \r\n"
           "S-CLIP=\"" + clipName + "\" -->\r\n"
           "\r\n"
           "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n";
  }

  test::TempDir program;
  test::TempDir temporary;
  std::string programFolder;
  std::string temporaryFolder;
  std::string clipFile;
  WizardRecord record;
  bool cancelWizard = false;
  std::function<void()> whileWizardIsOpen;  // what happens while the author is in the wizard
  automation::CallTimeLimits limits;        // the program's own unless a test shortens them
  int wizardRuns = 0;
  test::RecordingPresenter presenter;
  std::size_t shownBefore = 0;
  StatusLog status;
  std::optional<ScriptedAutomationServer> server;
};

AutomationScript httpWeb() {
  AutomationScript script;
  script.webUrl = "http://S/myweb";
  script.pageUrl = "http://S/myweb/sub/index.htm";
  return script;
}

TEST_F(InsertionPassTest, NoEditorOnTheBusIsClassNotRegistered) {
  AutomationScript script = httpWeb();
  script.offerEditor = false;
  EXPECT_EQ(run(script), PassOutcome::EditorUnavailable);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgEditorNotRegistered)});
  EXPECT_EQ(calls(), Calls{});
  EXPECT_EQ(wizardRuns, 0);
}

TEST_F(InsertionPassTest, NoExplorerOnTheBusIsClassNotRegistered) {
  AutomationScript script = httpWeb();
  script.offerExplorer = false;
  EXPECT_EQ(run(script), PassOutcome::ExplorerUnavailable);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgExplorerNotRegistered)});
  EXPECT_EQ(calls(), Calls{});
}

TEST_F(InsertionPassTest, NoBusAtAllIsTheUnknownError) {
  // A connection that never reached a bus: the failure is not "not registered".
  EXPECT_EQ(runWithoutServer(QDBusConnection(QStringLiteral("never-connected"))), PassOutcome::EditorUnavailable);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgEditorError)});
}

TEST_F(InsertionPassTest, NoWebOpenEndsBeforeTheWizard) {
  AutomationScript script = httpWeb();
  script.webUrl.clear();
  EXPECT_EQ(run(script), PassOutcome::NoWebOpen);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgNoWebOpen)});
  EXPECT_EQ(calls(), Calls{"Explorer 12()"});
  EXPECT_EQ(wizardRuns, 0);
}

TEST_F(InsertionPassTest, SilentEnds) {
  {
    AutomationScript script = httpWeb();
    script.webUrl = "myweb";  // no slash
    EXPECT_EQ(run(script), PassOutcome::MalformedUrl);
    EXPECT_EQ(calls(), Calls{"Explorer 12()"});
    EXPECT_EQ(wizardRuns, 0);
  }
  {
    cancelWizard = true;
    EXPECT_EQ(run(httpWeb()), PassOutcome::Cancelled);
    EXPECT_EQ(calls(), Calls{"Explorer 12()"});
    cancelWizard = false;
  }
  {
    AutomationScript script = httpWeb();
    script.pageUrl = "index.htm";
    EXPECT_EQ(run(script), PassOutcome::MalformedUrl);
    EXPECT_EQ(calls(), (Calls{"Explorer 12()", "Editor 21()"}));
  }
  EXPECT_TRUE(presenter.texts().empty());
  EXPECT_TRUE(exists(clipFile));
}

TEST_F(InsertionPassTest, ClassFilesPresentAddsOnlyTheClip) {
  AutomationScript script = httpWeb();
  script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"};
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  EXPECT_TRUE(presenter.texts().empty());
  EXPECT_EQ(calls(), (Calls{
                         "Explorer 12()",
                         "Editor 21()",
                         "Explorer 15(\"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js\")",
                         "Explorer 15(\"http://S/myweb/sub/ZVSA1234.zvsa\")",
                         "Explorer 3(\"" + clipFile + "\", \"/myweb/sub/ZVSA1234.zvsa\", true)",
                         "Editor 22(\"" + expectedText("/myweb/Java/ZvTavelwork") + "\")",
                     }));
  EXPECT_EQ(server->insertedTexts(), Calls{expectedText("/myweb/Java/ZvTavelwork")});
  EXPECT_FALSE(exists(clipFile)) << "the temporary clip is deleted once it is in the web";
}

TEST_F(InsertionPassTest, ClassFilesAbsentAndDeclined) {
  touch(programFolder + "ZvStreamPlayer.class");
  presenter.scriptAnswer(MessageAnswer::No);
  EXPECT_EQ(run(httpWeb()), PassOutcome::Inserted);
  ASSERT_EQ(presenter.shown().size(), 1u);
  EXPECT_EQ(presenter.shown()[0].kind, MessageKind::Question);
  EXPECT_EQ(presenter.shown()[0].text, message(kMsgAddClassFiles, {"/myweb/Java/ZvTavelwork", programFolder}));
  EXPECT_EQ(calls(), (Calls{
                         "Explorer 12()",
                         "Editor 21()",
                         "Explorer 15(\"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js\")",
                         "Explorer 15(\"http://S/myweb/sub/ZVSA1234.zvsa\")",
                         "Explorer 3(\"" + clipFile + "\", \"/myweb/sub/ZVSA1234.zvsa\", true)",
                         "Editor 22(\"" + expectedText("/myweb/Java/ZvTavelwork") + "\")",
                     }));
  EXPECT_EQ(status.opened, 0);
}

TEST_F(InsertionPassTest, ClassFilesAddedIntoNewFoldersOneLevelAtATime) {
  touch(programFolder + "B.class");
  touch(programFolder + "A.class");
  touch(programFolder + "readme.txt");
  touch(programFolder + "libZvEncoder.so");
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(httpWeb()), PassOutcome::Inserted);
  EXPECT_EQ(presenter.texts().size(), 1u);
  EXPECT_EQ(calls(), (Calls{
                         "Explorer 12()",
                         "Editor 21()",
                         "Explorer 15(\"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js\")",
                         "Explorer 27(\"/myweb/Java\")",
                         "Explorer 27(\"/myweb/Java/ZvTavelwork\")",
                         "Explorer 3(\"" + programFolder + "A.class\", \"/myweb/Java/ZvTavelwork/A.class\", true)",
                         "Explorer 3(\"" + programFolder + "B.class\", \"/myweb/Java/ZvTavelwork/B.class\", true)",
                         "Explorer 15(\"http://S/myweb/sub/ZVSA1234.zvsa\")",
                         "Explorer 3(\"" + clipFile + "\", \"/myweb/sub/ZVSA1234.zvsa\", true)",
                         "Editor 22(\"" + expectedText("/myweb/Java/ZvTavelwork") + "\")",
                     }));
  EXPECT_EQ(status.opened, 1);
  EXPECT_EQ(status.progress, (std::vector<int>{1, 2}));
  EXPECT_EQ(status.texts,
            (Calls{"Adding /myweb/Java/ZvTavelwork/A.class", "Adding /myweb/Java/ZvTavelwork/B.class"}));
}

TEST_F(InsertionPassTest, TheWebPlayersFilesAreAddedWithTheClassFiles) {
  touch(programFolder + "ZvStreamPlayer.js");
  touch(programFolder + "QV80W.wasm");
  touch(programFolder + "QV160MXW.wasm");
  touch(programFolder + "QV48W.wasm");
  touch(programFolder + "A.class");
  touch(programFolder + "FPOneButton.gif");
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(httpWeb()), PassOutcome::Inserted);
  // The question names the player's files, and where they are.
  ASSERT_EQ(presenter.texts().size(), 1u);
  EXPECT_EQ(presenter.texts()[0], message(kMsgAddClassFiles, {"/myweb/Java/ZvTavelwork", programFolder}));
  EXPECT_NE(presenter.texts()[0].find("The player's files (ZvStreamPlayer.js and its decoders)"), std::string::npos);
  const Calls received = calls();
  Calls added;
  for (const std::string& call : received)
    if (call.rfind("Explorer 3(\"" + programFolder, 0) == 0) added.push_back(call);
  EXPECT_EQ(added, (Calls{
                       "Explorer 3(\"" + programFolder + "A.class\", \"/myweb/Java/ZvTavelwork/A.class\", true)",
                       "Explorer 3(\"" + programFolder + "QV160MXW.wasm\", \"/myweb/Java/ZvTavelwork/QV160MXW.wasm\", true)",
                       "Explorer 3(\"" + programFolder + "QV48W.wasm\", \"/myweb/Java/ZvTavelwork/QV48W.wasm\", true)",
                       "Explorer 3(\"" + programFolder + "QV80W.wasm\", \"/myweb/Java/ZvTavelwork/QV80W.wasm\", true)",
                       "Explorer 3(\"" + programFolder + "ZvStreamPlayer.js\", \"/myweb/Java/ZvTavelwork/ZvStreamPlayer.js\", true)",
                   }));
}

TEST_F(InsertionPassTest, NoClassFilesInTheProgramFolderOpensNoStatus) {
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(httpWeb()), PassOutcome::Inserted);
  // The folders are made before the listing finds nothing.
  const Calls received = calls();
  ASSERT_EQ(received.size(), 8u);
  EXPECT_EQ(received[3], "Explorer 27(\"/myweb/Java\")");
  EXPECT_EQ(received[4], "Explorer 27(\"/myweb/Java/ZvTavelwork\")");
  EXPECT_EQ(received[5], "Explorer 15(\"http://S/myweb/sub/ZVSA1234.zvsa\")");
  EXPECT_EQ(status.opened, 0);
}

TEST_F(InsertionPassTest, ElevenClassFilesFillTheBarAtTheTenth) {
  for (int i = 0; i < 11; ++i) touch(programFolder + "C" + std::to_string(10 + i) + ".class");
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(httpWeb()), PassOutcome::Inserted);
  EXPECT_EQ(status.progress, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(status.barValues, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10}));
  EXPECT_EQ(status.texts.back(), "Adding /myweb/Java/ZvTavelwork/C20.class");
}

TEST_F(InsertionPassTest, RefusedPlayerFilesAreReportedAndThePlayerIsInsertedIncomplete) {
  touch(programFolder + "A.class");
  touch(programFolder + "B.class");
  AutomationScript script = httpWeb();
  script.refusedTargets = {"/myweb/Java/ZvTavelwork/A.class"};
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(script), PassOutcome::InsertedIncomplete);
  EXPECT_EQ(presenter.texts(),
            (Calls{message(kMsgAddClassFiles, {"/myweb/Java/ZvTavelwork", programFolder}),
                   message(kMsgAddFailed, {programFolder + "A.class", "/myweb/Java/ZvTavelwork/A.class"})}));
  const Calls received = calls();
  EXPECT_EQ(received[6], "Explorer 3(\"" + programFolder + "B.class\", \"/myweb/Java/ZvTavelwork/B.class\", true)");
  EXPECT_EQ(received.back().rfind("Editor 22(", 0), 0u) << "the player's files are the page's own business";
  EXPECT_FALSE(exists(clipFile)) << "the clip went into the web and onto the page";
}

// A clip that cannot be added would leave a player without its clip: the
// page is left alone, and whatever the copy left where no clip was goes.
TEST_F(InsertionPassTest, AClipThatCannotBeAddedIsTakenOutAndNothingIsInserted) {
  struct Case {
    const char* name;
    void (*spoil)(AutomationScript&);
  };
  const Case cases[] = {
      {"answers 0", [](AutomationScript& s) { s.refusedTargets = {"/myweb/sub/ZVSA1234.zvsa"}; }},
      {"answers an error", [](AutomationScript& s) { s.failingCalls = {"Explorer 3"}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    forgetShown();
    AutomationScript script = httpWeb();
    script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"};
    c.spoil(script);
    EXPECT_EQ(run(script), PassOutcome::ClipNotAdded);
    EXPECT_EQ(shownTexts(), (Calls{message(kMsgAddFailed, {clipFile, "/myweb/sub/ZVSA1234.zvsa"}),
                                        message(kMsgPlayerNotInserted)}));
    const Calls received = calls();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[received.size() - 2], "Explorer 3(\"" + clipFile + "\", \"/myweb/sub/ZVSA1234.zvsa\", true)");
    EXPECT_EQ(received.back(), "Explorer 30(\"/myweb/sub/ZVSA1234.zvsa\")");
    EXPECT_TRUE(server->insertedTexts().empty());
    EXPECT_TRUE(exists(clipFile)) << "a clip that could not be added stays for the author";
    server.reset();
  }
}

// The Editor does not take the text: the clip added for it goes again (one
// that replaced a clip stays, as other pages may name it), the author hears
// where the new clip was kept, and the clip is kept.
TEST_F(InsertionPassTest, AnInsertTheEditorRefusesTakesTheClipOutAgain) {
  struct Case {
    const char* name;
    void (*spoil)(AutomationScript&);
    bool clipWasThere;
  };
  const Case cases[] = {
      {"answers 0", [](AutomationScript& s) { s.refuseInsert = true; }, false},
      {"answers an error", [](AutomationScript& s) { s.failingCalls = {"Editor 22"}; }, false},
      {"answers 0 after a replacing copy", [](AutomationScript& s) { s.refuseInsert = true; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    forgetShown();
    AutomationScript script = httpWeb();
    script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"};
    if (c.clipWasThere) {
      script.existingUrls.insert("http://S/myweb/sub/ZVSA1234.zvsa");
      presenter.scriptAnswer(MessageAnswer::Yes);
    }
    c.spoil(script);
    EXPECT_EQ(run(script), PassOutcome::InsertRefused);
    const std::string told = message(kMsgInsertRefused, {"http://S/myweb/sub/index.htm"}) +
                             (c.clipWasThere ? "" : message(kMsgClipTakenOut, {"/myweb/sub/ZVSA1234.zvsa"})) +
                             message(kMsgClipKept, {clipFile});
    ASSERT_FALSE(shownTexts().empty());
    EXPECT_EQ(shownTexts().back(), told);
    const Calls received = calls();
    const auto insert = std::find_if(received.begin(), received.end(),
                                     [](const std::string& call) { return call.rfind("Editor 22(", 0) == 0; });
    ASSERT_NE(insert, received.end());
    const Calls after(insert + 1, received.end());
    EXPECT_EQ(after, c.clipWasThere ? Calls{} : Calls{"Explorer 30(\"/myweb/sub/ZVSA1234.zvsa\")"});
    EXPECT_TRUE(exists(clipFile)) << "the page did not take the clip; the author still has it";
    server.reset();
  }
}

// A folder for the player's files that cannot be made: said, with where the
// files are; no file is sent to a folder that is not there; the player is
// still inserted, as when the author adds the files by hand.
TEST_F(InsertionPassTest, AFolderThatCannotBeMadeIsToldAndGetsNoFiles) {
  struct Case {
    const char* name;
    void (*spoil)(AutomationScript&);
    Calls folderCalls;
    std::string folder;
  };
  const Case cases[] = {
      {"the inner folder answers 0", [](AutomationScript& s) { s.unmadeFolders = {"/myweb/Java/ZvTavelwork"}; },
       {"Explorer 27(\"/myweb/Java\")", "Explorer 27(\"/myweb/Java/ZvTavelwork\")"}, "/myweb/Java/ZvTavelwork"},
      {"the outer folder answers an error", [](AutomationScript& s) { s.failingCalls = {"Explorer 27"}; },
       {"Explorer 27(\"/myweb/Java\")"}, "/myweb/Java"},
  };
  touch(programFolder + "A.class");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    forgetShown();
    status = {};
    presenter.scriptAnswer(MessageAnswer::Yes);
    AutomationScript script = httpWeb();
    c.spoil(script);
    EXPECT_EQ(run(script), PassOutcome::InsertedIncomplete);
    EXPECT_EQ(shownTexts(), (Calls{message(kMsgAddClassFiles, {"/myweb/Java/ZvTavelwork", programFolder}),
                                        message(kMsgFolderNotMade, {c.folder, programFolder})}));
    Calls expected{"Explorer 12()", "Editor 21()", "Explorer 15(\"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js\")"};
    expected.insert(expected.end(), c.folderCalls.begin(), c.folderCalls.end());
    expected.push_back("Explorer 15(\"http://S/myweb/sub/ZVSA1234.zvsa\")");
    expected.push_back("Explorer 3(\"" + clipFile + "\", \"/myweb/sub/ZVSA1234.zvsa\", true)");
    expected.push_back("Editor 22(\"" + expectedText("/myweb/Java/ZvTavelwork") + "\")");
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(status.opened, 0);
    server.reset();
    touch(clipFile, "clip");
  }
}

// An Explorer that cannot say whether a file is there must not have it
// replaced without the question: the pass ends before any copy.
TEST_F(InsertionPassTest, AFileExistsCallThatFailsReplacesNothing) {
  struct Case {
    std::string url;
    std::string shownPath;
  };
  const Case cases[] = {
      {"http://S/myweb/sub/ZVSA1234.zvsa", "/myweb/sub/ZVSA1234.zvsa"},
      {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js", "/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    forgetShown();
    presenter.scriptAnswer(MessageAnswer::Yes);  // were anything asked, it would be let through
    AutomationScript script = httpWeb();
    script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"};
    script.unknownUrls = {c.url};
    EXPECT_EQ(run(script), PassOutcome::ExistsUnknown);
    EXPECT_EQ(shownTexts(), Calls{message(kMsgExistsUnknown, {c.shownPath}) + message(kMsgClipKept, {clipFile})});
    const Calls received = calls();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), "Explorer 15(\"" + c.url + "\")") << "nothing after the failed question";
    EXPECT_TRUE(exists(clipFile));
    server.reset();
  }
}

// A program that never answers (within the time limit, shortened here), or
// answers a question with an error, ends the pass, named; nothing after that
// call is sent. A failed question is not taken for "no web open" or for a
// page URL without a slash.
TEST_F(InsertionPassTest, AProgramThatLetsACallDownIsNamed) {
  struct Case {
    std::string call;
    bool answered;  // with an error; else never
    const char* program;
    bool afterWizard;
  };
  const Case cases[] = {
      {"Explorer 12", false, "FrontPage Explorer", false}, {"Editor 21", false, "FrontPage Editor", true},
      {"Explorer 3", false, "FrontPage Explorer", true},   {"Editor 22", false, "FrontPage Editor", true},
      {"Explorer 12", true, "FrontPage Explorer", false},  {"Editor 21", true, "FrontPage Editor", true},
  };
  limits = {1000, 1000};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call + (c.answered ? " with an error" : " unanswered"));
    forgetShown();
    wizardRuns = 0;
    AutomationScript script = httpWeb();
    script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"};
    (c.answered ? script.failingCalls : script.unansweredCalls) = {c.call};
    EXPECT_EQ(run(script), c.answered ? PassOutcome::ProgramFailed : PassOutcome::NoAnswer);
    const std::string why =
        c.answered ? message(kMsgProgramFailed, {c.program}) : message(kMsgNoAnswer, {c.program, c.program});
    EXPECT_EQ(shownTexts(), Calls{why + (c.afterWizard ? message(kMsgClipKept, {clipFile}) : "")});
    const Calls received = calls();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back().rfind(c.call + "(", 0), 0u) << received.back();
    EXPECT_EQ(wizardRuns, c.afterWizard ? 1 : 0);
    EXPECT_TRUE(exists(clipFile));
    server.reset();
  }
}

// The author takes as long as needed in the wizard; a program that closes
// meanwhile is named, not taken for a page URL without a slash.
TEST_F(InsertionPassTest, AProgramThatClosesDuringTheWizardIsNamed) {
  struct Case {
    const char* leaving;
    const char* program;
    Calls received;
  };
  const Case cases[] = {
      {"Editor", "FrontPage Editor", {"Explorer 12()"}},
      {"Explorer", "FrontPage Explorer", {"Explorer 12()", "Editor 21()"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.leaving);
    forgetShown();
    whileWizardIsOpen = [this, &c] { server->leave(c.leaving); };
    EXPECT_EQ(run(httpWeb()), PassOutcome::ProgramGone);
    EXPECT_EQ(shownTexts(), Calls{message(kMsgProgramGone, {c.program, c.program}) +
                                       message(kMsgClipKept, {clipFile})});
    EXPECT_EQ(calls(), c.received);
    EXPECT_TRUE(exists(clipFile));
    server.reset();
  }
}

TEST_F(InsertionPassTest, AFailingWizardIsToldNotTakenForCancel) {
  AutomationScript script = httpWeb();
  server.emplace(script);
  automation::DBusAutomationConnector connector(QDBusConnection::sessionBus());
  InsertionEnvironment environment{connector,
                                   [] { return WizardRun{WizardEnd::Failed, {}, -1}; },
                                   presenter,
                                   [this] { return std::make_unique<LoggedStatusWindow>(status); },
                                   programFolder,
                                   temporaryFolder};
  EXPECT_EQ(runInsertionPass(environment), PassOutcome::WizardFailed);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgWizardFailed, {"-1"})});
  EXPECT_EQ(calls(), Calls{"Explorer 12()"});
}

TEST_F(InsertionPassTest, ClipPresentAndDeclinedKeepsTheNewClip) {
  AutomationScript script = httpWeb();
  script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js", "http://S/myweb/sub/ZVSA1234.zvsa"};
  presenter.scriptAnswer(MessageAnswer::No);
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  ASSERT_EQ(presenter.shown().size(), 2u);
  EXPECT_EQ(presenter.shown()[0].kind, MessageKind::Question);
  EXPECT_EQ(presenter.shown()[0].text, message(kMsgClipPresent, {"/myweb/sub/ZVSA1234.zvsa"}));
  EXPECT_EQ(presenter.shown()[1].kind, MessageKind::Information);
  EXPECT_EQ(presenter.shown()[1].text, message(kMsgClipNotUpdated, {"/myweb/sub/ZVSA1234.zvsa", clipFile}));
  EXPECT_NE(presenter.shown()[1].text.find(clipFile), std::string::npos);
  EXPECT_EQ(calls(), (Calls{
                         "Explorer 12()",
                         "Editor 21()",
                         "Explorer 15(\"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js\")",
                         "Explorer 15(\"http://S/myweb/sub/ZVSA1234.zvsa\")",
                         "Editor 22(\"" + expectedText("/myweb/Java/ZvTavelwork") + "\")",
                     }));
  EXPECT_TRUE(exists(clipFile)) << "declining to overwrite must not lose the new clip";
}

TEST_F(InsertionPassTest, ClipPresentAndOverwritten) {
  AutomationScript script = httpWeb();
  script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js", "http://S/myweb/sub/ZVSA1234.zvsa"};
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgClipPresent, {"/myweb/sub/ZVSA1234.zvsa"})});
  EXPECT_EQ(calls()[4], "Explorer 3(\"" + clipFile + "\", \"/myweb/sub/ZVSA1234.zvsa\", true)");
  EXPECT_FALSE(exists(clipFile));
}

TEST_F(InsertionPassTest, GalleryClipIsNotDeleted) {
  test::TempDir gallery;
  record.clipFile = gallery.file("hello.zvsa");
  touch(record.clipFile);
  AutomationScript script = httpWeb();
  script.existingUrls = {"http://S/myweb/Java/ZvTavelwork/ZvStreamPlayer.js"};
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  EXPECT_EQ(calls()[4], "Explorer 3(\"" + record.clipFile + "\", \"/myweb/sub/hello.zvsa\", true)");
  EXPECT_TRUE(exists(record.clipFile));
}

TEST_F(InsertionPassTest, PageOutsideTheOpenWebChangesNothing) {
  AutomationScript script = httpWeb();
  script.pageUrl = "http://T/other/index.htm";
  EXPECT_EQ(run(script), PassOutcome::PageNotInWeb);
  EXPECT_EQ(presenter.texts(), Calls{message(kMsgPageNotInWeb, {"http://T/other/index.htm", "http://S/myweb", clipFile})});
  EXPECT_EQ(calls(), (Calls{"Explorer 12()", "Editor 21()"}));
  EXPECT_TRUE(exists(clipFile));
}

TEST_F(InsertionPassTest, DiskBasedWebKeepsClassesBesideThePage) {
  touch(programFolder + "ZvStreamPlayer.class");
  AutomationScript script;
  script.webUrl = "file:///home/ann/site";
  script.pageUrl = "file:///home/ann/site/a/page.htm";
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  EXPECT_EQ(calls(), (Calls{
                         "Explorer 12()",
                         "Editor 21()",
                         "Explorer 15(\"file:///home/ann/site/a/ZvStreamPlayer.js\")",
                         "Explorer 3(\"" + programFolder + "ZvStreamPlayer.class\", \"/site/a/ZvStreamPlayer.class\", true)",
                         "Explorer 15(\"file:///home/ann/site/a/ZVSA1234.zvsa\")",
                         "Explorer 3(\"" + clipFile + "\", \"/site/a/ZVSA1234.zvsa\", true)",
                         "Editor 22(\"" + expectedText("") + "\")",
                     }));
}

TEST_F(InsertionPassTest, RootWebWithoutCodebaseUsesBareNames) {
  touch(programFolder + "ZvStreamPlayer.class");
  record.codebase.clear();
  AutomationScript script;
  script.webUrl = "http://S";
  script.pageUrl = "http://S/index.htm";
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  EXPECT_EQ(calls(), (Calls{
                         "Explorer 12()",
                         "Editor 21()",
                         "Explorer 15(\"http://S/ZvStreamPlayer.js\")",
                         "Explorer 3(\"" + programFolder + "ZvStreamPlayer.class\", \"ZvStreamPlayer.class\", true)",
                         "Explorer 15(\"http://S/ZVSA1234.zvsa\")",
                         "Explorer 3(\"" + clipFile + "\", \"/ZVSA1234.zvsa\", true)",
                         "Editor 22(\"" + expectedText("") + "\")",
                     }));
}

TEST_F(InsertionPassTest, SpacesAndNonAsciiTravelIntact) {
  test::TempDir place;
  const std::string folder = place.path() + "/Z&V Pl\xC3\xA4yer/";
  std::filesystem::create_directories(folder);
  programFolder = folder;
  touch(programFolder + "Sp\xC3\xA4t Player.class");
  record.clipFile = temporaryFolder + "m\xC3\xBCsic clip.zvsa";
  touch(record.clipFile);
  AutomationScript script;
  script.webUrl = "file:///home/ann/my%20site";
  script.pageUrl = "file:///home/ann/my%20site/caf%C3%A9/page.htm";
  presenter.scriptAnswer(MessageAnswer::Yes);
  EXPECT_EQ(run(script), PassOutcome::Inserted);
  const Calls received = calls();
  ASSERT_EQ(received.size(), 7u);
  EXPECT_EQ(received[3], "Explorer 3(\"" + programFolder + "Sp\xC3\xA4t Player.class\", \"/my%20site/caf%C3%A9/Sp%C3%A4t%20Player.class\", true)");
  EXPECT_EQ(received[4], "Explorer 15(\"file:///home/ann/my%20site/caf%C3%A9/m%C3%BCsic%20clip.zvsa\")");
  EXPECT_EQ(received[5], "Explorer 3(\"" + record.clipFile + "\", \"/my%20site/caf%C3%A9/m%C3%BCsic%20clip.zvsa\", true)");
  ASSERT_EQ(server->insertedTexts().size(), 1u);
  const std::string text = server->insertedTexts()[0];
  EXPECT_NE(text.find("S-CLIP=\"m%C3%BCsic%20clip.zvsa\""), std::string::npos);  // a URL
  // The preview URL is percent-encoded, its '&' too, so that it needs no
  // character reference inside the PREVIEW value's quoted image element.
  EXPECT_NE(text.find("/Z%26V%20Pl%C3%A4yer/FPTwoButton.gif&quot;"), std::string::npos);
  EXPECT_EQ(status.texts, Calls{"Adding /my site/caf\xC3\xA9/Sp\xC3\xA4t Player.class"});
}

}  // namespace
}  // namespace zv::insert

int main(int argc, char** argv) {
  // Windows are drawn off screen, also when the tests are only being listed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

namespace zv::insert {
namespace {

// Where a browser looks for the clip of a page at `pageUrl` whose Clip value
// is `reference`: the reference resolved against the page's folder, without
// its query and fragment, percent-decoded.
std::string pathTheBrowserAsksFor(const std::string& pageUrl, const std::string& reference) {
  const std::string folder = pageUrl.substr(pageUrl.find('/', pageUrl.find("//") + 2));
  std::string path = folder.substr(0, folder.rfind('/') + 1) + reference.substr(0, reference.find_first_of("?#"));
  return automation::percentDecode(path);
}

// For any name a file system allows, the clip the page names is the file the
// pass copied into the web: the page holds a URL (percent-encoded), the web
// path names the plain file.
TEST_F(InsertionPassTest, ThePageNamesTheCopiedClipWhateverItsName) {
  const std::string names[] = {
      "it's \"my\" clip #1 50% ?.zvsa",
      "Gr\xC3\xBC\xC3\x9F" "e \xC3\xB0\xC3\xA6.zvsa",
      "a&amp;b;c=d+e&#38;.zvsa",
      "%41%zz%.zvsa",
      "x:y<b>.zvsa",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    clipFile = temporaryFolder + name;
    touch(clipFile);
    record.clipFile = clipFile;
    const AutomationScript script = httpWeb();
    ASSERT_EQ(run(script), PassOutcome::Inserted);

    std::string webPath;
    const std::string addPrefix = "Explorer 3(\"" + clipFile + "\", \"";
    for (const std::string& call : calls()) {
      if (call.rfind(addPrefix, 0) == 0) webPath = call.substr(addPrefix.size(), call.size() - addPrefix.size() - 8);
    }
    ASSERT_FALSE(webPath.empty());
    EXPECT_EQ(automation::percentDecode(webPath), "/myweb/sub/" + name);

    ASSERT_EQ(server->insertedTexts().size(), 1u);
    const std::string text = server->insertedTexts()[0];
    const std::size_t begin = text.find("S-CLIP=\"") + 8;
    const std::string value = text.substr(begin, text.find('"', begin) - begin);
    EXPECT_EQ(pathTheBrowserAsksFor(script.pageUrl, webbot::decodeAttributeValue(value)), "/myweb/sub/" + name)
        << value;
    server.reset();
  }
}

}  // namespace
}  // namespace zv::insert
