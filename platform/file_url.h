// The file: URL of a local file, the one form for every such URL the system
// writes: the preview images of the component's WEBBOT text and of its Edit
// sheet, the image zvsa names, and the web URL webhost serve gives for a
// folder.
//
//   "file://" + the absolute path, each byte percent-encoded except
//   letters, digits, "-._~", "/" and "!$()*+,;=:@".
//
// These are the characters a URL path may hold as they are, less '&' and
// '\'': the URL is written into HTML attribute values and WEBBOT values,
// where an '&' would begin a character reference and a '\'' could end a
// single-quoted value, so both are encoded (%26, %27) and the URL stands in
// any of those places without a further escape. Percent-decoding the path
// part gives the path back, byte for byte.
#ifndef ZV_PLATFORM_FILE_URL_H
#define ZV_PLATFORM_FILE_URL_H

#include <string>
#include <string_view>

namespace zv {

std::string fileUrlForPath(std::string_view absolutePath);

}  // namespace zv

#endif  // ZV_PLATFORM_FILE_URL_H
