// What the wizard's answer means to the insertion program: Finish, the
// author's Cancel, or a failure that the author must hear of.
#include <gtest/gtest.h>

#include "insert/wizard_record.h"

namespace zv::insert {
namespace {

TEST(WizardEndTest, OnlyFinishAndCancelAreTheAuthorsAnswers) {
  struct Case {
    std::int32_t answer;
    WizardEnd end;
  };
  const Case cases[] = {
      {12325, WizardEnd::Finished}, {2, WizardEnd::Cancelled}, {0, WizardEnd::Failed},
      {1, WizardEnd::Failed},       {-1, WizardEnd::Failed},   {12324, WizardEnd::Failed},
  };
  for (const Case& c : cases) EXPECT_EQ(wizardEndForAnswer(c.answer), c.end) << c.answer;
}

}  // namespace
}  // namespace zv::insert
