// ZvInsertBot as a program: it takes no arguments, and says so.
#include <gtest/gtest.h>

#include "tests/support/run_program.h"

namespace {

const std::string kInsertBot = ZV_INSERTBOT_PROGRAM;

TEST(InsertBotProgramTest, HelpAndNoArguments) {
  const zv::test::ProgramRun help = zv::test::runProgram(kInsertBot, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("Usage: ZvInsertBot"), std::string::npos) << help.out;

  const zv::test::ProgramRun extra = zv::test::runProgram(kInsertBot, {"index.htm"});
  EXPECT_EQ(extra.exitStatus, 2);
  EXPECT_NE(extra.err.find("takes no arguments"), std::string::npos) << extra.err;
}

}  // namespace
