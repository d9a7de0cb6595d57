// The checks that make a published component's element well-formed, beyond
// what the component's Expand entry encodes itself.
//
// webhost reads the component's values from the page as HTML attribute
// values, decodes them and hands them to the component decoded: the markup
// generator encodes the quoted values (class, codebase, alignment, clip)
// once, where the element is made. What it cannot make safe by encoding is
// checked here first: the tag must be a name, the other attributes a list
// of attributes, the body complete HTML.
#ifndef ZV_HOST_ELEMENT_VALUES_H
#define ZV_HOST_ELEMENT_VALUES_H

#include <optional>
#include <string>
#include <string_view>

#include "host/page_parser.h"

namespace zv::host {

// Checks that the component's values make a well-formed element that ends
// where it should, so that the published page reads as intended and can be
// published again:
//   S-APPLETTAG is a letter followed by letters, digits, '-', '_', ':' or
//     '.', and not an element whose content is raw text (script, textarea,
//     plaintext, ...), which would swallow the parameters;
//   S-ATTRIBS is a list of HTML attributes (name, or name=value with the
//     value in double quotes, single quotes or without quotes and without any
//     of " ' = < > `), separated by white space;
//   S-BODY is complete HTML: no unterminated comment, tag or declaration, no
//     raw-text element left open, no WEBBOT comment.
// Absent values are not checked (the component then expands to nothing).
std::optional<PageError> checkElementValues(const PageComponent& component);

}  // namespace zv::host

#endif  // ZV_HOST_ELEMENT_VALUES_H
