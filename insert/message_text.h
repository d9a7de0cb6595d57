// Filling a message with several values. The platform's formatMessage()
// fills one placeholder; several of this program's messages name two or
// three things (a local path and a web path, say).
#ifndef ZV_INSERT_MESSAGE_TEXT_H
#define ZV_INSERT_MESSAGE_TEXT_H

#include <initializer_list>
#include <string>
#include <string_view>

namespace zv::insert {

// `pattern` with its placeholders (%s, %c, %d) replaced by `values` in
// order, and "%%" by "%". Plain text replacement: a value is never read as a
// format. Placeholders beyond the values are left as they are.
std::string fillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace zv::insert

#endif  // ZV_INSERT_MESSAGE_TEXT_H
