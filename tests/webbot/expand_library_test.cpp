// The Expand entry of the real libZvEditBot.so, loaded at run time and called
// through a test host's callback table.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/module.h"
#include "test_host.h"
#include "webbot/component_attributes.h"
#include <zv/webbot_host.h>

namespace {

class ExpandLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = new zv::Module(zv::Module::load(ZV_EDITBOT_LIBRARY));
    ASSERT_TRUE(library_->loaded()) << library_->error();
    expand_ = reinterpret_cast<ZvTavelworkExpandFn>(
        library_->symbol(ZV_TAVELWORK_EXPAND_SYMBOL));
    ASSERT_NE(expand_, nullptr);
  }
  static void TearDownTestSuite() {
    delete library_;
    library_ = nullptr;
  }

  // A component as the insertion program writes it: every attribute but
  // I-USETEXT, with S-ATTRIBS handed back in its encoded form.
  void SetUp() override {
    const std::pair<const char*, const char*> component[] = {
        {"PREVIEW", "<IMG SRC=\"file:///opt/zv/FPThreeButton.gif\" HEIGHT=\"32\" WIDTH=\"96\">"},
        {"I-NUMBUTTONS", "3"},
        {"I-AUTOPLAY", "1"},
        {"I-VISIBLE", "1"},
        {"I-COUNT", "2"},
        {"I-HEIGHT", "32"},
        {"I-WIDTH", "96"},
        {"S-CLASS", "ZvStreamPlayer.class"},
        {"S-CODEBASE", "/myweb/Java/ZvTavelwork"},
        {"S-APPLETTAG", "APPLET"},
        {"S-ALIGN", "middle"},
        {"S-BODY", "No Java."},
        {"S-ATTRIBS", "ALT=&quot;Java is not available in this browser&quot;"},
        {"S-CLIP", "hello.zvsa"},
    };
    for (const auto& [key, value] : component) test_host_set(&attributes_, key, value);
  }

  std::string expand() {
    const ZvHostCallbacks table = test_host_callbacks();
    expand_(&output_, &attributes_, nullptr, nullptr, &table);
    EXPECT_EQ(output_.overflow, 0);
    EXPECT_EQ(attributes_.setCalls, 0);
    return std::string(output_.text, output_.length);
  }

  std::vector<std::string> askedKeys() const {
    return std::vector<std::string>(attributes_.asked, attributes_.asked + attributes_.askedCount);
  }

  static zv::Module* library_;
  static ZvTavelworkExpandFn expand_;
  TestHostAttributes attributes_{};
  TestHostOutput output_{};
};

zv::Module* ExpandLibrary::library_ = nullptr;
ZvTavelworkExpandFn ExpandLibrary::expand_ = nullptr;

const std::vector<std::string> kKeysInOrder = {
    "I-NUMBUTTONS", "I-AUTOPLAY", "I-VISIBLE", "I-COUNT",   "I-HEIGHT",  "I-WIDTH", "S-CLASS",
    "S-CODEBASE",   "S-APPLETTAG", "S-ALIGN",  "S-BODY",    "S-ATTRIBS", "S-CLIP"};

TEST_F(ExpandLibrary, EveryAttributePresentAppendsTheMarkupOnce) {
  EXPECT_EQ(expand(),
            "<APPLET WIDTH=\"96\" HEIGHT=\"32\" CODE=\"ZvStreamPlayer.class\" "
            "CODEBASE=\"/myweb/Java/ZvTavelwork\" ALIGN=\"middle\" "
            "ALT=&quot;Java is not available in this browser&quot;>\n"
            "    <PARAM NAME=\"Clip\" VALUE=\"hello.zvsa\">\n"
            "    <PARAM NAME=\"Visible\" VALUE=\"yes\">\n"
            "    <PARAM NAME=\"Buttons\" VALUE=\"3\">\n"
            "    <PARAM NAME=\"Autoplay\" VALUE=\"yes\">\n"
            "    <PARAM NAME=\"Count\" VALUE=\"2\">\n"
            "No Java.\n"
            "</APPLET>\n");
  EXPECT_EQ(output_.appendCalls, 1);
  EXPECT_EQ(askedKeys(), kKeysInOrder);
}

TEST_F(ExpandLibrary, AnyMissingAttributeGivesNoOutputAtAll) {
  for (size_t missing = 0; missing < kKeysInOrder.size(); ++missing) {
    SCOPED_TRACE(kKeysInOrder[missing]);
    SetUp();
    test_host_remove(&attributes_, kKeysInOrder[missing].c_str());
    attributes_.askedCount = 0;
    output_ = TestHostOutput{};
    EXPECT_EQ(expand(), "");
    EXPECT_EQ(output_.appendCalls, 0);
    // Reading stops at the missing attribute.
    const std::vector<std::string> expected(kKeysInOrder.begin(),
                                            kKeysInOrder.begin() + missing + 1);
    EXPECT_EQ(askedKeys(), expected);
  }
}

TEST_F(ExpandLibrary, ContinuousCountIsWrittenAsMinusOne) {
  test_host_set(&attributes_, "I-COUNT", "-1");
  EXPECT_NE(expand().find("    <PARAM NAME=\"Count\" VALUE=\"-1\">\n"), std::string::npos);
}

TEST_F(ExpandLibrary, InvisiblePlayerHasNoSizeAndNoButtons) {
  test_host_set(&attributes_, "I-VISIBLE", "0");
  const std::string text = expand();
  EXPECT_EQ(text.rfind("<APPLET WIDTH=\"0\" HEIGHT=\"0\" CODE=", 0), 0u) << text;
  EXPECT_NE(text.find("<PARAM NAME=\"Visible\" VALUE=\"no\">"), std::string::npos);
  EXPECT_EQ(text.find("Buttons"), std::string::npos);
}

// Integers are read the way strtol reads them and limited to 32 bits. The
// height travels unchanged into HEIGHT="...", so it shows each conversion.
TEST_F(ExpandLibrary, IntegerValuesAreConvertedLikeStrtolWithin32Bits) {
  struct Case {
    const char* text;
    long expected;
  };
  const Case cases[] = {
      {"32", 32},
      {"  \t\n 45", 45},
      {"+7", 7},
      {"-12", -12},
      {"12px", 12},
      {"1e3", 1},
      {"0x20", 0},
      {"abc", 0},
      {"", 0},
      {" - 5", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"99999999999999999999999999", INT_MAX},
      {"-99999999999999999999999999", INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    test_host_set(&attributes_, "I-HEIGHT", c.text);
    output_ = TestHostOutput{};
    const std::string text = expand();
    EXPECT_NE(text.find(" HEIGHT=\"" + std::to_string(c.expected) + "\" "), std::string::npos)
        << text;
  }
}

TEST_F(ExpandLibrary, NonNumericVisibilityMeansInvisible) {
  for (const char* visible : {"", "yes", "\t"}) {
    SCOPED_TRACE(visible);
    test_host_set(&attributes_, "I-VISIBLE", visible);
    output_ = TestHostOutput{};
    EXPECT_NE(expand().find("<PARAM NAME=\"Visible\" VALUE=\"no\">"), std::string::npos);
  }
}

TEST_F(ExpandLibrary, TextsArePassedOnUnchanged) {
  test_host_set(&attributes_, "S-BODY", "a &amp; b &gt; c");
  test_host_set(&attributes_, "S-APPLETTAG", "OBJECT");
  test_host_set(&attributes_, "S-CODEBASE", "");
  const std::string text = expand();
  EXPECT_EQ(text.rfind("<OBJECT WIDTH=\"96\" HEIGHT=\"32\" CODETYPE=\"application/java\" "
                       "CLASSID=\"java:ZvStreamPlayer.class\" ALIGN=\"middle\" ALT=&quot;",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("\na &amp; b &gt; c\n</OBJECT>\n"), std::string::npos) << text;
}

TEST_F(ExpandLibrary, IncompleteCallbackTablesAreSurvived) {
  ZvHostCallbacks table = test_host_callbacks();
  expand_(&output_, &attributes_, nullptr, nullptr, nullptr);
  table.AppendOutput = nullptr;
  expand_(&output_, &attributes_, nullptr, nullptr, &table);
  table = test_host_callbacks();
  table.GetAttribute = nullptr;
  expand_(&output_, &attributes_, nullptr, nullptr, &table);
  EXPECT_EQ(output_.appendCalls, 0);
}

TEST_F(ExpandLibrary, OrdinalTableBindsEditAsOrdinalOneAndExpandAsOrdinalTwo) {
  EXPECT_EQ(reinterpret_cast<void*>(library_->ordinal(ZV_ORD_TAVELWORK_EXPAND)),
            reinterpret_cast<void*>(expand_));
  EXPECT_EQ(reinterpret_cast<void*>(library_->ordinal(ZV_ORD_TAVELWORK_EDIT)),
            library_->symbol(ZV_TAVELWORK_EDIT_SYMBOL));
  EXPECT_NE(library_->ordinal(ZV_ORD_TAVELWORK_EDIT), nullptr);
  EXPECT_EQ(library_->ordinal(3), nullptr);
}

TEST_F(ExpandLibrary, OnlyTheEntriesAreExported) {
  // The markup generator and the component's helpers stay inside.
  EXPECT_EQ(library_->symbol("_ZN2zv20GenerateAppletMarkupERKNS_14AppletSettingsEPKcPPci"),
            nullptr);
  EXPECT_EQ(library_->symbol("_ZN2zv14SysAllocStringEPKc"), nullptr);
  EXPECT_NE(library_->symbol(ZV_ORDINAL_TABLE_SYMBOL), nullptr);
}

}  // namespace
