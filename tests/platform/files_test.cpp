// Files: unique temporary files in $TMPDIR, outputs that replace their
// destination in one step, and writing a whole buffer to a descriptor.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "platform/replacing_file.h"
#include "platform/temporary_file.h"
#include "platform/write_all.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

namespace zv {
namespace {

using test::ScopedEnvironment;

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

mode_t permissionsOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 07777;
  return info.st_mode & 0777;
}

TEST(TemporaryFile, TheFolderIsTmpdirOrElseTmp) {
  const struct {
    std::optional<std::string> tmpdir;
    const char* folder;
  } cases[] = {
      {std::string("/var/zv"), "/var/zv/"},
      {std::string("/var/zv/"), "/var/zv/"},
      {std::string(""), "/tmp/"},
      {std::nullopt, "/tmp/"},
  };
  for (const auto& c : cases) {
    const ScopedEnvironment tmpdir("TMPDIR", c.tmpdir);
    EXPECT_EQ(temporaryDirectory(), c.folder) << c.tmpdir.value_or("(unset)");
  }
}

TEST(TemporaryFile, EachCallMakesANewEmptyPrivateFileWithThePrefix) {
  test::TempDir dir;
  const ScopedEnvironment tmpdir("TMPDIR", dir.path());
  std::set<std::string> made;
  for (int i = 0; i < 20; ++i) {
    const std::string path = createTemporaryFile("ZVSA");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.rfind(dir.path() + "/ZVSA", 0), 0u) << path;
    EXPECT_TRUE(test::readFile(path).empty());
    EXPECT_EQ(permissionsOf(path), 0600u) << path;
    made.insert(path);
  }
  EXPECT_EQ(made.size(), 20u);
  EXPECT_EQ(dir.entries().size(), 20u);
}

TEST(TemporaryFile, AFolderThatIsNotThereGivesNothingAndTheReason) {
  errno = 0;
  EXPECT_EQ(createUniqueFile("/nonexistent/zv-folder", "ZVSA"), "");
  EXPECT_EQ(errno, ENOENT);
  const ScopedEnvironment tmpdir("TMPDIR", std::string("/nonexistent/zv-folder"));
  EXPECT_EQ(createTemporaryFile("ZVSA"), "");
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
  EXPECT_EQ(permissionsOf(target), 0666u & ~currentUmask());
}

// The replacement is one rename: a reader that opened the old file keeps
// reading it whole, and at no moment does the path name a partial file.
TEST(ReplacingFile, CommitSwapsTheWholeFileInOneStep) {
  test::TempDir dir;
  const std::string target = dir.file("page.htm");
  test::writeFile(target, test::Bytes(100000, 'o'));
  std::ifstream oldReader(target, std::ios::binary);
  ReplacingFile file;
  ASSERT_TRUE(file.open(target));
  const std::string fresh(50000, 'n');
  std::fwrite(fresh.data(), 1, fresh.size(), file.stream());
  ASSERT_TRUE(file.commit(ReplacingFile::Sync::CacheOnly));
  const std::string old((std::istreambuf_iterator<char>(oldReader)), {});
  EXPECT_EQ(old, std::string(100000, 'o'));
  EXPECT_EQ(test::readFile(target), test::Bytes(fresh.begin(), fresh.end()));
}

TEST(ReplacingFile, FailuresLeaveTheDestinationAndNoPartialFile) {
  test::TempDir dir;
  // No folder to put the partial file in: open fails and creates nothing.
  ReplacingFile missing;
  EXPECT_FALSE(missing.open(dir.file("absent/out.bin")));
  EXPECT_EQ(missing.stream(), nullptr);
  EXPECT_FALSE(missing.commit());
  EXPECT_TRUE(dir.entries().empty());

  // A folder in the destination's place: the rename fails at commit, the
  // folder stays, the partial file goes.
  const std::string folder = dir.file("taken");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  ReplacingFile blocked;
  ASSERT_TRUE(blocked.open(folder));
  std::fputs("text", blocked.stream());
  EXPECT_FALSE(blocked.commit());
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken"});

  // abandon() removes the partial file at once; a second open starts afresh.
  const std::string target = dir.file("out.bin");
  ReplacingFile file;
  ASSERT_TRUE(file.open(target));
  file.abandon();
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken"});
  ASSERT_TRUE(file.open(target));
  ASSERT_TRUE(file.commit());
  EXPECT_TRUE(test::readFile(target).empty());
}

TEST(WriteAll, EveryByteArrivesThroughAPipe) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  // More than a pipe holds, so the writer must go on after partial room.
  std::string sent(1 << 20, '\0');
  for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 + i / 251);
  std::string received;
  std::thread reader([&received, fd = fds[0]] {
    char block[4096];
    ssize_t n;
    while ((n = ::read(fd, block, sizeof block)) > 0) received.append(block, static_cast<std::size_t>(n));
  });
  EXPECT_TRUE(writeAll(fds[1], sent));
  ::close(fds[1]);
  reader.join();
  ::close(fds[0]);
  EXPECT_EQ(received, sent);
  EXPECT_TRUE(writeAll(fds[1] + 1000, ""));  // nothing to write: no write at all
}

TEST(WriteAll, AFailedWriteIsReported) {
  test::TempDir dir;
  const std::string path = dir.file("read-only");
  test::writeFile(path, {});
  const int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  errno = 0;
  EXPECT_FALSE(writeAll(fd, "text"));
  EXPECT_EQ(errno, EBADF);
  ::close(fd);
}

}  // namespace
}  // namespace zv
