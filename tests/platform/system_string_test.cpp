// The system-string layer: length prefix, terminating zero, reallocation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <zv/system_string.h>

namespace {

TEST(SystemString, HoldsTheTextItsLengthAndAZero) {
  for (const char* text : {"", "a", "8-bit \xE9t\xE9 text", "line\r\nline"}) {
    SCOPED_TRACE(text);
    zv::SystemString s = zv::SysAllocString(text);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s, text);
    EXPECT_EQ(zv::SysStringByteLen(s), std::strlen(text));
    std::uint32_t prefix;
    std::memcpy(&prefix, s - 4, 4);  // the length sits just before the text
    EXPECT_EQ(prefix, std::strlen(text));
    EXPECT_EQ(s[std::strlen(text)], '\0');
    zv::SysFreeString(s);
  }
}

TEST(SystemString, NullInNullOut) {
  EXPECT_EQ(zv::SysAllocString(nullptr), nullptr);
  EXPECT_EQ(zv::SysStringByteLen(nullptr), 0u);
  zv::SysFreeString(nullptr);
  EXPECT_FALSE(zv::SysReAllocString(nullptr, "x"));
}

TEST(SystemString, ReallocationReplacesFillsAndAcceptsItsOwnText) {
  zv::SystemString slot = nullptr;
  ASSERT_TRUE(zv::SysReAllocString(&slot, "first"));  // an empty slot is filled
  EXPECT_STREQ(slot, "first");
  ASSERT_TRUE(zv::SysReAllocString(&slot, "a longer second text"));
  EXPECT_STREQ(slot, "a longer second text");
  ASSERT_TRUE(zv::SysReAllocString(&slot, slot + 9));  // text inside the old string
  EXPECT_STREQ(slot, "second text");
  EXPECT_EQ(zv::SysStringByteLen(slot), 11u);
  ASSERT_TRUE(zv::SysReAllocString(&slot, nullptr));
  EXPECT_STREQ(slot, "");
  zv::SysFreeString(slot);
}

}  // namespace
