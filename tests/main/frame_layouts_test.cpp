// Applying a built-in layout to the main window: what it resets and keeps.
#include <gtest/gtest.h>

#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "tests/main/app_test_support.h"

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

TEST_F(FrameLayoutsTest, KeyedPreviewPicturesHoldOnlyKeyAndInk)
{
    // Shrunk to the preview, the frame overlay and the title keep their two
    // colours: a blended edge would not be see-through and would show as a
    // grey fringe over the photo.
    ShowMainWindowWithKnownPreview();
    Form4->Edit4->SetText("卒業記念写真");
    for (const int layout : {0, 2, 7}) {
        SCOPED_TRACE(layout);
        Form1->ApplyFrameLayout(layout);
        const TBitmap& overlay = *Form1->PreviewOverlay;
        ASSERT_LT(overlay.Width(), Form1->FrameOverlay->Width());
        EXPECT_EQ(CountPixels(overlay, [](TColor c) { return c != clWhite && c != clBlack; }), 0);
        EXPECT_GT(CountPixels(overlay, [](TColor c) { return c == clBlack; }), 0);

        const TBitmap& title = Form1->Image3->Picture();
        const TColor ink = Form4->Edit22->Font().Color();
        ASSERT_NE(ink, clWhite);
        EXPECT_EQ(CountPixels(title, [&](TColor c) { return c != clWhite && c != ink; }), 0);
        EXPECT_GT(CountPixels(title, [&](TColor c) { return c == ink; }), 0);
    }
}
