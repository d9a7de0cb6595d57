// String tables: each deliverable keeps its user-visible texts in one table
// of (id, text) rows, and looks them up by number, as a resource string table.
//
// Texts may hold one placeholder ("%s", "%c" or "%d") for a single value, and
// "%%" for a percent sign; formatMessage() fills it in. The substitution is
// plain text replacement, never printf, so a value can never be read as a
// format.
#ifndef ZV_PLATFORM_STRING_TABLE_H
#define ZV_PLATFORM_STRING_TABLE_H

#include <span>
#include <string>
#include <string_view>

namespace zv {

struct StringTableEntry {
  unsigned id;
  const char* text;  // static, zero-terminated
};

using StringTable = std::span<const StringTableEntry>;

// The text of `id`, or an empty string when the table has no such row.
std::string loadString(StringTable table, unsigned id);

// `pattern` with its first placeholder (%s, %c or %d) replaced by `value` and
// every "%%" by "%". A pattern without a placeholder is returned with only
// the "%%" replaced.
std::string formatMessage(std::string_view pattern, std::string_view value);

// loadString() then formatMessage().
std::string loadMessage(StringTable table, unsigned id, std::string_view value = {});

}  // namespace zv

#endif  // ZV_PLATFORM_STRING_TABLE_H
