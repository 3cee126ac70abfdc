#include "platform/utf8_text.h"

#include <gtest/gtest.h>

TEST(Utf8Text, PrefixKeepsWholeCharacters)
{
    EXPECT_EQ(Utf8PrefixBytes("abc", 2), 2u);
    EXPECT_EQ(Utf8PrefixBytes("abc", 5), 3u);
    EXPECT_EQ(Utf8PrefixBytes("", 1), 0u);
    EXPECT_EQ(Utf8PrefixBytes("aあい", 0), 0u);
    EXPECT_EQ(Utf8PrefixBytes("aあい", 2), 4u);
    EXPECT_EQ(Utf8PrefixBytes("😀x", 1), 4u);
    // A stray continuation byte belongs to the character before it; a lead
    // byte without its continuation is a character of its own.
    EXPECT_EQ(Utf8PrefixBytes("a\x80" "b", 1), 2u);
    EXPECT_EQ(Utf8PrefixBytes("\xE3" "ab", 2), 2u);
}
