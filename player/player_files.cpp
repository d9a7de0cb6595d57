#include "player/player_files.h"

namespace zv::player {

bool IsPlayerFile(std::string_view name) {
  for (const char* file : kPlayerFiles) {
    if (name == file) return true;
  }
  return false;
}

std::string PlayerScriptUrl(std::string_view codebase) {
  std::string url(codebase);
  if (!url.empty() && url.back() != '/') url += '/';
  return url + kPlayerScript;
}

std::string PlayerScriptElement(std::string_view scriptUrl) {
  std::string element = "<script src=\"";
  for (const char c : scriptUrl) {
    switch (c) {
      case '&': element += "&amp;"; break;
      case '"': element += "&quot;"; break;
      case '<': element += "&lt;"; break;
      case '>': element += "&gt;"; break;
      default: element += c;
    }
  }
  element += "\" defer></script>";
  return element;
}

}  // namespace zv::player
