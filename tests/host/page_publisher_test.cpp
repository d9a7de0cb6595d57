// Publishing single pages: what the component is handed, what replaces the
// span, and the pages that are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/editbot_binding.h"
#include "host/page_publisher.h"

namespace {

using zv::host::PublishedPage;
using zv::host::publishPage;

std::string component(const std::string& attributes, const std::string& span = "\r\n\r\n") {
  return "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan " + attributes + " -->" + span +
         "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n";
}

// Every attribute of a set-up component, with the values given for some.
std::string attributes(const std::vector<std::pair<std::string, std::string>>& changes = {}) {
  std::vector<std::pair<std::string, std::string>> all = {
      {"I-NUMBUTTONS", "2"},  {"I-AUTOPLAY", "0"},
      {"I-VISIBLE", "1"},     {"I-COUNT", "1"},
      {"I-HEIGHT", "32"},     {"I-WIDTH", "64"},
      {"S-CLASS", "ZvStreamPlayer.class"},
      {"S-CODEBASE", "/Java/ZvTavelwork"},
      {"S-APPLETTAG", "APPLET"},
      {"S-ALIGN", "middle"},  {"S-BODY", ""},
      {"S-ATTRIBS", "ALT=&quot;Java is not available in this browser&quot;"},
      {"S-CLIP", "hello.zvsa"}};
  for (const auto& [key, value] : changes) {
    bool replaced = false;
    for (auto& [k, v] : all) {
      if (k == key) {
        v = value;
        replaced = true;
      }
    }
    if (!replaced) all.push_back({key, value});
  }
  std::string text;
  for (const auto& [key, value] : all) {
    if (value != "<absent>") text += (text.empty() ? "" : " ") + key + "=\"" + value + "\"";
  }
  return text;
}

// The real component library, found the way webhost finds it.
class WithLibrary : public ::testing::Test {
 protected:
  PublishedPage publish(const std::string& page) {
    return publishPage(page, [this](std::string& why) { return edit_bot_.expand(why); });
  }
  zv::host::EditBotBinding edit_bot_;
};

TEST_F(WithLibrary, SpanIsFilledAndEverythingElseKept) {
  const std::string before = "<html><body>\r\n<p>Hello</p>\r\n";
  const std::string start = component(attributes()).substr(0, component(attributes()).find("-->") + 3);
  const std::string page = before + component(attributes(), "\r\n<APPLET>stale</APPLET>\r\n") +
                           "</body></html>\r\n";
  const PublishedPage published = publish(page);
  ASSERT_TRUE(published.ok);
  EXPECT_TRUE(published.diagnostics.empty());
  EXPECT_EQ(published.text,
            before + start +
                "<APPLET WIDTH=\"64\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\" "
                "CODEBASE=\"/Java/ZvTavelwork\" ALIGN=\"middle\" "
                "ALT=\"Java is not available in this browser\">\n"
                "    <PARAM NAME=\"Clip\" VALUE=\"hello.zvsa\">\n"
                "    <PARAM NAME=\"Visible\" VALUE=\"yes\">\n"
                "    <PARAM NAME=\"Buttons\" VALUE=\"2\">\n"
                "    <PARAM NAME=\"Autoplay\" VALUE=\"no\">\n"
                "    <PARAM NAME=\"Count\" VALUE=\"1\">\n"
                "</APPLET>\n"
                "<script src=\"/Java/ZvTavelwork/ZvStreamPlayer.js\" defer></script>\n"
                "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n</body></html>\r\n");
  // Publishing the published page again gives the same page.
  const PublishedPage again = publish(published.text);
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(again.text, published.text);
}

// The host hands every value decoded and the component encodes what goes
// between double quotes, once; the clip is a URL, so what no URL holds as it
// is (space, '"') is percent-encoded; the attribute list and the body reach
// the element as the markup they are.
TEST_F(WithLibrary, ValuesAreHandedAsTheElementNeedsThem) {
  const std::string page = component(attributes({
      {"S-CLASS", "My&quot;Player.class"},
      {"S-CODEBASE", "/cgi?a=1&amp;b=2"},
      {"S-ALIGN", "a&gt;b"},
      {"S-CLIP", "rock&amp;roll &quot;live&quot;.zvsa"},
      {"S-BODY", "<b&gt;No Java</b&gt; &amp;amp; more"},
      {"S-ATTRIBS", "ALT=&quot;Say &amp;quot;hi&amp;quot;&quot; HSPACE=4"},
  }));
  const PublishedPage published = publish(page);
  ASSERT_TRUE(published.ok);
  const std::string& text = published.text;
  EXPECT_NE(text.find("<APPLET WIDTH=\"64\" HEIGHT=\"32\" CODE=\"My&quot;Player.class\" "
                      "CODEBASE=\"/cgi?a=1&amp;b=2\" ALIGN=\"a&gt;b\" "
                      "ALT=\"Say &quot;hi&quot;\" HSPACE=4>\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<PARAM NAME=\"Clip\" VALUE=\"rock&amp;roll%20%22live%22.zvsa\">"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\n<b>No Java</b> &amp; more\n</APPLET>"), std::string::npos) << text;
}

// One player script per page, after the first component that expands to
// markup, loading the player from that component's class folder.
TEST_F(WithLibrary, PagesWithComponentsLoadThePlayerFromTheClassFolderOnce) {
  struct Case {
    const char* codebase;
    const char* script;
  };
  const Case cases[] = {
      {"/Java/ZvTavelwork", "<script src=\"/Java/ZvTavelwork/ZvStreamPlayer.js\" defer></script>\n"},
      {"classes/", "<script src=\"classes/ZvStreamPlayer.js\" defer></script>\n"},
      {"", "<script src=\"ZvStreamPlayer.js\" defer></script>\n"},
      {"/a&amp;b/&quot;x&quot;", "<script src=\"/a&amp;b/&quot;x&quot;/ZvStreamPlayer.js\" defer></script>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codebase);
    const std::string page = component(attributes({{"S-CLIP", "<absent>"}})) +
                             component(attributes({{"S-CODEBASE", c.codebase}})) +
                             component(attributes({{"S-CODEBASE", "/elsewhere"}}));
    const PublishedPage published = publish(page);
    ASSERT_TRUE(published.ok);
    const std::string& text = published.text;
    const std::size_t script = text.find("<script");
    ASSERT_NE(script, std::string::npos) << text;
    EXPECT_EQ(text.substr(script, std::string(c.script).size()), c.script);
    EXPECT_EQ(text.find("<script", script + 1), std::string::npos) << "a second script: " << text;
    // It follows the second component's element, not the first's empty span.
    EXPECT_GT(script, text.find("</APPLET>\n"));
    EXPECT_LT(script, text.find("</APPLET>\n", text.find("</APPLET>\n") + 1));
    const PublishedPage again = publish(text);
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.text, text);
  }
  const PublishedPage without = publish("<p>no component</p>\n");
  ASSERT_TRUE(without.ok);
  EXPECT_EQ(without.text, "<p>no component</p>\n");
}

TEST_F(WithLibrary, ComponentWithoutClipExpandsToNothingWithAWarning) {
  const std::string page = "<p>\n" + component(attributes({{"S-CLIP", "<absent>"}}), "old");
  const PublishedPage published = publish(page);
  ASSERT_TRUE(published.ok);
  EXPECT_EQ(published.text.find("old"), std::string::npos);
  EXPECT_EQ(published.text.find("<APPLET"), std::string::npos);
  ASSERT_EQ(published.diagnostics.size(), 1u);
  EXPECT_FALSE(published.diagnostics[0].error);
  EXPECT_EQ(published.diagnostics[0].offset, 7u);
  EXPECT_NE(published.diagnostics[0].message.find("it has no S-CLIP"), std::string::npos);
}

TEST_F(WithLibrary, ValuesThatCannotMakeAWellFormedElementAreRefused) {
  struct Case {
    std::string key;
    std::string value;
    std::string message;
  };
  const Case cases[] = {
      {"S-APPLETTAG", "APP LET", "S-APPLETTAG \"APP LET\" is not an element name"},
      {"S-APPLETTAG", "", "is not an element name"},
      {"S-APPLETTAG", "Script", "names an element whose content is text"},
      {"S-APPLETTAG", "plaintext", "names an element whose content is text"},
      {"S-BODY", "No Java <!-- and an open comment", "S-BODY is not complete HTML: unterminated comment"},
      {"S-BODY", "<b", "S-BODY is not complete HTML: unterminated tag <b>"},
      {"S-BODY", "<textarea&gt;x", "S-BODY leaves a <textarea> element open"},
      {"S-BODY", "<!--WEBBOT bot='ZvTavelwork' StartSpan --&gt;", "S-BODY is not complete HTML"},
      {"S-ATTRIBS", "ALT=&quot;unbalanced", "ALT has no closing quote"},
      {"S-ATTRIBS", "ALT=a&gt;b", "unexpected '>' in the value of ALT"},
      {"S-ATTRIBS", "=x", "unexpected '=' where an attribute name should be"},
      {"S-ATTRIBS", "A=&quot;x&quot;B=2", "no space after the quoted value of A"},
      {"S-ATTRIBS", "A=", "A has '=' but no value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key + "=" + c.value);
    const std::string page = component(attributes({{c.key, c.value}}));
    const PublishedPage published = publish(page);
    EXPECT_FALSE(published.ok);
    EXPECT_TRUE(published.text.empty());
    ASSERT_EQ(published.diagnostics.size(), 1u);
    EXPECT_TRUE(published.diagnostics[0].error);
    EXPECT_EQ(page.substr(*published.diagnostics[0].offset, c.key.size()), c.key);
    EXPECT_NE(published.diagnostics[0].message.find(c.message), std::string::npos)
        << published.diagnostics[0].message;
  }
  // The checks accept the usual attribute lists.
  for (const char* list : {"", "ALT=&quot;x y&quot; HSPACE=4 MAYSCRIPT", "A='x' b=c  "}) {
    EXPECT_TRUE(publish(component(attributes({{"S-ATTRIBS", list}}))).ok) << list;
  }
  for (const char* body : {"", "a < b &amp; c", "<!-- closed --&gt;<script&gt;x</script&gt;",
                           "<textarea&gt;</textarea&gt;"}) {
    EXPECT_TRUE(publish(component(attributes({{"S-BODY", body}}))).ok) << body;
  }
  EXPECT_TRUE(publish(component(attributes({{"S-APPLETTAG", "EMBED"}}))).ok);
}

// A fake component that changes an attribute while expanding: the host
// writes the StartSpan comment anew, escaping what must be escaped.
void expandThatSetsAnAttribute(void* output, void* attributes, void*, void*,
                               const ZvHostCallbacks* callbacks) {
  callbacks->SetAttribute(attributes, "S-BODY", "a \"quoted\" <b>body</b> & -->");
  callbacks->SetAttribute(attributes, "I-USETEXT", "1");
  const char* body = callbacks->GetAttribute(attributes, "S-BODY");
  callbacks->AppendOutput(output, body);
}

TEST(PagePublisher, ChangedAttributesAreWrittenBackEscaped) {
  const std::string page = component("S-BODY=\"old\" S-CLIP=\"c.zvsa\"");
  const PublishedPage published =
      publishPage(page, [](std::string&) { return &expandThatSetsAnAttribute; });
  ASSERT_TRUE(published.ok);
  EXPECT_EQ(published.text,
            "<p><!--WEBBOT bot=\"ZvTavelwork\" StartSpan "
            "S-BODY=\"a &quot;quoted&quot; <b&gt;body</b&gt; &amp; --&gt;\" S-CLIP=\"c.zvsa\" "
            "I-USETEXT=\"1\" -->"
            "a \"quoted\" <b>body</b> & -->\n"
            "<script src=\"ZvStreamPlayer.js\" defer></script>\n"
            "<!--WEBBOT bot=\"ZvTavelwork\" EndSpan --><p>\r\n");
}

TEST(PagePublisher, UnavailableLibraryFailsPagesWithComponentsOnly) {
  auto unavailable = [](std::string& why) -> ZvTavelworkExpandFn {
    why = "cannot load libZvEditBot.so: not found";
    return nullptr;
  };
  const PublishedPage plain = publishPage("<p>no components</p>", unavailable);
  ASSERT_TRUE(plain.ok);
  EXPECT_EQ(plain.text, "<p>no components</p>");

  const PublishedPage withComponent = publishPage("<p>\n" + component(attributes()), unavailable);
  EXPECT_FALSE(withComponent.ok);
  ASSERT_EQ(withComponent.diagnostics.size(), 1u);
  EXPECT_NE(withComponent.diagnostics[0].message.find("not found"), std::string::npos);
}

}  // namespace
