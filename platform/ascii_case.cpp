#include "platform/ascii_case.h"

namespace zv {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view part) {
  return text.size() >= part.size() && equalsIgnoringCase(text.substr(0, part.size()), part);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view part) {
  return text.size() >= part.size() && equalsIgnoringCase(text.substr(text.size() - part.size()), part);
}

}  // namespace zv
