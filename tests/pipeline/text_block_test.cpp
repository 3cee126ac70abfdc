#include "pipeline/text_block.h"

#include <gtest/gtest.h>

#include "pipeline/edge_smoothing.h"
#include "tests/test_support.h"

namespace {

const std::string N = "\\n";

TextBlockStyle Style(TColor colour = clBlack, int angle = 0, int blur = 4)
{
    TextBlockStyle style;
    style.font.SetName("ＭＳ Ｐゴシック");
    style.font.SetSize(30);
    style.font.SetColor(colour);
    style.angle = angle;
    style.lineSpacing = 1.1f;
    style.horizontalScale = 100;
    style.blurPattern = blur;
    return style;
}

// A picture with a pattern of colours, none white.
void Picture(TBitmap& picture, int width = 500, int height = 300)
{
    FillBitmap(picture, width, height, [](int x, int y) { return RGB(x % 200 + 20, y % 180 + 40, (x + y) % 90 + 100); });
}

// The block drawn on a white picture: its text pixels alone.
void TextOnWhite(TBitmap& target, int x, int y, const std::string& text, const TextBlockStyle& style)
{
    FillBitmap(target, 500, 300, [](int, int) { return clWhite; });
    TBitmap layer;
    PixelPlane plane;
    DrawTextBlock(layer, target, x, y, text, style, plane);
}

TextBlockLayout Measured(const std::string& text, const TextBlockStyle& style)
{
    TBitmap scratch;
    return LayOutTextBlock(*scratch.Canvas(), text, style);
}

TRect Ink(const TBitmap& picture, TColor colour = clBlack)
{
    return PixelBounds(picture, [colour](TColor c) { return c == colour; });
}

}  // namespace

TEST(TextBlock, FontRecordTakesScaleAndAngle)
{
    TBitmap scratch;
    TextBlockStyle style = Style(clBlack, 405);
    style.horizontalScale = 150;
    const TextBlockLayout layout = LayOutTextBlock(*scratch.Canvas(), "漢字" + N + "AB" + N + "C", style);
    const LOGFONT record = scratch.Canvas()->Font.Handle();
    EXPECT_EQ(record.lfHeight, -40);
    EXPECT_EQ(record.lfWidth, -30);
    EXPECT_EQ(record.lfEscapement, 450);
    EXPECT_EQ(layout.angle, 45);
    EXPECT_EQ(layout.lineH, 40);
    EXPECT_EQ(layout.blockH, 128);
    EXPECT_NEAR(layout.maxW, Measured("漢字", Style()).maxW * 1.5, 1);
}

TEST(TextBlock, SingleLineStartsExactlyAtTheGivenPoint)
{
    TBitmap target;
    TextOnWhite(target, 37, 50, "漢字AB", Style());
    TBitmap expected;
    FillBitmap(expected, 500, 300, [](int, int) { return clWhite; });
    TCanvas& canvas = *expected.Canvas();
    canvas.Font.Assign(Style().font);
    LOGFONT record = canvas.Font.Handle();
    record.lfWidth = -20;
    canvas.Font.SetHandle(record);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(37, 50, "漢字AB");
    EXPECT_TRUE(SameBitmap(target, expected));
}

TEST(TextBlock, LinesAreCentredInTheWidestAndSpacedByTheFactor)
{
    const std::string text = "漢字漢字" + N + "字";
    const TextBlockLayout layout = Measured(text, Style());
    TBitmap target;
    TextOnWhite(target, 20, 30, text, Style());
    const TRect first = PixelBounds(target, [](TColor c) { return c == clBlack; });
    // The second line's top is 30 + trunc(40 * 1.1) = 74.
    TBitmap lower;
    lower.Assign(target);
    for (int y = 0; y < 74; ++y)
        for (int x = 0; x < 500; ++x)
            lower.SetPixel(x, y, clWhite);
    const TRect second = Ink(lower);
    EXPECT_LT(first.Top, 74);
    EXPECT_GE(second.Top, 74);
    EXPECT_LT(second.Bottom, 74 + 40);
    EXPECT_NEAR((second.Left + second.Right) / 2.0, 20 + layout.maxW / 2.0, 2);
    EXPECT_NEAR((first.Left + first.Right) / 2.0, 20 + layout.maxW / 2.0, 2);

    // A trailing separator: one line, measured with the backslash and the n,
    // of which only the A is drawn, centred.
    const TextBlockLayout trailing = Measured("A" + N, Style());
    EXPECT_GT(trailing.maxW, Measured("A", Style()).maxW);
    TextOnWhite(target, 20, 30, "A" + N, Style());
    const TRect a = Ink(target);
    TextOnWhite(target, 20, 30, "A", Style());
    EXPECT_EQ(Ink(target).Width(), a.Width());
    EXPECT_NEAR((a.Left + a.Right) / 2.0, 20 + trailing.maxW / 2.0, 2);
}

TEST(TextBlock, PreviewLayerIsTheBoundingBox)
{
    TBitmap layer;
    RenderTextPreviewLayer(layer, "漢字" + N + "AB", Style());
    EXPECT_EQ(layer.Width(), Measured("漢字", Style()).maxW);
    EXPECT_EQ(layer.Height(), 84);
    EXPECT_TRUE(layer.Transparent);
    EXPECT_GT(CountPixels(layer, [](TColor c) { return c == clBlack; }), 100);

    for (const std::string& text : {std::string("漢字AB"), "漢字" + N + "AB"}) {
        const TextBlockLayout turned = Measured(text, Style(clBlack, 30));
        RenderTextPreviewLayer(layer, text, Style(clBlack, 30));
        EXPECT_EQ(layer.Width(), turned.placement.width);
        EXPECT_EQ(layer.Height(), turned.placement.height);
    }
}

TEST(TextBlock, TurnedBlockHasItsBoundingBoxAtThePoint)
{
    for (const std::string& text : {std::string("漢字漢字"), "漢字漢字" + N + "字漢字漢"}) {
        TBitmap target;
        TextOnWhite(target, 100, 60, text, Style(clBlack, 45));
        const TextBlockLayout layout = Measured(text, Style(clBlack, 45));
        const TRect ink = Ink(target);
        EXPECT_GE(ink.Left, 100 - 1);
        EXPECT_GE(ink.Top, 60 - 1);
        EXPECT_LE(ink.Left, 100 + 8);
        EXPECT_LE(ink.Top, 60 + 8);
        EXPECT_LE(ink.Right, 100 + layout.placement.width + 1);
        EXPECT_LE(ink.Bottom, 60 + layout.placement.height + 1);
    }
}

TEST(TextBlock, WhiteTextLeavesNoTrace)
{
    TBitmap picture;
    Picture(picture);
    TBitmap target;
    target.Assign(picture);
    TBitmap layer;
    PixelPlane plane;
    DrawTextBlock(layer, target, 50, 50, "漢字AB", Style(clWhite, 0, 0), plane);
    EXPECT_TRUE(SameBitmap(target, picture));
}

TEST(TextBlock, SmoothingRunsUnlessPatternFour)
{
    const auto grey = RGB(128, 128, 128);
    TBitmap target;
    TBitmap layer;
    PixelPlane plane;
    FillBitmap(target, 300, 100, [grey](int, int) { return grey; });
    DrawTextBlock(layer, target, 10, 10, "漢字AB", Style(clBlack, 0, 4), plane);
    EXPECT_GT(CountPixels(target, [](TColor c) { return c == clBlack; }), 100);
    EXPECT_EQ(CountPixels(target, [grey](TColor c) { return c != clBlack && c != grey; }), 0);

    FillBitmap(target, 300, 100, [grey](int, int) { return grey; });
    DrawTextBlock(layer, target, 10, 10, "漢字AB", Style(clBlack, 0, 0), plane);
    EXPECT_GT(CountPixels(target, [grey](TColor c) { return c != clBlack && c != grey; }), 100);
}

TEST(TextBlock, SmoothedOverlayEqualsSmoothingAndLayingTheWholePicture)
{
    const TextBlockStyle style = Style(RGB(200, 30, 60), 20, 2);
    const std::string text = "漢字" + N + "AB";
    TextBlockStyle unsmoothed = style;
    unsmoothed.blurPattern = 4;
    TBitmap textLayer;
    TextOnWhite(textLayer, 80, 40, text, unsmoothed);
    TBitmap picture;
    Picture(picture);
    PixelPlane wholePlane;
    SmoothTextEdges(textLayer, picture, 250, 150, 500, 300, style.font.Color(), 2, wholePlane);
    TBitmap expected;
    expected.Assign(picture);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 500; ++x)
            if (textLayer.Pixel(x, y) != clWhite)
                expected.SetPixel(x, y, textLayer.Pixel(x, y));

    TBitmap target;
    target.Assign(picture);
    TBitmap layer;
    PixelPlane plane;
    DrawTextBlock(layer, target, 80, 40, text, style, plane);
    EXPECT_TRUE(SameBitmap(target, expected));
}

// The layer is made white only around the text: whatever it held before
// (here the text colour itself, which the smoothing looks for) changes nothing.
TEST(TextBlock, ALayerHoldingAnythingGivesTheSamePicture)
{
    for (int angle : {0, 20}) {
        const TextBlockStyle style = Style(RGB(200, 30, 60), angle, 1);
        const std::string text = "漢字" + N + "AB";
        TBitmap picture;
        Picture(picture);
        TBitmap expected, target;
        expected.Assign(picture);
        target.Assign(picture);
        TBitmap fresh, used;
        PixelPlane plane;
        FillBitmap(fresh, 500, 300, [](int, int) { return clWhite; });
        DrawTextBlock(fresh, expected, 80, 40, text, style, plane);
        FillBitmap(used, 500, 300, [&style](int, int) { return style.font.Color(); });
        DrawTextBlock(used, target, 80, 40, text, style, plane);
        EXPECT_TRUE(SameBitmap(target, expected)) << angle;
    }
}

TEST(TextBlock, UnderlineRunsUnderTheWholeLine)
{
    TextBlockStyle style = Style();
    style.font.SetStyle(fsUnderline);
    TBitmap target;
    TextOnWhite(target, 20, 20, "漢 字", style);
    const int width = Measured("漢 字", style).maxW;
    int longest = 0;
    for (int y = 20; y < 70; ++y) {
        int run = 0;
        for (int x = 0; x < 500; ++x) {
            run = target.Pixel(x, y) == clBlack ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_GE(longest, width - 2);
}
