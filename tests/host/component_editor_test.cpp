// The host's side of the Edit entry: attributes handed out decoded, changed
// ones written back into the WEBBOT comment, every other byte kept.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "host/component_editor.h"
#include "host/page_parser.h"

namespace zv::host {
namespace {

std::string readFixture(const char* name) {
  std::ifstream in(std::string(ZV_TEST_DATA_DIR) + "/web/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the Edit entry writes back for the first component of index.htm when
// the author changes nothing: every value as it reads, S-BODY and S-ATTRIBS
// in the component's encoding.
void setEverythingUnchanged(const ZvHostCallbacks* callbacks, void* handle) {
  const char* values[][2] = {
      {"PREVIEW", "<IMG SRC=\"file:///usr/lib/zvtavelworks/FPTwoButton.gif\" HEIGHT=\"32\" WIDTH=\"64\">"},
      {"I-NUMBUTTONS", "2"}, {"I-AUTOPLAY", "0"}, {"I-VISIBLE", "1"}, {"I-COUNT", "1"},
      {"I-HEIGHT", "32"}, {"I-WIDTH", "64"}, {"S-CLASS", "ZvStreamPlayer.class"},
      {"S-CODEBASE", "/Java/ZvTavelwork"}, {"S-APPLETTAG", "APPLET"}, {"S-ALIGN", "middle"},
      {"S-BODY", "This browser is aware of Java applets, but is unable to execute them."},
      {"S-ATTRIBS", "ALT=&quot;Java is not available in this browser&quot;"},
  };
  for (const auto& value : values) callbacks->SetAttribute(handle, value[0], value[1]);
}

class ComponentEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    page = readFixture("index.htm");
    const ParsedPage parsed = parsePage(page);
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.components.size(), 2u);
    editor = std::make_unique<ComponentEditor>(page, parsed.components[0]);
  }

  // `page` with the first occurrence of `from` replaced by `to`.
  std::string pageWith(const std::string& from, const std::string& to) const {
    std::string expected = page;
    const std::size_t at = expected.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return expected.replace(at, from.size(), to);
  }

  std::string page;
  std::unique_ptr<ComponentEditor> editor;
};

TEST_F(ComponentEditorTest, HandsOutDecodedValuesThroughTheCallbackTable) {
  const ZvHostCallbacks* callbacks = editor->callbacks();
  void* handle = editor->attributeHandle();
  EXPECT_STREQ(callbacks->GetAttribute(handle, "I-NUMBUTTONS"), "2");
  EXPECT_STREQ(callbacks->GetAttribute(handle, "S-ATTRIBS"),
               "ALT=\"Java is not available in this browser\"");
  EXPECT_STREQ(callbacks->GetAttribute(handle, "PREVIEW"),
               "<IMG SRC=\"file:///usr/lib/zvtavelworks/FPTwoButton.gif\" HEIGHT=\"32\" WIDTH=\"64\">");
  EXPECT_EQ(callbacks->GetAttribute(handle, "I-USETEXT"), nullptr);
}

TEST_F(ComponentEditorTest, ValuesSetAsTheyWereLeaveThePageByteForByte) {
  setEverythingUnchanged(editor->callbacks(), editor->attributeHandle());
  EXPECT_FALSE(editor->changed());
  EXPECT_EQ(editor->editedPage(), page);
}

TEST_F(ComponentEditorTest, OneChangedValueChangesOnlyThatValue) {
  setEverythingUnchanged(editor->callbacks(), editor->attributeHandle());
  editor->set("I-COUNT", "3");
  EXPECT_TRUE(editor->changed());
  EXPECT_EQ(editor->editedPage(), pageWith("I-COUNT=\"1\"", "I-COUNT=\"3\""));
  EXPECT_STREQ(editor->get("I-COUNT"), "3");
}

TEST_F(ComponentEditorTest, AnAttributeTheCommentLacksIsAddedAfterItsLastOne) {
  editor->set("I-USETEXT", "1");
  EXPECT_EQ(editor->editedPage(),
            pageWith("S-CLIP=\"hello.zvsa\" -->", "S-CLIP=\"hello.zvsa\" I-USETEXT=\"1\" -->"));
}

TEST_F(ComponentEditorTest, EveryValueReadsBackAsSet) {
  struct Case {
    const char* key;
    const char* value;       // as the component sets it
    const char* written;     // between the quotes in the page
    const char* readBack;    // what the page hands out afterwards
  } cases[] = {
      {"S-CLASS", "a\"b&c<d>e", "a&quot;b&amp;c&lt;d&gt;e", "a\"b&c<d>e"},
      {"PREVIEW", "<font color=\"maroon\">[x & y]</font>",
       "&lt;font color=&quot;maroon&quot;&gt;[x &amp; y]&lt;/font&gt;",
       "<font color=\"maroon\">[x & y]</font>"},
      // The component's own encoding is kept as it stands and reads back
      // decoded, as on a freshly inserted component.
      {"S-ATTRIBS", "ALT=&quot;x &amp; y&quot; W=2", "ALT=&quot;x &amp; y&quot; W=2", "ALT=\"x & y\" W=2"},
      {"S-BODY", "<b>Fish &amp; chips</b>", "<b>Fish &amp; chips</b>", "<b>Fish & chips</b>"},
      {"S-CLIP", "my clip.zvsa", "my clip.zvsa", "my clip.zvsa"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ComponentEditor::writtenForm(c.key, c.value), c.written);
    ComponentEditor one(page, parsePage(page).components[0]);
    one.set(c.key, c.value);
    const std::string edited = one.editedPage();
    const ParsedPage reparsed = parsePage(edited);
    ASSERT_FALSE(reparsed.error) << reparsed.error->message;
    const ComponentAttribute* attribute = reparsed.components[0].find(c.key);
    ASSERT_NE(attribute, nullptr);
    EXPECT_EQ(attribute->value, c.readBack);
    EXPECT_STREQ(one.get(c.key), c.readBack);
    // The second component is untouched.
    EXPECT_EQ(edited.substr(reparsed.components[1].startBegin),
              page.substr(parsePage(page).components[1].startBegin));
  }
}

}  // namespace
}  // namespace zv::host
