// The eight built-in layouts and their scale to the preview.
#include "pipeline/frame_layout.h"

#include <algorithm>
#include <string>

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

namespace {

struct Row {
    std::string name;
    int frameW, frameH, photoW, photoH, margin, bottom;
    TPoint title, date, other;
    int titleSize, dateSize, otherSize;
};

const Row kRows[kPresetCount] = {
    {"Ｌ判　下白帯", 1500, 1051, 1500, 922, 0, 129, {750, 950}, {1255, 957}, {120, 950}, 30, 30, 30},
    {"Ｌ判　全周枠", 1500, 1051, 1430, 887, 35, 129, {750, 950}, {1255, 957}, {120, 950}, 30, 30, 30},
    {"Ｌ判　下白帯　縦型", 1051, 1500, 1051, 1371, 0, 129, {525, 1410}, {800, 1410}, {100, 1410}, 30, 30, 30},
    {"KG判　下白帯", 1795, 1205, 1795, 1087, 0, 118, {897, 1100}, {1570, 1111}, {265, 1100}, 30, 30, 30},
    {"KG判　全周枠", 1795, 1205, 1725, 1052, 35, 118, {897, 1100}, {1570, 1111}, {265, 1100}, 30, 36, 36},
    {"キャビネ　下白帯", 2126, 1524, 2126, 1382, 0, 142, {1063, 1415}, {1819, 1415}, {247, 1415}, 36, 36, 36},
    {"キャビネ　全周枠", 2126, 1524, 2008, 1323, 59, 142, {1063, 1415}, {1819, 1415}, {247, 1415}, 36, 30, 36},
    {"キャビネ　全周枠　縦型", 1536, 2138, 1408, 1890, 64, 184, {768, 2012}, {1246, 2029}, {309, 2026}, 36, 30, 36},
};

}  // namespace

// Pinned row by row, as stored frame files and printed pictures rely on them.
TEST(FrameLayout, EveryRowOfThePresetTable)
{
    for (int i = 0; i < kPresetCount; ++i) {
        SCOPED_TRACE(i);
        const Row& row = kRows[i];
        const TFrameLayoutPreset preset = FramePreset(i);
        const TFrameLayout& l = preset.layout;
        EXPECT_EQ(preset.name, row.name);
        EXPECT_EQ((TPoint{l.Framewidth, l.Frameheight}), (TPoint{row.frameW, row.frameH}));
        EXPECT_EQ((TPoint{l.Photowidth, l.Photoheight}), (TPoint{row.photoW, row.photoH}));
        EXPECT_EQ(l.Leftwidth, row.margin);
        EXPECT_EQ(l.Rightwidth, row.margin);
        EXPECT_EQ(l.Topheight, row.margin);
        EXPECT_EQ(l.Bottomheight, row.bottom);
        EXPECT_EQ((TPoint{l.FontPositionX, l.FontPositionY}), row.title);
        EXPECT_EQ((TPoint{l.DatePositionX, l.DatePositionY}), row.date);
        EXPECT_EQ((TPoint{l.OtherPositionX, l.OtherPositionY}), row.other);
        EXPECT_EQ(preset.titleSize, row.titleSize);
        EXPECT_EQ(preset.dateSize, row.dateSize);
        EXPECT_EQ(preset.otherSize, row.otherSize);
        EXPECT_FALSE(l.HasFrameImage);
    }
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
