#include "pipeline/area_reduction.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

TColor Noise(int x, int y)
{
    return ((static_cast<std::uint32_t>(x) * 2654435761u) ^ (static_cast<std::uint32_t>(y) * 40503u)) * 2246822519u
        & 0xFFFFFF;
}

struct Reduction {
    int result;
    std::string message;
};

Reduction Shrink(TBitmap& bitmap, int w, int h, bool sharpen = false, const bool* abort = nullptr,
                 std::function<void()> pump = {})
{
    PixelPlane plane;
    WorkControl control(abort, std::move(pump));
    std::string message = "left over";
    const int result = ShrinkHighQuality(bitmap, w, h, sharpen, plane, control, message);
    return {result, message};
}

// Both passes written out plainly from their description, pixel by pixel.
void ReferenceShrink(const TBitmap& source, int tW, int tH, bool sharpen, TBitmap& out)
{
    const int sW = source.Width();
    const int sH = source.Height();
    std::vector<int> work(static_cast<std::size_t>(tW) * tH * 3);
    const auto weightsOf = [](std::int64_t startH, std::int64_t endH, int first, int last) {
        std::vector<std::int64_t> weights;
        for (int k = first; k <= last; ++k) {
            if (k == last)
                weights.push_back(endH - last * 100);
            else if (k == first)
                weights.push_back((first + 1) * 100 - startH);
            else
                weights.push_back(100);
        }
        return weights;
    };
    for (int ty = 0; ty < tH; ++ty) {
        for (int tx = 0; tx < tW; ++tx) {
            const std::int64_t x0h = std::int64_t{tx} * sW * 100 / tW;
            const std::int64_t x1h = (std::int64_t{tx} * 100 + 100) * sW / tW - 1;
            const std::int64_t y0h = std::int64_t{ty} * sH * 100 / tH;
            const std::int64_t y1h = (std::int64_t{ty} * 100 + 100) * sH / tH - 1;
            const int x0 = static_cast<int>(x0h / 100), x1 = std::min(static_cast<int>(x1h / 100), sW - 1);
            const int y0 = static_cast<int>(y0h / 100), y1 = std::min(static_cast<int>(y1h / 100), sH - 1);
            const auto wx = weightsOf(x0h, x1h, x0, x1);
            const auto wy = weightsOf(y0h, y1h, y0, y1);
            std::int64_t sum[3] = {0, 0, 0}, weights = 0;
            for (int j = 0; j <= y1 - y0; ++j) {
                for (int i = 0; i <= x1 - x0; ++i) {
                    const TColor c = source.Pixel(x0 + i, y0 + j);
                    const std::int64_t weight = wx[i] * wy[j];
                    sum[0] += weight * GetRValue(c);
                    sum[1] += weight * GetGValue(c);
                    sum[2] += weight * GetBValue(c);
                    weights += weight;
                }
            }
            for (int ch = 0; ch < 3; ++ch)
                work[(static_cast<std::size_t>(ty) * tW + tx) * 3 + ch] = static_cast<int>(std::min<std::int64_t>(sum[ch] / weights, 255));
        }
    }
    const auto at = [&](int x, int y, int ch) { return work[(static_cast<std::size_t>(y) * tW + x) * 3 + ch]; };
    const auto luminance = [](int r, int g, int b) { return (77 * r + 151 * g + 28 * b) / 255; };
    out.SetSize(tW, tH);
    for (int ty = 0; ty < tH; ++ty) {
        for (int tx = 0; tx < tW; ++tx) {
            const int r0 = at(tx, ty, 0), g0 = at(tx, ty, 1), b0 = at(tx, ty, 2);
            if (tx == 0 || ty == 0 || tx == tW - 1 || ty == tH - 1) {
                out.SetPixel(tx, ty, RGB(r0, g0, b0));
                continue;
            }
            int mean[3] = {0, 0, 0};
            const int kernel[3][3] = {{1, 2, 1}, {2, 8, 2}, {1, 2, 1}};
            for (int ch = 0; ch < 3; ++ch) {
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        mean[ch] += kernel[j + 1][i + 1] * at(tx + i, ty + j, ch);
                mean[ch] /= 20;
            }
            const int l0 = luminance(r0, g0, b0);
            const int l = luminance(mean[0], mean[1], mean[2]);
            const int t = sharpen ? l0 - (l - l0) / 2 : l0;
            if (l0 == 0) {
                out.SetPixel(tx, ty, clBlack);
                continue;
            }
            out.SetPixel(tx, ty, RGB(std::clamp(r0 * t / l0, 0, 255), std::clamp(g0 * t / l0, 0, 255),
                                     std::clamp(b0 * t / l0, 0, 255)));
        }
    }
}

void ExpectRefused(int sW, int sH, int tW, int tH, int result, const std::string& message)
{
    TBitmap bitmap, original;
    bitmap.SetSize(sW, sH);
    bitmap.Fill(RGB(1, 2, 3));
    bitmap.SetPixel(sW / 2, sH / 2, clWhite);
    original.Assign(bitmap);
    const Reduction r = Shrink(bitmap, tW, tH);
    EXPECT_EQ(r.result, result) << sW << "x" << sH << " -> " << tW << "x" << tH;
    EXPECT_EQ(r.message, message);
    EXPECT_TRUE(SameBitmap(bitmap, original));
}

}  // namespace

TEST(ShrinkHighQuality, RefusesInTheOrderOfItsTable)
{
    ExpectRefused(1000, 750, 500, 400, -10, "比率が違うので高画質圧縮を中断しました。(幅 500  高さ400)");
    // The aspect test comes before the enlargement test.
    ExpectRefused(800, 600, 800, 500, -10, "比率が違うので高画質圧縮を中断しました。(幅 800  高さ500)");
    ExpectRefused(800, 600, 800, 600, 0, "画像サイズが同じなので高画質圧縮を中断しました。(幅 800  高さ600)");
    ExpectRefused(4801, 3600, 2400, 1800, -12,
                  "元画像が大きすぎるので高画質圧縮を中断しました。(幅 4801  高さ3600)\n"
                  "最大サイズは幅　4800px　高さ4800pxです。");
    ExpectRefused(4800, 3600, 4801, 3601, -13,
                  "縮小後画像が大きすぎるので高画質圧縮を中断しました。(幅 4801  高さ3601)\n"
                  "最大サイズは幅　4800px　高さ4800pxです。");
    ExpectRefused(4800, 3600, 47, 36, -14, "縮小率が大きすぎるので高画質圧縮を中断しました。最大1/100です。");
    ExpectRefused(800, 600, 900, 675, -15, "拡大なので高画質圧縮を中断しました。");
    ExpectRefused(800, 600, 800, 599, -15, "拡大なので高画質圧縮を中断しました。");
    // Empty sizes would divide by zero in the aspect test.
    ExpectRefused(800, 600, 0, 0, -14, "縮小率が大きすぎるので高画質圧縮を中断しました。最大1/100です。");
}

TEST(ShrinkHighQuality, AcceptsRatiosWithinThreeHundredthsAndOneHundredth)
{
    TBitmap bitmap;
    FillBitmap(bitmap, 1000, 750, Noise);
    Reduction r = Shrink(bitmap, 500, 380);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(bitmap.Width(), 500);
    EXPECT_EQ(bitmap.Height(), 380);

    FillBitmap(bitmap, 4800, 3600, [](int, int) { return RGB(10, 200, 30); });
    r = Shrink(bitmap, 48, 36);
    EXPECT_EQ(r.result, 0);
    ASSERT_EQ(bitmap.Width(), 48);
    EXPECT_EQ(bitmap.Pixel(20, 20), RGB(10, 200, 30));
}

TEST(ShrinkHighQuality, HalvingWeighsTheFarCellOneHundredthLess)
{
    // Red lights even columns, green even rows, blue only the top-left of each 2 x 2 block.
    TBitmap bitmap;
    FillBitmap(bitmap, 1000, 750, [](int x, int y) {
        return RGB(x % 2 == 0 ? 255 : 0, y % 2 == 0 ? 255 : 0, x % 2 == 0 && y % 2 == 0 ? 255 : 0);
    });
    ASSERT_EQ(Shrink(bitmap, 500, 375).result, 0);
    // 255*100/199 = 128 (equal weights would give 127); 255*10000/39601 = 64 (not 63).
    for (const TPoint p : {TPoint{0, 0}, TPoint{250, 200}, TPoint{499, 374}})
        EXPECT_EQ(bitmap.Pixel(p.x, p.y), RGB(128, 128, 64)) << p.x << "," << p.y;
}

TEST(ShrinkHighQuality, MatchesThePlainAlgorithm)
{
    struct Case {
        int sW, sH, tW, tH;
        bool sharpen;
    };
    for (const Case c : {Case{300, 3, 100, 1, false}, Case{7, 300, 1, 100, true}, Case{97, 61, 41, 26, true},
                         Case{640, 480, 211, 158, false}, Case{640, 480, 211, 158, true}, Case{4800, 100, 4560, 95, true},
                         // Sums past 32 bits; dark pixels whose luminance rounds to 0.
                         Case{2000, 1500, 40, 30, true}, Case{1000, 750, 600, 450, false}}) {
        TBitmap bitmap, expected;
        // Every third row dark (channels below 8) and all of the 1000-wide
        // case; the steepest case bright, so that its sums pass 32 bits.
        FillBitmap(bitmap, c.sW, c.sH, [&](int x, int y) {
            if (c.sW == 2000)
                return Noise(x, y) | 0xC0C0C0;
            return c.sW == 1000 || y % 3 == 0 ? Noise(x, y) & 0x070707 : Noise(x, y);
        });
        ReferenceShrink(bitmap, c.tW, c.tH, c.sharpen, expected);
        ASSERT_EQ(Shrink(bitmap, c.tW, c.tH, c.sharpen).result, 0);
        EXPECT_TRUE(SameBitmap(bitmap, expected)) << c.sW << "x" << c.sH << " -> " << c.tW << "x" << c.tH;
    }
}

TEST(ShrinkHighQuality, DarkestPixelsBecomeBlackOnlyInside)
{
    // Luminance (77*3)/255 = 0: inside the border the pixel turns black; a
    // one-row target is all border and keeps the first pass.
    TBitmap bitmap;
    FillBitmap(bitmap, 30, 30, [](int, int) { return RGB(3, 0, 0); });
    Shrink(bitmap, 10, 10);
    EXPECT_EQ(bitmap.Pixel(0, 0), RGB(3, 0, 0));
    EXPECT_EQ(bitmap.Pixel(5, 5), clBlack);
    FillBitmap(bitmap, 300, 3, [](int, int) { return RGB(3, 0, 0); });
    Shrink(bitmap, 100, 1);
    EXPECT_EQ(bitmap.Pixel(50, 0), RGB(3, 0, 0));
}

TEST(ShrinkHighQuality, SharpeningKeepsHueAndRange)
{
    // 2 x 2 blocks of one colour reduce to that colour, so the first pass is
    // a 5 x 5 picture with the centre colour among dark neighbours.
    const auto shrinkCentre = [](TColor centre, TColor around) {
        TBitmap bitmap;
        FillBitmap(bitmap, 10, 10, [&](int x, int y) { return x / 2 == 2 && y / 2 == 2 ? centre : around; });
        Shrink(bitmap, 5, 5, true);
        return bitmap.Pixel(2, 2);
    };
    // L0 125, neighbourhood L 65, target 125 + 30 = 155: each channel * 155 / 125.
    EXPECT_EQ(shrinkCentre(RGB(200, 100, 50), RGB(40, 20, 10)), RGB(248, 124, 62));
    // Beyond the range: limited, not wrapped.
    EXPECT_EQ(shrinkCentre(RGB(250, 250, 250), clBlack), clWhite);
    EXPECT_EQ(shrinkCentre(RGB(10, 10, 10), RGB(250, 250, 250)), clBlack);
}

TEST(ShrinkHighQuality, AbortBeforeTheCallLeavesTheBitmap)
{
    for (const int threads : {1, 4}) {
        ScopedWorkerThreads scope(threads);
        TBitmap bitmap, original;
        FillBitmap(bitmap, 800, 600, Noise);
        original.Assign(bitmap);
        const bool abort = true;
        const Reduction r = Shrink(bitmap, 400, 300, true, &abort);
        EXPECT_EQ(r.result, -2);
        EXPECT_EQ(r.message, "");
        EXPECT_TRUE(SameBitmap(bitmap, original));
    }
}

TEST(ShrinkHighQuality, AbortBetweenThePassesLeavesAWhiteTarget)
{
    for (const int threads : {1, 4}) {
        ScopedWorkerThreads scope(threads);
        TBitmap bitmap;
        FillBitmap(bitmap, 800, 600, Noise);
        bool abort = false;
        int pumps = 0;
        // The timed pumps of a slow first pass (a loaded machine, sanitizers)
        // come before the resize and are not the one under test.
        const Reduction r = Shrink(bitmap, 400, 300, true, &abort, [&] {
            ++pumps;
            abort = bitmap.Width() == 400;
        });
        EXPECT_EQ(r.result, -2);
        EXPECT_GE(pumps, 1);
        ASSERT_EQ(bitmap.Width(), 400);
        EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
        EXPECT_EQ(bitmap.Pixel(399, 299), clWhite);
    }
}

TEST(ShrinkHighQuality, ThreadsGiveTheSingleThreadedResult)
{
    struct Case {
        int sW, sH, tW, tH;
    };
    // Sharpening counts nine reads a pixel, so both passes are split.
    for (const Case c : {Case{1000, 750, 500, 375}, Case{1234, 567, 1000, 460}, Case{999, 1333, 600, 800}}) {
        TBitmap source, one, many;
        FillBitmap(source, c.sW, c.sH, Noise);
        one.Assign(source);
        many.Assign(source);
        {
            ScopedWorkerThreads threads(1);
            ASSERT_EQ(Shrink(one, c.tW, c.tH, true).result, 0);
        }
        {
            ScopedWorkerThreads threads(5);
            ASSERT_EQ(Shrink(many, c.tW, c.tH, true).result, 0);
        }
        EXPECT_TRUE(SameBitmap(one, many)) << c.sW;
    }
}

TEST(ShrinkHighQuality, AWindowReducedInPlaceOfItsCopyGivesTheSamePixels)
{
    TBitmap picture;
    FillBitmap(picture, 900, 700, Noise);
    const TRect window{130, 45, 130 + 640, 45 + 480};
    for (bool sharpen : {false, true}) {
        TBitmap copy;
        FillBitmap(copy, window.Width(), window.Height(),
                   [&](int x, int y) { return picture.Pixel(window.Left + x, window.Top + y); });
        ASSERT_EQ(Shrink(copy, 300, 225, sharpen).result, 0);
        TBitmap into;
        PixelPlane plane;
        WorkControl control;
        std::string message;
        ASSERT_EQ(ShrinkHighQualityInto(picture, window, into, 300, 225, sharpen, plane, control, message), 0);
        EXPECT_TRUE(SameBitmap(into, copy)) << "sharpen " << sharpen;
    }
    // The same size gives the window's own pixels.
    TBitmap same;
    PixelPlane plane;
    WorkControl control;
    std::string message;
    ASSERT_EQ(ShrinkHighQualityInto(picture, window, same, 640, 480, false, plane, control, message), 0);
    EXPECT_EQ(same.Pixel(0, 0), picture.Pixel(130, 45));
    EXPECT_EQ(same.Pixel(639, 479), picture.Pixel(769, 524));
}
