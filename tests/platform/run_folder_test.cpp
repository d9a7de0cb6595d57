// The private folder of one wizard run: made fresh for each run, removed
// with all it holds unless handed over, and the folders of runs that died
// cleared by the next run, never a live run's, a link or a folder without a
// trustworthy mark.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/run_folder.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

namespace zv {
namespace {

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// The pid of a process that has ended. `reaped` false leaves it a zombie:
// ended, but not yet collected by its parent (this test).
pid_t endedProcess(bool reaped) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  if (reaped) {
    ::waitpid(child, nullptr, 0);
  } else {
    // Wait for it to end without collecting it.
    siginfo_t info{};
    ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT);
  }
  return child;
}

// A folder as a run would leave it, marked with `owner` (none when empty).
std::string runFolderMarkedBy(const test::TempDir& tmp, const std::string& suffix,
                              const std::string& owner) {
  const std::string folder = tmp.file(std::string(kRunFolderPrefix) + suffix);
  std::filesystem::create_directory(folder);
  writeText(folder + "/ZVSA123456", "working file");
  if (!owner.empty()) writeText(folder + "/" + kRunFolderOwnerMark, owner + "\n");
  return folder;
}

class RunFolderTest : public ::testing::Test {
 protected:
  test::TempDir tmp;
  test::ScopedEnvironment tmpdir{"TMPDIR", tmp.path()};
};

TEST_F(RunFolderTest, EachRunHasAPrivateFolderThatGoesWithItsFiles) {
  std::string error;
  auto first = RunFolder::create(error);
  auto second = RunFolder::create(error);
  ASSERT_TRUE(first && second) << error;
  EXPECT_NE(first->path(), second->path());
  struct stat info {};
  ASSERT_EQ(::stat(first->path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(std::filesystem::path(first->path()).parent_path(), std::filesystem::path(tmp.path()));
  std::ifstream mark(first->path() + "/" + kRunFolderOwnerMark);
  pid_t owner = 0;
  mark >> owner;
  EXPECT_EQ(owner, ::getpid());

  // Everything the run made goes with it: a cancelled run leaves nothing.
  writeText(first->path() + "/ZVSAabcdef", "stream");
  std::filesystem::create_directory(first->path() + "/inner");
  first.reset();
  second.reset();
  EXPECT_TRUE(tmp.entries().empty());
}

TEST_F(RunFolderTest, AHandedOverFolderKeepsTheClipAloneAndNoMark) {
  std::string error;
  auto run = RunFolder::create(error);
  ASSERT_TRUE(run) << error;
  const std::string folder = run->path();
  const std::string clip = folder + "/hello.zvsa";
  writeText(clip, "clip");
  writeText(folder + "/ZVSAabcdef", "working file");
  run->handOver(clip);
  run.reset();
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"hello.zvsa"});
  // Without a mark, no later run takes it for abandoned.
  EXPECT_EQ(removeAbandonedRunFolders(tmp.path()), 0);
  EXPECT_TRUE(std::filesystem::exists(clip));

  // A clip elsewhere (the gallery's) keeps nothing of the folder.
  auto other = RunFolder::create(error);
  ASSERT_TRUE(other) << error;
  const std::string otherFolder = other->path();
  other->handOver(tmp.file("elsewhere.zvsa"));
  other.reset();
  EXPECT_FALSE(std::filesystem::exists(otherFolder));
}

TEST_F(RunFolderTest, TheNextRunClearsOnlyTheFoldersOfRunsThatDied) {
  const std::string dead = runFolderMarkedBy(tmp, "dead00", std::to_string(endedProcess(true)));
  const std::string zombie = runFolderMarkedBy(tmp, "zombie", std::to_string(endedProcess(false)));
  const std::string live = runFolderMarkedBy(tmp, "live00", std::to_string(::getpid()));
  const std::string unmarked = runFolderMarkedBy(tmp, "nomark", "");
  const std::string garbled = runFolderMarkedBy(tmp, "garble", "12x");
  const std::string init = runFolderMarkedBy(tmp, "init00", "1");  // pid 1 is always alive
  // A link of a run folder's name, to a folder whose mark names a dead run:
  // neither the link nor what it points at is touched.
  const std::string target = runFolderMarkedBy(tmp, "target", std::to_string(endedProcess(true)));
  const std::string beside = tmp.file("elsewhere");
  std::filesystem::rename(target, beside);
  std::filesystem::create_directory_symlink(beside, tmp.file(std::string(kRunFolderPrefix) + "link00"));
  const std::string other = tmp.file("not-a-run-folder");
  std::filesystem::create_directory(other);
  writeText(other + "/" + kRunFolderOwnerMark, std::to_string(endedProcess(true)));

  std::string error;
  auto next = RunFolder::create(error);
  ASSERT_TRUE(next) << error;
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_FALSE(std::filesystem::exists(zombie));
  for (const std::string& kept : {live, unmarked, garbled, init, beside + "/ZVSA123456", other})
    EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
  EXPECT_TRUE(std::filesystem::is_symlink(tmp.file(std::string(kRunFolderPrefix) + "link00")));
  EXPECT_TRUE(std::filesystem::exists(next->path()));
  ::waitpid(-1, nullptr, WNOHANG);
}

}  // namespace
}  // namespace zv
