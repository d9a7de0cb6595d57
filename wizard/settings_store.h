// The settings store: where the wizard's applet page keeps its defaults
// between runs.
//
// A QSettings store of organisation "Z&V" and application "Z&V Tavelworks"
// (on Linux the file "$XDG_CONFIG_HOME/Z&V/Z&V Tavelworks.conf"), one group
// per section. Integers are 32-bit; a missing entry, or one that does not
// hold an integer where one is expected, yields the reader's default. Write
// errors are not reported: the store is a convenience, never the only copy
// of anything.
//
// Sections and entries (defaults in brackets):
//   "Required Applet Attributes"
//     "Calculate Width" (1), "Applet Width" (64), "Applet Height" (32),
//     "Applet Class Name" ("ZvStreamPlayer.class"),
//     "Applet Class Codebase" ("/Java/ZvTavelwork"), "Applet Tag" ("APPLET"),
//     "Applet Alignment" ("middle")
//   "Optional Applet Attributes"
//     "Applet Body Text" (string 30000),
//     "Number of Optional Applet Attributes" (-1: no list stored),
//     "Optional Applet Attribute %02d Name" / "... Value", numbered from 00
//     (each defaulting to its own entry name)
//   "zvwizard" (the program alone, zvwizard/window_finish.h)
//     "Last Save Folder" (none: the save dialog opens in the home folder)
#ifndef ZV_WIZARD_SETTINGS_STORE_H
#define ZV_WIZARD_SETTINGS_STORE_H

#include <memory>
#include <string>
#include <string_view>

#include "webbot/attributes/applet_attribute_values.h"

class QSettings;

namespace zv {

namespace settings_names {
inline constexpr char kOrganisation[] = "Z&V";
inline constexpr char kApplication[] = "Z&V Tavelworks";

inline constexpr char kRequiredSection[] = "Required Applet Attributes";
inline constexpr char kCalculateWidth[] = "Calculate Width";
inline constexpr char kAppletWidth[] = "Applet Width";
inline constexpr char kAppletHeight[] = "Applet Height";
inline constexpr char kAppletClassName[] = "Applet Class Name";
inline constexpr char kAppletClassCodebase[] = "Applet Class Codebase";
inline constexpr char kAppletTag[] = "Applet Tag";
inline constexpr char kAppletAlignment[] = "Applet Alignment";

inline constexpr char kOptionalSection[] = "Optional Applet Attributes";
inline constexpr char kAppletBodyText[] = "Applet Body Text";
inline constexpr char kAttributeCount[] = "Number of Optional Applet Attributes";
}  // namespace settings_names

// "Optional Applet Attribute 00 Name", "... 01 Name", ...: `index` in at
// least two decimal digits.
std::string optionalAttributeNameEntry(int index);
std::string optionalAttributeValueEntry(int index);

class SettingsStore {
 public:
  // The user's store.
  SettingsStore();
  // A store in the INI file `filePath` (made when first written): for tests,
  // which keep the user's store out of reach.
  explicit SettingsStore(const std::string& filePath);
  ~SettingsStore();

  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  int readInteger(std::string_view section, std::string_view entry, int fallback) const;
  std::string readText(std::string_view section, std::string_view entry,
                       std::string_view fallback) const;
  void writeInteger(std::string_view section, std::string_view entry, int value);
  void writeText(std::string_view section, std::string_view entry, std::string_view value);

  // Writes pending changes to the file now (otherwise this happens when the
  // store is destroyed and from the event loop).
  void sync();

 private:
  std::unique_ptr<QSettings> settings_;
};

// What the applet page starts from: the stored values, the defaults where
// nothing is stored.
struct StoredAppletAttributes {
  RequiredAppletAttributes required;  // its saveForNextTime is false
  OptionalAppletAttributes optional;  // its saveForNextTime is false
};

// The largest number of attribute pairs read from the store.
inline constexpr int kMaxStoredAttributes = 100;

// Reads both sections. The attribute map: with no count stored (-1), the one
// entry ALT = string 30001; otherwise the pairs 0 .. min(count, 100) - 1, a
// later pair replacing an earlier one of the same name.
StoredAppletAttributes readAppletAttributes(const SettingsStore& store);

// Writes "Calculate Width", "Applet Width", "Applet Height" as integers, then
// "Applet Class Name", "Applet Class Codebase", "Applet Tag",
// "Applet Alignment" as texts.
void writeRequiredAppletAttributes(SettingsStore& store, const RequiredAppletAttributes& values);

// Writes "Applet Body Text", then each attribute's name and value numbered
// from 00 in the map's order, then the number written. Higher-numbered pairs
// of an earlier, longer list stay in the store; the count makes them unread.
void writeOptionalAppletAttributes(SettingsStore& store, const OptionalAppletAttributes& values);

}  // namespace zv

#endif  // ZV_WIZARD_SETTINGS_STORE_H
