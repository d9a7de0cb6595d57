// String tables and their one placeholder, filled as plain text.
#include <gtest/gtest.h>

#include "platform/string_table.h"

namespace zv {
namespace {

TEST(StringTable, OnePlaceholderIsFilledAsPlainText) {
  const struct {
    const char* pattern;
    const char* value;
    const char* expected;
  } cases[] = {
      {"Compressed (%d:1, %d%%)", "16", "Compressed (16:1, %d%)"},  // only the first
      {"The file \"%s\" is bad.", "%s%d%n", "The file \"%s%d%n\" is bad."},  // never a format
      {"The character '%c' cannot be used", ".", "The character '.' cannot be used"},
      {"100%% sure", "x", "100% sure"},
      {"ends with %", "x", "ends with %"},
      {"%x is not a placeholder", "v", "%x is not a placeholder"},
      {"", "x", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(formatMessage(c.pattern, c.value), c.expected) << c.pattern;
}

TEST(StringTable, RowsAreFoundByNumber) {
  const StringTableEntry table[] = {{1, "one"}, {2, "two %s"}, {3, nullptr}, {1, "shadowed"}};
  EXPECT_EQ(loadString(table, 1), "one");  // the first row of a number counts
  EXPECT_EQ(loadMessage(table, 2, "x"), "two x");
  EXPECT_EQ(loadString(table, 3), "");  // a row without text
  EXPECT_EQ(loadString(table, 4), "");  // no such row
  EXPECT_EQ(loadMessage(table, 4, "x"), "");
  EXPECT_EQ(loadString({}, 1), "");
}

}  // namespace
}  // namespace zv
