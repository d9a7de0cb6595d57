// The twelve applet settings as the component's attributes: which key holds
// which setting, in the order the WEBBOT text writes them and Expand reads
// them (that of kExpandKeys, whose thirteenth key, the clip, is no setting).
// Integers are written in decimal and read the way attributeInteger reads
// them; texts are written and read as they are, with any encoding left to
// the caller (the WEBBOT text encodes every value it writes).
#ifndef ZV_WEBBOT_APPLET_ATTRIBUTES_H
#define ZV_WEBBOT_APPLET_ATTRIBUTES_H

#include <functional>
#include <string>
#include <vector>

#include "webbot/markup/applet_settings.h"

namespace zv::webbot {

struct AttributeText {
  const char* key;
  std::string text;
};

// The settings as attributes, in the component's order: the six integers,
// then the six texts (null as empty).
std::vector<AttributeText> appletAttributesOf(const AppletSettings& settings);

// The text of the attribute `key`, or null when the component has none.
using AttributeLookup = std::function<const char*(const char* key)>;

// Keeps a text for as long as the settings that point at it are used, and
// returns the kept text, or null when it could not be kept.
using TextKeeper = std::function<const char*(const char* text)>;

// Reads the settings, asking `lookup` for each attribute in the component's
// order, each integer read at once and each text handed to `keep` before the
// next attribute is asked for. False at the first attribute missing or text
// not kept (nothing more is asked); `settings` is then incomplete.
bool readAppletAttributes(const AttributeLookup& lookup, const TextKeeper& keep,
                          AppletSettings& settings);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_APPLET_ATTRIBUTES_H
