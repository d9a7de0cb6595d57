// Loading shared libraries by the names the system's tables use, and binding
// their entry points by ordinal.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "platform/install_folders.h"
#include "platform/install_layout.h"
#include "platform/module.h"

namespace zv {
namespace {

using IntFunction = int (*)();

int call(ZvEntryPoint entry) { return reinterpret_cast<IntFunction>(entry)(); }

TEST(Module, TableNamesBecomeSharedLibraryFileNames) {
  const struct {
    const char* name;
    const char* file;
  } cases[] = {
      {"QV80W.DLL", "libQV80W.so"},   {"qv80w.dll", "libqv80w.so"},
      {"QV160MXW.Dll", "libQV160MXW.so"}, {"libZvEditBot.so", "libZvEditBot.so"},
      {"LIBX.SO", "LIBX.SO"},         {"plain", "libplain.so"},
      {"lib/QV80W.DLL", "lib/QV80W.DLL"}, {"/abs/libY.so", "/abs/libY.so"},
      {"X.dll.bak", "libX.dll.bak.so"},
  };
  for (const auto& c : cases) EXPECT_EQ(sharedLibraryFileName(c.name), c.file) << c.name;
}

// A table name is found in the private library folder, where the codecs and
// the component lie, and in the library folder, both by their paths from the
// program's bin/.
TEST(Module, FindsLibrariesInThePrivateAndThePublicLibraryFolder) {
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"ZVTEST_PRIVATE_ORDINALS.DLL",
       folderFrom(programFolder(), layout::kPrivateLibraryFromProgram) + "libZVTEST_PRIVATE_ORDINALS.so"},
      {"ZVTEST_ORDINALS.DLL", folderFrom(programFolder(), layout::kLibraryFromProgram) + "libZVTEST_ORDINALS.so"},
  };
  for (const auto& c : cases) {
    const Module module = Module::load(c.name);
    ASSERT_TRUE(module.loaded()) << c.name << ": " << module.error();
    EXPECT_EQ(module.path(), c.path);
    ASSERT_NE(module.ordinal(1), nullptr) << c.name;
    EXPECT_EQ(call(module.ordinal(1)), 10) << c.name;
  }
}

TEST(Module, BindsEntryPointsByOrdinalFromTheLibraryFolder) {
  const Module module = Module::load("ZVTEST_ORDINALS.DLL");
  ASSERT_TRUE(module.loaded()) << module.error();
  ASSERT_NE(module.ordinal(1), nullptr);
  EXPECT_EQ(call(module.ordinal(1)), 10);
  EXPECT_EQ(module.ordinal(2), nullptr);  // an empty slot is a missing entry point
  ASSERT_NE(module.ordinal(3), nullptr);
  EXPECT_EQ(call(module.ordinal(3)), 30);
  EXPECT_EQ(module.ordinal(0), nullptr);  // ordinals count from 1
  EXPECT_EQ(module.ordinal(4), nullptr);  // past the table
  ASSERT_NE(module.symbol("zvtest_named_export"), nullptr);
  EXPECT_EQ(reinterpret_cast<IntFunction>(module.symbol("zvtest_named_export"))(), 7);
  EXPECT_EQ(module.symbol("no_such_symbol"), nullptr);
}

TEST(Module, LibraryWithoutATableOffersNoOrdinals) {
  const Module module = Module::load(ZVTEST_NO_ORDINALS_LIBRARY);
  ASSERT_TRUE(module.loaded()) << module.error();
  EXPECT_EQ(module.path(), ZVTEST_NO_ORDINALS_LIBRARY);
  for (unsigned n = 0; n <= 3; ++n) EXPECT_EQ(module.ordinal(n), nullptr) << n;
  EXPECT_NE(module.symbol("zvtest_named_export"), nullptr);
}

TEST(Module, MissingLibraryLeavesAnEmptyModuleWithTheReason) {
  for (const char* name : {"/nonexistent/libNothing.so", "ZVTEST_NOT_THERE.DLL", ""}) {
    const Module module = Module::load(name);
    EXPECT_FALSE(module.loaded()) << name;
    EXPECT_FALSE(module.error().empty()) << name;
    EXPECT_TRUE(module.path().empty()) << name;
    EXPECT_EQ(module.ordinal(1), nullptr) << name;
    EXPECT_EQ(module.symbol("zv_ordinal_table"), nullptr) << name;
  }
  EXPECT_NE(Module::load("/nonexistent/libNothing.so").error().find("/nonexistent/libNothing.so"),
            std::string::npos);
}

TEST(Module, MovingHandsTheLibraryOverAndUnloadEmpties) {
  Module first = Module::load("ZVTEST_ORDINALS.DLL");
  ASSERT_TRUE(first.loaded());
  Module second = std::move(first);
  EXPECT_FALSE(first.loaded());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  ASSERT_TRUE(second.loaded());
  EXPECT_EQ(call(second.ordinal(3)), 30);
  second.unload();
  EXPECT_FALSE(second.loaded());
  EXPECT_TRUE(second.path().empty());
  EXPECT_EQ(second.ordinal(1), nullptr);
}

}  // namespace
}  // namespace zv
