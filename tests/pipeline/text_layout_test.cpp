#include "pipeline/text_layout.h"

#include <gtest/gtest.h>

namespace {

// The two characters backslash and n.
const std::string N = "\\n";

std::string Repeat(const std::string& piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

}  // namespace

TEST(TextLayout, SplitsAtBackslashNOnly)
{
    const TextLines two = SplitTextLines("A" + N + "B");
    EXPECT_EQ(two.pieces, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(two.Count(), 2);

    // A separator at the end adds no line; alone it is one empty line.
    EXPECT_EQ(SplitTextLines("A" + N).pieces, (std::vector<std::string>{"A"}));
    EXPECT_EQ(CountTextLines("A" + N), 1);
    EXPECT_EQ(SplitTextLines(N).pieces, (std::vector<std::string>{""}));
    EXPECT_EQ(CountTextLines(N), 1);
    EXPECT_EQ(SplitTextLines("A" + N + N + "B").pieces, (std::vector<std::string>{"A", "", "B"}));
    EXPECT_EQ(SplitTextLines(N + "A").pieces, (std::vector<std::string>{"", "A"}));

    const TextLines plain = SplitTextLines("A\nB\\x");
    EXPECT_FALSE(plain.separated);
    EXPECT_TRUE(plain.pieces.empty());
    EXPECT_EQ(plain.Count(), 1);
    EXPECT_EQ(CountTextLines(""), 1);
}

TEST(TextLayout, RestAfterEachSeparatorIsCutTo4096Characters)
{
    const std::string fits = "A" + N + std::string(4093, 'x') + N + "B";
    EXPECT_EQ(SplitTextLines(fits).Count(), 3);
    // One byte more loses the B, two more the second separator's n.
    EXPECT_EQ(SplitTextLines("A" + N + std::string(4094, 'x') + N + "B").pieces,
              (std::vector<std::string>{"A", std::string(4094, 'x')}));
    const TextLines cut = SplitTextLines("A" + N + std::string(4095, 'x') + N + "B");
    ASSERT_EQ(cut.Count(), 2);
    EXPECT_EQ(cut.pieces[1], std::string(4095, 'x') + "\\");
    // The first line is not cut.
    EXPECT_EQ(SplitTextLines(std::string(5000, 'y') + N).pieces[0].size(), 5000u);

    // Characters, not bytes: 1365 or 1366 three-byte characters, the
    // separator and Z (over 4096 bytes) are well within the limit. (Compared
    // with == so that a failure does not print kilobytes.)
    for (int count : {1365, 1366}) {
        const std::string kana = Repeat("あ", count);
        EXPECT_TRUE(SplitTextLines(N + kana + N + "Z").pieces == (std::vector<std::string>{"", kana, "Z"})) << count;
    }
    // A longer rest keeps its first 4096 characters whole.
    EXPECT_TRUE(SplitTextLines("A" + N + Repeat("あ", 4096) + "い" + N + "B").pieces ==
                (std::vector<std::string>{"A", Repeat("あ", 4096)}));
}

TEST(TextLayout, BlockHeightStacksLinesWithTheSpacingGap)
{
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(BlockHeight(40, n, 1.0f), 40 * n);
        EXPECT_EQ(BlockHeight(40, n, 1.1f), 40 * n + 4 * (n - 1));
    }
    // Computed in double: 1.3f is just below 1.3, and 91.999998 truncates to 91
    // (float arithmetic would round it up to 92 first).
    EXPECT_EQ(BlockHeight(40, 2, 1.3f), 91);
}

TEST(TextLayout, StackedLinesStayInsideTheBlock)
{
    // The spacing as the preference bar sets it from its position.
    for (int position : {1, 5, 15, 30}) {
        const float s = static_cast<float>(position * 0.01f + 1);
        for (int lineH = 1; lineH <= 300; ++lineH) {
            int top = 0;
            for (int n = 2; n <= 6; ++n) {
                top = NextLineTop(top, lineH, s);
                ASSERT_LE(top + lineH, BlockHeight(lineH, n, s))
                    << "position " << position << ", line height " << lineH << ", " << n << " lines";
            }
        }
    }
    // 10 * 1.3f is just below 13 and 100 * 1.01f just below 101.
    EXPECT_EQ(NextLineTop(0, 10, 1.3f), 12);
    EXPECT_EQ(NextLineTop(12, 10, 1.3f), 24);
    EXPECT_EQ(BlockHeight(10, 3, 1.3f), 35);
    EXPECT_EQ(NextLineTop(0, 100, 1.01f), 100);
    EXPECT_EQ(NextLineTop(30, 40, 1.1f), 74);
}

TEST(TextLayout, AngleKeepsItsSignModulo360)
{
    EXPECT_EQ(NormaliseAngle(360), 0);
    EXPECT_EQ(NormaliseAngle(-360), 0);
    EXPECT_EQ(NormaliseAngle(370), 10);
    EXPECT_EQ(NormaliseAngle(-370), -10);
    EXPECT_EQ(NormaliseAngle(-30), -30);
    EXPECT_EQ(NormaliseAngle(725), 5);
}

TEST(TextLayout, UnturnedBlockStartsAtItsCorner)
{
    const TextPlacement place = PlaceTextBlock(120, 84, 40, 1.1f, 0);
    EXPECT_EQ(place.start, (TPoint{0, 0}));
    EXPECT_EQ(place.width, 120);
    EXPECT_EQ(place.height, 84);
}

TEST(TextLayout, TurnedBlockStartsAtItsTopCentre)
{
    // 100 x 40 turned 45 degrees to the left: corners (1, 41), (71, -29),
    // (29, 69), (99, -1); the top centre (36, 6).
    const TextPlacement place = PlaceTextBlock(100, 40, 40, 1.1f, 45);
    EXPECT_EQ(place.width, 98);
    EXPECT_EQ(place.height, 98);
    EXPECT_EQ(place.start, (TPoint{35, 35}));
    EXPECT_EQ(place.stepX, 31);
    EXPECT_EQ(place.stepY, 31);

    // pi = 3.141592 leaves sin(90) a hair below 1: the step is one pixel short.
    const TextPlacement left = PlaceTextBlock(100, 40, 40, 1.0f, 90);
    EXPECT_EQ(left.stepX, 39);
    EXPECT_EQ(left.stepY, 0);
    EXPECT_EQ(PlaceTextBlock(100, 40, 40, 1.0f, -90).stepX, -39);
}

TEST(TextLayout, BlockIsMovedInsideThePictureOnlyAsFarAsNeeded)
{
    // 1500 x 1051: a block that just fits keeps its place to the pixel.
    EXPECT_EQ(KeepBlockInside({0, 1011}, 300, 40, 1500, 1051), (TPoint{0, 1011}));
    EXPECT_EQ(KeepBlockInside({1200, 957}, 300, 40, 1500, 1051), (TPoint{1200, 957}));
    EXPECT_EQ(KeepBlockInside({-60, 950}, 360, 40, 1500, 1051), (TPoint{0, 950}));
    EXPECT_EQ(KeepBlockInside({1201, 1012}, 300, 40, 1500, 1051), (TPoint{1200, 1011}));
    // Wider or taller than the picture: from its left or top edge.
    EXPECT_EQ(KeepBlockInside({700, 950}, 1600, 1100, 1500, 1051), (TPoint{0, 0}));
}
