// The one rule of what lies inside a web, with the traversal table that
// publish, preview and serve all answer by.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/web_containment.h"
#include "tests/support/temp_dir.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

// web/ with sub/a.zvsa and links in and out of it; outside/ beside it.
class WebContainmentTest : public testing::Test {
 protected:
  WebContainmentTest() : root(folder.path()), web(canonicalWebFolder(root / "web")) {}

  void SetUp() override {
    fs::create_directories(root / "web" / "sub");
    fs::create_directories(root / "outside");
    std::ofstream(root / "web" / "sub" / "a.zvsa") << "clip";
    std::ofstream(root / "outside" / "secret") << "secret";
    fs::create_symlink("../outside/secret", root / "web" / "leak.txt");
    fs::create_directory_symlink("../outside", root / "web" / "out");
    fs::create_directory_symlink("sub", root / "web" / "inner");
    fs::create_directory_symlink("..", root / "web" / "sub" / "up");
    fs::create_symlink("/nonexistent-zv/elsewhere", root / "web" / "dangling");
    fs::create_symlink("sub/none", root / "web" / "dangling-in");
    fs::create_symlink("loop", root / "web" / "loop");
    web = canonicalWebFolder(root / "web");
  }

  test::TempDir folder;
  fs::path root;
  fs::path web;
};

TEST_F(WebContainmentTest, TheTraversalTable) {
  struct Case {
    std::string path;
    std::optional<std::string> file;  // relative to the web
  };
  const Case cases[] = {
      {"/sub/a.zvsa", "sub/a.zvsa"},
      {"/", ""},
      {"", ""},
      {"/./sub//a.zvsa", "sub/a.zvsa"},
      {"/caf\xC3\xA9 clip #1 50%.zvsa", "caf\xC3\xA9 clip #1 50%.zvsa"},  // not there yet: inside
      {"/new/folder/file.zvsa", "new/folder/file.zvsa"},
      {"relative", "relative"},
      {"/../outside/secret", std::nullopt},
      {"/sub/../../outside/secret", std::nullopt},
      {"/sub/../sub/a.zvsa", std::nullopt},  // any ".." segment
      {"/..", std::nullopt},
      {std::string("/sub/a.zvsa\0.txt", 16), std::nullopt},
      {std::string("/\0", 2), std::nullopt},
      // Links: followed inside the web, never out of it.
      {"/leak.txt", std::nullopt},
      {"/out/secret", std::nullopt},
      {"/out", std::nullopt},
      {"/out/new.zvsa", std::nullopt},  // nor for a file about to be written
      {"/dangling", std::nullopt},
      {"/loop", std::nullopt},
      {"/inner/a.zvsa", "inner/a.zvsa"},
      {"/sub/up/sub/a.zvsa", "sub/up/sub/a.zvsa"},
      {"/dangling-in", "dangling-in"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::optional<fs::path> file = fileInsideWeb(web, c.path);
    if (!c.file) {
      EXPECT_EQ(file, std::nullopt);
    } else {
      ASSERT_TRUE(file);
      EXPECT_EQ(*file, c.file->empty() ? web : web / *c.file);
    }
  }
}

TEST_F(WebContainmentTest, FilesInsideAndOutside) {
  EXPECT_TRUE(liesInsideWeb(web, web));
  EXPECT_TRUE(liesInsideWeb(web, web / "sub" / "a.zvsa"));
  EXPECT_FALSE(liesInsideWeb(web, web / "leak.txt"));
  EXPECT_FALSE(liesInsideWeb(web, root / "outside" / "secret"));
  EXPECT_FALSE(liesInsideWeb(web, root / "web-other"));  // a name that only begins like the web
  EXPECT_FALSE(liesInsideWeb(web, fs::path(std::string("/a\0b", 4))));
  EXPECT_FALSE(liesInsideWeb(fs::path(), web));
}

}  // namespace
}  // namespace zv
