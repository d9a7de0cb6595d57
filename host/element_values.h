// What webhost hands the component for each attribute when it publishes a
// page, and the checks that make the published element well-formed.
//
// The component's Expand entry writes every text byte for byte into the
// element it builds (that is its contract, and other hosts compare its output
// byte for byte), so escaping is the host's job: the host read the values
// from the page as HTML attribute values and decoded them, and it knows into
// which part of the element each one goes:
//
//   S-CLASS, S-CODEBASE,   go between double quotes (CODE="...", CODEBASE="...",
//   S-ALIGN, S-CLIP        ALIGN="...", VALUE="..."): handed escaped, '"' as
//                          &quot;, '&' as &amp;, '>' as &gt;, so a value with a
//                          double quote cannot end its attribute early and the
//                          browser reads back exactly the decoded value.
//   S-ATTRIBS              is itself attribute markup (e.g. ALT="...") that the
//                          element takes as it stands: handed decoded, so that
//                          ALT=&quot;x&quot; in the page becomes ALT="x" in the
//                          element. It must then be a well-formed attribute list.
//   S-BODY                 is HTML content the author wrote: handed decoded.
//   S-APPLETTAG            is the element name: handed decoded; it must be a
//                          name, since no escaping can repair one that is not.
//   integers and the rest  handed decoded.
//
// Escaping a second time in Expand would break every other host, and handing
// the values as they stand in the page would give ALT=&quot;x&quot; (an
// attribute value cut at the first space) in the published element.
#ifndef ZV_HOST_ELEMENT_VALUES_H
#define ZV_HOST_ELEMENT_VALUES_H

#include <optional>
#include <string>
#include <string_view>

#include "host/page_parser.h"

namespace zv::host {

// The text handed to the component for attribute `key` whose decoded value
// is `value`.
std::string ValueForElement(std::string_view key, std::string_view value);

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
std::optional<PageError> CheckElementValues(const PageComponent& component);

}  // namespace zv::host

#endif  // ZV_HOST_ELEMENT_VALUES_H
