#include "webbot/webbot_text.h"

#include "webbot/applet_attributes.h"
#include "webbot/attribute_encoding.h"
#include "webbot/component_attributes.h"

namespace zv::webbot {

namespace {

// One value of the comment, `KEY="value"`, with the value encoded. Decimal
// integers hold nothing to encode and come out as they are.
void appendValue(std::string& text, std::string_view key, std::string_view value) {
  text += key;
  text += "=\"";
  text += encodeAttributeValue(value);
  text += '"';
}

}  // namespace

std::string formatWebBotText(const AppletSettings& s, std::string_view previewImageUrl,
                             std::string_view clipName) {
  const std::string height = std::to_string(s.height);
  const std::string width = std::to_string(s.width);
  std::string text = "<p><!--WEBBOT bot=\"";
  text += kBotName;
  text += "\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;";
  text += encodeAttributeValue(encodeAttributeValue(previewImageUrl));
  text += "&quot; HEIGHT=&quot;" + height + "&quot; WIDTH=&quot;" + width + "&quot;&gt;\"\r\n ";

  // Then the settings and the clip, one to a line, each line but the last
  // ending in a space.
  for (const AttributeText& attribute : appletAttributesOf(s)) {
    appendValue(text, attribute.key, attribute.text);
    text += " \r\n";
  }
  appendValue(text, kKeyClip, clipName);
  text += " -->\r\n\r\n<!--WEBBOT bot=\"";
  text += kBotName;
  text += "\" EndSpan --><p>\r\n";
  return text;
}

const char* previewImageName(std::int32_t buttonCount) {
  switch (buttonCount) {
    case 2: return "FPTwoButton.gif";
    case 3: return "FPThreeButton.gif";
    default: return "FPOneButton.gif";
  }
}

}  // namespace zv::webbot
