#include "platform/string_table.h"

namespace zv {

std::string loadString(StringTable table, unsigned id) {
  for (const StringTableEntry& entry : table)
    if (entry.id == id) return entry.text ? entry.text : "";
  return {};
}

std::string formatMessage(std::string_view pattern, std::string_view value) {
  std::string out;
  out.reserve(pattern.size() + value.size());
  bool filled = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size()) {
      const char next = pattern[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (!filled && (next == 's' || next == 'c' || next == 'd')) {
        out.append(value);
        filled = true;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string loadMessage(StringTable table, unsigned id, std::string_view value) {
  return formatMessage(loadString(table, id), value);
}

}  // namespace zv
