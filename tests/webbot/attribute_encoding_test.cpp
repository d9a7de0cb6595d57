// The S-BODY / S-ATTRIBS value encoding.
#include <gtest/gtest.h>

#include <string>

#include "webbot/attribute_encoding.h"

namespace {

using zv::webbot::decodeAttributeValue;
using zv::webbot::encodeAttributeValue;

TEST(AttributeEncoding, EncodesQuoteAmpersandAndGreaterThanOnly) {
  struct Case {
    std::string plain;
    std::string encoded;
  };
  const Case cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"ALT=\"Java is not available\"", "ALT=&quot;Java is not available&quot;"},
      {"a & b", "a &amp; b"},
      {"<b>bold</b>", "<b&gt;bold</b&gt;"},
      {"&quot;", "&amp;quot;"},
      {"'single' <", "'single' <"},
      {"-->", "--&gt;"},
      {std::string("\x00\xFF", 2), std::string("\x00\xFF", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plain);
    EXPECT_EQ(encodeAttributeValue(c.plain), c.encoded);
    EXPECT_EQ(decodeAttributeValue(c.encoded), c.plain);
  }
}

TEST(AttributeEncoding, DecodesOnlyTheExactLowerCaseForms) {
  struct Case {
    std::string encoded;
    std::string decoded;
  };
  const Case cases[] = {
      {"&QUOT;&Amp;&GT;", "&QUOT;&Amp;&GT;"},
      {"&lt;b&gt;", "&lt;b>"},
      {"&#34;&apos;", "&#34;&apos;"},
      {"&amp", "&amp"},
      {"&quot", "&quot"},
      {"&gt", "&gt"},
      {"&", "&"},
      {"&amp;amp;", "&amp;"},
      {"&&quot;", "&\""},
      {"x&gt;&gt;&quot;y", "x>>\"y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoded);
    EXPECT_EQ(decodeAttributeValue(c.encoded), c.decoded);
  }
}

TEST(AttributeEncoding, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  all += "&quot;&amp;&gt;&lt;";
  EXPECT_EQ(decodeAttributeValue(encodeAttributeValue(all)), all);
}

}  // namespace
