// A component that has not been set up: the Edit entry starts the insertion
// program from the "bots" folder that corresponds to the "botcache" folder
// the library runs from, changes no attribute and returns 0; a program that
// cannot be started is reported with its path. The library is copied into
// such a cache folder and loaded from there, with a stand-in program where
// the rule looks.
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <zv/webbot_host.h>

#include "platform/module.h"
#include "tests/support/modal_dialog.h"
#include "tests/support/temp_dir.h"
#include "tests/webbot/edit/recording_component.h"

using zv::test::ModalScript;
using Component = zv::test::RecordingComponent;
namespace fs = std::filesystem;

namespace {

// One line from the named pipe, waiting up to ten seconds for the writer.
std::string readLine(const std::string& fifo) {
  const int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return "(no fifo)";
  std::string line;
  pollfd wait{fd, POLLIN, 0};
  while (line.find('\n') == std::string::npos && poll(&wait, 1, 10000) > 0) {
    char buffer[64];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) line.append(buffer, static_cast<std::size_t>(got));
    else if (got == 0 && !line.empty()) break;
  }
  close(fd);
  return line;
}

}  // namespace

class EditInsertBotTest : public QObject {
  Q_OBJECT

 private:
  zv::test::TempDir dir_;
  std::string cache_;  // .../Web Site/BotCache/ZvTavelwork/
  std::string bots_;   // .../Web Site/bots/ZvTavelwork/
  zv::Module library_;
  ZvTavelworkEditFn edit_ = nullptr;

 private slots:
  void initTestCase() {
    // Letter case and spaces elsewhere in the path must survive the mapping.
    cache_ = dir_.path() + "/Web Site/BotCache/ZvTavelwork/";
    bots_ = dir_.path() + "/Web Site/bots/ZvTavelwork/";
    fs::create_directories(cache_);
    fs::create_directories(bots_);
    fs::copy_file(ZV_EDITBOT_LIBRARY, cache_ + "libZvEditBot.so");
    library_ = zv::Module::load(cache_ + "libZvEditBot.so");
    QVERIFY2(library_.loaded(), library_.error().c_str());
    edit_ = reinterpret_cast<ZvTavelworkEditFn>(library_.ordinal(ZV_ORD_TAVELWORK_EDIT));
    QVERIFY(edit_);
  }

  void startsTheInsertionProgramFromTheBotsFolderWithoutArguments() {
    const std::string fifo = dir_.file("ran");
    QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
    const std::string program = bots_ + "ZvInsertBot";
    std::ofstream(program) << "#!/bin/sh\necho \"started with $# arguments\" > '" << fifo << "'\n";
    QCOMPARE(chmod(program.c_str(), 0755), 0);

    for (const char* numButtons : {"", "(missing)"}) {
      Component component;
      component.attributes = {{"S-CLIP", "hello.zvsa"}, {"I-COUNT", "1"}};
      if (std::string(numButtons) != "(missing)") component.attributes["I-NUMBUTTONS"] = numButtons;
      QCOMPARE(edit_(&component, &component.callbacks), 0);
      QVERIFY(component.written.empty());
      QCOMPARE(readLine(fifo), std::string("started with 0 arguments\n"));
    }
    fs::remove(program);
  }

  void aProgramThatCannotBeStartedIsReportedWithItsPath() {
    const std::string program = bots_ + "ZvInsertBot";
    fs::remove(program);
    Component component;
    ModalScript script;
    script.then(script.answerMessage());
    QCOMPARE(edit_(&component, &component.callbacks), 0);
    QVERIFY(component.written.empty());
    QCOMPARE(script.messages().size(), std::size_t{1});
    const std::string& text = script.messages()[0];
    QVERIFY2(text.find("could not be started") != std::string::npos, text.c_str());
    QVERIFY2(text.find(program) != std::string::npos, text.c_str());
    QVERIFY2(text.find("No such file or directory") != std::string::npos, text.c_str());

    // Present but not executable.
    std::ofstream(program) << "#!/bin/sh\n";
    QCOMPARE(chmod(program.c_str(), 0644), 0);
    ModalScript again;
    again.then(again.answerMessage());
    QCOMPARE(edit_(&component, &component.callbacks), 0);
    QCOMPARE(again.messages().size(), std::size_t{1});
    QVERIFY2(again.messages()[0].find("Permission denied") != std::string::npos, again.messages()[0].c_str());
  }
};

QTEST_MAIN(EditInsertBotTest)
#include "edit_insert_bot_test.moc"
