// The text placement window's answers about the three texts.
#include "frame_editor/text_placement_form.h"

#include <gtest/gtest.h>

#include "tests/main/app_test_support.h"

class TextPlacementFormTest : public AppTest {};

TEST_F(TextPlacementFormTest, AnswersEachKindFromItsOwnControls)
{
    Form4->Edit4->SetText("卒業記念");
    Form4->Edit9->SetText("2026.12.08");
    Form4->Edit7->SetText("3年B組");
    Form4->Edit2->SetText("15");
    Form4->Edit3->SetText("-30");
    Form4->Edit8->SetText("abc");
    Form4->Edit10->Font().SetName("ＭＳ 明朝");
    Form4->CheckBox5->SetChecked(true);

    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    EXPECT_EQ(title.Text, "卒業記念");
    EXPECT_EQ(title.Angle, 15);
    EXPECT_FALSE(title.Vertical);
    EXPECT_EQ(title.Font.Height(), -107);
    const TFrameText date = Form4->FrameText(TFrameTextKind::Date);
    EXPECT_EQ(date.Text, "2026.12.08");
    EXPECT_EQ(date.Angle, -30);
    EXPECT_EQ(date.Font.Name(), "ＭＳ 明朝");
    const TFrameText other = Form4->FrameText(TFrameTextKind::Other);
    EXPECT_EQ(other.Text, "3年B組");
    EXPECT_EQ(other.Angle, 0) << "an angle that is not an integer draws at 0";
    EXPECT_TRUE(date.Vertical && other.Vertical) << "the date and the other text share one box";
    EXPECT_EQ(&Form4->TextFont(TFrameTextKind::Other), &Form4->Edit12->Font());
}

TEST_F(TextPlacementFormTest, LayoutResetKeepsTextsAndTheTitleFace)
{
    Form4->Edit4->SetText("卒業記念");
    Form4->Edit22->Font().SetName("ＭＳ 明朝");
    Form4->Edit22->Font().SetStyle(fsBold);
    Form4->Edit12->Font().SetStyle(fsItalic);
    Form4->Edit12->Font().SetColor(clRed);
    Form4->Edit8->SetText("90");
    Form4->CheckBox4->SetChecked(true);

    Form4->ResetTextFormats(36, 30, 24);
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    EXPECT_EQ(title.Text, "卒業記念");
    EXPECT_EQ(title.Font.Name(), "ＭＳ 明朝");
    EXPECT_EQ(title.Font.Style(), unsigned{fsBold});
    EXPECT_EQ(title.Font.Size(), 36);
    EXPECT_FALSE(title.Vertical);
    const TFrameText other = Form4->FrameText(TFrameTextKind::Other);
    EXPECT_EQ(other.Font.Name(), kDefaultFaceName);
    EXPECT_EQ(other.Font.Style(), 0u);
    EXPECT_EQ(other.Font.Color(), clBlack);
    EXPECT_EQ(other.Font.Charset(), 128);
    EXPECT_EQ(other.Font.Size(), 24);
    EXPECT_EQ(other.Angle, 0);
    EXPECT_EQ(Form4->Edit8->Text(), "0");
}
