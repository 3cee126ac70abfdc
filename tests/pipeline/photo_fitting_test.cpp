#include "pipeline/photo_fitting.h"

#include <gtest/gtest.h>

namespace {

void ExpectCrop(int sW, int sH, int eW, int eH, float w, float h)
{
    const CropSize crop = CropSizeFor(sW, sH, eW, eH);
    EXPECT_EQ(crop.w, w) << sW << "x" << sH << " in " << eW << "x" << eH;
    EXPECT_EQ(crop.h, h) << sW << "x" << sH << " in " << eW << "x" << eH;
}

}  // namespace

TEST(PhotoFitting, SquaresCountAsLandscapeWhenChoosingTheTurn)
{
    EXPECT_TRUE(NeedsQuarterTurn(3000, 4000, 1800, 1200));
    EXPECT_FALSE(NeedsQuarterTurn(4000, 3000, 1800, 1200));
    EXPECT_TRUE(NeedsQuarterTurn(4000, 3000, 1200, 1800));
    EXPECT_TRUE(NeedsQuarterTurn(3000, 3000, 1200, 1800));
    EXPECT_FALSE(NeedsQuarterTurn(3000, 3000, 1800, 1200));
    EXPECT_TRUE(NeedsQuarterTurn(3000, 4000, 1500, 1500));
    EXPECT_FALSE(NeedsQuarterTurn(4000, 3000, 1500, 1500));
}

TEST(PhotoFitting, PreviewCopyTakesTheAreasLongerSide)
{
    EXPECT_EQ(PreviewCopySize(4000, 3000, 685), (TPoint{685, 513}));
    EXPECT_EQ(PreviewCopySize(3000, 4000, 685), (TPoint{513, 685}));
    EXPECT_EQ(PreviewCopySize(1000, 1000, 685), (TPoint{685, 685}));
    EXPECT_EQ(PreviewCopySize(3000, 2, 685), (TPoint{685, 1}));
    EXPECT_EQ(PreviewCopySize(2, 3000, 685), (TPoint{1, 685}));
}

TEST(PhotoFitting, CropTableRows)
{
    // Landscape photo, landscape area: the largest window, limited by width or by height.
    ExpectCrop(4000, 3000, 1500, 922, 4000.0f, 4000.0f * 922.0f / 1500.0f);
    ExpectCrop(6000, 2000, 1500, 922, 2000.0f * 1500.0f / 922.0f, 2000.0f);
    // Landscape photo, upright area: the whole width, taller than the photo.
    ExpectCrop(4000, 3000, 922, 1500, 4000.0f, 4000.0f * 1500.0f / 922.0f);
    // Upright or square photo, landscape area: the whole width.
    ExpectCrop(3000, 4000, 1500, 922, 3000.0f, 3000.0f * 922.0f / 1500.0f);
    ExpectCrop(3000, 3000, 1500, 922, 3000.0f, 3000.0f * 922.0f / 1500.0f);
    // Upright photo, upright area: the largest window again.
    ExpectCrop(3000, 4000, 922, 1500, 4000.0f * 922.0f / 1500.0f, 4000.0f);
    ExpectCrop(2000, 6000, 922, 1500, 2000.0f, 2000.0f * 1500.0f / 922.0f);
}

TEST(PhotoFitting, OffsetsScaleByTheWidthRatio)
{
    EXPECT_EQ(PreviewOffset(100, 50, 685, 1500), (TPoint{45, 22}));
    EXPECT_EQ(PreviewOffset(-100, -50, 685, 1500), (TPoint{-45, -22}));
    EXPECT_EQ(FullSizeOffset(100, 50, CropSize{2458.67f, 4000.0f}, 1500), (TPoint{163, 81}));
}

TEST(PhotoFitting, CropWindowAlignmentAndZoom)
{
    const CropSize crop = CropSizeFor(4000, 3000, 1500, 922);  // 4000 x 2458.67
    const TPoint offset{10, 20};
    EXPECT_EQ(CropWindow(crop, false, 1, offset, 4000, 3000, TrimAlignment::Centre), Rect(10, 291, 4010, 2749));
    EXPECT_EQ(CropWindow(crop, false, 1, offset, 4000, 3000, TrimAlignment::None), Rect(10, 291, 4010, 2749));
    EXPECT_EQ(CropWindow(crop, false, 1, offset, 4000, 3000, TrimAlignment::Top), Rect(10, 20, 4010, 2478));
    EXPECT_EQ(CropWindow(crop, false, 1, offset, 4000, 3000, TrimAlignment::Bottom), Rect(10, 562, 4010, 3020));
    // Zoom 2 halves the window only with the correction tools on.
    EXPECT_EQ(CropWindow(crop, true, 2, {0, 0}, 4000, 3000, TrimAlignment::Centre), Rect(1000, 885, 3000, 2114));
    EXPECT_EQ(CropWindow(crop, false, 2, {0, 0}, 4000, 3000, TrimAlignment::Centre), Rect(0, 271, 4000, 2729));
    // A window taller than the picture reaches above it; the halving truncates toward zero.
    const CropSize tall = CropSizeFor(4000, 3000, 922, 1500);
    EXPECT_EQ(CropWindow(tall, false, 1, {0, 0}, 4000, 3000, TrimAlignment::Centre)->Top, -1753);
}

TEST(PhotoFitting, CropIsAtLeastOnePixelAndAtMost16384)
{
    const CropSize crop = CropSizeFor(4000, 3000, 1500, 922);
    // A huge zoom still crops one pixel; a tiny one would ask for a window
    // of any size and gets none.
    EXPECT_EQ(CropWindow(crop, true, 1e9f, {0, 0}, 4000, 3000, TrimAlignment::Top), Rect(1999, 0, 2000, 1));
    EXPECT_FALSE(CropWindow(crop, true, 0.00001f, {0, 0}, 4000, 3000, TrimAlignment::Top));
    // The limit holds for the crop itself, zoom or not: 16384 is built, 16385 is not.
    EXPECT_EQ(CropWindow({16384.9f, 100.0f}, false, 1, {0, 0}, 16384, 100, TrimAlignment::Top)->Width(), 16384);
    EXPECT_FALSE(CropWindow({16385.0f, 100.0f}, false, 1, {0, 0}, 16385, 100, TrimAlignment::Top));
    EXPECT_FALSE(CropWindow({4000.0f, 16385.0f}, false, 1, {0, 0}, 4000, 3000, TrimAlignment::Top));
    EXPECT_FALSE(CropWindow(crop, true, 0.24f, {0, 0}, 4000, 3000, TrimAlignment::Top));
    EXPECT_TRUE(CropWindow(crop, true, 0.25f, {0, 0}, 4000, 3000, TrimAlignment::Top));
}

TEST(PhotoFitting, FarOffsetsAreHeldWithoutOverflow)
{
    // Products beyond 32 bits keep their sign and value before the hold.
    EXPECT_EQ(PreviewOffset(4000000, -4000000, 685, 1500), (TPoint{1826666, -1826666}));
    EXPECT_EQ(PreviewOffset(2147483647, -2147483647 - 1, 685, 1500), (TPoint{kMaxSourceOffset, -kMaxSourceOffset}));
    EXPECT_EQ(FullSizeOffset(3000000, -3000000, CropSize{4000.0f, 2458.67f}, 1500), (TPoint{8000000, -8000000}));
    const std::optional<TRect> far = CropWindow(CropSizeFor(4000, 3000, 1500, 922), false, 1,
                                                {kMaxSourceOffset, -kMaxSourceOffset}, 4000, 3000,
                                                TrimAlignment::Bottom);
    EXPECT_EQ(far->Left, kMaxSourceOffset);
    EXPECT_EQ(far->Top, 3000 - 2458 - kMaxSourceOffset);
}

TEST(PhotoFitting, FallbackAndControlSizes)
{
    EXPECT_EQ(AspectKeptRect(1000, 500, 300, 200), Rect(0, 0, 400, 200));
    EXPECT_EQ(AspectKeptRect(500, 1000, 200, 300), Rect(0, 0, 200, 400));

    EXPECT_EQ(FittedSize(800, 600, 400, 300), (TPoint{400, 300}));
    EXPECT_EQ(FittedSize(800, 400, 400, 300), (TPoint{400, 200}));
    EXPECT_EQ(FittedSize(300, 600, 400, 300), (TPoint{150, 300}));
    // The aspects differ as integers but not as floats: the height limits.
    EXPECT_EQ(FittedSize(100000001, 100000000, 1, 1), (TPoint{1, 1}));
}
