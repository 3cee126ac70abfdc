// The eight built-in layouts and their scale to the preview.
#include "pipeline/frame_layout.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/graphics_types.h"

TEST(FrameLayout, EveryPresetKeepsTheLayoutInvariants)
{
    for (int i = 0; i < kPresetCount; ++i) {
        const TFrameLayout l = FramePreset(i).layout;
        EXPECT_EQ(l.Framewidth, l.Leftwidth + l.Photowidth + l.Rightwidth) << i;
        EXPECT_EQ(l.Frameheight, l.Topheight + l.Photoheight + l.Bottomheight) << i;
        EXPECT_EQ(l.Leftwidth, l.Rightwidth) << i;
        EXPECT_EQ(l.Leftwidth, l.Topheight) << i;
        EXPECT_LT(l.FontPositionY, l.Frameheight) << i;
        EXPECT_LE(std::max(l.Framewidth, l.Frameheight), 3393) << i;
    }
    EXPECT_STREQ(FramePreset(7).name, "キャビネ　全周枠　縦型");
    EXPECT_EQ(FramePreset(4).dateSize, 36);
    EXPECT_EQ(FramePreset(6).dateSize, 30);
    // Outside 0..7: the geometry of layout 0 with sizes 30 / 30 / 36.
    EXPECT_EQ(FramePreset(9).layout, FramePreset(0).layout);
    EXPECT_EQ(FramePreset(-1).otherSize, 36);
}

TEST(FrameLayout, PreviewScaleAbsorbsRoundingInThePhotoArea)
{
    const TFrameLayout p = ScaleLayoutToPreview(FramePreset(0).layout, 900, 500);
    EXPECT_EQ(p.Framewidth, 685);
    EXPECT_EQ(p.Frameheight, 480);
    EXPECT_EQ(p.Photowidth, 685);
    EXPECT_EQ(p.Photoheight, 422);
    EXPECT_EQ(p.Bottomheight, 58);
    EXPECT_EQ((TPoint{p.FontPositionX, p.FontPositionY}), (TPoint{342, 433}));
    EXPECT_EQ((TPoint{p.DatePositionX, p.DatePositionY}), (TPoint{573, 437}));
    EXPECT_EQ((TPoint{p.OtherPositionX, p.OtherPositionY}), (TPoint{54, 433}));

    const TFrameLayout upright = ScaleLayoutToPreview(FramePreset(2).layout, 900, 500);
    EXPECT_EQ(upright.Framewidth, 336);
    EXPECT_EQ(upright.Frameheight, 480);
    EXPECT_EQ(upright.Photoheight, 439);
    EXPECT_EQ(upright.Bottomheight, 41);
    EXPECT_EQ((TPoint{upright.FontPositionX, upright.FontPositionY}), (TPoint{168, 451}));

    const TFrameLayout big = ScaleLayoutToPreview(FramePreset(0).layout, 3000, 3000);
    EXPECT_EQ(big.Framewidth, 1200);
    const TFrameLayout tall = ScaleLayoutToPreview(FramePreset(2).layout, 3000, 3000);
    EXPECT_EQ(tall.Frameheight, 1200);
}
