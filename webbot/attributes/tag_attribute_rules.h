// The rules an attribute's value and name must follow before the Tag
// Attribute dialog accepts them.
//
// A value may be quoted: "a b" is stored with its quotes. A value holding a
// space must be quoted at both ends (the element's attribute text separates
// items by spaces), and no double quote may appear inside the quotes. A name
// holds letters, digits and hyphens only.
#ifndef ZV_WEBBOT_ATTRIBUTES_TAG_ATTRIBUTE_RULES_H
#define ZV_WEBBOT_ATTRIBUTES_TAG_ATTRIBUTE_RULES_H

#include <optional>
#include <string>
#include <string_view>

class QString;

namespace zv {

// True when `value` both begins and ends with a double quote (a single
// double quote counts as both).
bool isQuotedValue(std::string_view value);

// True when the value holds a space but is not quoted at both ends: the
// author is asked whether to repair it.
bool valueNeedsQuoteRepair(std::string_view value);

// The repair: a double quote in front when the value does not begin with
// one; then, when it is still not quoted at both ends, one appended.
//   a b -> "a b"     "a b -> "a b"     a b" -> "a b"
std::string repairValueQuotes(std::string_view value);

// The value inside its quotes: without its first and last character when it
// holds a space or is quoted at both ends, else the value itself.
std::string innerValue(std::string_view value);

// True when a double quote appears inside the value (after innerValue()).
bool hasInnerQuote(std::string_view value);

// The first character of `name` that is neither a letter nor a digit (by
// Unicode classification) nor a hyphen, or nothing when the name is good.
std::optional<char32_t> firstBadNameCharacter(const QString& name);

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_TAG_ATTRIBUTE_RULES_H
