// Finding components in a page, reading their attributes, and the errors of
// pages that cannot be published.
#include <gtest/gtest.h>

#include <string>

#include "host/character_references.h"
#include "host/page_parser.h"
#include "webbot/webbot_text.h"

namespace {

using zv::host::parsePage;
using zv::host::positionOf;

const zv::host::ComponentAttribute& attribute(const zv::host::PageComponent& c, const char* name) {
  const zv::host::ComponentAttribute* found = c.find(name);
  EXPECT_NE(found, nullptr) << name;
  static const zv::host::ComponentAttribute none{};
  return found ? *found : none;
}

TEST(PageParser, FindsComponentsTheirSpansAndDecodedValues) {
  const std::string page =
      "<html><body>\n"
      "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;a.gif&quot;&gt;\"\r\n"
      " I-NUMBUTTONS=\"2\" \r\nS-ATTRIBS=\"ALT=&quot;x &amp;amp; y&quot;\" S-CLIP='a&amp;b.zvsa'"
      " S-ALIGN=middle -->OLD SPAN<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\n"
      "<!--webbot BOT=\"zvtavelwork\" startspan s-clip=\"second.zvsa\" --><!--WEBBOT "
      "bot=\"ZvTavelwork\" EndSpan -->\n"
      "</body></html>\n";
  const zv::host::ParsedPage parsed = parsePage(page);
  ASSERT_FALSE(parsed.error) << parsed.error->message;
  ASSERT_EQ(parsed.components.size(), 2u);

  const zv::host::PageComponent& first = parsed.components[0];
  EXPECT_EQ(page.substr(first.startBegin, 10), "<!--WEBBOT");
  EXPECT_EQ(page.substr(first.startEnd, first.endBegin - first.startEnd), "OLD SPAN");
  EXPECT_EQ(page.substr(first.endBegin, first.endEnd - first.endBegin),
            "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan -->");
  EXPECT_EQ(attribute(first, "PREVIEW").value, "<IMG SRC=\"a.gif\">");
  EXPECT_EQ(attribute(first, "I-NUMBUTTONS").value, "2");
  EXPECT_EQ(attribute(first, "s-attribs").value, "ALT=\"x &amp; y\"");
  EXPECT_EQ(attribute(first, "S-CLIP").value, "a&b.zvsa");
  EXPECT_EQ(attribute(first, "S-ALIGN").value, "middle");
  EXPECT_EQ(first.find("bot"), nullptr);
  EXPECT_EQ(first.find("I-USETEXT"), nullptr);
  const zv::host::TextPosition at = positionOf(page, attribute(first, "I-NUMBUTTONS").offset);
  EXPECT_EQ(at.line, 3u);
  EXPECT_EQ(at.column, 2u);

  const zv::host::PageComponent& second = parsed.components[1];
  EXPECT_EQ(second.endBegin, second.startEnd);  // an empty span
  EXPECT_EQ(attribute(second, "S-CLIP").value, "second.zvsa");
}

TEST(PageParser, WebBotTextOfTheInsertionProgramReadsBackUnchanged) {
  const zv::AppletSettings s{.buttonCount = 3, .autoplay = 1, .visible = 0, .playCount = -1,
                             .height = 40, .width = 120, .className = "Odd\"Player.class",
                             .codebase = "/a&b/Java", .tag = "OBJECT", .alignment = "",
                             .bodyText = "Get <b>Java</b> & \"more\" -->",
                             .otherAttributes = "ALT=\"Tom &amp; Jerry\" HSPACE=4"};
  const std::string page = "<html>" +
                           zv::webbot::formatWebBotText(s, "file:///x\"y/FP.gif", "rock&roll.zvsa") +
                           "</html>";
  const zv::host::ParsedPage parsed = parsePage(page);
  ASSERT_FALSE(parsed.error) << parsed.error->message;
  ASSERT_EQ(parsed.components.size(), 1u);
  const zv::host::PageComponent& c = parsed.components[0];
  struct Expected {
    const char* key;
    std::string value;
  };
  const Expected expected[] = {
      {"I-NUMBUTTONS", "3"},       {"I-AUTOPLAY", "1"},        {"I-VISIBLE", "0"},
      {"I-COUNT", "-1"},           {"I-HEIGHT", "40"},         {"I-WIDTH", "120"},
      {"S-CLASS", s.className},    {"S-CODEBASE", s.codebase}, {"S-APPLETTAG", s.tag},
      {"S-ALIGN", s.alignment},    {"S-BODY", s.bodyText},     {"S-ATTRIBS", s.otherAttributes},
      {"S-CLIP", "rock&roll.zvsa"},
      {"PREVIEW", "<IMG SRC=\"file:///x&quot;y/FP.gif\" HEIGHT=\"40\" WIDTH=\"120\">"},
  };
  for (const Expected& e : expected) EXPECT_EQ(attribute(c, e.key).value, e.value) << e.key;
  EXPECT_EQ(page.substr(c.startEnd, c.endBegin - c.startEnd), "\r\n\r\n");
}

TEST(PageParser, CommentLookalikesAreNotComponents) {
  const std::string page =
      "<html><head><script>var s = \"<!--WEBBOT bot=\\\"Other\\\" StartSpan -->\"; // <!--\n"
      "</script><style>/* <!-- */</style><title><!-- not a comment</title></head>\n"
      "<body title=\"<!--WEBBOT bot='Other' StartSpan -->\" data-x='-->'>\n"
      "<!-- WEBBOT with a space first is an ordinary comment -->\n"
      "<!--WEBBOTS are not WEBBOT comments --><!----><!--><!--->a < b, c<>d <3\n"
      "<textarea></textarea ><!-- closed --></body></html>\n";
  const zv::host::ParsedPage parsed = parsePage(page);
  EXPECT_FALSE(parsed.error) << parsed.error->message;
  EXPECT_TRUE(parsed.components.empty());
}

TEST(PageParser, MalformedPagesAreReportedWithTheirPlace) {
  const std::string component =
      "<!--WEBBOT bot=\"ZvTavelwork\" StartSpan S-CLIP=\"a.zvsa\" -->";
  const std::string endSpan = "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan -->";
  struct Case {
    std::string page;
    std::size_t line;
    std::size_t column;
    std::string message;
  };
  const Case cases[] = {
      {"<p>\n  <!-- never ends\n", 2, 3, "unterminated comment"},
      {"<p>\n" + component + "\n<p>\n", 2, 1, "has no EndSpan comment after it"},
      {component + "\n" + component + endSpan, 1, 1, "no EndSpan comment before the next StartSpan at line 2"},
      {"x\n" + endSpan, 2, 1, "EndSpan comment without a StartSpan"},
      {"<p>\n<p><!--WEBBOT bot=\"Timestamp\" S-Type=\"EDITED\" -->", 2, 4,
       "component of another bot (\"Timestamp\")"},
      {component + "<!--WEBBOT bot=\"HTMLMarkup\" EndSpan -->", 1,
       component.size() + 1, "another bot (\"HTMLMarkup\")"},
      {"<!--WEBBOT StartSpan -->", 1, 1, "without a bot name"},
      {"<!--WEBBOT bot=\"ZvTavelwork\" -->", 1, 1, "neither StartSpan nor EndSpan"},
      {"<!--WEBBOT bot=\"ZvTavelwork\" StartSpan EndSpan -->", 1, 1, "both StartSpan and EndSpan"},
      {"<!--WEBBOT bot=\"ZvTavelwork\" StartSpan\n  S-CLIP=\"a -->\" -->" + endSpan, 2, 3,
       "S-CLIP has no closing quote"},
      {"<!--WEBBOT bot=\"ZvTavelwork\" StartSpan S-CLIP= -->", 1, 40, "S-CLIP has '=' but no value"},
      {"<p>\n<a href=\"x.htm>link</a>\n", 2, 1, "unterminated tag <a>"},
      {"<p>\n<a href=x.htm\n", 2, 1, "unterminated tag <a>"},
      {"<!DOCTYPE html", 1, 1, "unterminated markup declaration"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    const zv::host::ParsedPage parsed = parsePage(c.page);
    ASSERT_TRUE(parsed.error);
    const zv::host::TextPosition at = positionOf(c.page, parsed.error->offset);
    EXPECT_EQ(at.line, c.line);
    EXPECT_EQ(at.column, c.column);
    EXPECT_NE(parsed.error->message.find(c.message), std::string::npos) << parsed.error->message;
  }
}

TEST(CharacterReferences, DecodesTheKnownFormsAndKeepsTheRest) {
  struct Case {
    std::string text;
    std::string decoded;
  };
  const Case cases[] = {
      {"a&quot;b&amp;c&lt;d&gt;e&apos;f", "a\"b&c<d>e'f"},
      {"&QUOT;&AMP;&LT;&GT;", "\"&<>"},
      {"&#34;&#x22;&#X26;&#0000065;", "\"\"&A"},
      {"&#233;&#x20AC;&#x1F600;", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"&#0;&#xD800;&#x110000;&#;&#x;&#12a;", "&#0;&#xD800;&#x110000;&#;&#x;&#12a;"},
      {"&eacute; &nbsp; &amp &quot", "&eacute; &nbsp; &amp &quot"},
      {"&amp;amp;", "&amp;"},
      {"a & b ; c", "a & b ; c"},
      {"\xE9t\xE9", "\xE9t\xE9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(zv::host::decodeCharacterReferences(c.text), c.decoded);
  }
}

}  // namespace
