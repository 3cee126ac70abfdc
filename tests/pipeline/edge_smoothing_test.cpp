#include "pipeline/edge_smoothing.h"

#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// A 12 x 10 white layer on a picture, with text pixels set one by one.
struct Scene {
    explicit Scene(TColor picture = clWhite, int width = 12, int height = 10)
    {
        FillBitmap(layer, width, height, [](int, int) { return clWhite; });
        FillBitmap(background, width, height, [picture](int, int) { return picture; });
    }
    void text(int x, int y, TColor colour = clBlack) { layer.SetPixel(x, y, colour); }
    void smooth(int pattern, TColor colour = clBlack)
    {
        EXPECT_EQ(SmoothTextEdges(layer, background, layer.Width() / 2, layer.Height() / 2, layer.Width(),
                                  layer.Height(), colour, pattern, plane),
                  0);
    }
    // The grey level of a pixel that must be grey.
    int grey(int x, int y) const
    {
        const TColor c = layer.Pixel(x, y);
        EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << x << "," << y;
        return GetRValue(c);
    }

    TBitmap layer;
    TBitmap background;
    PixelPlane plane;
};

// The smoothing swept over the whole region with full planes, step by step
// as designed: clear, copy, classify, reclassify, blend.
void ReferenceSmooth(TBitmap& layer, const TBitmap& background, int cx, int cy, int w, int h, TColor colour,
                     int pattern)
{
    const int bw = background.Width();
    const int bh = background.Height();
    std::vector<std::uint32_t> source(static_cast<std::size_t>(bw) * bh, 0);
    std::vector<int> work(source.size(), 0);
    const auto at = [bh](int x, int y) { return static_cast<std::size_t>(x) * bh + y; };
    const TColor rgb = ColorToRGB(colour);
    const std::uint32_t key = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
    const auto clampEdge = [](int v, int limit) {
        v = v < 1 ? 1 : v;
        return v >= limit - 1 ? limit - 2 : v;
    };
    const int x0 = clampEdge(cx - w / 2, bw), x1 = clampEdge(cx + w / 2, bw);
    const int y0 = clampEdge(cy - h / 2, bh), y1 = clampEdge(cy + h / 2, bh);
    for (int y = y0 - 1; y <= y1; ++y)
        for (int x = x0 - 1; x <= x1; ++x) {
            const TColor c = layer.Pixel(x, y);
            source[at(x, y)] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    const auto isText = [&](int x, int y) { return source[at(x, y)] == key; };
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!isText(x, y))
                continue;
            int counted = 0;
            for (auto [nx, ny] : {std::pair{x, y - 1}, {x - 1, y}, {x + 1, y}, {x, y + 1}})
                if (!isText(nx, ny)) {
                    ++work[at(nx, ny)];
                    ++counted;
                }
            work[at(x, y)] = counted >= 3 ? -2 : -1;
        }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const int n[4] = {work[at(x, y - 1)], work[at(x, y + 1)], work[at(x - 1, y)], work[at(x + 1, y)]};
            if (work[at(x, y)] == 0) {
                int sum = 0;
                for (int v : n)
                    sum += v > 0 ? v : 0;
                if (sum >= 4)
                    work[at(x, y)] = 1;
                if (sum >= 7)
                    work[at(x, y)] = 2;
            }
            if (isText(x, y)) {
                int strong = 0;
                for (int v : n)
                    strong += v >= 2 ? 1 : 0;
                if (strong >= 2)
                    work[at(x, y)] = -2;
            }
        }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!(x > 0 && x < bw - 1 && y > 0 && y < bh - 1))
                continue;
            const int v = work[at(x, y)];
            if (!((v >= 1 && v <= 4) || v == -2))
                continue;
            const EdgeWeight weight = TextEdgeWeights[pattern][v == -2 ? 4 : v - 1];
            const TColor b = background.Pixel(x, y);
            const auto mix = [&](int bc, int kc) {
                const int value = (bc * weight.background + kc * weight.text) / (weight.background + weight.text);
                return value > 255 ? 255 : value;
            };
            layer.SetPixel(x, y, RGB(mix(GetRValue(b), GetRValue(rgb)), mix(GetGValue(b), GetGValue(rgb)),
                                     mix(GetBValue(b), GetBValue(rgb))));
        }
}

}  // namespace

TEST(EdgeSmoothing, BlackOnWhiteGivesTheGreysOfEachPattern)
{
    // Pixels at (5, 5) with 1..4 text neighbours, and the edge text pixel.
    const int expectedA[5] = {204, 127, 85, 63, 51};
    const int expectedD[5] = {127, 42, 31, 25, 0};
    const std::pair<int, int> around[4] = {{4, 5}, {6, 5}, {5, 4}, {5, 6}};
    for (int neighbours = 1; neighbours <= 4; ++neighbours)
        for (int pattern : {0, 3}) {
            Scene scene;
            for (int i = 0; i < neighbours; ++i)
                scene.text(around[i].first, around[i].second);
            scene.smooth(pattern);
            EXPECT_EQ(scene.grey(5, 5), (pattern == 0 ? expectedA : expectedD)[neighbours - 1])
                << neighbours << " neighbours, pattern " << pattern;
        }
    Scene single;
    single.text(5, 5);
    single.smooth(0);
    EXPECT_EQ(single.grey(5, 5), expectedA[4]);
    Scene kept;
    kept.text(5, 5);
    kept.smooth(3);
    EXPECT_EQ(kept.grey(5, 5), expectedD[4]);
}

TEST(EdgeSmoothing, IsolatedPixelGetsAPlusSignOfClassOne)
{
    Scene scene;
    scene.text(5, 5);
    scene.smooth(0);
    for (auto [x, y] : {std::pair{4, 5}, {6, 5}, {5, 4}, {5, 6}})
        EXPECT_EQ(scene.grey(x, y), 204);
    // Diagonal neighbours see 1 + 1 and stay white.
    for (auto [x, y] : {std::pair{4, 4}, {6, 4}, {4, 6}, {6, 6}})
        EXPECT_EQ(scene.grey(x, y), 255);
    EXPECT_EQ(CountPixels(scene.layer, [](TColor c) { return c != clWhite; }), 5);
}

TEST(EdgeSmoothing, SecondPassJoinsPixelsSurroundedByMarkedOnes)
{
    // Above (5, 5) a pixel with two text neighbours, left one with one,
    // right one with one: 2 + 1 + 1 = 4 gives class 1.
    Scene sumFour;
    for (auto [x, y] : {std::pair{5, 3}, {4, 4}, {7, 5}})
        sumFour.text(x, y);
    sumFour.smooth(0);
    EXPECT_EQ(sumFour.grey(5, 5), 204);

    // 3 + 2 + 2 = 7 gives class 2.
    Scene sumSeven;
    for (auto [x, y] : {std::pair{5, 3}, {4, 4}, {6, 4}, {3, 5}, {7, 5}})
        sumSeven.text(x, y);
    sumSeven.smooth(0);
    EXPECT_EQ(sumSeven.grey(5, 5), 127);

    // 2 + 1 = 3 is not enough.
    Scene sumThree;
    for (auto [x, y] : {std::pair{5, 3}, {4, 4}})
        sumThree.text(x, y);
    sumThree.smooth(0);
    EXPECT_EQ(sumThree.grey(5, 5), 255);
}

TEST(EdgeSmoothing, TextBetweenTwoStrongNeighboursBecomesEdge)
{
    // (5, 5) lies inside a horizontal stroke: two open sides, an inner pixel.
    Scene inner;
    for (int x = 3; x <= 7; ++x)
        inner.text(x, 5);
    inner.smooth(0);
    EXPECT_EQ(inner.grey(5, 5), 0);
    // Text above and below its open sides makes them class 2: now it is edge.
    Scene between;
    for (int x = 3; x <= 7; ++x)
        between.text(x, 5);
    between.text(5, 3);
    between.text(5, 7);
    between.smooth(0);
    EXPECT_EQ(between.grey(5, 4), 127);
    EXPECT_EQ(between.grey(5, 5), 51);
}

TEST(EdgeSmoothing, ColouredTextPairsEachChannelWithItsOwn)
{
    Scene scene(RGB(0, 0, 200));
    scene.text(5, 5, clRed);
    scene.text(8, 5, clBlack);  // not the text colour: left alone
    scene.smooth(0, clRed);
    EXPECT_EQ(scene.layer.Pixel(4, 5), RGB(51, 0, 160));
    EXPECT_EQ(scene.layer.Pixel(5, 5), RGB((0 + 255 * 4) / 5, 0, 200 / 5));
    EXPECT_EQ(scene.layer.Pixel(8, 5), clBlack);
    EXPECT_EQ(scene.layer.Pixel(9, 5), clWhite);
}

TEST(EdgeSmoothing, WhiteTextAndOtherPatternsChangeNothing)
{
    Scene white(RGB(10, 20, 30));
    white.smooth(0, clWhite);
    EXPECT_EQ(CountPixels(white.layer, [](TColor c) { return c != clWhite; }), 0);

    for (int pattern : {-1, 4}) {
        Scene scene;
        scene.text(5, 5);
        scene.smooth(pattern);
        EXPECT_EQ(CountPixels(scene.layer, [](TColor c) { return c != clWhite; }), 1);
    }
}

TEST(EdgeSmoothing, FirstRowAndColumnAndLastTwoNeverChange)
{
    Scene scene(RGB(0, 0, 200), 10, 8);
    FillBitmap(scene.layer, 10, 8, [](int x, int y) { return (x + y) % 3 == 0 ? clBlack : clWhite; });
    TBitmap before;
    before.Assign(scene.layer);
    scene.smooth(0);
    int changed = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool border = x == 0 || y == 0 || x >= 8 || y >= 6;
            if (border)
                EXPECT_EQ(scene.layer.Pixel(x, y), before.Pixel(x, y)) << x << "," << y;
            else
                changed += scene.layer.Pixel(x, y) != before.Pixel(x, y);
        }
    EXPECT_GT(changed, 0);
}

TEST(EdgeSmoothing, EqualsTheFullSweepOfTheWholeRegion)
{
    std::mt19937 random(1234);
    const auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const TColor keys[] = {clBlack, clRed, clWhite, RGB(90, 140, 10)};
    PixelPlane plane;
    for (int round = 0; round < 400; ++round) {
        const int w = uniform(3, 40);
        const int h = uniform(3, 40);
        const TColor key = keys[round % 4];
        const int density = uniform(0, 60);
        // Text in clusters and specks, near-misses of the key, some noise.
        const int cx0 = uniform(0, w - 1), cy0 = uniform(0, h - 1);
        TBitmap layer;
        FillBitmap(layer, w, h, [&](int x, int y) {
            const int roll = uniform(0, 99);
            const bool cluster = std::abs(x - cx0) < w / 3 && std::abs(y - cy0) < h / 3;
            if (roll < (cluster ? density : density / 6))
                return key;
            if (roll == 99)
                return key ^ 0x000100;
            return roll == 98 ? RGB(uniform(0, 255), uniform(0, 255), uniform(0, 255)) : clWhite;
        });
        TBitmap background;
        FillBitmap(background, w, h, [&](int, int) { return RGB(uniform(0, 255), uniform(0, 255), uniform(0, 255)); });
        int rx = w / 2, ry = h / 2, rw = w, rh = h;
        if (round % 3 == 0) {
            rx = uniform(-5, w + 5);
            ry = uniform(-5, h + 5);
            rw = uniform(-4, 2 * w);
            rh = uniform(-4, 2 * h);
        }
        const int pattern = uniform(0, 3);
        TBitmap expected;
        expected.Assign(layer);
        ReferenceSmooth(expected, background, rx, ry, rw, rh, key, pattern);
        SmoothTextEdges(layer, background, rx, ry, rw, rh, key, pattern, plane);
        ASSERT_TRUE(SameBitmap(layer, expected)) << "round " << round;
    }
}
