// Matching names without regard to case: file extensions (".DLL", ".htm"),
// HTML element and attribute names, option values ("continuously"). Only the
// ASCII letters A-Z and a-z are folded, whatever the locale, because these
// names are ASCII by definition and must match the same way everywhere.
#ifndef ZV_PLATFORM_ASCII_CASE_H
#define ZV_PLATFORM_ASCII_CASE_H

#include <string_view>

namespace zv {

// 'A'..'Z' as 'a'..'z'; every other byte unchanged.
constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `a` and `b` have the same length and the same bytes after
// asciiLower().
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// True when `text` begins (ends) with `part`, compared as equalsIgnoringCase().
bool startsWithIgnoringCase(std::string_view text, std::string_view part);
bool endsWithIgnoringCase(std::string_view text, std::string_view part);

}  // namespace zv

#endif  // ZV_PLATFORM_ASCII_CASE_H
