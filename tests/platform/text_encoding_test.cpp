#include "platform/text_encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Cp932RoundTripKeepsVendorCharactersAndBackslash)
{
    const std::string utf8 = "～①ＭＳ Ｐゴシック\\a";
    const std::optional<std::string> bytes = ToCp932(utf8);
    ASSERT_TRUE(bytes);
    // ～ is 0x8160 and ① 0x8740 in code page 932; 0x5C stays the backslash.
    EXPECT_EQ(*bytes, "\x81\x60\x87\x40\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\x5C" "a");
    EXPECT_EQ(FromCp932(*bytes), utf8);
    EXPECT_EQ(ToCp932(""), std::string());
}

TEST(TextEncoding, TextOutsideCp932IsRefused)
{
    EXPECT_FALSE(ToCp932("写真😀"));
    EXPECT_FALSE(ToCp932("𠀋"));
    EXPECT_FALSE(ToCp932("\xFF broken UTF-8"));
}

TEST(TextEncoding, InvalidCp932BytesBecomeReplacementCharacters)
{
    // 0x80 and 0xA0 start no character; a lead byte without its second
    // byte at the end is cut short. The ASCII after each is kept.
    EXPECT_EQ(FromCp932("a\x80" "b\xA0" "c\x82"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD");
    EXPECT_EQ(FromCp932("\x81\x20x"), "\xEF\xBF\xBD x");
}

TEST(TextEncoding, FileBytesReadAsUtf8OnlyWhenNotCp932)
{
    EXPECT_TRUE(ReadsAsUtf8("Name=ＭＳ 明朝\r\n"));
    EXPECT_FALSE(ReadsAsUtf8(*ToCp932("Name=ＭＳ 明朝\r\n")));
    EXPECT_FALSE(ReadsAsUtf8("Name=IPAMincho\r\n")) << "ASCII is the same in both";
    EXPECT_FALSE(ReadsAsUtf8("Text=卒\xE6\xA5")) << "UTF-8 cut short";
    // Valid in both: "卒業" in UTF-8 is "蛻呈･ｭ" in code page 932.
    EXPECT_FALSE(ReadsAsUtf8("卒業"));
}
