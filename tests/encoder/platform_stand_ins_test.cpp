// The platform stand-ins the engine relies on: the auto-reset event, the
// message formatting, the notifier queue, working files and replacing files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include "encoder/engine_workspace.h"
#include "platform/auto_reset_event.h"
#include "platform/message_queue_notifier.h"
#include "platform/replacing_file.h"
#include "platform/string_table.h"
#include "tests/encoder/job_harness.h"

namespace zv {
namespace {

TEST(AutoResetEvent, OneSetReleasesOneWaitAndResetClears) {
  AutoResetEvent event;
  EXPECT_FALSE(event.tryWait());
  event.set();
  event.set();
  EXPECT_TRUE(event.tryWait());
  EXPECT_FALSE(event.tryWait());  // consumed by the first
  event.set();
  event.reset();
  EXPECT_FALSE(event.tryWait());

  std::thread setter([&event] { event.set(); });
  event.wait();  // returns only once the other thread has set it
  setter.join();
  EXPECT_FALSE(event.tryWait());
}

TEST(StringTable, OnePlaceholderIsFilledAsPlainText) {
  EXPECT_EQ(formatMessage("Compressed (%d:1, %d%%)", "16"), "Compressed (16:1, %d%)");
  EXPECT_EQ(formatMessage("The file \"%s\" is bad.", "%s%d%n"), "The file \"%s%d%n\" is bad.");
  EXPECT_EQ(formatMessage("The character '%c' cannot be used", "."), "The character '.' cannot be used");
  EXPECT_EQ(formatMessage("100%% sure", "x"), "100% sure");
  EXPECT_EQ(formatMessage("ends with %", "x"), "ends with %");
  const StringTableEntry table[] = {{1, "one"}, {2, "two %s"}};
  EXPECT_EQ(loadMessage(table, 2, "x"), "two x");
  EXPECT_EQ(loadString(table, 3), "");
}

TEST(MessageQueueNotifier, MessagesComeBeforeAPendingWakeUp) {
  MessageQueueNotifier queue;
  queue.post(1025, 40);
  queue.wake();
  queue.post(1026, 0);
  auto first = queue.waitNext();
  auto second = queue.waitNext();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->message, 1025u);
  EXPECT_EQ(first->wParam, 40u);
  EXPECT_EQ(second->message, 1026u);
  EXPECT_FALSE(queue.waitNext().has_value());
}

TEST(EngineWorkspace, CreatesThreeEmptyZvsaFilesAndDeletesThem) {
  test::TempDir dir;
  setenv("TMPDIR", dir.path().c_str(), 1);
  std::vector<std::string> paths;
  {
    EngineWorkspace workspace;
    ASSERT_TRUE(workspace.ready()) << workspace.error();
    paths = {workspace.PcmWorkFile, workspace.DecodedPcmFile, workspace.AuConvertFile};
    for (const std::string& path : paths) {
      EXPECT_EQ(path.rfind(dir.path() + "/ZVSA", 0), 0u) << path;
      EXPECT_TRUE(test::readFile(path).empty());
    }
    EXPECT_EQ(dir.entries().size(), 3u);
    EXPECT_EQ(workspace.PcmFormat, codecPcmFormat());
  }
  EXPECT_TRUE(dir.entries().empty());
  unsetenv("TMPDIR");
}

TEST(EngineWorkspace, UnusableTemporaryDirectoryIsReported) {
  setenv("TMPDIR", "/nonexistent/zv-temporary", 1);
  EngineWorkspace workspace;
  EXPECT_FALSE(workspace.ready());
  EXPECT_NE(workspace.error().find("/nonexistent/zv-temporary"), std::string::npos);
  unsetenv("TMPDIR");
}

TEST(ReplacingFile, DestinationChangesOnlyOnCommit) {
  test::TempDir dir;
  const std::string target = dir.file("out.bin");
  test::writeFile(target, {1, 2, 3});
  {
    ReplacingFile file;
    ASSERT_TRUE(file.open(target));
    std::fputs("new content", file.stream());
    std::fflush(file.stream());
    EXPECT_EQ(test::readFile(target), (test::Bytes{1, 2, 3}));
    // destroyed without commit
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.bin"});
  EXPECT_EQ(test::readFile(target), (test::Bytes{1, 2, 3}));

  ReplacingFile file;
  ASSERT_TRUE(file.open(target));
  std::fputs("new", file.stream());
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(test::readFile(target), (test::Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.bin"});
  // Permissions of any new file (0666 less the umask), not mkstemp's 0600.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666u & ~mask);
}

}  // namespace
}  // namespace zv
