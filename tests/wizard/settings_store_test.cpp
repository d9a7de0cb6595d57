// The settings store in an INI file of a private folder: the defaults of a
// fresh store, both sections written and read back, the count rules of the
// attribute list (none stored, 0, more than 100, a list shorter than
// before), and the entries' names as they appear in the file.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QString>

#include <string>

#include "tests/support/temp_dir.h"
#include "wizard/settings_store.h"

namespace zv {
namespace {

using namespace settings_names;

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string file() const { return folder_.file("Z&V Tavelworks.conf"); }
  test::TempDir folder_;
};

TEST_F(SettingsStoreTest, FreshStoreGivesTheDefaults) {
  SettingsStore store(file());
  const StoredAppletAttributes stored = readAppletAttributes(store);
  EXPECT_TRUE(stored.required.calculateWidth);
  EXPECT_EQ(stored.required.width, 64);
  EXPECT_EQ(stored.required.height, 32);
  EXPECT_EQ(stored.required.className, "ZvStreamPlayer.class");
  EXPECT_EQ(stored.required.codebase, "/Java/ZvTavelwork");
  EXPECT_EQ(stored.required.tag, "APPLET");
  EXPECT_EQ(stored.required.alignment, "middle");
  EXPECT_FALSE(stored.required.saveForNextTime);
  EXPECT_EQ(stored.optional.bodyText,
            "This browser is aware of Java applets, but is unable to execute them.");
  const AttributeMap onlyAlt{{"ALT", "\"Java is not available in this browser\""}};
  EXPECT_EQ(stored.optional.attributes, onlyAlt);
}

TEST_F(SettingsStoreTest, BothSectionsWrittenAndReadBack) {
  RequiredAppletAttributes required;
  required.calculateWidth = false;
  required.width = 300;
  required.height = 40;
  required.className = "Other.class";
  required.codebase = "";
  required.tag = "OBJECT";
  required.alignment = "left";
  OptionalAppletAttributes optional;
  optional.bodyText = "Two\nlines";
  optional.attributes = {{"ALT", "\"a b\""}, {"BORDER", "0"}, {"data-x", "1"},
                         {"coords", "\"1, 2\""}, {"title", "a,b"}, {"x", "=;#[]"}};
  {
    SettingsStore store(file());
    writeRequiredAppletAttributes(store, required);
    writeOptionalAppletAttributes(store, optional);
  }
  SettingsStore reopened(file());
  const StoredAppletAttributes stored = readAppletAttributes(reopened);
  EXPECT_FALSE(stored.required.calculateWidth);
  EXPECT_EQ(stored.required.width, 300);
  EXPECT_EQ(stored.required.height, 40);
  EXPECT_EQ(stored.required.className, "Other.class");
  EXPECT_EQ(stored.required.codebase, "");
  EXPECT_EQ(stored.required.tag, "OBJECT");
  EXPECT_EQ(stored.required.alignment, "left");
  EXPECT_EQ(stored.optional.bodyText, "Two\nlines");
  EXPECT_EQ(stored.optional.attributes, optional.attributes);
}

TEST_F(SettingsStoreTest, EntriesCarryTheirSectionAndNumberedNames) {
  OptionalAppletAttributes optional;
  optional.attributes = {{"ALT", "x"}, {"BORDER", "0"}};
  {
    SettingsStore store(file());
    writeRequiredAppletAttributes(store, RequiredAppletAttributes{});
    writeOptionalAppletAttributes(store, optional);
  }
  // Read with QSettings itself: the section is the group, the entry the key.
  QSettings raw(QString::fromStdString(file()), QSettings::IniFormat);
  EXPECT_EQ(raw.value("Required Applet Attributes/Calculate Width").toInt(), 0);
  EXPECT_EQ(raw.value("Required Applet Attributes/Applet Tag").toString(), "APPLET");
  EXPECT_EQ(raw.value("Optional Applet Attributes/Number of Optional Applet Attributes").toInt(), 2);
  EXPECT_EQ(raw.value("Optional Applet Attributes/Optional Applet Attribute 00 Name").toString(),
            "ALT");
  EXPECT_EQ(raw.value("Optional Applet Attributes/Optional Applet Attribute 01 Value").toString(),
            "0");
  EXPECT_EQ(optionalAttributeNameEntry(7), "Optional Applet Attribute 07 Name");
  EXPECT_EQ(optionalAttributeValueEntry(123), "Optional Applet Attribute 123 Value");
}

TEST_F(SettingsStoreTest, CountZeroGivesNoAttributesNotEvenAlt) {
  SettingsStore store(file());
  writeOptionalAppletAttributes(store, OptionalAppletAttributes{});
  EXPECT_EQ(store.readInteger(kOptionalSection, kAttributeCount, -1), 0);
  EXPECT_TRUE(readAppletAttributes(store).optional.attributes.empty());
}

TEST_F(SettingsStoreTest, CountOf150ReadsTheFirst100Pairs) {
  SettingsStore store(file());
  for (int index = 0; index < 150; ++index) {
    store.writeText(kOptionalSection, optionalAttributeNameEntry(index), "a" + std::to_string(index));
    store.writeText(kOptionalSection, optionalAttributeValueEntry(index), std::to_string(index));
  }
  store.writeInteger(kOptionalSection, kAttributeCount, 150);
  const AttributeMap attributes = readAppletAttributes(store).optional.attributes;
  EXPECT_EQ(attributes.size(), 100u);
  EXPECT_EQ(attributes.at("a0"), "0");
  EXPECT_EQ(attributes.at("a99"), "99");
  EXPECT_FALSE(attributes.contains("a100"));
}

TEST_F(SettingsStoreTest, MissingPairReadsAsItsOwnEntryNames) {
  SettingsStore store(file());
  store.writeInteger(kOptionalSection, kAttributeCount, 1);
  const AttributeMap expected{
      {"Optional Applet Attribute 00 Name", "Optional Applet Attribute 00 Value"}};
  EXPECT_EQ(readAppletAttributes(store).optional.attributes, expected);
}

TEST_F(SettingsStoreTest, ShorterListLeavesOldEntriesUnread) {
  SettingsStore store(file());
  OptionalAppletAttributes longer;
  longer.attributes = {{"A", "1"}, {"B", "2"}, {"C", "3"}};
  writeOptionalAppletAttributes(store, longer);
  OptionalAppletAttributes shorter;
  shorter.attributes = {{"Z", "9"}};
  writeOptionalAppletAttributes(store, shorter);
  EXPECT_EQ(store.readText(kOptionalSection, optionalAttributeNameEntry(2), ""), "C");
  EXPECT_EQ(readAppletAttributes(store).optional.attributes, shorter.attributes);
}

TEST_F(SettingsStoreTest, UnquotedCommaInAnEditedFileStaysText) {
  {
    QFile edited(QString::fromStdString(file()));
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("[Required%20Applet%20Attributes]\nApplet%20Alignment=top, left\n");
  }
  SettingsStore store(file());
  EXPECT_EQ(readAppletAttributes(store).required.alignment, "top, left");
}

TEST_F(SettingsStoreTest, NonIntegerEntryReadsAsTheDefault) {
  SettingsStore store(file());
  store.writeText(kRequiredSection, kAppletHeight, "tall");
  EXPECT_EQ(store.readInteger(kRequiredSection, kAppletHeight, 32), 32);
  EXPECT_EQ(readAppletAttributes(store).required.height, 32);
}

}  // namespace
}  // namespace zv
