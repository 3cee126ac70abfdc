#include "pipeline/text_layout.h"

#include <gtest/gtest.h>

namespace {

// The two characters backslash and n.
const std::string N = "\\n";

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

TEST(TextLayout, RestAfterEachSeparatorIsCutTo4096Bytes)
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
