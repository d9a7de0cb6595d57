#include "cli/markup_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "cli/exit_status.h"
#include "platform/file_url.h"
#include "platform/install_folders.h"
#include "platform/replacing_file.h"
#include "player/player_files.h"
#include <zv/system_string.h>
#include "webbot/markup/applet_markup.h"
#include "webbot/markup/applet_values.h"
#include "webbot/webbot_text.h"

namespace zv::cli {

namespace {

// The text the settings ask for, or nothing when memory ran out.
std::optional<std::string> buildText(const MarkupSettings& markup, const std::string& clip) {
  const AppletValues values = markup.appletValues();
  const AppletSettings settings = values.settings();

  if (markup.webbot) {
    const std::string image = markup.previewImage.value_or(
        fileUrlForPath(privateDataFolderOfProgram() + webbot::previewImageName(values.buttonCount)));
    return webbot::formatWebBotText(settings, image, clip);
  }
  if (markup.element) {
    player::PlayerElementSettings element;
    element.buttons = values.buttonCount;
    element.count = values.playCount;
    element.autoplay = values.autoplay != 0;
    element.visible = values.visible != 0;
    element.width = values.width;
    element.height = values.height;
    const char* lineEnd = markup.crlf ? "\r\n" : "\n";
    std::string text = player::playerElement(clip, element, values.bodyText) + lineEnd;
    if (markup.playerScript) text += player::playerScriptElement(*markup.playerScript) + lineEnd;
    return text;
  }
  SystemString generated = nullptr;
  if (!GenerateAppletMarkup(settings, clip.c_str(), &generated,
                            markup.crlf ? kMarkupLinesEndCrLf : kMarkupLinesEndLf))
    return std::nullopt;
  std::string text(generated, SysStringByteLen(generated));
  SysFreeString(generated);
  if (markup.playerScript) {
    text += player::playerScriptElement(*markup.playerScript) + (markup.crlf ? "\r\n" : "\n");
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
