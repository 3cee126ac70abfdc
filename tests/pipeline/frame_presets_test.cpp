// The eight built-in layouts pinned row by row: frame, photo area, margins,
// the places of the three texts and their font sizes, as stored frame files
// and printed pictures rely on them.
#include "pipeline/frame_layout.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/graphics_types.h"

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

TEST(FramePresets, EveryRowOfTheTable)
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
