// The eight built-in layouts, the preview scale and what applying one resets.
#include <gtest/gtest.h>

#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "pipeline/frame_layout.h"
#include "tests/main/app_test_support.h"

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

class FrameLayoutsTest : public AppTest {};

TEST_F(FrameLayoutsTest, ApplyingALayoutResetsFontsAnglesAndSpacingButKeepsTexts)
{
    ShowMainWindow();
    Form1->ScrollBox1->SetBounds(12, 128, 904, 504);
    Form4->Edit4->SetText("卒業記念");
    Form4->Edit22->Font().SetName("ＭＳ 明朝");
    Form4->Edit2->SetText("15");
    Form4->Edit10->Font().SetStyle(fsBold);
    Form3->RadioButton3->SetChecked(true);
    Form2->TrackBar5->SetPosition(40);

    Form1->ComboBox1->UserChose(6);
    EXPECT_EQ(Form1->PresetIndex, 6);
    EXPECT_EQ(Form1->FrameLayout, FramePreset(6).layout);
    EXPECT_EQ(Form1->Image1->Width(), Form1->PreviewLayout.Framewidth);
    EXPECT_EQ(Form4->Edit4->Text(), "卒業記念");
    EXPECT_EQ(Form7->Edit4->Text(), "卒業記念");
    EXPECT_EQ(Form4->Edit22->Font().Name(), "ＭＳ 明朝");
    EXPECT_EQ(Form4->Edit22->Font().Size(), 36);
    EXPECT_EQ(Form4->Edit22->Font().Height(), -48);
    EXPECT_EQ(Form4->Edit10->Font().Size(), 30);
    EXPECT_EQ(Form4->Edit10->Font().Style(), 0u);
    EXPECT_EQ(Form4->Edit12->Font().Size(), 36);
    EXPECT_EQ(Form4->Edit2->Text(), "0");
    EXPECT_TRUE(Form3->RadioButton1->Checked());
    EXPECT_FALSE(Form3->RadioButton3->Checked());
    EXPECT_EQ(Form2->TrackBar5->Position(), 10);
    EXPECT_FLOAT_EQ(Form1->LineSpacing, 1.1f);
    EXPECT_TRUE(Form1->FrameFilePath.empty());

    // The overlay: the white frame, and black (see-through) photo area.
    EXPECT_EQ(Form1->FrameOverlay->TransparentColor(), clBlack);
    EXPECT_EQ(Form1->FrameOverlay->Pixel(0, 0), clWhite);
    EXPECT_EQ(Form1->FrameOverlay->Pixel(59, 59), clBlack);
    EXPECT_EQ(Form1->FrameOverlay->Pixel(58, 58), clWhite);
}
