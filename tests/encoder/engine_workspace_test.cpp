// The engine's workspace: its three working files in the temporary folder,
// made by its factory and deleted with it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "encoder/engine_workspace.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

namespace zv {
namespace {

TEST(EngineWorkspace, CreatesThreeEmptyZvsaFilesAndDeletesThem) {
  test::TempDir dir;
  const test::ScopedEnvironment tmpdir("TMPDIR", dir.path());
  std::vector<std::string> paths;
  {
    std::string error;
    const std::unique_ptr<EngineWorkspace> workspace = EngineWorkspace::create(error);
    ASSERT_NE(workspace, nullptr) << error;
    paths = {workspace->PcmWorkFile, workspace->DecodedPcmFile, workspace->AuConvertFile};
    for (const std::string& path : paths) {
      EXPECT_EQ(path.rfind(dir.path() + "/ZVSA", 0), 0u) << path;
      EXPECT_TRUE(test::readFile(path).empty());
    }
    EXPECT_EQ(dir.entries().size(), 3u);
    EXPECT_EQ(workspace->PcmFormat, codecPcmFormat());
    EXPECT_TRUE(workspace->LastErrorText.get().empty());
  }
  EXPECT_TRUE(dir.entries().empty());
}

TEST(EngineWorkspace, UnusableTemporaryDirectoryIsReportedAndLeavesNothing) {
  const test::ScopedEnvironment tmpdir("TMPDIR", std::string("/nonexistent/zv-temporary"));
  std::string error;
  EXPECT_EQ(EngineWorkspace::create(error), nullptr);
  EXPECT_NE(error.find("/nonexistent/zv-temporary"), std::string::npos) << error;
}

}  // namespace
}  // namespace zv
