// The file: URL of a path: what it encodes, what it keeps, and that the
// path comes back from it.
#include "platform/file_url.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/percent_encoding.h"

namespace zv {
namespace {

TEST(FileUrl, EncodesWhatAUrlOrAnHtmlValueCannotHold) {
  const struct {
    const char* path;
    const char* url;
  } cases[] = {
      {"/usr/lib/FPOneButton.gif", "file:///usr/lib/FPOneButton.gif"},
      {"/home/Ann Lee/My Web/x.gif", "file:///home/Ann%20Lee/My%20Web/x.gif"},
      {"/a#b/c%d/e?f/\"g\"/'h'&i<j>", "file:///a%23b/c%25d/e%3Ff/%22g%22/%27h%27%26i%3Cj%3E"},
      {"/Z&V Player/FPTwoButton.gif", "file:///Z%26V%20Player/FPTwoButton.gif"},
      {"/Sons/Gr\xC3\xBC\xC3\x9F" "e.gif", "file:///Sons/Gr%C3%BC%C3%9Fe.gif"},
      {"/keep-these._~(1)+,;=:@!$*", "file:///keep-these._~(1)+,;=:@!$*"},
      {"/back\\slash/tab\there", "file:///back%5Cslash/tab%09here"},
  };
  for (const auto& c : cases) EXPECT_EQ(fileUrlForPath(c.path), c.url) << c.path;
}

TEST(FileUrl, ThePathComesBackByteForByte) {
  std::string every = "/";
  for (int byte = 1; byte < 256; ++byte) every += static_cast<char>(byte);
  const std::string url = fileUrlForPath(every);
  ASSERT_EQ(url.rfind("file://", 0), 0u);
  EXPECT_EQ(url.find_first_of("&'\"<> "), std::string::npos) << url;
  EXPECT_EQ(percentDecode(url.substr(7)), every);
}

}  // namespace
}  // namespace zv
