// Character references in HTML attribute values, as webhost reads them from a
// page.
#ifndef ZV_HOST_CHARACTER_REFERENCES_H
#define ZV_HOST_CHARACTER_REFERENCES_H

#include <string>
#include <string_view>

namespace zv::host {

// Replaces the character references of an attribute value by the characters
// they stand for:
//   &quot; &amp; &lt; &gt; &apos; (and the upper-case &QUOT; &AMP; &LT; &GT;)
//   &#DDD; and &#xHHH; for code points 1..0x10FFFF other than surrogates:
//   below 128 one byte, above as UTF-8 (pages are taken as ASCII or UTF-8;
//   other 8-bit bytes pass through unchanged).
// The closing ';' is required. Anything else, an unknown name included, is
// copied as it stands, like a lone '&'.
std::string decodeCharacterReferences(std::string_view value);

}  // namespace zv::host

#endif  // ZV_HOST_CHARACTER_REFERENCES_H
