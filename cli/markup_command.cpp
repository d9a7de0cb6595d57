#include "cli/markup_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "cli/exit_status.h"
#include "platform/file_url.h"
#include "platform/module.h"
#include "platform/replacing_file.h"
#include "player/player_files.h"
#include <zv/system_string.h>
#include "webbot/markup/applet_defaults.h"
#include "webbot/markup/applet_markup.h"
#include "webbot/webbot_text.h"

namespace zv::cli {

namespace {

// The text the settings ask for, or nothing when memory ran out.
std::optional<std::string> buildText(const MarkupSettings& markup, const std::string& clip) {
  AppletSettings settings;
  settings.buttonCount = markup.buttonCount;
  settings.autoplay = markup.autoplay;
  settings.visible = markup.visible;
  settings.playCount = markup.playCount;
  settings.height = markup.heightPx;
  settings.width = markup.widthPx.value_or(
      applet_defaults::calculatedWidth(markup.heightPx, markup.buttonCount));
  settings.className = markup.className.c_str();
  settings.codebase = markup.codebase.c_str();
  settings.tag = markup.tag.c_str();
  settings.alignment = markup.alignment.c_str();
  settings.bodyText = markup.bodyText.c_str();
  settings.otherAttributes = markup.otherAttributes.c_str();

  if (markup.webbot) {
    const std::string image = markup.previewImage.value_or(
        FileUrlForPath(installedLibraryFolder() + webbot::PreviewImageName(markup.buttonCount)));
    return webbot::FormatWebBotText(settings, image, clip);
  }
  if (markup.element) {
    player::PlayerElementSettings element;
    element.buttons = settings.buttonCount;
    element.count = settings.playCount;
    element.autoplay = settings.autoplay != 0;
    element.visible = settings.visible != 0;
    element.width = settings.width;
    element.height = settings.height;
    const char* lineEnd = markup.crlf ? "\r\n" : "\n";
    std::string text = player::PlayerElement(clip, element, markup.bodyText) + lineEnd;
    if (markup.playerScript) text += player::PlayerScriptElement(*markup.playerScript) + lineEnd;
    return text;
  }
  SystemString generated = nullptr;
  if (!GenerateAppletMarkup(settings, clip.c_str(), &generated,
                            markup.crlf ? kMarkupLinesEndCrLf : kMarkupLinesEndLf))
    return std::nullopt;
  std::string text(generated, SysStringByteLen(generated));
  SysFreeString(generated);
  if (markup.playerScript) {
    text += player::PlayerScriptElement(*markup.playerScript) + (markup.crlf ? "\r\n" : "\n");
  }
  return text;
}

bool writeText(const std::string& text, const std::string& path, std::string& why) {
  if (path.empty()) {
    const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                    std::fflush(stdout) == 0;
    if (!ok) why = std::strerror(errno);
    return ok;
  }
  ReplacingFile file;
  if (!file.open(path) ||
      std::fwrite(text.data(), 1, text.size(), file.stream()) != text.size() || !file.commit()) {
    why = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

int runMarkupCommand(const Options& options) {
  const std::optional<std::string> text = buildText(options.markup, options.inputs.front());
  if (!text) {
    std::fprintf(stderr, "zvsa markup: out of memory\n");
    return kExitFailure;
  }
  std::string why;
  if (!writeText(*text, options.output, why)) {
    std::fprintf(stderr, "zvsa markup: %s: %s\n",
                 options.output.empty() ? "standard output" : options.output.c_str(), why.c_str());
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace zv::cli
