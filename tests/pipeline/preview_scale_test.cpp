// Preview <-> frame conversions and where each rounds.
#include "pipeline/preview_scale.h"

#include <gtest/gtest.h>

TEST(PreviewScale, ConvertsByTheRatioOfTheFrameWidths)
{
    // Layout 0 in a 900 x 500 preview: 1500 frame pixels show as 685.
    EXPECT_EQ(PreviewToFrame(342, 685, 1500), 748);
    EXPECT_EQ(FrameToPreviewPlace(950, 685, 1500), 433);
    EXPECT_EQ(FrameToPreviewPlace(750, 685, 1500), 342);
    EXPECT_EQ(FrameToPreviewSize(641, 685, 1500), 292);
    EXPECT_EQ(PreviewToFrame(-10, 685, 1500), -21) << "truncated toward zero";
}

TEST(PreviewScale, ThePlaceRoundsTheRatioToFloatFirst)
{
    // 650 / 1000 held as float is 0.64999998: 1340 of them fall below 871,
    // where the double ratio gives 871.
    EXPECT_EQ(FrameToPreviewSize(1340, 650, 1000), 871);
    EXPECT_EQ(FrameToPreviewPlace(1340, 650, 1000), 870);
    EXPECT_EQ(FrameToPreviewSize(625, 664, 1000), 415);
    EXPECT_EQ(FrameToPreviewPlace(625, 664, 1000), 414);
}

TEST(PreviewScale, AZeroWidthGivesZero)
{
    EXPECT_EQ(PreviewToFrame(100, 0, 1500), 0);
    EXPECT_EQ(FrameToPreviewSize(100, 685, 0), 0);
    EXPECT_EQ(FrameToPreviewPlace(100, 685, 0), 0);
}

TEST(PreviewScale, ATextPictureIsHeldWithinItsArea)
{
    const PictureSize area{801, 526};
    // Within the area: the sizes of FrameToPreviewSize, to the pixel.
    EXPECT_EQ(PreviewSizeWithin(625, 60, 664, 1000, area), (PictureSize{415, 39}));
    EXPECT_EQ(PreviewSizeWithin(801, 526, 1, 1, area), area) << "exactly the area fits";
    // A frame 10 and 1 pixels wide shown 780 wide: the largest size of the
    // picture's aspect that fits.
    EXPECT_EQ(PreviewSizeWithin(360, 40, 780, 10, area), (PictureSize{801, 89}));
    EXPECT_EQ(PreviewSizeWithin(185, 40, 780, 1, area), (PictureSize{801, 173}));
    EXPECT_EQ(PreviewSizeWithin(40, 360, 780, 10, area), (PictureSize{58, 526}));
    // Sides that no int holds once scaled.
    EXPECT_EQ(PreviewSizeWithin(2000000000, 1, 1200, 1, area), (PictureSize{801, 0}));
    EXPECT_EQ(PreviewSizeWithin(100, 40, 780, 0, area), (PictureSize{}));
}
