// Where the user's own gallery lies, from the environment: the base-directory
// rules for the data home (an absolute XDG_DATA_HOME, else ~/.local/share).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/scoped_environment.h"
#include "wizard/user_gallery_folder.h"

namespace zv {
namespace {

struct Case {
  const char* what;
  std::optional<std::string> dataHome;
  std::optional<std::string> home;
  std::string expected;
};

TEST(UserGalleryFolder, FollowsTheDataHomeRules) {
  const Case cases[] = {
      {"XDG_DATA_HOME set", "/data/me", "/home/me", "/data/me/zvtavelworks/Gallery"},
      {"XDG_DATA_HOME with a trailing slash", "/data/me/", "/home/me", "/data/me/zvtavelworks/Gallery"},
      {"XDG_DATA_HOME unset", std::nullopt, "/home/me", "/home/me/.local/share/zvtavelworks/Gallery"},
      {"XDG_DATA_HOME empty", "", "/home/me", "/home/me/.local/share/zvtavelworks/Gallery"},
      // A relative data home is to be ignored, not taken from the current folder.
      {"XDG_DATA_HOME relative", "data", "/home/me", "/home/me/.local/share/zvtavelworks/Gallery"},
  };
  for (const Case& c : cases) {
    test::ScopedEnvironment dataHome("XDG_DATA_HOME", c.dataHome);
    test::ScopedEnvironment home("HOME", c.home);
    EXPECT_EQ(userGalleryDirectory(), c.expected) << c.what;
  }
}

TEST(UserGalleryFolder, WithoutHomeTakesTheAccountsHome) {
  test::ScopedEnvironment dataHome("XDG_DATA_HOME", std::nullopt);
  test::ScopedEnvironment home("HOME", std::nullopt);
  const std::string folder = userGalleryDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_TRUE(folder.ends_with("/.local/share/zvtavelworks/Gallery")) << folder;
}

}  // namespace
}  // namespace zv
