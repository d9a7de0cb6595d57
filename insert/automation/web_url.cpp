#include "insert/automation/web_url.h"

#include "platform/ascii_case.h"

namespace zv::automation {

std::optional<WebUrlParts> SplitWebUrl(std::string_view url) {
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

bool IsDiskBasedWeb(std::string_view url) { return startsWithIgnoringCase(url, "file:"); }

namespace {

bool staysInPath(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  constexpr std::string_view kKept = "-._~/!$&'()*+,;=:@";
  return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string PercentEncodePath(std::string_view path) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (staysInPath(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string FileUrlForPath(std::string_view absolutePath) {
  return "file://" + PercentEncodePath(absolutePath);
}

}  // namespace zv::automation
