#include "webbot/webbot_text.h"

#include <cstdio>

#include "webbot/attribute_encoding.h"
#include "webbot/component_attributes.h"

namespace zv::webbot {

namespace {

// The whole text in one formatting step. Arguments: bot name, image URL,
// height, width, the thirteen key/value pairs, bot name.
constexpr char kWebBotFormat[] =
    "<p><!--WEBBOT bot=\"%s\" StartSpan PREVIEW=\"&lt;IMG SRC=&quot;%s&quot; HEIGHT=&quot;%d&quot; "
    "WIDTH=&quot;%d&quot;&gt;\"\r\n %s=\"%d\" \r\n%s=\"%d\" \r\n%s=\"%d\" \r\n%s=\"%d\" \r\n%s=\"%d\" "
    "\r\n%s=\"%d\" \r\n%s=\"%s\" \r\n%s=\"%s\" \r\n%s=\"%s\" \r\n%s=\"%s\" \r\n%s=\"%s\" \r\n%s=\"%s\" "
    "\r\n%s=\"%s\" -->\r\n\r\n<!--WEBBOT bot=\"%s\" EndSpan --><p>\r\n";

std::string text(const char* value) { return value ? std::string(value) : std::string(); }

}  // namespace

std::string FormatWebBotText(const AppletSettings& s, std::string_view previewImageUrl,
                             std::string_view clipName) {
  const std::string image = EncodeAttributeValue(EncodeAttributeValue(previewImageUrl));
  const std::string className = EncodeAttributeValue(text(s.className));
  const std::string codebase = EncodeAttributeValue(text(s.codebase));
  const std::string tag = EncodeAttributeValue(text(s.tag));
  const std::string alignment = EncodeAttributeValue(text(s.alignment));
  const std::string body = EncodeAttributeValue(text(s.bodyText));
  const std::string attributes = EncodeAttributeValue(text(s.otherAttributes));
  const std::string clip = EncodeAttributeValue(clipName);

  auto format = [&](char* buffer, std::size_t size) {
    return std::snprintf(buffer, size, kWebBotFormat, kBotName, image.c_str(), s.height, s.width,
                         kKeyNumButtons, s.buttonCount, kKeyAutoplay, s.autoplay, kKeyVisible,
                         s.visible, kKeyCount, s.playCount, kKeyHeight, s.height, kKeyWidth,
                         s.width, kKeyClass, className.c_str(), kKeyCodebase, codebase.c_str(),
                         kKeyAppletTag, tag.c_str(), kKeyAlign, alignment.c_str(), kKeyBody,
                         body.c_str(), kKeyAttribs, attributes.c_str(), kKeyClip, clip.c_str(),
                         kBotName);
  };
  const int length = format(nullptr, 0);
  if (length <= 0) return {};
  std::string result(static_cast<std::size_t>(length), '\0');
  format(result.data(), result.size() + 1);
  return result;
}

const char* PreviewImageName(std::int32_t buttonCount) {
  switch (buttonCount) {
    case 2: return "FPTwoButton.gif";
    case 3: return "FPThreeButton.gif";
    default: return "FPOneButton.gif";
  }
}

}  // namespace zv::webbot
