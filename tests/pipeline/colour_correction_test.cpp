#include "pipeline/colour_correction.h"

#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// The red channel of a grey level after the correction.
int Corrected(int level, const ColourCorrection& cc)
{
    TBitmap bitmap;
    FillBitmap(bitmap, 1, 1, [&](int, int) { return RGB(level, level, level); });
    ApplyColourCorrection(bitmap, cc);
    return GetRValue(bitmap.Pixel(0, 0));
}

}  // namespace

TEST(ColourCorrection, NeutralSettingsLeaveThePhoto)
{
    TBitmap bitmap, original;
    FillBitmap(bitmap, 64, 64, [](int x, int y) { return RGB(x * 4, y * 4, (x * y) & 255); });
    original.Assign(bitmap);
    ApplyColourCorrection(bitmap, ColourCorrection{});
    EXPECT_TRUE(SameBitmap(bitmap, original));
}

TEST(ColourCorrection, GainFactors)
{
    ColourCorrection cc = ColourCorrection{};
    cc.redGain = -254;  // factor 2/256
    EXPECT_EQ(Corrected(255, cc), 1);
    EXPECT_EQ(Corrected(128, cc), 1);
    EXPECT_EQ(Corrected(127, cc), 0);
    cc.redGain = -255;  // used as -254
    EXPECT_EQ(Corrected(128, cc), 1);
    cc.redGain = 255;  // factor 1 + 255/256
    EXPECT_EQ(Corrected(100, cc), 199);
    EXPECT_EQ(Corrected(127, cc), 253);
    EXPECT_EQ(Corrected(128, cc), 255);

    // Strength 5 turns a gain of -100 into a negative factor: the channel goes to 0.
    cc.redGain = -100;
    cc.strength = 5.0;
    EXPECT_EQ(Corrected(255, cc), 0);

}

TEST(ColourCorrection, BrightnessAndContrast)
{
    ColourCorrection cc = ColourCorrection{};
    cc.brightnessPos = 400;  // times 1.4
    EXPECT_EQ(Corrected(100, cc), 140);
    EXPECT_EQ(Corrected(101, cc), 141);
    EXPECT_EQ(Corrected(200, cc), 255);

    cc = ColourCorrection{};
    cc.median = 100;
    cc.contrastPos = 200;  // away from the median by 1.2
    EXPECT_EQ(Corrected(150, cc), 160);
    EXPECT_EQ(Corrected(50, cc), 40);
    EXPECT_EQ(Corrected(0, cc), 0);
    cc.contrastPos = 0;  // toward it by 0.8
    EXPECT_EQ(Corrected(150, cc), 140);
    EXPECT_EQ(Corrected(50, cc), 60);
    // The pivot of an empty histogram.
    cc.contrastPos = 200;
    cc.median = 128;
    EXPECT_EQ(Corrected(100, cc), 94);
}

TEST(ColourCorrection, EveryPixelFollowsTheDoubleArithmetic)
{
    // Each channel computed pixel by pixel in double, as the correction is defined.
    const ColourCorrection cc{37, -200, 255, 2.3, 123, 400, 171, 200, 97};
    const auto expected = [&](int value, int gain) {
        const double k = 1 + std::max(gain, -254) / 256.0 * cc.strength;
        double x = value;
        x = x * k;
        x = x * (1 + (cc.brightnessPos - cc.brightnessMax / 2) * 0.002);
        x = (x - cc.median) * (1 + (cc.contrastPos - cc.contrastMax / 2) * 0.002) + cc.median;
        return std::clamp(static_cast<int>(x), 0, 255);
    };
    TBitmap bitmap;
    const auto colour = [](int x, int y) {
        return static_cast<TColor>((static_cast<std::uint32_t>(x * 131 + y * 977) * 2654435761u) & 0xFFFFFF);
    };
    FillBitmap(bitmap, 97, 53, colour);
    ApplyColourCorrection(bitmap, cc);
    for (int y = 0; y < 53; ++y) {
        for (int x = 0; x < 97; ++x) {
            const TColor before = colour(x, y);
            ASSERT_EQ(bitmap.Pixel(x, y), RGB(expected(GetRValue(before), cc.redGain),
                                              expected(GetGValue(before), cc.greenGain),
                                              expected(GetBValue(before), cc.blueGain)));
        }
    }
}
