// Where the component finds its files, the preview image URL, and starting
// the insertion program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/temp_dir.h"
#include "webbot/bot_folder.h"
#include "webbot/edit/component_values.h"
#include "webbot/webbot_text.h"
#include "webbot/insert_bot_launch.h"

namespace zv::webbot {
namespace {

TEST(BotFolder, MapsTheFirstBotCacheComponentToBotsAndKeepsEveryOtherCharacter) {
  const struct {
    const char* path;
    const char* mapped;
  } cases[] = {
      {"/home/Ann/Web/botcache/ZvTavelwork/", "/home/Ann/Web/bots/ZvTavelwork/"},
      {"/home/Ann/Web/BotCache/ZvTavelwork/", "/home/Ann/Web/bots/ZvTavelwork/"},
      {"/opt/BOTCACHE/x/botcache/", "/opt/bots/x/botcache/"},        // the first only
      {"/opt/mybotcache/Lib/", "/opt/mybotcache/Lib/"},              // whole components only
      {"/opt/botcaches/Lib/", "/opt/botcaches/Lib/"},
      {"/usr/Local/Lib/", "/usr/Local/Lib/"},                        // no botcache: unchanged
      {"botcache", "bots"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(mapBotCacheToBots(c.path), c.mapped) << c.path;
}

// One preview image name for one button count, whoever asks: the Edit
// entry's preview (a button index in the sheet) and the WEBBOT text of the
// insertion program (a button count) pick the same image, in one program.
TEST(BotFolder, EditPreviewAndWebBotTextNameTheSameImage) {
  const struct {
    int buttonCount;
    const char* image;
  } cases[] = {{1, "FPOneButton.gif"}, {2, "FPTwoButton.gif"}, {3, "FPThreeButton.gif"},
               {0, "FPOneButton.gif"}, {4, "FPOneButton.gif"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buttonCount);
    EXPECT_STREQ(previewImageName(c.buttonCount), c.image);
    ComponentValues values;
    values.general.buttonIndex = c.buttonCount - 1;
    EXPECT_NE(buildPreview(values, "x.zvsa", "/lib/").find(std::string("/lib/") + c.image),
              std::string::npos);
    AppletSettings settings;
    settings.buttonCount = c.buttonCount;
    EXPECT_NE(formatWebBotText(settings, std::string("/lib/") + previewImageName(c.buttonCount), "x.zvsa")
                  .find(std::string("SRC=&quot;/lib/") + c.image),
              std::string::npos);
  }
}

TEST(BotFolder, TheInsertionProgramLiesInTheComponentFolder) {
  const std::string folder = componentFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(insertBotPath(), folder + "ZvInsertBot");
}

// Waits (up to ten seconds) for one line from the named pipe at `path`.
std::string readLineFromFifo(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return "(cannot open fifo)";
  std::string line;
  pollfd wait{fd, POLLIN, 0};
  while (line.find('\n') == std::string::npos) {
    if (poll(&wait, 1, 10000) <= 0) break;
    char buffer[64];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) line.append(buffer, static_cast<std::size_t>(got));
    if (got == 0 && (wait.revents & POLLHUP)) {
      // The writer has not opened the pipe yet, or has closed it.
      if (!line.empty()) break;
    }
  }
  close(fd);
  return line;
}

TEST(InsertBotLaunch, StartsTheProgramWithoutArgumentsAndDoesNotWaitForIt) {
  test::TempDir dir;
  const std::string fifo = dir.file("ran");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string program = dir.file("Stand In Bot");
  {
    std::ofstream script(program);
    script << "#!/bin/sh\necho \"arguments=$#\" > '" << fifo << "'\n";
  }
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);
  // The program blocks on the pipe until this test reads it: a launch that
  // waited for the program would never return.
  EXPECT_EQ(launchDetached(program), "");
  EXPECT_EQ(readLineFromFifo(fifo), "arguments=0\n");
}

TEST(InsertBotLaunch, SaysWhyAProgramCannotBeStarted) {
  test::TempDir dir;
  EXPECT_EQ(launchDetached(dir.file("missing")), "No such file or directory");
  const std::string notExecutable = dir.file("plain");
  std::ofstream(notExecutable) << "text\n";
  EXPECT_EQ(launchDetached(notExecutable), "Permission denied");
  EXPECT_FALSE(launchDetached("").empty());
}

}  // namespace
}  // namespace zv::webbot
