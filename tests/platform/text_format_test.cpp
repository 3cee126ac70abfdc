#include "platform/text_format.h"

#include <gtest/gtest.h>

TEST(TextFormat, StrToIntDefTakesDecimalAndHexadecimal)
{
    EXPECT_EQ(StrToIntDef("42", -1), 42);
    EXPECT_EQ(StrToIntDef("-7", -1), -7);
    EXPECT_EQ(StrToIntDef("+7", -1), 7);
    EXPECT_EQ(StrToIntDef("007", -1), 7);
    EXPECT_EQ(StrToIntDef("0x20", -1), 32);
    EXPECT_EQ(StrToIntDef("0XfF", -1), 255);
    EXPECT_EQ(StrToIntDef("2147483647", -1), 2147483647);
    EXPECT_EQ(StrToIntDef("-2147483648", -1), -2147483647 - 1);
    EXPECT_EQ(StrToIntDef("0x7FFFFFFF", -1), 2147483647);
}

TEST(TextFormat, StrToIntDefGivesDefaultForAnythingElse)
{
    for (const char* text : {"", "0x", "0X", "-", "+", "12a", " 12", "12 ", "1.5", "0x-5", "-0x10", "0x1G",
                             "2147483648", "-2147483649", "0x80000000", "0xFFFFFFFF", "99999999999999999999"})
        EXPECT_EQ(StrToIntDef(text, -99), -99) << text;
    int value = 5;
    EXPECT_FALSE(TryStrToInt("x", value));
    EXPECT_EQ(value, 5);
}

TEST(TextFormat, TryStrToFloatNeedsTheWholeText)
{
    double value = 0;
    EXPECT_TRUE(TryStrToFloat("1.5", value));
    EXPECT_EQ(value, 1.5);
    EXPECT_TRUE(TryStrToFloat("-.25", value));
    EXPECT_EQ(value, -0.25);
    EXPECT_TRUE(TryStrToFloat("+2e3", value));
    EXPECT_EQ(value, 2000.0);
    EXPECT_TRUE(TryStrToFloat("0.001", value));
    EXPECT_EQ(value, 0.001);
    for (const char* text : {"", "-", ".", "1,5", " 1", "1 ", "1e", "inf", "nan", "0x10", "1.5x", "--1"})
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
}

TEST(TextFormat, NumbersAndTheirBeginningsAreToldFromOtherText)
{
    for (const char* text : {"", "-", "+", ".", "-.", "0", "0.", "0.8", ".8", "1e", "1E-", "2.5e+", "2.5e+3", "1e999",
                             "-1", "007"})
        EXPECT_TRUE(IsNumberOrItsBeginning(text)) << text;
    for (const char* text : {"x", "1..", "-e", ".e5", "e", "1e5.", "1e--", "1 ", " 1", "1,5", "nan", "inf", "0x1",
                             "1-", "--1"})
        EXPECT_FALSE(IsNumberOrItsBeginning(text)) << text;
}

TEST(TextFormat, FloatToStrGeneralUses15SignificantDigits)
{
    EXPECT_EQ(FloatToStrGeneral(static_cast<double>(0.02f)), "0.0199999995529652");
    EXPECT_EQ(FloatToStrGeneral(1), "1");
    EXPECT_EQ(FloatToStrGeneral(-5), "-5");
    EXPECT_EQ(FloatToStrGeneral(2.5), "2.5");
    EXPECT_EQ(FloatToStrGeneral(0), "0");
    EXPECT_EQ(FloatToStrGeneral(-0.0), "0");
    EXPECT_EQ(FloatToStrGeneral(135), "135");
    EXPECT_EQ(FloatToStrGeneral(static_cast<double>(-12.35f)), "-12.3500003814697");
    EXPECT_EQ(FloatToStrGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStrGeneral(999999999999999.9), "1E15");
    EXPECT_EQ(FloatToStrGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStrGeneral(0.0001), "0.0001");
    EXPECT_EQ(FloatToStrGeneral(-0.000015), "-1.5E-5");
}

TEST(TextFormat, FixedNotationRoundsHalfUp)
{
    EXPECT_EQ(ZoomText(1.5f), "1.50000");
    EXPECT_EQ(ZoomText(1.01f), "1.01000");
    EXPECT_EQ(ZoomText(134.999f), "135.00000");
    EXPECT_EQ(ZoomText(12.345f), "12.35000");
    EXPECT_EQ(ZoomText(0.123456f), "0.12350");
    EXPECT_EQ(ZoomText(9999.6f), "10000.00000");
    // 1/64 is exactly 0.015625: the tie at 4 digits goes up.
    EXPECT_EQ(ZoomText(0.015625f), "0.01563");
}

TEST(TextFormat, PrintfFixedWritesEveryDigitAsCDoes)
{
    // The exact value rounded to nearest, a tie to even, as glibc's "%f".
    EXPECT_EQ(PrintfFixed(2.5, 0), "2");
    EXPECT_EQ(PrintfFixed(3.5, 0), "4");
    // -1.005 is stored as -1.00499999999999989...: no double rounding up.
    EXPECT_EQ(PrintfFixed(-1.005, 2), "-1.00");
    EXPECT_EQ(PrintfFixed(-0.001, 2), "-0.00");
    EXPECT_EQ(PrintfFixed(0.006, 2), "0.01");
    EXPECT_EQ(PrintfFixed(1234.5, 3), "1234.500");
    EXPECT_EQ(PrintfFixed(static_cast<double>(134.999f), 6), "134.998993");
    EXPECT_EQ(PrintfFixed(static_cast<double>(2e33f), 6), "1999999988991454572855985770070016.000000");
}

TEST(TextFormat, TrimAndFormat)
{
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(Trim("\x01\x20"), "");
    EXPECT_EQ(Trim("全角　"), "全角　"); // the ideographic space is not a blank byte
    EXPECT_EQ(Format("%s に書き込めません", "/x/vad.ini"), "/x/vad.ini に書き込めません");
    EXPECT_EQ(Format("%d/%08X", -3, 255u), "-3/000000FF");
    EXPECT_EQ(Format("%s", ""), "");
}
