#include "platform/font.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include "platform/qt_font.h"

TEST(Font, PointsAndPixelsConvertAtNinetySixPerInch)
{
    TFont font;
    font.SetSize(30);
    EXPECT_EQ(font.Height(), -40);
    EXPECT_EQ(font.Size(), 30);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    font.SetHeight(-13);  // 9.75 points
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-15);  // 11.25 points
    EXPECT_EQ(font.Size(), 11);
}

TEST(Font, RecordCarriesStyleWidthAndEscapement)
{
    TFont font;
    font.SetName("ＭＳ 明朝");
    font.SetHeight(-40);
    font.SetStyle(fsBold | fsUnderline);
    font.SetColor(clRed);
    LOGFONT record = font.Handle();
    EXPECT_EQ(record.lfHeight, -40);
    EXPECT_EQ(record.lfWeight, 700);
    EXPECT_EQ(record.lfUnderline, 1);
    EXPECT_EQ(record.lfItalic, 0);
    EXPECT_EQ(record.lfFaceName, "ＭＳ 明朝");

    record.lfWidth = -20;
    record.lfEscapement = 450;
    record.lfWeight = 400;
    record.lfStrikeOut = 1;
    font.SetHandle(record);
    EXPECT_EQ(font.Style(), fsUnderline | fsStrikeOut);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(font.Handle().lfWidth, -20);
    EXPECT_EQ(font.Handle().lfEscapement, 450);

    TFont copy;
    copy.Assign(font);
    EXPECT_EQ(copy.Handle().lfEscapement, 450);
    EXPECT_EQ(copy.Color(), clRed);
}

TEST(Font, LongFaceNamesArePassedWhole)
{
    // An ordinary Japanese face name of 11 characters is 33 bytes of UTF-8.
    const std::string name = "ＨＧ創英角ゴシックＵＢ";
    TFont font;
    font.SetName(name);
    EXPECT_EQ(font.Handle().lfFaceName, name);
    LOGFONT record = font.Handle();
    TFont copy;
    copy.SetHandle(record);
    EXPECT_EQ(copy.Name(), name);

    // The drawing finds the font of that name, not a fallback.
    QFont::insertSubstitution(QString::fromStdString(name), "IPAPMincho");
    record.lfHeight = -40;
    EXPECT_EQ(QFontInfo(QFontFromLogFont(record)).family().toStdString(), "IPAPMincho");
    QFont::removeSubstitutions(QString::fromStdString(name));
}

TEST(Font, CopyTakesPropertiesNotTheListener)
{
    int changes = 0;
    TFont held;
    held.OnChange = [&changes] { ++changes; };
    held.SetHeight(-40);
    EXPECT_EQ(changes, 1);
    TFont copy = held;
    copy.SetHeight(-20);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Height(), -20);
    held.Assign(copy);
    EXPECT_EQ(changes, 2);
}

TEST(Font, StoredWindowsNamesDrawWithTheIpaFonts)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},
        {"ＭＳ 明朝", "IPAMincho"},
    };
    for (const auto& [stored, installed] : pairs) {
        LOGFONT record;
        record.lfFaceName = stored;
        record.lfHeight = -40;
        const QFont font = QFontFromLogFont(record);
        EXPECT_EQ(QFontInfo(font).family().toStdString(), installed);
        EXPECT_EQ(QFontInfo(font).pixelSize(), 40);
        EXPECT_TRUE(font.styleStrategy() & QFont::NoAntialias);
    }
}
