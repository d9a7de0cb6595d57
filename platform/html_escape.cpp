#include "platform/html_escape.h"

namespace zv {

void appendEscapedHtml(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

std::string escapeHtmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  appendEscapedHtml(escaped, text);
  return escaped;
}

}  // namespace zv
