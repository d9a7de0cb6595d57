// The HTML escaper: its four characters, every other byte untouched.
#include "platform/html_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace zv {
namespace {

TEST(HtmlEscape, EscapesItsFourCharactersAndCopiesTheRest) {
  const struct {
    std::string text;
    std::string escaped;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"&", "&amp;"},
      {"<", "&lt;"},
      {">", "&gt;"},
      {"\"", "&quot;"},
      {"'", "'"},
      {"&amp;", "&amp;amp;"},  // an existing reference is text like any other
      {"<a href=\"x?a=1&b=2\">Z&V</a>", "&lt;a href=&quot;x?a=1&amp;b=2&quot;&gt;Z&amp;V&lt;/a&gt;"},
      {"caf\xC3\xA9 \t\r\n", "caf\xC3\xA9 \t\r\n"},
      {std::string("nul\0byte", 8), std::string("nul\0byte", 8)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(escapeHtmlText(c.text), c.escaped) << c.text;
    std::string appended = "kept:";
    appendEscapedHtml(appended, c.text);
    EXPECT_EQ(appended, "kept:" + c.escaped) << c.text;
  }
}

}  // namespace
}  // namespace zv
