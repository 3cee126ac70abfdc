// Millimetres and pixels of the frame settings window at 300 dpi.
#include "frame_editor/frame_measures.h"

#include <gtest/gtest.h>

TEST(FrameMeasures, MillimetresRoundToTheNearestPixelAndPixelsTruncate)
{
    EXPECT_EQ(MillimetresToPixels(127, 300), 1500);
    EXPECT_EQ(MillimetresToPixels(89, 300), 1051);
    EXPECT_EQ(MillimetresToPixels(3, 300), 35);  // 35.43
    EXPECT_EQ(MillimetresToPixels(0, 300), 0);
    EXPECT_EQ(PixelsToMillimetres(1500, 300), 127);
    EXPECT_EQ(PixelsToMillimetres(1051, 300), 88);  // 88.99
    EXPECT_EQ(PixelsToMillimetres(940, 300), 79);
    EXPECT_EQ(PixelsToMillimetres(-5, 300), 0) << "toward zero";
}

TEST(FrameMeasures, PhotoAreaTakesUpTheRounding)
{
    TFrameLayout mm;
    mm.Framewidth = 127;
    mm.Frameheight = 89;
    mm.Photowidth = 127;
    mm.Photoheight = 89;
    TFrameLayout px = LayoutToPixels(mm, 300);
    EXPECT_EQ(px.Framewidth, 1500);
    EXPECT_EQ(px.Frameheight, 1051);
    EXPECT_EQ(px.Photowidth, 1500);
    EXPECT_EQ(px.Photoheight, 1051);

    // 3 + 121 + 3 mm round to 35 + 1429 + 35 = 1499: the photo area gets 1430.
    mm.Photowidth = 121;
    mm.Leftwidth = mm.Rightwidth = 3;
    mm.Topheight = 3;
    mm.Bottomheight = 11;
    mm.Photoheight = 75;
    mm.FontPositionX = 63;
    mm.OtherPositionY = 80;
    px = LayoutToPixels(mm, 300);
    EXPECT_EQ(px.Leftwidth + px.Photowidth + px.Rightwidth, px.Framewidth);
    EXPECT_EQ(px.Photowidth, 1430);
    EXPECT_EQ(px.Topheight + px.Photoheight + px.Bottomheight, px.Frameheight);
    EXPECT_EQ(px.FontPositionX, 744);
    EXPECT_EQ(px.OtherPositionY, 945);

    const TFrameLayout back = LayoutToMillimetres(px, 300);
    EXPECT_EQ(back.Framewidth, 127);
    EXPECT_EQ(back.Frameheight, 88);
    EXPECT_EQ(back.Leftwidth + back.Photowidth + back.Rightwidth, 127);
    EXPECT_EQ(back.Topheight + back.Photoheight + back.Bottomheight, 88);
    EXPECT_EQ(back.FontPositionX, 744) << "the text places are not converted back";
}
