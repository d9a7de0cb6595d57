// The settings `zvsa markup` turns into markup: those of the wizard's applet
// page, starting from the values a fresh settings store gives the wizard
// (webbot/markup/applet_defaults.h).
#ifndef ZV_CLI_MARKUP_SETTINGS_H
#define ZV_CLI_MARKUP_SETTINGS_H

#include <optional>
#include <string>

#include "webbot/markup/applet_defaults.h"
#include "webbot/markup/applet_values.h"

namespace zv::cli {

struct MarkupSettings {
  // The twelve settings; the width among them counts only when given.
  AppletValues applet;
  bool widthGiven = false;  // otherwise the width is height x buttons, at most 32767
  bool crlf = false;    // the markup's lines end with CR LF
  bool webbot = false;  // the component's WEBBOT text instead of the markup
  bool element = false;  // the web player's <zv-stream-player> element instead of the markup
  std::optional<std::string> previewImage;  // with webbot; nothing: beside the program
  std::optional<std::string> playerScript;  // URL of the web player's script, printed after the markup

  // The settings the text is made from: `applet` with the width it is given
  // or the calculated one.
  AppletValues appletValues() const {
    AppletValues values = applet;
    if (!widthGiven) values.width = applet_defaults::calculatedWidth(applet.height, applet.buttonCount);
    return values;
  }
};

}  // namespace zv::cli

#endif  // ZV_CLI_MARKUP_SETTINGS_H
