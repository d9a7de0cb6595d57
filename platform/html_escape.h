// Text for HTML: the one escaper for every page, element and attribute value
// the system writes as HTML (the markup's values, the player's element, the
// preview pages of webhost, the values the editor writes back).
//
//   &  ->  &amp;     <  ->  &lt;     >  ->  &gt;     "  ->  &quot;
//
// every other byte is copied. The result is safe as element content and
// inside a double-quoted attribute value alike. (A single-quoted value would
// also need '\''; the system writes none.) The component's own encoding of
// its S-BODY and S-ATTRIBS values is a different one, with its own decoder:
// webbot/attribute_encoding.h.
#ifndef ZV_PLATFORM_HTML_ESCAPE_H
#define ZV_PLATFORM_HTML_ESCAPE_H

#include <string>
#include <string_view>

namespace zv {

std::string escapeHtmlText(std::string_view text);

// The same, appended to `out`.
void appendEscapedHtml(std::string& out, std::string_view text);

}  // namespace zv

#endif  // ZV_PLATFORM_HTML_ESCAPE_H
