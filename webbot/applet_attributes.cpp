#include "webbot/applet_attributes.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "webbot/attribute_integer.h"
#include "webbot/component_attributes.h"

namespace zv::webbot {

namespace {

struct IntegerAttribute {
  const char* key;
  std::int32_t AppletSettings::*setting;
};

struct TextAttribute {
  const char* key;
  const char* AppletSettings::*setting;
};

// The one table of which key holds which setting.
constexpr IntegerAttribute kIntegerAttributes[] = {
    {kKeyNumButtons, &AppletSettings::buttonCount}, {kKeyAutoplay, &AppletSettings::autoplay},
    {kKeyVisible, &AppletSettings::visible},        {kKeyCount, &AppletSettings::playCount},
    {kKeyHeight, &AppletSettings::height},          {kKeyWidth, &AppletSettings::width}};

constexpr TextAttribute kTextAttributes[] = {
    {kKeyClass, &AppletSettings::className}, {kKeyCodebase, &AppletSettings::codebase},
    {kKeyAppletTag, &AppletSettings::tag},   {kKeyAlign, &AppletSettings::alignment},
    {kKeyBody, &AppletSettings::bodyText},   {kKeyAttribs, &AppletSettings::otherAttributes}};

constexpr std::size_t kIntegerCount = std::size(kIntegerAttributes);
constexpr std::size_t kTextCount = std::size(kTextAttributes);

// The table follows the component's order of keys.
constexpr bool followsExpandKeys() {
  for (std::size_t i = 0; i < kIntegerCount; ++i)
    if (kIntegerAttributes[i].key != kExpandKeys[i]) return false;
  for (std::size_t i = 0; i < kTextCount; ++i)
    if (kTextAttributes[i].key != kExpandKeys[kIntegerCount + i]) return false;
  return kIntegerCount + kTextCount + 1 == kExpandKeyCount && kExpandKeys[kExpandKeyCount - 1] == kKeyClip;
}
static_assert(followsExpandKeys());

}  // namespace

std::vector<AttributeText> appletAttributesOf(const AppletSettings& settings) {
  std::vector<AttributeText> attributes;
  attributes.reserve(kIntegerCount + kTextCount);
  for (const IntegerAttribute& attribute : kIntegerAttributes)
    attributes.push_back({attribute.key, std::to_string(settings.*attribute.setting)});
  for (const TextAttribute& attribute : kTextAttributes) {
    const char* text = settings.*attribute.setting;
    attributes.push_back({attribute.key, text ? std::string(text) : std::string()});
  }
  return attributes;
}

bool readAppletAttributes(const AttributeLookup& lookup, const TextKeeper& keep,
                          AppletSettings& settings) {
  for (const IntegerAttribute& attribute : kIntegerAttributes) {
    const char* value = lookup(attribute.key);
    if (!value) return false;
    settings.*attribute.setting = attributeInteger(value);
  }
  for (const TextAttribute& attribute : kTextAttributes) {
    const char* value = lookup(attribute.key);
    const char* kept = value ? keep(value) : nullptr;
    if (!kept) return false;
    settings.*attribute.setting = kept;
  }
  return true;
}

}  // namespace zv::webbot
