#include "platform/canvas.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "tests/test_support.h"

namespace {

constexpr TColor kInk = 0x1EC80A;  // not grey, so channel mix-ups show

// A white picture whose canvas draws kInk text of 40 pixels without background.
class CanvasText : public ::testing::Test {
protected:
    void SetUp() override
    {
        picture.SetSize(400, 300);
        picture.Fill(clWhite);
        canvas().Font.SetName("ＭＳ Ｐゴシック");
        canvas().Font.SetHeight(-40);
        canvas().Font.SetColor(kInk);
        canvas().Brush.Style = TBrushStyle::bsClear;
    }
    TCanvas& canvas() { return *picture.Canvas(); }
    void setRecord(int width, int escapement)
    {
        LOGFONT record = canvas().Font.Handle();
        record.lfWidth = width;
        record.lfEscapement = escapement;
        canvas().Font.SetHandle(record);
    }
    int measure(const std::string& text)
    {
        TRect rect{5, 7, 0, 0};
        const int height = canvas().DrawText(text, rect, DT_CALCRECT);
        EXPECT_EQ(rect.Bottom - rect.Top, height);
        return rect.Right - rect.Left;
    }
    int inkPixels() { return CountPixels(picture, [](TColor c) { return c == kInk; }); }
    TRect inkBounds() { return PixelBounds(picture, [](TColor c) { return c == kInk; }); }

    TBitmap picture;
};

}  // namespace

TEST_F(CanvasText, GlyphPixelsCarryExactlyTheFontColour)
{
    setRecord(-20, 0);
    canvas().TextOut(10, 10, "Ag漢字 おめでとう");
    setRecord(-27, 300);
    canvas().TextOut(40, 250, "Ag漢字 おめでとう");
    EXPECT_GT(inkPixels(), 1000);
    EXPECT_EQ(CountPixels(picture, [](TColor c) { return c != kInk && c != clWhite; }), 0);
}

TEST_F(CanvasText, MeasuresAdvanceWidthTimesScaleAndOneLineHeight)
{
    TRect rect{5, 7, 0, 0};
    EXPECT_EQ(canvas().DrawText("漢字AB", rect, DT_CALCRECT), 40);
    EXPECT_EQ(rect.Bottom, 47);
    const int natural = rect.Right - rect.Left;
    EXPECT_GT(natural, 100);
    // Record widths of horizontal scales 100, 50 and 150 at height -40.
    setRecord(-20, 0);
    EXPECT_EQ(measure("漢字AB"), natural);
    setRecord(-10, 0);
    EXPECT_NEAR(measure("漢字AB"), natural / 2.0, 1);
    setRecord(-30, 0);
    EXPECT_NEAR(measure("漢字AB"), natural * 1.5, 1);
    EXPECT_EQ(measure(""), 0);
}

TEST_F(CanvasText, DrawTextTakesAmpersandAsPrefixTextOutLiterally)
{
    EXPECT_EQ(measure("A&B"), measure("AB"));
    EXPECT_GT(measure("A&&B"), measure("AB"));
    EXPECT_EQ(measure("&x"), measure("x"));

    TRect rect{20, 20, 300, 80};
    canvas().DrawText("A&&B", rect, DT_NOCLIP | DT_SINGLELINE);
    TBitmap literal;
    literal.SetSize(400, 300);
    literal.Fill(clWhite);
    literal.Canvas()->Font.Assign(canvas().Font);
    literal.Canvas()->Brush.Style = TBrushStyle::bsClear;
    literal.Canvas()->TextOut(20, 20, "A&B");
    EXPECT_TRUE(SameBitmap(picture, literal));

    // "&x" draws x with an underline below it.
    picture.Fill(clWhite);
    canvas().TextOut(20, 20, "x");
    const int plain = inkPixels();
    const TRect glyph = inkBounds();
    picture.Fill(clWhite);
    canvas().DrawText("&x", rect, DT_NOCLIP | DT_SINGLELINE);
    EXPECT_GT(inkPixels(), plain);
    EXPECT_GT(inkBounds().Bottom, glyph.Bottom);
}

TEST_F(CanvasText, UnderlineAndStrikeOutAddLines)
{
    canvas().TextOut(10, 10, "漢字");
    const int plain = inkPixels();
    for (TFontStyles style : {fsUnderline, fsStrikeOut}) {
        picture.Fill(clWhite);
        canvas().Font.SetStyle(style);
        canvas().TextOut(10, 10, "漢字");
        EXPECT_GT(inkPixels(), plain + 40) << style;
    }
}

TEST_F(CanvasText, EscapementTurnsCounterClockwiseAboutTheReferencePoint)
{
    setRecord(0, 900);
    canvas().TextOut(100, 250, "ABCDEFGH");
    const TRect turned = inkBounds();
    // The text runs upwards from (100, 250) with its top to the left.
    EXPECT_GT(turned.Height(), 3 * turned.Width());
    EXPECT_GE(turned.Left, 98);
    EXPECT_LE(turned.Right, 100 + 50);
    EXPECT_LE(turned.Bottom, 252);
    EXPECT_LT(turned.Top, 250 - 120);
}

TEST_F(CanvasText, CentreAlignmentCentresOnThePoint)
{
    EXPECT_EQ(canvas().SetTextAlign(TA_CENTER), TA_LEFT | TA_TOP);
    canvas().TextOut(200, 50, "漢字漢字");
    const TRect centred = inkBounds();
    EXPECT_NEAR((centred.Left + centred.Right) / 2.0, 200, 2);

    // DrawText finds its point as for left-aligned text, then the alignment applies.
    picture.Fill(clWhite);
    TRect rect{100, 100, 100 + measure("漢字漢字"), 140};
    canvas().DrawText("漢字漢字", rect, DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    const TRect drawn = inkBounds();
    EXPECT_NEAR((drawn.Left + drawn.Right) / 2.0, 100, 2);
    EXPECT_EQ(canvas().SetTextAlign(TA_LEFT | TA_TOP), TA_CENTER);
}

TEST_F(CanvasText, SolidBrushFillsTheTextCell)
{
    canvas().Brush.Style = TBrushStyle::bsSolid;
    canvas().Brush.Color = clBlue;
    canvas().TextOut(10, 20, "漢字");
    const TRect cell = PixelBounds(picture, [](TColor c) { return c != clWhite; });
    EXPECT_EQ(cell, Rect(10, 20, 10 + measure("漢字"), 60));
    EXPECT_EQ(CountPixels(picture, [](TColor c) { return c != clWhite && c != clBlue && c != kInk; }), 0);
}
