#include "pipeline/histogram_drawing.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"
#include "tests/test_support.h"

namespace {

constexpr int kW = 258;
constexpr int kH = 130;

// A picture of the histogram window's size, not white.
void Prepare(TBitmap& picture)
{
    picture.SetSize(kW, kH);
    picture.Fill(clGray);
}

int ColumnHeight(const TBitmap& picture, int x, TColor colour)
{
    int n = 0;
    for (int y = 0; y < picture.Height(); ++y)
        n += picture.Pixel(x, y) == colour;
    return n;
}

bool AllWhite(const TBitmap& picture)
{
    return CountPixels(picture, [](TColor c) { return c == clWhite; }) == picture.Width() * picture.Height();
}

}  // namespace

TEST(HistogramDrawing, PeakSkipsTheEndLevelsAndLevelsEmptyInTheChannel)
{
    HistogramSet set{};
    set.counts[0][0] = 900;
    set.counts[255][0] = 900;
    EXPECT_EQ(HistogramPeak(set, 0), 0);
    set.counts[10][0] = 5;
    set.counts[10][2] = 50;    // counts at a level the channel has
    set.counts[20][1] = 1000;  // not: the luminance is empty there
    EXPECT_EQ(HistogramPeak(set, 0), 50);
    EXPECT_EQ(HistogramPeak(set, 1), 1000);
    EXPECT_EQ(HistogramPeak(set, 3), 0);
    EXPECT_EQ(HistogramHeight(25, 50), 64);
    EXPECT_EQ(HistogramHeight(3'000'000'000LL, 7), 54'857'142'857LL);
}

TEST(HistogramDrawing, WithoutAPeakThePictureIsOnlyWhite)
{
    HistogramSet set{};
    set.counts[0][0] = set.counts[0][1] = set.counts[0][2] = set.counts[0][3] = 400;
    set.counts[255][0] = set.counts[255][1] = set.counts[255][2] = set.counts[255][3] = 400;
    TBitmap picture;
    Prepare(picture);
    EXPECT_FALSE(DrawHistogram(picture, set, 0, {}));
    EXPECT_TRUE(AllWhite(picture));
}

TEST(HistogramDrawing, BarsStandOnTheBaseLineScaledToThePeak)
{
    HistogramSet set{};
    set.counts[0][0] = 100'000;  // far above the top: the whole column
    set.counts[40][0] = 200;
    set.counts[41][0] = 100;
    set.counts[42][0] = 1;       // 1 * 128 / 200 = 0: nothing
    TBitmap picture;
    Prepare(picture);
    ASSERT_TRUE(DrawHistogram(picture, set, 0, {true, false, false, false}));
    EXPECT_EQ(ColumnHeight(picture, 1, clBlack), kH);
    EXPECT_EQ(ColumnHeight(picture, 41, clBlack), 128);
    EXPECT_EQ(picture.Pixel(41, 129), clBlack);
    EXPECT_EQ(picture.Pixel(41, 1), clWhite);
    EXPECT_EQ(ColumnHeight(picture, 42, clBlack), 64);
    EXPECT_EQ(ColumnHeight(picture, 43, clBlack), 0);
    EXPECT_EQ(ColumnHeight(picture, 0, clBlack), 0);
    // A channel outside 0..3 is the luminance.
    TBitmap other;
    Prepare(other);
    ASSERT_TRUE(DrawHistogram(other, set, 7, {true, false, false, false}));
    EXPECT_TRUE(SameBitmap(picture, other));
}

TEST(HistogramDrawing, CurvesComeInTheirColoursAfterTheBars)
{
    HistogramSet set{};
    for (int level = 1; level < 255; ++level)
        set.counts[level][0] = set.counts[level][1] = set.counts[level][2] = set.counts[level][3] = 64;
    TBitmap picture;
    Prepare(picture);
    ASSERT_TRUE(DrawHistogram(picture, set, 0, {}));
    // Every channel is flat at height 128; blue, drawn last, lies on top.
    EXPECT_EQ(picture.Pixel(100, 1), RGB(0, 0, 255));
    EXPECT_EQ(picture.Pixel(100, 2), clBlack);
    EXPECT_EQ(picture.Pixel(1, 129), RGB(0, 0, 255));  // from the base line up to level 0
    for (const auto& [layers, colour] : {std::pair{HistogramLayers{false, true, false, false}, RGB(255, 0, 0)},
                                         std::pair{HistogramLayers{false, false, true, false}, RGB(0, 128, 0)}}) {
        ASSERT_TRUE(DrawHistogram(picture, set, 0, layers));
        EXPECT_EQ(picture.Pixel(100, 1), colour);
        EXPECT_EQ(picture.Pixel(100, 2), clWhite);
    }
    ASSERT_TRUE(DrawHistogram(picture, set, 0, {false, false, false, false}));
    EXPECT_TRUE(AllWhite(picture));
}

TEST(HistogramDrawing, HeightsFarAboveTheTopDrawAsTheyWouldUnheld)
{
    // Level 0 at 20000 pixels high and level 255 likewise: drawn in full by
    // the canvas as the reference, held by the drawing.
    HistogramSet set{};
    for (int level = 1; level < 255; ++level)
        set.counts[level][0] = set.counts[level][1] = (level * 37) % 100 + 1;
    set.counts[0][0] = set.counts[0][1] = 100 * 20000 / 128;
    set.counts[255][1] = 100 * 20000 / 128;
    TBitmap held;
    Prepare(held);
    ASSERT_TRUE(DrawHistogram(held, set, 0, {true, true, false, false}));

    TBitmap reference;
    reference.SetSize(kW, kH);
    reference.Fill(clWhite);
    TCanvas& canvas = *reference.Canvas();
    const int peak = HistogramPeak(set, 0);
    auto y = [&](int level, int k) { return 129 - static_cast<int>(HistogramHeight(set.counts[level][k], peak)); };
    canvas.Pen.Color = clBlack;
    for (int level = 0; level < 256; ++level) {
        canvas.MoveTo(level + 1, 129);
        canvas.LineTo(level + 1, y(level, 0));
    }
    canvas.Pen.Color = RGB(255, 0, 0);
    canvas.MoveTo(1, 129);
    for (int level = 0; level < 256; ++level)
        canvas.LineTo(level + 1, y(level, 1));
    EXPECT_TRUE(SameBitmap(held, reference));
}
