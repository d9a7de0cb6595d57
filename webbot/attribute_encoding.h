// The encoding of the S-BODY and S-ATTRIBS values, which hold markup and so
// may contain the characters that would end a quoted value or the comment
// they live in.
//
//   encode:  "  ->  &quot;     &  ->  &amp;     >  ->  &gt;
//            every other byte, '<' included, is copied.
//   decode:  left to right, the exact lower-case forms &quot; &amp; &gt;
//            become ", &, >; every other byte is copied.
//
// decode(encode(x)) == x for every byte string x.
//
// This is the component's own encoding, not HTML escaping
// (platform/html_escape.h): '<' stays as it is, since the editor's pages
// already hold these values that way, and decoding knows only these three
// exact forms, so that a value read back is byte for byte what was written.
#ifndef ZV_WEBBOT_ATTRIBUTE_ENCODING_H
#define ZV_WEBBOT_ATTRIBUTE_ENCODING_H

#include <string>
#include <string_view>

namespace zv::webbot {

std::string encodeAttributeValue(std::string_view value);
std::string decodeAttributeValue(std::string_view encoded);

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_ATTRIBUTE_ENCODING_H
