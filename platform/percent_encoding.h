// Percent-encoding of URL text (%XX for a byte, upper-case hex), the one
// rule for every URL the system writes or reads: clip references, web paths,
// file: URLs.
#ifndef ZV_PLATFORM_PERCENT_ENCODING_H
#define ZV_PLATFORM_PERCENT_ENCODING_H

#include <string>
#include <string_view>

namespace zv {

// `text` with every byte written %XX except letters, digits, "-._~" and the
// bytes of `alsoKept`.
std::string percentEncode(std::string_view text, std::string_view alsoKept);

// Every %XX (hex, either case) becomes its byte; any other byte, and a '%'
// that is not followed by two hex digits, is copied.
std::string percentDecode(std::string_view text);

}  // namespace zv

#endif  // ZV_PLATFORM_PERCENT_ENCODING_H
