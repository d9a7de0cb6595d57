// zvsa play where no sound server answers: one line that says so, status 1,
// before any clip is looked at.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/cli/zvsa_run.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

namespace zv {
namespace {

TEST(ZvsaPlay, WithoutASoundServerItSaysSoAndFails) {
  test::TempDir dir;
  // A server address where nothing listens: the client library neither
  // finds a server there nor starts one of its own.
  test::ScopedEnvironment server("PULSE_SERVER", "unix:" + dir.file("no-server"));
  const auto run = test::runZvsa({"play", test::vector("vowels-speech.zvsa")});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err.rfind("zvsa play: cannot reach the sound server: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace zv
