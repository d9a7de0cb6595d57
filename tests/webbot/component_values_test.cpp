// The Edit entry's reading of a component's attributes, its preview, and
// the attributes it writes back, through a host callback table.
#include <gtest/gtest.h>

#include <cstdint>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/webbot/edit/recording_component.h"
#include "webbot/edit/component_values.h"

namespace zv::webbot {
namespace {

using FakeHost = test::RecordingComponent;
using test::insertedComponent;

TEST(ComponentValues, ReadsEveryAttributeDecodingBodyAndAttributeSet) {
  FakeHost host = insertedComponent();
  ASSERT_TRUE(isComponentSetUp(host.callbacks, &host));
  const ComponentValues values = readComponentValues(host.callbacks, &host);
  EXPECT_EQ(values.general.buttonIndex, 2);
  EXPECT_FALSE(values.general.autoplay);
  EXPECT_TRUE(values.general.visible);
  EXPECT_FALSE(values.general.continuously);
  EXPECT_EQ(values.general.countText, "1");
  EXPECT_FALSE(values.general.textOnlyPreview);  // absent on inserted components
  EXPECT_EQ(values.required.height, 32);
  EXPECT_EQ(values.required.width, 96);
  EXPECT_EQ(values.required.className, "ZvStreamPlayer.class");
  EXPECT_EQ(values.required.codebase, "/Java/ZvTavelwork");
  EXPECT_EQ(values.required.tag, "APPLET");
  EXPECT_EQ(values.required.alignment, "middle");
  EXPECT_FALSE(values.required.calculateWidth);
  EXPECT_EQ(values.optional.bodyText, "Say \"hi\" & go");
  const AttributeMap expected{{"ALT", "\"Java is not available\""}, {"HSPACE", "4"}};
  EXPECT_EQ(values.optional.attributes, expected);
}

TEST(ComponentValues, ComponentsNotSetUpAreToldApart) {
  for (const char* numButtons : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
    FakeHost host = insertedComponent();
    if (numButtons) host.attributes["I-NUMBUTTONS"] = numButtons;
    else host.attributes.erase("I-NUMBUTTONS");
    EXPECT_FALSE(isComponentSetUp(host.callbacks, &host));
  }
}

// The lowest count a page can hold gives the lowest index, not an overflow
// (which the sanitizer build would report), and reads back the same.
TEST(ComponentValues, TheLowestButtonCountStaysInRange) {
  FakeHost host = insertedComponent();
  host.attributes["I-NUMBUTTONS"] = "-2147483648";
  const ComponentValues values = readComponentValues(host.callbacks, &host);
  EXPECT_EQ(values.general.buttonIndex, INT32_MIN);
  EXPECT_NE(buildPreview(values, "a.zvsa", "/lib/").find("FPOneButton.gif"), std::string::npos);
}

TEST(ComponentValues, PlayCountsFromTheAttributeAndBack) {
  const struct {
    const char* stored;      // I-COUNT, or null when missing
    bool continuously;
    const char* countText;   // shown in the count field
    std::int32_t writtenBack;
  } cases[] = {
      {"-1", true, "1", -1},
      {"7", false, "7", 7},
      {"0", false, "0", 0},
      {nullptr, false, "0", 0},
      {"99999999999", false, "99999999999", 2147483647},  // shown unchanged, written limited
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(missing)");
    FakeHost host = insertedComponent();
    if (c.stored) host.attributes["I-COUNT"] = c.stored;
    else host.attributes.erase("I-COUNT");
    const ComponentValues values = readComponentValues(host.callbacks, &host);
    EXPECT_EQ(values.general.continuously, c.continuously);
    EXPECT_EQ(values.general.countText, c.countText);
    writeComponentValues(values, "preview", host.callbacks, &host);
    EXPECT_EQ(host.written[4].first, "I-COUNT");
    EXPECT_EQ(host.written[4].second, std::to_string(c.writtenBack));
  }
}

TEST(ComponentValues, WritesEveryAttributeInOrderEncodingBodyAndAttributeSet) {
  FakeHost host = insertedComponent();
  ComponentValues values = readComponentValues(host.callbacks, &host);
  values.general.textOnlyPreview = true;
  writeComponentValues(values, "<p>preview</p>", host.callbacks, &host);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"PREVIEW", "<p>preview</p>"},
      {"I-NUMBUTTONS", "3"}, {"I-AUTOPLAY", "0"}, {"I-VISIBLE", "1"}, {"I-COUNT", "1"},
      {"I-USETEXT", "1"}, {"I-HEIGHT", "32"}, {"I-WIDTH", "96"},
      {"S-CLASS", "ZvStreamPlayer.class"}, {"S-CODEBASE", "/Java/ZvTavelwork"},
      {"S-APPLETTAG", "APPLET"}, {"S-ALIGN", "middle"},
      {"S-BODY", "Say &quot;hi&quot; &amp; go"},
      {"S-ATTRIBS", "ALT=&quot;Java is not available&quot; HSPACE=4"},
  };
  EXPECT_EQ(host.written, expected);
}

TEST(ComponentValues, TextOnlyPreviewNamesTheClipAndTheButtons) {
  FakeHost host = insertedComponent();
  ComponentValues values = readComponentValues(host.callbacks, &host);
  values.general.textOnlyPreview = true;
  EXPECT_EQ(buildPreview(values, "hello.zvsa", "/unused/"),
            "<font color=\"maroon\" face=\"Arial\"><b>[Z&V Tavelworks, hello, 3 buttons, "
            "height=32, width=96]</b></font>");
  values.general.buttonIndex = 0;
  EXPECT_EQ(buildPreview(values, "hello.zvsa", "/unused/"),
            "<font color=\"maroon\" face=\"Arial\"><b>[Z&V Tavelworks, hello, 1 button, "
            "height=32, width=96]</b></font>");
  EXPECT_NE(buildPreview(values, "a", "/unused/").find("[Z&V Tavelworks, a, 1 button"), std::string::npos);
  // The page's clip value is a URL, and the preview is HTML: the name it
  // stands for is shown as text, whatever it holds.
  EXPECT_NE(buildPreview(values, "say%20%22hi%22%20%3Cb%3E%26%231.zvsa", "/unused/")
                .find("[Z&V Tavelworks, say &quot;hi&quot; &lt;b&gt;&amp;#1, 1 button"),
            std::string::npos);
  EXPECT_NE(buildPreview(values, "a\"<b>c.zvsa", "/unused/").find("Tavelworks, a&quot;&lt;b&gt;c, 1"),
            std::string::npos);
}

TEST(ComponentValues, ImagePreviewIsAFileUrlIntoTheBotsFolder) {
  FakeHost host = insertedComponent();
  ComponentValues values = readComponentValues(host.callbacks, &host);
  EXPECT_EQ(buildPreview(values, "hello.zvsa", "/home/Ann Lee/Web/BotCache/ZvTavelwork/"),
            "<IMG SRC=\"file:///home/Ann%20Lee/Web/bots/ZvTavelwork/FPThreeButton.gif\" "
            "HEIGHT=\"32\" WIDTH=\"96\">");
  values.general.buttonIndex = 1;
  EXPECT_NE(buildPreview(values, "x.zvsa", "/lib/").find("file:///lib/FPTwoButton.gif"), std::string::npos);
}

}  // namespace
}  // namespace zv::webbot
