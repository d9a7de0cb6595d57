// How a web's URL divides into its server part and its web part, and how
// names become web paths (a folder's file: URL is platform/file_url.h). Both
// sides of the automation contract use these rules: the insertion program
// forms web paths from the Explorer's web URL, and the serving host maps the
// same web paths back to its files.
//
// A web path is a URL path that begins with the web part, for example
// "/site/sub/a.zvsa" for the file sub/a.zvsa of the web "file:///home/ann/site"
// (server part "file:///home/ann", web part "/site"). Names inside web paths
// are percent-encoded where a URL needs it (spaces, '%', non-ASCII bytes...).
#ifndef ZV_AUTOMATION_WEB_URL_H
#define ZV_AUTOMATION_WEB_URL_H

#include <optional>
#include <string>
#include <string_view>

namespace zv::automation {

struct WebUrlParts {
  std::string server;  // everything before the web part
  std::string web;     // from the last slash on, or empty for a root web
};

// Splits a web URL at its last slash. No slash at all gives nullopt. The URL
// is split when it begins with "http:" and the character before the last
// slash is not a slash, or begins with "file:" and that character is not a
// colon (prefixes compared ignoring case); otherwise (a root web, any other
// scheme, or a URL whose only slash is its first character) the server part
// is the whole URL and the web part is empty.
std::optional<WebUrlParts> splitWebUrl(std::string_view url);

// True for a disk-based web: the URL begins with "file:", ignoring case.
bool isDiskBasedWeb(std::string_view url);

// `path` with every byte that may not stand as it is in a URL path written as
// %XX (upper-case hex); letters, digits, "-._~", "/" and "!$&'()*+,;=:@" stay.
std::string percentEncodePath(std::string_view path);

// Every %XX (hex, either case) becomes its byte; any other byte, and a '%'
// that is not followed by two hex digits, is copied.
std::string percentDecode(std::string_view text);

}  // namespace zv::automation

#endif  // ZV_AUTOMATION_WEB_URL_H
