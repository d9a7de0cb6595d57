// The request side of `webhost preview`'s HTTP/1.1: reading a request head,
// checking its Host, taking the path out of its target and answering its
// Range header. Pure text rules, so that they can be tested and fuzzed
// without a socket.
#ifndef ZV_HOST_HTTP_REQUEST_H
#define ZV_HOST_HTTP_REQUEST_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zv::host {

// The most bytes a request head (request line and header fields) may take.
inline constexpr std::size_t kMostRequestHeadBytes = 16384;

struct HttpRequest {
  std::string method;   // "GET", "HEAD", ... as sent (methods are case-sensitive)
  std::string target;   // the request target as sent
  int minorVersion = 1; // HTTP/1.minorVersion
  std::vector<std::pair<std::string, std::string>> headers;  // names as sent, values trimmed

  // The value of the one field named `name` (letter case ignored); nullopt
  // when there is none. `count` gets how many there are.
  std::optional<std::string_view> header(std::string_view name, int* count = nullptr) const;
  // True when the connection stays open after the answer (HTTP/1.1 unless
  // "Connection: close"; HTTP/1.0 only with "Connection: keep-alive").
  bool keepsAlive() const;
  // True when a body follows the head (Content-Length other than 0, or any
  // Transfer-Encoding).
  bool hasBody() const;
};

enum class HeadState {
  Incomplete,  // more bytes are needed
  Complete,    // `request` holds the head; `headBytes` is its length
  Malformed,   // not an HTTP/1.x request head: answer 400 and close
  TooLarge,    // the head does not end within kMostRequestHeadBytes: 431
};

// Reads the request head at the start of `received` (CR LF or LF line ends;
// empty lines before the request line are skipped).
HeadState parseRequestHead(std::string_view received, HttpRequest& request, std::size_t& headBytes);

// True when `host` (a Host field value) names this server by a loopback name
// with its port: "127.0.0.1:PORT", "localhost:PORT" (any letter case) or
// "[::1]:PORT". Anything else is another site's name, as a page that
// rebinds its own name to 127.0.0.1 sends it, and is refused.
bool isPreviewHost(std::string_view host, int port);

// The path of an origin-form target ("/a%20b/c?q" gives "/a b/c"),
// percent-decoded, without query; nullopt when the target is not one.
std::optional<std::string> requestPath(std::string_view target);

struct ByteRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;  // inclusive
};

enum class RangeAnswer {
  Whole,          // no usable Range: the whole representation, 200
  Partial,        // the satisfiable ranges, in the order asked: 206
  Unsatisfiable,  // none of them is satisfiable: 416
};

// Answers a Range field value for a representation of `size` bytes, by
// RFC 9110 14.2: only the "bytes" unit; a field that does not parse is
// ignored (Whole); ranges that begin beyond the end are left out and the
// rest served; a last position beyond the end ends at the last byte; a
// suffix range asks for the last N bytes. More than kMostRanges satisfiable
// ranges are answered with the whole representation, as the server may.
inline constexpr std::size_t kMostRanges = 16;
RangeAnswer resolveRanges(std::string_view field, std::uint64_t size, std::vector<ByteRange>& ranges);

}  // namespace zv::host

#endif  // ZV_HOST_HTTP_REQUEST_H
