// Names matched without regard to case: ASCII letters fold, nothing else.
#include <gtest/gtest.h>

#include "platform/ascii_case.h"

namespace zv {
namespace {

TEST(AsciiCase, OnlyAsciiLettersFold) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } cases[] = {
      {"APPLET", "applet", true},   {"Continuously", "CONTINUOUSLY", true},
      {"", "", true},               {"a", "", false},
      {"abc", "abd", false},        {"ab", "abc", false},
      // '@' and '`' sit just before 'A' and 'a'; '[' and '{' just after 'Z' and 'z'.
      {"@", "`", false},            {"[", "{", false},
      {"\xC9t\xC9", "\xE9t\xE9", false},  // Latin-1 letters are not ASCII
      {"x.DLL", "X.dll", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(equalsIgnoringCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
  }
}

TEST(AsciiCase, PrefixesAndSuffixes) {
  EXPECT_TRUE(startsWithIgnoringCase("WEBBOT bot", "webbot"));
  EXPECT_TRUE(startsWithIgnoringCase("x", ""));
  EXPECT_FALSE(startsWithIgnoringCase("WEB", "webbot"));
  EXPECT_FALSE(startsWithIgnoringCase(" webbot", "webbot"));
  EXPECT_TRUE(endsWithIgnoringCase("QV80W.Dll", ".DLL"));
  EXPECT_TRUE(endsWithIgnoringCase(".so", ".SO"));
  EXPECT_FALSE(endsWithIgnoringCase("so", ".so"));
  EXPECT_FALSE(endsWithIgnoringCase("x.sox", ".so"));
  EXPECT_EQ(asciiLower('Q'), 'q');
  EXPECT_EQ(asciiLower('q'), 'q');
  EXPECT_EQ(asciiLower('5'), '5');
}

}  // namespace
}  // namespace zv
