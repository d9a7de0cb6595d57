#include "host/http_request.h"

#include <charconv>

#include "platform/ascii_case.h"
#include "platform/percent_encoding.h"

namespace zv::host {

namespace {

bool isTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// One line from `at`, without its CR LF or LF; nullopt when no line end has
// come yet.
std::optional<std::string_view> nextLine(std::string_view text, std::size_t& at) {
  const std::size_t end = text.find('\n', at);
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(at, end - at);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  at = end + 1;
  return line;
}

std::optional<std::uint64_t> decimal(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

bool parseRequestLine(std::string_view line, HttpRequest& request) {
  const std::size_t space1 = line.find(' ');
  if (space1 == std::string_view::npos || space1 == 0) return false;
  const std::size_t space2 = line.find(' ', space1 + 1);
  if (space2 == std::string_view::npos || space2 == space1 + 1) return false;
  const std::string_view method = line.substr(0, space1);
  const std::string_view target = line.substr(space1 + 1, space2 - space1 - 1);
  const std::string_view version = line.substr(space2 + 1);
  for (const char c : method)
    if (!isTokenChar(c)) return false;
  for (const char c : target)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  if (version.size() != 8 || version.substr(0, 7) != "HTTP/1." || version[7] < '0' || version[7] > '9')
    return false;
  request.method = std::string(method);
  request.target = std::string(target);
  request.minorVersion = version[7] - '0';
  return true;
}

}  // namespace

std::optional<std::string_view> HttpRequest::header(std::string_view name, int* count) const {
  std::optional<std::string_view> found;
  int seen = 0;
  for (const auto& [fieldName, value] : headers) {
    if (equalsIgnoringCase(fieldName, name)) {
      if (!found) found = value;
      ++seen;
    }
  }
  if (count) *count = seen;
  return found;
}

bool HttpRequest::keepsAlive() const {
  const std::optional<std::string_view> connection = header("Connection");
  // The field is a list of options; the two that matter here stand alone in
  // practice.
  auto has = [&](std::string_view option) {
    if (!connection) return false;
    std::size_t at = 0;
    while (at <= connection->size()) {
      std::size_t end = connection->find(',', at);
      if (end == std::string_view::npos) end = connection->size();
      if (equalsIgnoringCase(trim(connection->substr(at, end - at)), option)) return true;
      at = end + 1;
    }
    return false;
  };
  if (has("close")) return false;
  return minorVersion >= 1 || has("keep-alive");
}

bool HttpRequest::hasBody() const {
  if (header("Transfer-Encoding")) return true;
  const std::optional<std::string_view> length = header("Content-Length");
  return length && *length != "0";
}

HeadState parseRequestHead(std::string_view received, HttpRequest& request, std::size_t& headBytes) {
  request = HttpRequest();
  const std::string_view window = received.substr(0, kMostRequestHeadBytes);
  std::size_t at = 0;
  std::optional<std::string_view> line;
  // Empty lines before the request line are skipped (RFC 9112 2.2).
  do {
    line = nextLine(window, at);
    if (!line) return received.size() >= kMostRequestHeadBytes ? HeadState::TooLarge : HeadState::Incomplete;
  } while (line->empty());
  if (!parseRequestLine(*line, request)) return HeadState::Malformed;
  while (true) {
    line = nextLine(window, at);
    if (!line) return received.size() >= kMostRequestHeadBytes ? HeadState::TooLarge : HeadState::Incomplete;
    if (line->empty()) break;
    const std::size_t colon = line->find(':');
    if (colon == std::string_view::npos || colon == 0) return HeadState::Malformed;
    const std::string_view name = line->substr(0, colon);
    for (const char c : name)
      if (!isTokenChar(c)) return HeadState::Malformed;  // also a space before the colon
    const std::string_view value = trim(line->substr(colon + 1));
    for (const char c : value)
      if (c == '\0' || c == '\r' || c == '\n') return HeadState::Malformed;
    request.headers.emplace_back(std::string(name), std::string(value));
  }
  headBytes = at;
  return HeadState::Complete;
}

bool isPreviewHost(std::string_view host, int port) {
  const std::string suffix = ":" + std::to_string(port);
  if (host.size() <= suffix.size() || host.substr(host.size() - suffix.size()) != suffix) return false;
  const std::string_view name = host.substr(0, host.size() - suffix.size());
  return name == "127.0.0.1" || equalsIgnoringCase(name, "localhost") || name == "[::1]";
}

std::optional<std::string> requestPath(std::string_view target) {
  if (target.empty() || target.front() != '/') return std::nullopt;
  const std::size_t query = target.find_first_of("?#");
  return percentDecode(target.substr(0, query));
}

RangeAnswer resolveRanges(std::string_view field, std::uint64_t size, std::vector<ByteRange>& ranges) {
  ranges.clear();
  field = trim(field);
  constexpr std::string_view kUnit = "bytes=";
  if (field.size() < kUnit.size() || !equalsIgnoringCase(field.substr(0, kUnit.size()), kUnit))
    return RangeAnswer::Whole;
  field.remove_prefix(kUnit.size());
  bool any = false;
  std::size_t at = 0;
  while (at <= field.size()) {
    std::size_t end = field.find(',', at);
    if (end == std::string_view::npos) end = field.size();
    const std::string_view rangeText = trim(field.substr(at, end - at));
    at = end + 1;
    if (rangeText.empty()) continue;  // empty list elements are allowed
    any = true;
    const std::size_t dash = rangeText.find('-');
    if (dash == std::string_view::npos) {
      ranges.clear();
      return RangeAnswer::Whole;
    }
    const std::string_view firstText = rangeText.substr(0, dash);
    const std::string_view lastText = rangeText.substr(dash + 1);
    if (firstText.empty()) {  // suffix range: the last N bytes
      const std::optional<std::uint64_t> length = decimal(lastText);
      if (!length) {
        ranges.clear();
        return RangeAnswer::Whole;
      }
      if (*length == 0 || size == 0) continue;
      ranges.push_back({*length >= size ? 0 : size - *length, size - 1});
      continue;
    }
    const std::optional<std::uint64_t> first = decimal(firstText);
    const std::optional<std::uint64_t> last = lastText.empty() ? std::optional<std::uint64_t>(UINT64_MAX)
                                                               : decimal(lastText);
    if (!first || !last || *last < *first) {
      ranges.clear();
      return RangeAnswer::Whole;
    }
    if (*first >= size) continue;  // not satisfiable; the others may be
    ranges.push_back({*first, *last >= size ? size - 1 : *last});
  }
  if (!any) return RangeAnswer::Whole;
  if (ranges.empty()) return RangeAnswer::Unsatisfiable;
  if (ranges.size() > kMostRanges) {
    ranges.clear();
    return RangeAnswer::Whole;
  }
  return RangeAnswer::Partial;
}

}  // namespace zv::host
