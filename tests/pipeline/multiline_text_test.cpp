// Stored texts as edited lines and back.
#include "pipeline/multiline_text.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
// The two characters backslash and n.
const std::string N = "\\n";

}  // namespace

TEST(MultilineText, SplitsAtTheSeparatorAndJoinsBack)
{
    EXPECT_EQ(TextToEditLines("A" + N + "B"), (Lines{"A", "B"}));
    EXPECT_EQ(EditLinesToText({"A", "B"}), "A" + N + "B");
    // A separator at the end leaves no line of its own.
    EXPECT_EQ(TextToEditLines("A" + N), (Lines{"A"}));
    EXPECT_EQ(EditLinesToText(TextToEditLines("A" + N)), "A");
    EXPECT_EQ(TextToEditLines(N + "B"), (Lines{"", "B"}));
    EXPECT_EQ(EditLinesToText(TextToEditLines(N + "B")), N + "B");
    EXPECT_EQ(EditLinesToText({"A", "", "B"}), "A" + N + N + "B");
    EXPECT_EQ(TextToEditLines("A" + N + N + "B"), (Lines{"A", "", "B"}));
}

TEST(MultilineText, WithoutSeparatorTheTextIsOneLine)
{
    EXPECT_EQ(TextToEditLines("集合写真"), (Lines{"集合写真"}));
    EXPECT_EQ(TextToEditLines(""), (Lines{""}));
    EXPECT_EQ(TextToEditLines("A\nB"), (Lines{"A\nB"})) << "a real line break is no separator";
    EXPECT_EQ(EditLinesToText({}), "");
}

TEST(MultilineText, UnicodeCharactersAreNeverSplit)
{
    // "ソ" (U+30BD) was 0x83 0x5C in Shift-JIS; in UTF-8 no byte is a backslash.
    EXPECT_EQ(TextToEditLines("ソn表" + N + "記"), (Lines{"ソn表", "記"}));
}
