// The component's other-attributes text and the attribute set it stands for.
//
// Joined form: "name=value" items separated by single spaces, no leading or
// trailing space; a value that holds spaces carries its double quotes, e.g.
//   ALT="Java is not here" WIDTH=2
// Parsing is the inverse of joining, tolerant of what hand-edited pages hold:
//   - the name runs up to the next "="; a trailing name without "=" is
//     dropped;
//   - a value that begins with a double quote runs to the next double quote,
//     both quotes kept in the value; without a closing quote it runs to the
//     end of the text;
//   - any other value runs to the next space or the end;
//   - one space after a value is skipped;
//   - a later item replaces an earlier one of exactly the same name (letter
//     case counts).
#ifndef ZV_WEBBOT_ATTRIBUTE_TEXT_H
#define ZV_WEBBOT_ATTRIBUTE_TEXT_H

#include <map>
#include <string>
#include <string_view>

namespace zv::webbot {

// Attribute name to value. Names are unique and compared exactly; the set
// iterates in ascending order of name, so joining is stable.
using AttributeSet = std::map<std::string, std::string>;

AttributeSet parseAttributeText(std::string_view text);

std::string joinAttributeText(const AttributeSet& attributes);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_ATTRIBUTE_TEXT_H
