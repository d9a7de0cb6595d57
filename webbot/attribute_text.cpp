#include "webbot/attribute_text.h"

namespace zv::webbot {

AttributeSet parseAttributeText(std::string_view text) {
  AttributeSet attributes;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t equals = text.find('=', at);
    if (equals == std::string_view::npos) break;  // a trailing name without "="
    const std::string_view name = text.substr(at, equals - at);
    std::size_t valueStart = equals + 1;
    std::size_t valueEnd;
    if (valueStart < text.size() && text[valueStart] == '"') {
      const std::size_t closing = text.find('"', valueStart + 1);
      valueEnd = closing == std::string_view::npos ? text.size() : closing + 1;
    } else {
      const std::size_t space = text.find(' ', valueStart);
      valueEnd = space == std::string_view::npos ? text.size() : space;
    }
    attributes[std::string(name)] = std::string(text.substr(valueStart, valueEnd - valueStart));
    at = valueEnd;
    if (at < text.size() && text[at] == ' ') ++at;
  }
  return attributes;
}

std::string joinAttributeText(const AttributeSet& attributes) {
  std::string text;
  for (const auto& [name, value] : attributes) {
    if (!text.empty()) text += ' ';
    text += name;
    text += '=';
    text += value;
  }
  return text;
}

}  // namespace zv::webbot
