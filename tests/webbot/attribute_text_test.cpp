// Parsing and joining the other-attributes text.
#include <gtest/gtest.h>

#include "webbot/attribute_text.h"

namespace zv::webbot {
namespace {

struct ParseCase {
  const char* text;
  AttributeSet expected;
  const char* rejoined;  // joinAttributeText of the parsed set
};

TEST(AttributeText, ParsesWhatJoiningWritesAndToleratesHandEditedText) {
  const ParseCase cases[] = {
      {"", {}, ""},
      {"ALT=x", {{"ALT", "x"}}, "ALT=x"},
      // A quoted value keeps its quotes and may hold spaces.
      {"ALT=\"Java is not here\" WIDTH=2",
       {{"ALT", "\"Java is not here\""}, {"WIDTH", "2"}},
       "ALT=\"Java is not here\" WIDTH=2"},
      // A trailing name without "=" is dropped.
      {"ALT=x HSPACE", {{"ALT", "x"}}, "ALT=x"},
      {"lonely", {}, ""},
      // An unclosed quote runs to the end of the text.
      {"A=1 TITLE=\"open ended", {{"A", "1"}, {"TITLE", "\"open ended"}}, "A=1 TITLE=\"open ended"},
      // A later item replaces an earlier one of exactly the same name only.
      {"A=1 a=2 A=3", {{"A", "3"}, {"a", "2"}}, "A=3 a=2"},
      // Empty values, and an empty name before "=".
      {"A= B=2", {{"A", ""}, {"B", "2"}}, "A= B=2"},
      {"=v", {{"", "v"}}, "=v"},
      // Only one space after a value is skipped: the next name begins with
      // the second.
      {"A=1  B=2", {{"A", "1"}, {" B", "2"}}, " B=2 A=1"},
      // "=" inside a quoted value belongs to the value.
      {"STYLE=\"a=b c\" X=1", {{"STYLE", "\"a=b c\""}, {"X", "1"}}, "STYLE=\"a=b c\" X=1"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    const AttributeSet parsed = parseAttributeText(c.text);
    EXPECT_EQ(parsed, c.expected);
    EXPECT_EQ(joinAttributeText(parsed), c.rejoined);
  }
}

TEST(AttributeText, JoiningThenParsingGivesTheSameSet) {
  const AttributeSet sets[] = {
      {},
      {{"ALT", "\"Java is not available in this browser\""}},
      {{"ALT", "\"two words\""}, {"HSPACE", "4"}, {"data-src", "clip.zvsa"}, {"ID", "\"a\""}},
  };
  for (const AttributeSet& set : sets) EXPECT_EQ(parseAttributeText(joinAttributeText(set)), set);
}

}  // namespace
}  // namespace zv::webbot
