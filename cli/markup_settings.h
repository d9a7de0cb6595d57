// The settings `zvsa markup` turns into markup: those of the wizard's applet
// page, starting from the values a fresh settings store gives the wizard
// (webbot/markup/applet_defaults.h).
#ifndef ZV_CLI_MARKUP_SETTINGS_H
#define ZV_CLI_MARKUP_SETTINGS_H

#include <cstdint>
#include <optional>
#include <string>

#include "webbot/markup/applet_defaults.h"

namespace zv::cli {

struct MarkupSettings {
  std::int32_t buttonCount = applet_defaults::kButtonCount;  // 1..3
  std::int32_t autoplay = applet_defaults::kAutoplay;        // 0 or 1
  std::int32_t visible = applet_defaults::kVisible;          // 0 or 1
  std::int32_t playCount = applet_defaults::kPlayCount;      // 1..32767, or -1: no end
  std::int32_t heightPx = applet_defaults::kHeight;
  std::optional<std::int32_t> widthPx;  // nothing: height x buttons, at most 32767
  std::string className = applet_defaults::kClassName;
  std::string codebase = applet_defaults::kCodebase;
  std::string tag = applet_defaults::kTag;  // APPLET or OBJECT, in any case
  std::string alignment = applet_defaults::kAlignment;
  std::string bodyText = applet_defaults::kBodyText;
  std::string otherAttributes =
      std::string(applet_defaults::kAltName) + "=" + applet_defaults::kAltValue;
  bool crlf = false;    // the markup's lines end with CR LF
  bool webbot = false;  // the component's WEBBOT text instead of the markup
  bool element = false;  // the web player's <zv-stream-player> element instead of the markup
  std::optional<std::string> previewImage;  // with webbot; nothing: beside the program
  std::optional<std::string> playerScript;  // URL of the web player's script, printed after the markup
};

}  // namespace zv::cli

#endif  // ZV_CLI_MARKUP_SETTINGS_H
