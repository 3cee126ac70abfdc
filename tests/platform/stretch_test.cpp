#include "platform/stretch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/canvas.h"
#include "tests/test_support.h"

namespace {

TColor Grey(int level)
{
    return RGB(level, level, level);
}

// A white 120 x 120 picture with black lines one pixel wide across it at
// these rows, from column 10 to 109.
void DrawLines(TBitmap& picture, std::initializer_list<int> rows)
{
    FillBitmap(picture, 120, 120, [&](int x, int y) {
        return x >= 10 && x < 110 && std::find(rows.begin(), rows.end(), y) != rows.end() ? clBlack : clWhite;
    });
}

}  // namespace

TEST(StretchBitmap, ShrinkingAFlatAreaKeepsItsColour)
{
    TBitmap source, target;
    FillBitmap(source, 37, 23, [](int, int) { return RGB(12, 200, 77); });
    target.SetSize(10, 7);
    target.Fill(clBlack);
    StretchBitmap(source, target, Rect(0, 0, 10, 7));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(target.Pixel(x, y), RGB(12, 200, 77));
}

TEST(StretchBitmap, ShrinkingAveragesTheCoveredArea)
{
    TBitmap source, target;
    // 2:1 averages pairs; an odd sum rounds up.
    FillBitmap(source, 6, 1, [](int x, int) { return Grey(std::array{10, 30, 0, 255, 100, 101}[x]); });
    target.SetSize(3, 1);
    StretchBitmap(source, target, Rect(0, 0, 3, 1));
    EXPECT_EQ(target.Pixel(0, 0), Grey(20));
    EXPECT_EQ(target.Pixel(1, 0), Grey(128));
    EXPECT_EQ(target.Pixel(2, 0), Grey(101));

    // 3 to 2: each target pixel covers one and a half source pixels.
    FillBitmap(source, 3, 1, [](int x, int) { return Grey(std::array{0, 255, 90}[x]); });
    target.SetSize(2, 1);
    StretchBitmap(source, target, Rect(0, 0, 2, 1));
    EXPECT_EQ(target.Pixel(0, 0), Grey(85));   // (2*0 + 255) / 3
    EXPECT_EQ(target.Pixel(1, 0), Grey(145));  // (255 + 2*90) / 3

    // Both axes: each 2 x 2 block.
    FillBitmap(source, 4, 4, [](int x, int y) { return Grey((x + 4 * y) * 16); });
    target.SetSize(2, 2);
    StretchBitmap(source, target, Rect(0, 0, 2, 2));
    EXPECT_EQ(target.Pixel(0, 0), Grey((0 + 16 + 64 + 80) / 4));
    EXPECT_EQ(target.Pixel(1, 1), Grey((160 + 176 + 224 + 240) / 4));
}

TEST(StretchBitmap, EnlargingReplicatesPixels)
{
    TBitmap source, target;
    FillBitmap(source, 2, 1, [](int x, int) { return x == 0 ? clRed : clBlue; });
    target.SetSize(4, 3);
    StretchBitmap(source, target, Rect(0, 0, 4, 3));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(target.Pixel(0, y), clRed);
        EXPECT_EQ(target.Pixel(1, y), clRed);
        EXPECT_EQ(target.Pixel(2, y), clBlue);
        EXPECT_EQ(target.Pixel(3, y), clBlue);
    }

    // Shrinking across while growing down: pairs averaged, rows repeated.
    FillBitmap(source, 4, 1, [](int x, int) { return Grey(std::array{10, 30, 200, 100}[x]); });
    target.SetSize(2, 3);
    StretchBitmap(source, target, Rect(0, 0, 2, 3));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(target.Pixel(0, y), Grey(20));
        EXPECT_EQ(target.Pixel(1, y), Grey(150));
    }
}

TEST(StretchBitmap, DestinationOutsideTheTargetIsClipped)
{
    TBitmap source, target;
    FillBitmap(source, 8, 4, [](int x, int y) { return RGB(x * 10, y * 10, 0); });
    target.SetSize(4, 2);
    target.Fill(clWhite);
    // One to one, shifted up-left by (2, 1).
    StretchBitmap(source, target, Rect(-2, -1, 6, 3));
    EXPECT_EQ(target.Pixel(0, 0), RGB(20, 10, 0));
    EXPECT_EQ(target.Pixel(3, 1), RGB(50, 20, 0));

    // Only the part of dest inside the target changes.
    target.SetSize(6, 6);
    target.Fill(clWhite);
    StretchBitmap(source, target, Rect(4, 4, 12, 8));
    EXPECT_EQ(target.Pixel(4, 4), RGB(0, 0, 0));
    EXPECT_EQ(target.Pixel(5, 5), RGB(10, 10, 0));
    EXPECT_EQ(target.Pixel(3, 4), clWhite);
    EXPECT_EQ(target.Pixel(4, 3), clWhite);

    StretchBitmap(source, target, Rect(6, 0, 10, 4));
    StretchBitmap(source, target, Rect(0, 0, 0, 4));
    EXPECT_EQ(target.Pixel(0, 0), clWhite);
}

TEST(StretchBitmap, ThreadsGiveTheSingleThreadedResult)
{
    TBitmap source, one, many;
    FillBitmap(source, 1500, 1000, [](int x, int y) {
        return ((static_cast<std::uint32_t>(x) * 2654435761u) ^ (static_cast<std::uint32_t>(y) * 40503u)) * 2246822519u
            & 0xFFFFFF;
    });
    for (const TRect dest : {Rect(0, 0, 685, 457), Rect(-30, 5, 1900, 800)}) {
        one.SetSize(700, 700);
        many.SetSize(700, 700);
        one.Fill(clWhite);
        many.Fill(clWhite);
        {
            ScopedWorkerThreads threads(1);
            StretchBitmap(source, one, dest);
        }
        {
            ScopedWorkerThreads threads(6);
            StretchBitmap(source, many, dest);
        }
        EXPECT_TRUE(SameBitmap(one, many));
    }
}

TEST(StretchBitmap, RowsDrawnInStripsMatchTheWholeAtEveryBandSize)
{
    // Whole, the rows go in bands of several; through targets a few rows
    // high, each row is a band of its own. Row counts that no band size
    // divides, and thread counts that change the band size.
    TBitmap source, whole, strip;
    FillBitmap(source, 1300, 977, [](int x, int y) {
        return ((static_cast<std::uint32_t>(x) * 2654435761u) ^ (static_cast<std::uint32_t>(y) * 40503u)) * 2246822519u
            & 0xFFFFFF;
    });
    for (const int threads : {1, 2, 3, 7}) {
        ScopedWorkerThreads scope(threads);
        for (const TRect dest : {Rect(0, 0, 611, 459), Rect(-17, -3, 1290, 971)}) {
            whole.SetSize(600, 459);
            whole.Fill(clWhite);
            StretchBitmap(source, whole, dest);
            for (int top = 0; top < 459; top += 5) {
                strip.SetSize(600, 5);
                strip.Fill(clWhite);
                StretchBitmap(source, strip, Rect(dest.Left, dest.Top - top, dest.Right, dest.Bottom - top));
                for (int y = 0; y < 5 && top + y < 459; ++y)
                    ASSERT_EQ(std::memcmp(strip.ScanLine(y), whole.ScanLine(top + y), 600 * 3), 0)
                        << threads << " threads, row " << top + y;
            }
        }
    }
}

TEST(StretchBitmap, PicturesWithAKeyColourKeepOnlyKeyAndInk)
{
    // White key with red ink in single-pixel strokes: shrunk 3:1, 2:1 or by
    // an odd ratio, only white and red arrive, where averaging gives pink.
    TBitmap source, target;
    FillBitmap(source, 90, 60, [](int x, int y) { return x % 3 == 1 || y % 4 == 0 ? clRed : clWhite; });
    source.Transparent = true;
    source.SetTransparentColor(clWhite);
    auto onlyKeyAndInk = [](TColor c) { return c == clWhite || c == clRed; };
    for (const TRect dest : {Rect(0, 0, 30, 20), Rect(0, 0, 45, 30), Rect(0, 0, 41, 27), Rect(-5, 3, 200, 30)}) {
        target.SetSize(60, 40);
        target.Fill(clBlack);
        target.Canvas()->StretchDraw(dest, source);
        const TRect drawn{std::max(dest.Left, 0), std::max(dest.Top, 0), std::min(dest.Right, 60),
                          std::min(dest.Bottom, 40)};
        EXPECT_EQ(CountPixels(target, onlyKeyAndInk), drawn.Width() * drawn.Height()) << dest.Right;
    }
    // Enlarged both ways, each target pixel is the source pixel under its centre.
    target.SetSize(180, 120);
    target.Canvas()->StretchDraw(Rect(0, 0, 180, 120), source);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 180; ++x)
            ASSERT_EQ(target.Pixel(x, y), source.Pixel(x / 2, y / 2)) << x << "," << y;

    // The same picture without a key colour is averaged.
    source.Transparent = false;
    target.Canvas()->StretchDraw(Rect(0, 0, 30, 20), source);
    EXPECT_GT(CountPixels(target, [&](TColor c) { return !onlyKeyAndInk(c); }), 0);
}

TEST(StretchKeyedBitmap, StrokesOnePixelWideShowAtEveryShrink)
{
    // From 1.3:1 down to 7:1, a line at any row of the source: some target
    // row shows it whole, and the turned picture the same for a column.
    TBitmap source, turned, target, across;
    for (const int size : {92, 60, 32, 27, 17}) {
        const int first = (10 * size + 119) / 120;
        const int last = 110 * size / 120;  // exclusive
        for (int row = 40; row < 48; ++row) {
            DrawLines(source, {row});
            FillBitmap(turned, 120, 120, [&](int x, int y) { return source.Pixel(y, x); });
            target.SetSize(size, size);
            StretchKeyedBitmap(source, target, Rect(0, 0, size, size), clWhite);
            across.SetSize(size, size);
            StretchKeyedBitmap(turned, across, Rect(0, 0, size, size), clWhite);
            int whole = 0, wholeDown = 0;
            for (int t = 0; t < size; ++t) {
                bool line = true, lineDown = true;
                for (int c = first; c < last; ++c) {
                    line = line && target.Pixel(c, t) == clBlack;
                    lineDown = lineDown && across.Pixel(t, c) == clBlack;
                }
                whole += line;
                wholeDown += lineDown;
            }
            EXPECT_GE(whole, 1) << size << " row " << row;
            EXPECT_GE(wholeDown, 1) << size << " column " << row;
        }
    }
}

TEST(StretchKeyedBitmap, StrokesTwoTargetPixelsApartStayApart)
{
    // Three lines as far apart as two target pixels, at every phase.
    TBitmap source, target;
    for (const int size : {60, 32, 27, 17}) {
        const int gap = (2 * 120 + size - 1) / size;
        for (int row = 20; row < 20 + gap; ++row) {
            DrawLines(source, {row, row + gap + 1, row + 2 * gap + 2});
            target.SetSize(size, size);
            StretchKeyedBitmap(source, target, Rect(0, 0, size, size), clWhite);
            EXPECT_EQ(RunsDown(target, size / 2, clWhite), 3) << size << " row " << row;
        }
    }
}
