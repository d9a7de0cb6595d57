#include "automation/web_url.h"

#include "platform/ascii_case.h"
#include "platform/percent_encoding.h"

namespace zv::automation {

std::optional<WebUrlParts> splitWebUrl(std::string_view url) {
  const std::size_t lastSlash = url.rfind('/');
  if (lastSlash == std::string_view::npos) return std::nullopt;
  bool split = false;
  if (lastSlash > 0) {
    const char before = url[lastSlash - 1];
    split = (startsWithIgnoringCase(url, "http:") && before != '/') ||
            (startsWithIgnoringCase(url, "file:") && before != ':');
  }
  if (!split) return WebUrlParts{std::string(url), {}};
  return WebUrlParts{std::string(url.substr(0, lastSlash)), std::string(url.substr(lastSlash))};
}

bool isDiskBasedWeb(std::string_view url) { return startsWithIgnoringCase(url, "file:"); }

std::string percentEncodePath(std::string_view path) {
  return percentEncode(path, "/!$&'()*+,;=:@");
}

std::string percentDecode(std::string_view text) { return zv::percentDecode(text); }

}  // namespace zv::automation
