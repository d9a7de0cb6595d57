// The sixteen-line WEBBOT comment text of a component.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "webbot/webbot_text.h"

namespace {

std::string crlfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

zv::AppletSettings freshSettings() {
  return {.buttonCount = 2, .autoplay = 0, .visible = 1, .playCount = 1, .height = 32,
          .width = 64, .className = "ZvStreamPlayer.class", .codebase = "/myweb/Java/ZvTavelwork",
          .tag = "APPLET", .alignment = "middle",
          .bodyText = "This browser is aware of Java applets, but is unable to execute them.",
          .otherAttributes = "ALT=\"Java is not available in this browser\""};
}

TEST(WebBotText, GoldenSixteenLines) {
  const std::string text =
      zv::webbot::formatWebBotText(freshSettings(), "file:///opt/zv/bin/FPTwoButton.gif",
                                   "hello.zvsa");
  EXPECT_EQ(text,
            crlfLines({
                "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG "
                "SRC=&quot;file:///opt/zv/bin/FPTwoButton.gif&quot; HEIGHT=&quot;32&quot; "
                "WIDTH=&quot;64&quot;&gt;\"",
                " I-NUMBUTTONS=\"2\" ",
                "I-AUTOPLAY=\"0\" ",
                "I-VISIBLE=\"1\" ",
                "I-COUNT=\"1\" ",
                "I-HEIGHT=\"32\" ",
                "I-WIDTH=\"64\" ",
                "S-CLASS=\"ZvStreamPlayer.class\" ",
                "S-CODEBASE=\"/myweb/Java/ZvTavelwork\" ",
                "S-APPLETTAG=\"APPLET\" ",
                "S-ALIGN=\"middle\" ",
                "S-BODY=\"This browser is aware of Java applets, but is unable to execute them.\" ",
                "S-ATTRIBS=\"ALT=&quot;Java is not available in this browser&quot;\" ",
                "S-CLIP=\"hello.zvsa\" -->",
                "",
                "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>",
            }));
}

TEST(WebBotText, EmptyTextsNegativeCountAndEncodedBody) {
  zv::AppletSettings s = freshSettings();
  s.buttonCount = 3;
  s.autoplay = 1;
  s.visible = 0;
  s.playCount = -1;
  s.codebase = "";
  s.alignment = nullptr;
  s.tag = "OBJECT";
  s.bodyText = "Get <a href=\"java.htm\">Java</a> & more >>";
  s.otherAttributes = "";
  const std::string text = zv::webbot::formatWebBotText(s, "img.gif", "c.zvsa");
  EXPECT_EQ(text,
            crlfLines({
                "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;img.gif&quot; "
                "HEIGHT=&quot;32&quot; WIDTH=&quot;64&quot;&gt;\"",
                " I-NUMBUTTONS=\"3\" ",
                "I-AUTOPLAY=\"1\" ",
                "I-VISIBLE=\"0\" ",
                "I-COUNT=\"-1\" ",
                "I-HEIGHT=\"32\" ",
                "I-WIDTH=\"64\" ",
                "S-CLASS=\"ZvStreamPlayer.class\" ",
                "S-CODEBASE=\"\" ",
                "S-APPLETTAG=\"OBJECT\" ",
                "S-ALIGN=\"\" ",
                "S-BODY=\"Get <a href=&quot;java.htm&quot;&gt;Java</a&gt; &amp; more &gt;&gt;\" ",
                "S-ATTRIBS=\"\" ",
                "S-CLIP=\"c.zvsa\" -->",
                "",
                "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>",
            }));
}

// Plain values that hold a quote, an ampersand or a greater-than sign would
// end their value or the comment early; they are encoded like the body.
TEST(WebBotText, PlainValuesCannotBreakTheComment) {
  zv::AppletSettings s = freshSettings();
  s.className = "Odd\"Player.class";
  s.codebase = "/a&b";
  const std::string text =
      zv::webbot::formatWebBotText(s, "file:///x\"y&z/FPTwoButton.gif", "say -->hi.zvsa");
  EXPECT_NE(text.find("\r\nS-CLASS=\"Odd&quot;Player.class\" \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nS-CODEBASE=\"/a&amp;b\" \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nS-CLIP=\"say --&gt;hi.zvsa\" -->\r\n"), std::string::npos);
  // Inside PREVIEW the URL is a quoted value within a quoted value.
  EXPECT_NE(text.find("SRC=&quot;file:///x&amp;quot;y&amp;amp;z/FPTwoButton.gif&quot;"),
            std::string::npos);
  EXPECT_EQ(text.find("-->"), text.find(" -->\r\n\r\n") + 1);  // the first comment end is its own
}

TEST(WebBotText, PreviewImageByButtonCount) {
  EXPECT_STREQ(zv::webbot::previewImageName(1), "FPOneButton.gif");
  EXPECT_STREQ(zv::webbot::previewImageName(2), "FPTwoButton.gif");
  EXPECT_STREQ(zv::webbot::previewImageName(3), "FPThreeButton.gif");
  EXPECT_STREQ(zv::webbot::previewImageName(0), "FPOneButton.gif");
  EXPECT_STREQ(zv::webbot::previewImageName(4), "FPOneButton.gif");
}

}  // namespace
