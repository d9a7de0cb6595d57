#include "webbot/markup/clip_reference.h"

#include "platform/percent_encoding.h"

namespace zv {

std::string ClipReferenceForPath(std::string_view relativePath) {
  return PercentEncode(relativePath, "/");
}

std::string ClipPathOfReference(std::string_view reference) { return PercentDecode(reference); }

std::string EscapeHtmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace zv
