// The hint window: on screen only with an area; its size follows the text.
#include "platform/hint_window.h"

#include <string>

#include <QWidget>
#include <gtest/gtest.h>

TEST(HintWindow, ShowsOnlyWhileActivatedWithAnArea)
{
    THintWindow hint;
    EXPECT_FALSE(hint.Visible());
    hint.ActivateHint(Rect(0, 0, 0, 0), "");
    EXPECT_TRUE(hint.Visible());
    EXPECT_FALSE(hint.Showing());
    EXPECT_FALSE(hint.Widget()->isVisible());

    hint.SetLeft(300);
    hint.SetTop(200);
    hint.SetWidth(80);
    EXPECT_FALSE(hint.Showing());
    hint.SetHeight(20);
    EXPECT_TRUE(hint.Showing());
    EXPECT_TRUE(hint.Widget()->isVisible());
    EXPECT_EQ(hint.Widget()->geometry(), QRect(300, 200, 80, 20));  // screen coordinates

    hint.SetHeight(0);
    EXPECT_FALSE(hint.Widget()->isVisible());
    EXPECT_EQ(hint.Color(), clInfoBk);
}

TEST(HintWindow, TextWiderThanTheLimitBreaksIntoLines)
{
    THintWindow hint;
    const TRect one = hint.CalcHintRect(100, "W: 1");
    EXPECT_GT(one.Bottom, 0);
    const std::string text = "W: 1000, H: 1000 W: 1000, H: 1000";
    const TRect wrapped = hint.CalcHintRect(100, text);
    const TRect wide = hint.CalcHintRect(400, text);
    EXPECT_GT(wrapped.Bottom, wide.Bottom);
    EXPECT_LT(wrapped.Right, wide.Right);
    EXPECT_EQ(wide.Bottom, one.Bottom);
}
