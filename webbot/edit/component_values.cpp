#include "webbot/edit/component_values.h"

#include <cstdint>
#include <string_view>

#include "platform/file_url.h"
#include "platform/html_escape.h"
#include "webbot/attribute_encoding.h"
#include "webbot/attribute_integer.h"
#include "webbot/attribute_text.h"
#include "webbot/bot_folder.h"
#include "webbot/markup/clip_reference.h"
#include "webbot/webbot_text.h"
#include "webbot/component_attributes.h"

namespace zv::webbot {

namespace {

std::string textOf(const ZvHostCallbacks& host, void* attributes, const char* key) {
  const char* value = host.GetAttribute ? host.GetAttribute(attributes, key) : nullptr;
  return value ? std::string(value) : std::string();
}

std::int32_t integerOf(const ZvHostCallbacks& host, void* attributes, const char* key) {
  return attributeInteger(textOf(host, attributes, key).c_str());
}

void setText(const ZvHostCallbacks& host, void* attributes, const char* key, const std::string& value) {
  host.SetAttribute(attributes, key, value.c_str());
}

void setInteger(const ZvHostCallbacks& host, void* attributes, const char* key, std::int64_t value) {
  setText(host, attributes, key, std::to_string(value));
}

}  // namespace

bool isComponentSetUp(const ZvHostCallbacks& host, void* attributes) {
  return !textOf(host, attributes, kKeyNumButtons).empty();
}

ComponentValues readComponentValues(const ZvHostCallbacks& host, void* attributes) {
  ComponentValues values;
  GeneralValues& general = values.general;
  // The lowest stored count stays the lowest index rather than wrap around.
  const std::int32_t buttons = integerOf(host, attributes, kKeyNumButtons);
  general.buttonIndex = buttons > INT32_MIN ? buttons - 1 : buttons;
  general.autoplay = integerOf(host, attributes, kKeyAutoplay) != 0;
  general.visible = integerOf(host, attributes, kKeyVisible) != 0;
  const std::string count = textOf(host, attributes, kKeyCount);
  if (attributeInteger(count.c_str()) == -1) {
    general.continuously = true;
    general.countText = "1";
  } else {
    general.continuously = false;
    general.countText = count.empty() ? "0" : count;
  }
  general.textOnlyPreview = integerOf(host, attributes, kKeyUseText) != 0;

  RequiredAppletAttributes& required = values.required;
  required.height = integerOf(host, attributes, kKeyHeight);
  required.width = integerOf(host, attributes, kKeyWidth);
  required.className = textOf(host, attributes, kKeyClass);
  required.codebase = textOf(host, attributes, kKeyCodebase);
  required.tag = textOf(host, attributes, kKeyAppletTag);
  required.alignment = textOf(host, attributes, kKeyAlign);
  // Neither of these is a component attribute: they always start unticked.
  required.calculateWidth = false;
  required.saveForNextTime = false;

  values.optional.bodyText = decodeAttributeValue(textOf(host, attributes, kKeyBody));
  values.optional.attributes = parseAttributeText(decodeAttributeValue(textOf(host, attributes, kKeyAttribs)));
  values.optional.saveForNextTime = false;
  return values;
}

std::int32_t playCountFromText(const std::string& countText) {
  return attributeInteger(countText.c_str());
}

std::string buildPreview(const ComponentValues& values, const std::string& clip,
                         const std::string& imageFolder) {
  const int buttonIndex = values.general.buttonIndex;
  if (values.general.textOnlyPreview) {
    // The clip name without its ".zvsa"; a name shorter than that is shown
    // whole rather than cut into nothing.
    // The clip value is a URL: the preview shows the name it stands for, as
    // text.
    const std::string name = clip.size() > 5 ? clip.substr(0, clip.size() - 5) : clip;
    return "<font color=\"maroon\" face=\"Arial\"><b>[Z&V Tavelworks, " +
           escapeHtmlText(clipPathOfReference(name)) + ", " +
           std::to_string(buttonIndex + 1) + " button" + (buttonIndex != 0 ? "s" : "") +
           ", height=" + std::to_string(values.required.height) +
           ", width=" + std::to_string(values.required.width) + "]</b></font>";
  }
  const std::string url = fileUrlForPath(mapBotCacheToBots(imageFolder) + previewImageName(buttonIndex + 1));
  return "<IMG SRC=\"" + url + "\" HEIGHT=\"" + std::to_string(values.required.height) +
         "\" WIDTH=\"" + std::to_string(values.required.width) + "\">";
}

void writeComponentValues(const ComponentValues& values, const std::string& preview,
                          const ZvHostCallbacks& host, void* attributes) {
  const GeneralValues& general = values.general;
  setText(host, attributes, kKeyPreview, preview);
  setInteger(host, attributes, kKeyNumButtons, general.buttonIndex + 1);
  setInteger(host, attributes, kKeyAutoplay, general.autoplay ? 1 : 0);
  setInteger(host, attributes, kKeyVisible, general.visible ? 1 : 0);
  setInteger(host, attributes, kKeyCount, general.continuously ? -1 : playCountFromText(general.countText));
  setInteger(host, attributes, kKeyUseText, general.textOnlyPreview ? 1 : 0);
  setInteger(host, attributes, kKeyHeight, values.required.height);
  setInteger(host, attributes, kKeyWidth, values.required.width);
  setText(host, attributes, kKeyClass, values.required.className);
  setText(host, attributes, kKeyCodebase, values.required.codebase);
  setText(host, attributes, kKeyAppletTag, values.required.tag);
  setText(host, attributes, kKeyAlign, values.required.alignment);
  setText(host, attributes, kKeyBody, encodeAttributeValue(values.optional.bodyText));
  setText(host, attributes, kKeyAttribs, encodeAttributeValue(joinAttributeText(values.optional.attributes)));
}

}  // namespace zv::webbot
