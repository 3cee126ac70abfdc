#include "pipeline/rotation.h"

#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TColor Noise(int x, int y)
{
    return ((static_cast<std::uint32_t>(x) * 2654435761u) ^ (static_cast<std::uint32_t>(y) * 40503u)) * 2246822519u
        & 0xFFFFFF;
}

// The smoothing mean written out plainly: 1 2 1 / 2 4 2 / 1 2 1 over the
// neighbours inside the picture.
TColor ReferenceMean(const TBitmap& b, int x, int y)
{
    int sum[3] = {0, 0, 0};
    int weights = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (x + dx < 0 || y + dy < 0 || x + dx >= b.Width() || y + dy >= b.Height())
                continue;
            const int weight = (2 - std::abs(dx)) * (2 - std::abs(dy));
            const TColor c = b.Pixel(x + dx, y + dy);
            sum[0] += weight * GetRValue(c);
            sum[1] += weight * GetGValue(c);
            sum[2] += weight * GetBValue(c);
            weights += weight;
        }
    }
    return RGB(sum[0] / weights, sum[1] / weights, sum[2] / weights);
}

// The inverse mapping of one destination pixel, straight from its formula.
TPoint ReferenceSource(int j, int i, int w, int h, double angle)
{
    const double radians = 3.141592 * angle / 180;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double dx = j - w / 2;
    const double dy = h - i - h / 2;
    const double u = dx * c - dy * s;
    const double v = dx * s + dy * c;
    return {static_cast<int>(std::trunc(u)) + w / 2, h - static_cast<int>(std::trunc(v)) - h / 2};
}

}  // namespace

TEST(RotatePoint, PiOfSixDigitsLosesAPixelAtNinetyDegrees)
{
    EXPECT_EQ(RotatePoint(100, 25, 100, 50, 90), (TPoint{50, 74}));
    EXPECT_EQ(RotatePoint(0, 0, 100, 50, 90), (TPoint{74, -25}));
    EXPECT_EQ(RotatePoint(100, 0, 100, 50, 90), (TPoint{75, 74}));
    EXPECT_EQ(RotatePoint(0, 50, 100, 50, 90), (TPoint{25, -24}));
    EXPECT_EQ(RotatePoint(100, 50, 100, 50, 90), (TPoint{26, 75}));
}

TEST(RotatedRectBounds, TurnsAboutTheCentre)
{
    EXPECT_EQ(RotatedRectBounds(Rect(0, 0, 100, 50), 0), Rect(0, 0, 100, 50));
    // 50 wide, 100 high, centred on (50, 25).
    EXPECT_EQ(RotatedRectBounds(Rect(0, 0, 100, 50), 90), Rect(25, -25, 75, 75));
}

TEST(RotateByAngle, ZeroReproducesSmallPicturesAndSmoothsLargeOnes)
{
    TBitmap small, large, out;
    FillBitmap(small, 37, 21, Noise);
    EXPECT_EQ(RotateByAngle(small, out, 0), 0);
    EXPECT_TRUE(SameBitmap(out, small));

    // 1200 in one side is enough for the 3 x 3 mean, edges included.
    FillBitmap(large, 1200, 4, Noise);
    out.SetSize(1, 1);
    RotateByAngle(large, out, 0);
    ASSERT_EQ(out.Width(), 1200);
    ASSERT_EQ(out.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 1200; ++x)
            ASSERT_EQ(out.Pixel(x, y), ReferenceMean(large, x, y)) << x << "," << y;
}

TEST(RotateByAngle, NinetyDegreesTurnsClockwiseWithBlackOutside)
{
    // Quadrants: top-left red, top-right green, bottom-left blue, bottom-right white.
    TBitmap square, out;
    FillBitmap(square, 10, 10, [](int x, int y) {
        if (y < 5)
            return x < 5 ? clRed : clLime;
        return x < 5 ? clBlue : clWhite;
    });
    RotateByAngle(square, out, 90);
    EXPECT_EQ(out.Pixel(2, 2), clBlue);
    EXPECT_EQ(out.Pixel(7, 2), clRed);
    EXPECT_EQ(out.Pixel(7, 7), clLime);
    EXPECT_EQ(out.Pixel(2, 7), clWhite);
    // The left column below the middle maps one row past the source's bottom.
    EXPECT_EQ(out.Pixel(0, 9), clBlack);
    EXPECT_EQ(out.Pixel(0, 4), clBlue);
}

TEST(RotateQuarterTurns, FollowsTheTurnTable)
{
    TBitmap source;
    FillBitmap(source, 3, 2, [](int x, int y) { return static_cast<TColor>(10 * y + x + 1); });
    const auto turn = [](const TBitmap& from, double angle, TBitmap& to) {
        const bool quarter = angle == 90 || angle == 270 || angle == -90;
        to.SetSize(quarter ? from.Height() : from.Width(), quarter ? from.Width() : from.Height());
        RotateQuarterTurns(from, to, angle);
    };
    TBitmap cw, ccw, minus, back, half, copy;
    turn(source, 90, cw);
    // Clockwise: the left column (1 above 11) becomes the top row, right to left.
    EXPECT_EQ(cw.Pixel(0, 0), 11u);
    EXPECT_EQ(cw.Pixel(1, 0), 1u);
    EXPECT_EQ(cw.Pixel(1, 2), 3u);
    turn(source, 270, ccw);
    EXPECT_EQ(ccw.Pixel(0, 0), 3u);
    turn(source, -90, minus);
    EXPECT_TRUE(SameBitmap(minus, ccw));
    turn(cw, 270, back);
    EXPECT_TRUE(SameBitmap(back, source));
    turn(source, 180, half);
    EXPECT_EQ(half.Pixel(0, 0), 13u);
    turn(source, 45, copy);
    EXPECT_TRUE(SameBitmap(copy, source));
}

// The turns that swap the axes go in tiles: every pixel lands where the
// table puts it, for sizes that are and are not whole tiles, split over
// threads and not.
TEST(RotateQuarterTurns, TiledTurnsMoveEveryPixelByTheTable)
{
    TBitmap source, out;
    for (const TPoint size : {TPoint{97, 203}, TPoint{1000, 35}, TPoint{16, 16}, TPoint{17, 33}})
        for (double angle : {90.0, 270.0})
            for (int threads : {1, 6}) {
                ScopedWorkerThreads scope(threads);
                FillBitmap(source, size.x, size.y, Noise);
                out.SetSize(size.y, size.x);
                RotateQuarterTurns(source, out, angle);
                const int dW = out.Width();
                const int dH = out.Height();
                int wrong = 0;
                for (int i = 0; i < dH; ++i)
                    for (int j = 0; j < dW; ++j) {
                        const TPoint s = angle == 90 ? TPoint{i, dW - 1 - j} : TPoint{dH - 1 - i, j};
                        wrong += out.Pixel(j, i) != source.Pixel(s.x, s.y);
                    }
                EXPECT_EQ(wrong, 0) << size.x << "x" << size.y << " by " << angle << ", " << threads << " threads";
            }
}

TEST(RotateQuarterTurns, PositionsOutsideTheSourceAreBlack)
{
    TBitmap source, out;
    FillBitmap(source, 3, 2, [](int, int) { return clWhite; });
    out.SetSize(4, 4);
    out.Fill(clRed);
    RotateQuarterTurns(source, out, 0);
    EXPECT_EQ(out.Pixel(2, 1), clWhite);
    EXPECT_EQ(out.Pixel(3, 0), clBlack);
    EXPECT_EQ(out.Pixel(0, 2), clBlack);
}

TEST(Rotation, PhotosLargerThan4800AreTurned)
{
    TBitmap photo, upright, tilted;
    FillBitmap(photo, 5000, 3000, Noise);
    upright.SetSize(3000, 5000);
    EXPECT_EQ(RotateQuarterTurns(photo, upright, 270), 0);
    for (const TPoint p : {TPoint{0, 0}, TPoint{2999, 0}, TPoint{0, 4999}, TPoint{2999, 4999}, TPoint{1234, 4321}})
        EXPECT_EQ(upright.Pixel(p.x, p.y), photo.Pixel(4999 - p.y, p.x));

    EXPECT_EQ(RotateByAngle(upright, tilted, 1), 0);
    ASSERT_EQ(tilted.Width(), 3000);
    ASSERT_EQ(tilted.Height(), 5000);
    int black = 0;
    for (int n = 0; n < 3000; ++n) {
        const int j = (n * 7919) % 3000;
        const int i = (n * 104729) % 5000;
        const TPoint s = ReferenceSource(j, i, 3000, 5000, 1);
        const bool inside = s.x >= 0 && s.y >= 0 && s.x < 3000 && s.y < 5000;
        black += inside ? 0 : 1;
        ASSERT_EQ(tilted.Pixel(j, i), inside ? ReferenceMean(upright, s.x, s.y) : clBlack) << j << "," << i;
    }
    EXPECT_GT(black, 0);
    EXPECT_EQ(tilted.Pixel(0, 0), clBlack);
}

TEST(Rotation, ThreadsGiveTheSingleThreadedResult)
{
    TBitmap source, one, many, turnedOne, turnedMany;
    for (const TPoint size : {TPoint{1300, 900}, TPoint{640, 480}, TPoint{97, 203}}) {
        FillBitmap(source, size.x, size.y, Noise);
        turnedOne.SetSize(size.y, size.x);
        turnedMany.SetSize(size.y, size.x);
        {
            ScopedWorkerThreads threads(1);
            RotateByAngle(source, one, -7.3);
            RotateQuarterTurns(source, turnedOne, 90);
        }
        {
            ScopedWorkerThreads threads(6);
            RotateByAngle(source, many, -7.3);
            RotateQuarterTurns(source, turnedMany, 90);
        }
        EXPECT_TRUE(SameBitmap(one, many)) << size.x;
        EXPECT_TRUE(SameBitmap(turnedOne, turnedMany)) << size.x;
    }
}

// A large picture turned by a small angle (each tile smoothing what it
// reads) and by a steep one (the whole picture smoothed first) gives, pixel
// by pixel, the 3 x 3 mean around the source pixel of the inverse mapping,
// or black outside.
TEST(RotateByAngle, SmallAndSteepAnglesGiveTheMeanAtTheMappedPixel)
{
    TBitmap source, turned;
    FillBitmap(source, 1300, 701, Noise);
    for (const double angle : {2.0, -0.7, 35.0}) {
        RotateByAngle(source, turned, angle);
        int wrong = 0;
        for (int i = 0; i < source.Height(); ++i)
            for (int j = 0; j < source.Width(); ++j) {
                const TPoint at = ReferenceSource(j, i, source.Width(), source.Height(), angle);
                const bool inside = at.x >= 0 && at.y >= 0 && at.x < source.Width() && at.y < source.Height();
                wrong += turned.Pixel(j, i) != (inside ? ReferenceMean(source, at.x, at.y) : clBlack);
            }
        EXPECT_EQ(wrong, 0) << angle;
    }
}

// Turning a window of a picture placed on a background gives the pixels of
// making that canvas, turning all of it and cutting the window out (beyond
// the canvas, background): small and smoothed canvases, a picture clipped by
// the canvas and one with a ring of background, windows inside and reaching
// out.
TEST(RotateWindowByAngle, GivesTheWindowOfTheTurnedCanvas)
{
    struct Case {
        int pictureW, pictureH, left, top, canvasW, canvasH;
        double angle;
        TRect window;
    };
    const TColor background = RGB(10, 200, 30);
    for (const Case c : {Case{300, 200, 20, 15, 341, 229, 2.5, {5, 7, 300, 210}},
                         Case{1300, 900, 30, 60, 1360, 1021, -7, {-40, 100, 1400, 980}},
                         Case{1250, 700, -1, 0, 1249, 700, 0.2, {0, 0, 1249, 700}},
                         Case{90, 1210, 10, -3, 110, 1205, 12, {50, 600, 60, 610}}}) {
        TBitmap picture, canvas, turned, expected, window, smoothing;
        FillBitmap(picture, c.pictureW, c.pictureH, Noise);
        FillBitmap(canvas, c.canvasW, c.canvasH, [&](int x, int y) {
            const int px = x - c.left;
            const int py = y - c.top;
            return px >= 0 && py >= 0 && px < c.pictureW && py < c.pictureH ? Noise(px, py) : background;
        });
        RotateByAngle(canvas, turned, c.angle);
        FillBitmap(expected, c.window.Width(), c.window.Height(), [&](int x, int y) {
            const int tx = c.window.Left + x;
            const int ty = c.window.Top + y;
            return tx >= 0 && ty >= 0 && tx < c.canvasW && ty < c.canvasH ? turned.Pixel(tx, ty) : background;
        });
        RotateWindowByAngle({&picture, c.left, c.top, c.canvasW, c.canvasH, background}, c.angle, c.window, window,
                            smoothing);
        EXPECT_TRUE(SameBitmap(window, expected)) << c.pictureW << "x" << c.pictureH;
    }
}
