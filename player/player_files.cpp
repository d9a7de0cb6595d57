#include "player/player_files.h"

#include "platform/html_escape.h"

namespace zv::player {

bool isPlayerFile(std::string_view name) {
  for (const char* file : kPlayerFiles) {
    if (name == file) return true;
  }
  return false;
}

std::string playerScriptUrl(std::string_view codebase) {
  std::string url(codebase);
  if (!url.empty() && url.back() != '/') url += '/';
  return url + kPlayerScript;
}

std::string playerScriptElement(std::string_view scriptUrl) {
  std::string element = "<script src=\"";
  appendEscapedHtml(element, scriptUrl);
  element += "\" defer></script>";
  return element;
}

std::string playerElement(std::string_view clip, const PlayerElementSettings& settings,
                          std::string_view fallbackText) {
  std::string element = "<zv-stream-player clip=\"";
  appendEscapedHtml(element, clip);
  element += "\" buttons=\"" + std::to_string(settings.buttons) + "\" count=\"" + std::to_string(settings.count) +
             "\" width=\"" + std::to_string(settings.width) + "\" height=\"" + std::to_string(settings.height) + '"';
  if (settings.autoplay) element += " autoplay";
  if (settings.visible) element += " visible";
  element += '>';
  appendEscapedHtml(element, fallbackText);
  element += "</zv-stream-player>";
  return element;
}

}  // namespace zv::player
