// The component attributes that the Edit entry parses from a page: the
// input is a page, read by webhost's page parser; every ZvTavelwork
// component found is read into the Edit entry's values (S-BODY decoded,
// S-ATTRIBS decoded and parsed into the attribute set), its preview built,
// the values written back, and the markup made from them.
//
// What must hold: the attributes written back read again as the same
// values (the sheet's OK changes nothing the author did not change), the
// WEBBOT value encoding reads back what it wrote, and the markup made from
// any values is one element with every PARAM inside it.
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include <zv/webbot_host.h>

#include "host/page_parser.h"
#include "webbot/attribute_encoding.h"
#include "webbot/edit/component_values.h"
#include "webbot/markup/applet_markup.h"

namespace {

// A component's attributes as the host keeps them.
struct MapHost {
  std::map<std::string, std::string> attributes;
  ZvHostCallbacks callbacks{};
  MapHost() {
    callbacks.GetAttribute = [](void* handle, const char* key) -> const char* {
      auto& map = static_cast<MapHost*>(handle)->attributes;
      const auto found = map.find(key);
      return found == map.end() ? nullptr : found->second.c_str();
    };
    callbacks.SetAttribute = [](void* handle, const char* key, const char* value) {
      static_cast<MapHost*>(handle)->attributes[key] = value;
    };
  }
};

bool sameValues(const zv::webbot::ComponentValues& a, const zv::webbot::ComponentValues& b) {
  return a.general.buttonIndex == b.general.buttonIndex && a.general.autoplay == b.general.autoplay &&
         a.general.visible == b.general.visible && a.general.continuously == b.general.continuously &&
         a.general.textOnlyPreview == b.general.textOnlyPreview && a.required.height == b.required.height &&
         a.required.width == b.required.width && a.required.className == b.required.className &&
         a.required.codebase == b.required.codebase && a.required.tag == b.required.tag &&
         a.required.alignment == b.required.alignment && a.optional.bodyText == b.optional.bodyText;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const zv::host::ParsedPage parsed = zv::host::parsePage(page);
  for (const zv::host::PageComponent& component : parsed.components) {
    MapHost host;
    for (const zv::host::ComponentAttribute& attribute : component.attributes) {
      host.attributes.emplace(attribute.name, attribute.value);
      if (zv::webbot::decodeAttributeValue(zv::webbot::encodeAttributeValue(attribute.value)) != attribute.value)
        std::abort();
    }
    if (!zv::webbot::isComponentSetUp(host.callbacks, &host)) continue;
    const zv::webbot::ComponentValues values = zv::webbot::readComponentValues(host.callbacks, &host);
    const auto clip = host.attributes.find("S-CLIP");
    const std::string preview =
        zv::webbot::buildPreview(values, clip == host.attributes.end() ? "" : clip->second, "/lib/");

    // Written back, as after OK without a change; the count is written as a
    // number, so the count field's text is compared by what it means.
    MapHost written;
    zv::webbot::writeComponentValues(values, preview, written.callbacks, &written);
    const zv::webbot::ComponentValues again = zv::webbot::readComponentValues(written.callbacks, &written);
    if (!sameValues(values, again)) std::abort();
    if (!values.general.continuously &&
        zv::webbot::playCountFromText(values.general.countText) != zv::webbot::playCountFromText(again.general.countText))
      std::abort();

    // The markup of these values: one element, every PARAM inside it.
    zv::AppletSettings settings;
    settings.buttonCount = values.general.buttonIndex + 1;
    settings.visible = values.general.visible;
    settings.height = values.required.height;
    settings.width = values.required.width;
    settings.className = values.required.className.c_str();
    settings.codebase = values.required.codebase.c_str();
    settings.tag = values.required.tag.c_str();
    settings.alignment = values.required.alignment.c_str();
    const std::string attributes = written.attributes["S-ATTRIBS"];
    const std::string decodedAttributes = zv::webbot::decodeAttributeValue(attributes);
    settings.otherAttributes = decodedAttributes.c_str();
    settings.bodyText = "";
    zv::SystemString markup = nullptr;
    const std::string reference = clip == host.attributes.end() ? "" : clip->second;
    if (zv::GenerateAppletMarkup(settings, reference.c_str(), &markup, 1)) {
      const zv::host::ParsedPage element = zv::host::parsePage(markup);
      if (element.error || !element.components.empty() || element.openRawTextElement) std::abort();
      const std::string_view text(markup);
      // The opening tag ends at the first '>' outside quotes: just before the
      // line end that precedes the first PARAM.
      const std::size_t firstParam = text.find("\n    <PARAM NAME=\"Clip\"");
      char quote = 0;
      std::size_t tagEnd = std::string_view::npos;
      for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          if (i > 0 && text[i - 1] == '=') quote = c;
        } else if (c == '>') {
          tagEnd = i;
          break;
        }
      }
      if (firstParam == std::string_view::npos || tagEnd + 1 != firstParam) std::abort();
      zv::SysFreeString(markup);
    }
  }
  return 0;
}
