// Golden texts of the applet markup: each case is a set of settings and the
// exact text the generator must produce.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "webbot/markup/applet_markup.h"

namespace {

using zv::AppletSettings;
using zv::SystemString;

// The worked example: three buttons, visible, count 1, 96 x 32, the default
// class, codebase, tag and alignment, no body text, no other attributes.
AppletSettings workedExample() {
  return {.buttonCount = 3, .autoplay = 0, .visible = 1, .playCount = 1, .height = 32,
          .width = 96, .className = "ZvStreamPlayer.class", .codebase = "/Java/ZvTavelwork",
          .tag = "APPLET", .alignment = "middle", .bodyText = "", .otherAttributes = ""};
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

const std::string kOpenWorked =
    R"(<APPLET WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class" CODEBASE="/Java/ZvTavelwork" ALIGN="middle">)";
const std::string kClip = R"(    <PARAM NAME="Clip" VALUE="clip.zvsa">)";
const std::string kVisibleYes = R"(    <PARAM NAME="Visible" VALUE="yes">)";
const std::string kButtons3 = R"(    <PARAM NAME="Buttons" VALUE="3">)";
const std::string kAutoplayNo = R"(    <PARAM NAME="Autoplay" VALUE="no">)";
const std::string kCount1 = R"(    <PARAM NAME="Count" VALUE="1">)";

std::string generate(const AppletSettings& s, const char* clip, std::int32_t flag) {
  SystemString markup = nullptr;
  EXPECT_TRUE(zv::GenerateAppletMarkup(s, clip, &markup, flag));
  std::string text = markup ? std::string(markup, zv::SysStringByteLen(markup)) : "<null>";
  zv::SysFreeString(markup);
  return text;
}

struct GoldenCase {
  const char* name;
  AppletSettings settings;
  std::int32_t flag;
  std::string expected;
};

std::vector<GoldenCase> goldenCases() {
  std::vector<GoldenCase> cases;
  AppletSettings s = workedExample();
  cases.push_back({"WorkedExample", s, 1,
                   joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1,
                              "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.visible = 0;
  cases.push_back({"InvisibleHasZeroSizeAndNoButtons", s, 1,
                   joinLines({R"(<APPLET WIDTH="0" HEIGHT="0" CODE="ZvStreamPlayer.class" CODEBASE="/Java/ZvTavelwork" ALIGN="middle">)",
                              kClip, R"(    <PARAM NAME="Visible" VALUE="no">)", kAutoplayNo,
                              kCount1, "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.tag = "applet";
  cases.push_back({"LowerCaseAppletKeepsCodeFormAndCase", s, 1,
                   joinLines({R"(<applet WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class" CODEBASE="/Java/ZvTavelwork" ALIGN="middle">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</applet>"},
                             "\n")});

  s = workedExample();
  s.tag = "OBJECT";
  cases.push_back({"ObjectNamesClassById", s, 1,
                   joinLines({R"(<OBJECT WIDTH="96" HEIGHT="32" CODETYPE="application/java" CLASSID="java:ZvStreamPlayer.class" CODEBASE="/Java/ZvTavelwork" ALIGN="middle">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</OBJECT>"},
                             "\n")});

  s = workedExample();
  s.playCount = -1;
  s.autoplay = 5;  // any non-zero value is yes
  cases.push_back({"ContinuousCountAndAutoplay", s, 1,
                   joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3,
                              R"(    <PARAM NAME="Autoplay" VALUE="yes">)",
                              R"(    <PARAM NAME="Count" VALUE="-1">)", "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.codebase = "";
  s.alignment = "";
  s.otherAttributes = "";
  cases.push_back({"EmptyOptionalPiecesLeaveNoSpace", s, 1,
                   joinLines({R"(<APPLET WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.codebase = nullptr;
  s.alignment = nullptr;
  s.otherAttributes = nullptr;
  s.bodyText = nullptr;
  cases.push_back({"NullOptionalPiecesCountAsEmpty", s, 1,
                   joinLines({R"(<APPLET WIDTH="96" HEIGHT="32" CODE="ZvStreamPlayer.class">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.otherAttributes = "ALT=\"Java is not available in this browser\"";
  cases.push_back({"OneAltItemBeforeClosingBracket", s, 1,
                   joinLines({kOpenWorked.substr(0, kOpenWorked.size() - 1) +
                                  R"( ALT="Java is not available in this browser">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.bodyText = "No Java here.\nSee <a href=\"x.htm\">x</a>\r\nthanks";
  cases.push_back({"BodyTextWithLineBreaksVerbatim", s, 1,
                   joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1,
                              "No Java here.\nSee <a href=\"x.htm\">x</a>\r\nthanks", "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.bodyText = "This browser is aware of Java applets, but is unable to execute them.";
  cases.push_back({"FlagZeroEndsEveryLineWithCrLf", s, 0,
                   joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1,
                              "This browser is aware of Java applets, but is unable to execute them.",
                              "</APPLET>"},
                             "\r\n")});

  // Values that would end their attribute or the tag early are encoded in
  // the generator, whoever hands them in; character references that a host
  // hands back as they stand in the page are not encoded a second time.
  s = workedExample();
  s.className = "Odd\"Player<b>.class";
  s.codebase = "/Java/a&b/c&amp;d/&#34;e&#x22;";
  s.alignment = "middle\" onload=\"x";
  s.tag = "OBJECT";
  cases.push_back({"QuotedValuesAreEncodedOnce", s, 1,
                   joinLines({R"(<OBJECT WIDTH="96" HEIGHT="32" CODETYPE="application/java" )"
                              R"(CLASSID="java:Odd&quot;Player&lt;b&gt;.class" )"
                              R"(CODEBASE="/Java/a&amp;b/c&amp;d/&#34;e&#x22;" )"
                              R"(ALIGN="middle&quot; onload=&quot;x">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</OBJECT>"},
                             "\n")});

  s = workedExample();
  s.otherAttributes = "ALT=\"two words\" WIDTH=2 HSPACE='3' NAME=x&amp;y ISMAP";
  cases.push_back({"WellFormedOtherAttributesStayAsWritten", s, 1,
                   joinLines({kOpenWorked.substr(0, kOpenWorked.size() - 1) +
                                  R"( ALT="two words" WIDTH=2 HSPACE='3' NAME=x&amp;y ISMAP>)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</APPLET>"},
                             "\n")});

  s = workedExample();
  s.otherAttributes = "ALT=a>b  TITLE=\"open > <i>  =stray \"x\" NAME=<q>";
  cases.push_back({"BrokenOtherAttributesAreWrittenAgain", s, 1,
                   joinLines({kOpenWorked.substr(0, kOpenWorked.size() - 1) +
                                  R"( ALT="a&gt;b" TITLE="open > <i>  =stray " x NAME="&lt;q&gt;">)",
                              kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, "</APPLET>"},
                             "\n")});

  s = workedExample();
  cases.push_back({"AnyNonZeroFlagMeansLf", s, -7,
                   joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1,
                              "</APPLET>"},
                             "\n")});
  return cases;
}

TEST(AppletMarkupGolden, EveryCaseMatchesItsText) {
  for (const GoldenCase& c : goldenCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(generate(c.settings, "clip.zvsa", c.flag), c.expected);
  }
}

// A codebase of 300 characters is longer than the scratch area of a piece:
// it must be written whole, and so must a long clip reference, class and tag.
// The clip reference is a URL: what no URL can hold is percent-encoded, the
// URL's own syntax stays, and the value is encoded for its quotes.
TEST(AppletMarkupGolden, TheClipIsAUrlInItsQuotes) {
  const struct {
    const char* reference;
    const char* value;
  } cases[] = {
      {"clip.zvsa", "clip.zvsa"},
      {"my \"clip\" <b>.zvsa", "my%20%22clip%22%20%3Cb%3E.zvsa"},
      {"sub/Gr\xC3\xBC\xC3\x9F" "e.zvsa", "sub/Gr%C3%BC%C3%9Fe.zvsa"},
      {"a%20b.zvsa?x=1&y=2#t", "a%20b.zvsa?x=1&amp;y=2#t"},
      {"x&amp;y.zvsa", "x&amp;y.zvsa"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reference);
    const std::string text = generate(workedExample(), c.reference, 1);
    EXPECT_NE(text.find(std::string("\n    <PARAM NAME=\"Clip\" VALUE=\"") + c.value + "\">\n"),
              std::string::npos)
        << text;
  }
}

// No encoding makes an element name of a text that is not one: no markup.
TEST(AppletMarkupGolden, ATagThatIsNoNameGivesNoMarkup) {
  for (const char* tag : {"APPLET onload=x", "A\"B", "<APPLET", "", "1APPLET", "APP>LET"}) {
    SCOPED_TRACE(tag);
    AppletSettings s = workedExample();
    s.tag = tag;
    SystemString markup = zv::SysAllocString("kept");
    EXPECT_FALSE(zv::GenerateAppletMarkup(s, "clip.zvsa", &markup, 1));
    EXPECT_STREQ(markup, "kept");
    zv::SysFreeString(markup);
  }
}

TEST(AppletMarkupGolden, LongPiecesAreWrittenWhole) {
  const std::string codebase(300, 'c');
  const std::string clip = std::string(400, 'k') + ".zvsa";
  const std::string className(254, 'n');  // its piece, with CODE="...", is 262 long
  const std::string tag(260, 'T');
  AppletSettings s = workedExample();
  s.codebase = codebase.c_str();
  s.className = className.c_str();
  EXPECT_EQ(generate(s, clip.c_str(), 1),
            joinLines({R"(<APPLET WIDTH="96" HEIGHT="32" CODE=")" + className +
                           R"(" CODEBASE=")" + codebase + R"(" ALIGN="middle">)",
                       R"(    <PARAM NAME="Clip" VALUE=")" + clip + R"(">)", kVisibleYes,
                       kButtons3, kAutoplayNo, kCount1, "</APPLET>"},
                      "\n"));

  s = workedExample();
  s.tag = tag.c_str();
  const std::string text = generate(s, "clip.zvsa", 0);
  EXPECT_EQ(text.substr(0, tag.size() + 2), "<" + tag + " ");
  EXPECT_EQ(text.substr(text.size() - tag.size() - 5), "</" + tag + ">\r\n");
}

// Pieces of 254 and 255 characters sit on the edge of the scratch area.
TEST(AppletMarkupGolden, PiecesAtTheScratchEdge) {
  // " ALIGN=\"" + value + "\"" is 9 characters around the value.
  for (std::size_t pieceLength : {253u, 254u, 255u, 256u}) {
    const std::string alignment(pieceLength - 9, 'a');
    AppletSettings s = workedExample();
    s.alignment = alignment.c_str();
    const std::string text = generate(s, "clip.zvsa", 1);
    EXPECT_NE(text.find(" ALIGN=\"" + alignment + "\">\n"), std::string::npos) << pieceLength;
  }
}

// A text larger than the first 16,384-byte buffer makes the buffer double
// (twice, for a body of 40,000 bytes) and still comes out whole.
TEST(AppletMarkupGolden, BodyLargerThanTheFirstBuffer) {
  std::string body;
  for (int i = 0; body.size() < 40000; ++i) body += "line " + std::to_string(i) + "\n";
  AppletSettings s = workedExample();
  s.bodyText = body.c_str();
  EXPECT_EQ(generate(s, "clip.zvsa", 1),
            joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3, kAutoplayNo, kCount1, body,
                       "</APPLET>"},
                      "\n"));
}

TEST(AppletMarkupSlot, AnOccupiedSlotIsReallocated) {
  SystemString slot = zv::SysAllocString("an older markup text");
  ASSERT_NE(slot, nullptr);
  ASSERT_TRUE(zv::GenerateAppletMarkup(workedExample(), "clip.zvsa", &slot, 1));
  EXPECT_EQ(std::string(slot), joinLines({kOpenWorked, kClip, kVisibleYes, kButtons3,
                                          kAutoplayNo, kCount1, "</APPLET>"},
                                         "\n"));
  EXPECT_EQ(zv::SysStringByteLen(slot), std::string(slot).size());
  zv::SysFreeString(slot);  // the old string was freed by the generator (ASan would report it)
}

TEST(AppletMarkupSlot, NullSlotIsRefused) {
  EXPECT_FALSE(zv::GenerateAppletMarkup(workedExample(), "clip.zvsa", nullptr, 1));
}

}  // namespace
