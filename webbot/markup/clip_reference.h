// The clip's reference in a page is a URL relative to the page; the clip's
// file in the web has the plain name. These two turn one into the other, so
// that the markup, the WEBBOT text and the file copied into the web name the
// same file for any name a file system allows (spaces, '#', '%', '?',
// quotes, non-ASCII bytes, ...).
#ifndef ZV_WEBBOT_MARKUP_CLIP_REFERENCE_H
#define ZV_WEBBOT_MARKUP_CLIP_REFERENCE_H

#include <string>
#include <string_view>

namespace zv {

// A relative path (a file name, or names separated by '/') as a URL
// reference: every byte other than letters, digits, "-._~" and '/' is
// written %XX (upper-case hex). "my clip #1.zvsa" gives "my%20clip%20%231.zvsa".
// The result holds no character that HTML or a WEBBOT value would have to
// encode, and none that a URL reads as syntax (':' of a scheme, '?', '#').
std::string clipReferenceForPath(std::string_view relativePath);

// The path a reference names: every %XX (either case) becomes its byte; any
// other byte, and a '%' without two hex digits after it, stays.
std::string clipPathOfReference(std::string_view reference);

}  // namespace zv

#endif  // ZV_WEBBOT_MARKUP_CLIP_REFERENCE_H
