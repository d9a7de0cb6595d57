// Folders of the installation found by relative paths.
#include <gtest/gtest.h>

#include <string>

#include "platform/install_folders.h"
#include "platform/install_layout.h"
#include "platform/module.h"

namespace zv {
namespace {

TEST(InstallFolders, RelativePathsAreResolvedByName) {
  const struct {
    const char* folder;
    const char* relative;
    const char* result;
  } cases[] = {
      {"/usr/bin/", "../lib/x86_64-linux-gnu/zvtavelworks", "/usr/lib/x86_64-linux-gnu/zvtavelworks/"},
      {"/usr/lib/x86_64-linux-gnu/zvtavelworks", "../../../share/zvtavelworks",
       "/usr/share/zvtavelworks/"},
      {"/opt/zv/lib/", "zvtavelworks", "/opt/zv/lib/zvtavelworks/"},
      {"/opt/zv/lib/", "", "/opt/zv/lib/"},
      {"/opt/zv/lib", "", "/opt/zv/lib/"},
      {"/home/Ann Lee/zv/bin/", "../share/zvtavelworks", "/home/Ann Lee/zv/share/zvtavelworks/"},
      {"/x/bots/lib/zvtavelworks/", "../../share/zvtavelworks", "/x/bots/share/zvtavelworks/"},
      // An unknown folder stays unknown, whatever follows.
      {"", "../share/zvtavelworks", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(folderFrom(c.folder, c.relative), c.result) << c.folder << " + " << c.relative;
}

// The configured paths lead from bin/ and from the library folders to the
// same private data folder, as the tree is laid out.
TEST(InstallFolders, ThePathsBetweenTheFoldersAgree) {
  const std::string program = programFolder();
  ASSERT_FALSE(program.empty());
  const std::string library = folderFrom(program, layout::kLibraryFromProgram);
  const std::string privateLibrary = folderFrom(program, layout::kPrivateLibraryFromProgram);
  const std::string data = privateDataFolderOfProgram();
  EXPECT_EQ(folderFrom(library, layout::kPrivateLibraryFromLibrary), privateLibrary);
  EXPECT_EQ(folderFrom(library, layout::kPrivateDataFromLibrary), data);
  EXPECT_EQ(folderFrom(privateLibrary, layout::kPrivateDataFromPrivateLibrary), data);
  EXPECT_EQ(data.rfind("/zvtavelworks/"), data.size() - 14) << data;
}

}  // namespace
}  // namespace zv
