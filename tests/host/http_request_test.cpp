// The request rules of webhost preview, without a socket: ranges by
// RFC 9110, the Host names it answers for, request heads and paths.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/http_request.h"

namespace zv::host {
namespace {

TEST(HttpRanges, SatisfiableRangesAreServedAndTheRestLeftOut) {
  struct Case {
    const char* field;
    std::uint64_t size;
    RangeAnswer answer;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  };
  const Case cases[] = {
      {"bytes=0-3", 16, RangeAnswer::Partial, {{0, 3}}},
      {"bytes=14-99", 16, RangeAnswer::Partial, {{14, 15}}},
      {"bytes=-3", 16, RangeAnswer::Partial, {{13, 15}}},
      {"bytes=-99", 16, RangeAnswer::Partial, {{0, 15}}},
      {"bytes=12-", 16, RangeAnswer::Partial, {{12, 15}}},
      {"bytes=0-1,100-200", 16, RangeAnswer::Partial, {{0, 1}}},
      {"bytes=100-200, -3", 16, RangeAnswer::Partial, {{13, 15}}},
      {"BYTES=1-1,,3-3", 16, RangeAnswer::Partial, {{1, 1}, {3, 3}}},
      {"bytes=16-20,30-", 16, RangeAnswer::Unsatisfiable, {}},
      {"bytes=-0", 16, RangeAnswer::Unsatisfiable, {}},
      {"bytes=0-0", 0, RangeAnswer::Unsatisfiable, {}},
      {"bytes=5-2", 16, RangeAnswer::Whole, {}},       // invalid: the field is ignored
      {"bytes=1-2,x", 16, RangeAnswer::Whole, {}},
      {"bytes=", 16, RangeAnswer::Whole, {}},
      {"items=0-1", 16, RangeAnswer::Whole, {}},
      {"bytes=99999999999999999999-", 16, RangeAnswer::Whole, {}},
      {"bytes=0-1,2-3,4-5,6-7,8-9,10-11,12-13,14-15,0-1,2-3,4-5,6-7,8-9,10-11,12-13,14-15,0-0", 16,
       RangeAnswer::Whole, {}},  // more than kMostRanges: the whole file, as a server may
      {"bytes=0-18446744073709551615", 5368709120, RangeAnswer::Partial, {{0, 5368709119}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    std::vector<ByteRange> ranges;
    EXPECT_EQ(resolveRanges(c.field, c.size, ranges), c.answer);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> got;
    for (const ByteRange& r : ranges) got.emplace_back(r.first, r.last);
    EXPECT_EQ(got, c.ranges);
  }
}

TEST(HttpHost, OnlyTheLoopbackNamesWithThePort) {
  for (const char* host : {"127.0.0.1:8080", "localhost:8080", "LOCALHOST:8080", "[::1]:8080"})
    EXPECT_TRUE(isPreviewHost(host, 8080)) << host;
  for (const char* host : {"127.0.0.1", "127.0.0.1:80", "127.0.0.1:80800", "evil.example:8080",
                           "localhost.evil.example:8080", "127.0.0.2:8080", "0.0.0.0:8080",
                           "[::ffff:127.0.0.1]:8080", ":8080", "", "127.0.0.1:8080 "})
    EXPECT_FALSE(isPreviewHost(host, 8080)) << host;
}

TEST(HttpHead, HeadsArePartsOfTheReceivedBytes) {
  HttpRequest request;
  std::size_t head = 0;
  const std::string text = "\r\nGET /a%20b?x#y HTTP/1.1\r\nHost:  127.0.0.1:1 \r\nRange: bytes=1-2\r\n\r\nNEXT";
  ASSERT_EQ(parseRequestHead(text, request, head), HeadState::Complete);
  EXPECT_EQ(head, text.size() - 4);
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(*request.header("host"), "127.0.0.1:1");
  EXPECT_EQ(*requestPath(request.target), "/a b");
  EXPECT_TRUE(request.keepsAlive());
  EXPECT_FALSE(request.hasBody());

  EXPECT_EQ(parseRequestHead("GET / HTTP/1.1\r\nHost: x", request, head), HeadState::Incomplete);
  EXPECT_EQ(parseRequestHead("GET / HTTP/2\r\n\r\n", request, head), HeadState::Malformed);
  EXPECT_EQ(parseRequestHead("GET / HTTP/1.1\r\nBad Name: x\r\n\r\n", request, head), HeadState::Malformed);
  EXPECT_EQ(parseRequestHead("GET /\x01 HTTP/1.1\r\n\r\n", request, head), HeadState::Malformed);
  EXPECT_EQ(parseRequestHead("GET / HTTP/1.1\r\nX: " + std::string(kMostRequestHeadBytes, 'a'), request, head),
            HeadState::TooLarge);
  ASSERT_EQ(parseRequestHead("GET / HTTP/1.0\nConnection: Keep-Alive\nContent-Length: 3\n\n", request, head),
            HeadState::Complete);
  EXPECT_TRUE(request.keepsAlive());
  EXPECT_TRUE(request.hasBody());
  EXPECT_EQ(requestPath("http://evil.example/"), std::nullopt);
  EXPECT_EQ(requestPath("*"), std::nullopt);
}

}  // namespace
}  // namespace zv::host
