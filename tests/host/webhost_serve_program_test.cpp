// `webhost serve` as a program on a private session bus (the test runs under
// dbus-run-session): it says which names it owns, answers the six calls with
// the contract's types when called with plain D-Bus messages, changes the
// web's files, says what it could not save, refuses a second instance, and
// stops cleanly on SIGTERM, SIGINT and SIGHUP.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QProcess>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const QString kWebhost = QStringLiteral(ZV_WEBHOST_PROGRAM);
constexpr int kWaitMs = 20000;

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

// The answer of one Invoke call: its single value, or the error's name.
struct Reply {
  QVariant value;
  QString error;
};

Reply invoke(const char* busName, int dispid, const QVariantList& arguments) {
  QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(busName), QStringLiteral("/Automation"),
                                                     QStringLiteral("org.zvtavelworks.Automation"),
                                                     QStringLiteral("Invoke"));
  call << dispid << QVariant::fromValue(arguments);
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kWaitMs);
  if (reply.type() == QDBusMessage::ErrorMessage) return {{}, reply.errorName()};
  EXPECT_EQ(reply.signature(), QStringLiteral("v"));
  return {reply.arguments().value(0).value<QDBusVariant>().variant(), {}};
}

class WebhostServeTest : public testing::Test {
 protected:
  WebhostServeTest() : web(fs::path(folder.path()) / "a web \xC3\xA9") {
    writeFile(web / "sub" / "index.htm", "<html><body>\n<!-- here -->\n</body></html>\n");
  }

  ~WebhostServeTest() override {
    if (server.state() != QProcess::NotRunning) {
      server.kill();
      server.waitForFinished(kWaitMs);
    }
  }

  // Starts webhost serve and waits until it owns both names.
  void startServer(const QStringList& extra = {}) {
    QDBusServiceWatcher watcher(QStringLiteral("FrontPage.Editor"), QDBusConnection::sessionBus(),
                                QDBusServiceWatcher::WatchForRegistration);
    QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
    server.start(kWebhost, QStringList{QStringLiteral("serve"), QStringLiteral("--web"),
                                       QString::fromStdString(web.string()), QStringLiteral("--page"),
                                       QStringLiteral("sub/index.htm")} +
                               extra);
    ASSERT_TRUE(server.waitForStarted(kWaitMs));
    ASSERT_TRUE(registered.wait(kWaitMs)) << server.readAllStandardError().toStdString();
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("FrontPage.Explorer")));
  }

  // Stops it with `signal`; its exit status.
  int stopServer(int signal = SIGTERM) {
    ::kill(static_cast<pid_t>(server.processId()), signal);
    EXPECT_TRUE(server.waitForFinished(kWaitMs));
    return server.exitStatus() == QProcess::NormalExit ? server.exitCode() : -1;
  }

  std::string webUrl() const {
    return "file://" + folder.path() + "/a%20web%20%C3%A9";
  }

  zv::test::TempDir folder;
  fs::path web;
  QProcess server;
};

TEST_F(WebhostServeTest, AnswersTheSixCallsOnTheWebAndLogsThem) {
  startServer({QStringLiteral("--marker"), QStringLiteral("<!-- here -->"), QStringLiteral("-v")});
  const QString url = QString::fromStdString(webUrl());

  Reply reply = invoke("FrontPage.Explorer", 12, {});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::QString);
  EXPECT_EQ(reply.value.toString(), url);

  reply = invoke("FrontPage.Editor", 21, {});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::QString);
  EXPECT_EQ(reply.value.toString(), url + QStringLiteral("/sub/index.htm"));

  reply = invoke("FrontPage.Explorer", 15, {url + QStringLiteral("/sub/index.htm")});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::Bool);
  EXPECT_TRUE(reply.value.toBool());
  EXPECT_FALSE(invoke("FrontPage.Explorer", 15, {url + QStringLiteral("/sub/clip.zvsa")}).value.toBool());

  reply = invoke("FrontPage.Explorer", 27, {QStringLiteral("/a%20web%20%C3%A9/Java")});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::Int);
  EXPECT_TRUE(fs::is_directory(web / "Java"));

  const fs::path clip = fs::path(folder.path()) / "m\xC3\xBCsic clip.zvsa";
  writeFile(clip, "clip bytes");
  reply = invoke("FrontPage.Explorer", 3,
                 {QString::fromStdString(clip.string()), QStringLiteral("/a%20web%20%C3%A9/sub/m%C3%BCsic%20clip.zvsa"), true});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::Int);
  EXPECT_EQ(reply.value.toInt(), 1);
  EXPECT_EQ(readFile(web / "sub" / "m\xC3\xBCsic clip.zvsa"), "clip bytes");
  EXPECT_TRUE(invoke("FrontPage.Explorer", 15, {url + QStringLiteral("/sub/m%C3%BCsic%20clip.zvsa")}).value.toBool());

  reply = invoke("FrontPage.Explorer", 3, {QStringLiteral("/nonexistent/file"), QStringLiteral("/a%20web%20%C3%A9/x"), true});
  EXPECT_EQ(reply.value.toInt(), 0) << "a file that cannot be added answers 0";

  reply = invoke("FrontPage.Editor", 22, {QStringLiteral("<p>caf\u00e9</p>")});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::Int);
  EXPECT_EQ(readFile(web / "sub" / "index.htm"),
            "<html><body>\n<p>caf\xC3\xA9</p><!-- here -->\n</body></html>\n");

  EXPECT_EQ(stopServer(), 0);
  const std::string out = server.readAllStandardOutput().toStdString();
  EXPECT_NE(out.find("owns FrontPage.Explorer and FrontPage.Editor"), std::string::npos) << out;
  const std::string log = server.readAllStandardError().toStdString();
  EXPECT_NE(log.find("FrontPage.Explorer 12() -> \"" + webUrl() + "\""), std::string::npos) << log;
  EXPECT_NE(log.find("FrontPage.Explorer 27(\"/a%20web%20%C3%A9/Java\") -> 1"), std::string::npos) << log;
  EXPECT_NE(log.find("FrontPage.Editor 22(\"<p>caf\xC3\xA9</p>\") -> 1"), std::string::npos) << log;
  EXPECT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("FrontPage.Editor")))
      << "the names are given up on stop";
}

TEST_F(WebhostServeTest, WhatCannotBeSavedAnswersZeroAndIsSaid) {
  const fs::path page = web / "sub" / "index.htm";
  const std::string before = readFile(page);
  fs::permissions(page, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  startServer({QStringLiteral("--marker"), QStringLiteral("<!-- here -->")});

  Reply reply = invoke("FrontPage.Editor", 22, {QStringLiteral("<p>x</p>")});
  EXPECT_EQ(reply.value.metaType().id(), QMetaType::Int);
  EXPECT_EQ(reply.value.toInt(), 0) << "a page that cannot be saved answers 0";
  EXPECT_EQ(readFile(page), before);

  // A file whose folder would have to be inside the page.
  const fs::path clip = fs::path(folder.path()) / "clip.zvsa";
  writeFile(clip, "clip bytes");
  reply = invoke("FrontPage.Explorer", 3,
                 {QString::fromStdString(clip.string()), QStringLiteral("/a%20web%20%C3%A9/sub/index.htm/c.zvsa"), true});
  EXPECT_EQ(reply.value.toInt(), 0) << "a file that cannot be written answers 0";

  // Still serving, and a page that can be saved again takes the text.
  fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(invoke("FrontPage.Editor", 22, {QStringLiteral("<p>x</p>")}).value.toInt(), 1);
  EXPECT_EQ(readFile(page), "<html><body>\n<p>x</p><!-- here -->\n</body></html>\n");
  EXPECT_EQ(fs::status(page).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  EXPECT_EQ(stopServer(), 0);
  const std::string log = server.readAllStandardError().toStdString();
  EXPECT_NE(log.find("webhost: the page was not changed: the page " + page.string() + " is read-only"),
            std::string::npos)
      << log;
}

TEST_F(WebhostServeTest, StopsCleanlyOnEachStopSignal) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    startServer({QStringLiteral("-v")});
    EXPECT_EQ(stopServer(signal), 0) << "signal " << signal;
    EXPECT_NE(server.readAllStandardError().toStdString().find("webhost: stopped; the names are given up"),
              std::string::npos)
        << "signal " << signal;
    EXPECT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("FrontPage.Explorer")))
        << "signal " << signal;
  }
}

TEST_F(WebhostServeTest, UnknownMethodsAndWrongArgumentsAnswerErrors) {
  startServer();
  EXPECT_EQ(invoke("FrontPage.Editor", 12, {}).error, QStringLiteral("org.zvtavelworks.Automation.Error.UnknownDispid"));
  EXPECT_EQ(invoke("FrontPage.Explorer", 22, {QStringLiteral("x")}).error,
            QStringLiteral("org.zvtavelworks.Automation.Error.UnknownDispid"));
  EXPECT_EQ(invoke("FrontPage.Explorer", 3, {QStringLiteral("a"), QStringLiteral("b")}).error,
            QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
  EXPECT_EQ(invoke("FrontPage.Explorer", 15, {42}).error, QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
  // Still serving after the errors.
  EXPECT_EQ(invoke("FrontPage.Explorer", 12, {}).value.toString().toStdString(), webUrl());
  EXPECT_EQ(stopServer(), 0);
}

TEST_F(WebhostServeTest, SecondInstanceSaysTheNamesAreTaken) {
  startServer();
  QProcess second;
  second.start(kWebhost, {QStringLiteral("serve"), QStringLiteral("--web"), QString::fromStdString(web.string()),
                          QStringLiteral("--page"), QStringLiteral("sub/index.htm")});
  ASSERT_TRUE(second.waitForFinished(kWaitMs));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 1);
  const std::string err = second.readAllStandardError().toStdString();
  EXPECT_NE(err.find("is taken by another program"), std::string::npos) << err;
  // The first one still answers.
  EXPECT_EQ(invoke("FrontPage.Editor", 21, {}).value.toString().toStdString(), webUrl() + "/sub/index.htm");
  EXPECT_EQ(stopServer(), 0);
}

TEST_F(WebhostServeTest, UsageAndUnservableWebs) {
  struct Case {
    QStringList arguments;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {{QStringLiteral("serve")}, 2, "needs --web DIR and --page PAGE"},
      {{QStringLiteral("serve"), QStringLiteral("--web"), QStringLiteral("/nonexistent"), QStringLiteral("--page"),
        QStringLiteral("x.htm")},
       1, "is not a folder"},
      {{QStringLiteral("serve"), QStringLiteral("--help")}, 0, ""},
  };
  for (const Case& c : cases) {
    QProcess run;
    run.start(kWebhost, c.arguments);
    ASSERT_TRUE(run.waitForFinished(kWaitMs));
    EXPECT_EQ(run.exitCode(), c.status) << c.arguments.join(QLatin1Char(' ')).toStdString();
    EXPECT_NE(run.readAllStandardError().toStdString().find(c.says), std::string::npos);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
