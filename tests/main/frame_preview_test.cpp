// The frame preview's text images, the title's thin strokes at every
// layout's scale, and the one re-application of the layout that a resize
// makes while the default frame settings file exists.
#include <filesystem>

#include <gtest/gtest.h>

#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "pipeline/frame_layout.h"
#include "tests/main/app_test_support.h"

class FramePreviewTest : public AppTest {};

TEST_F(FramePreviewTest, TextImagesSitAtTheirLayoutPlacesLessTheScrolling)
{
    ShowMainWindowWithKnownPreview();
    // A scroll box smaller than the 685 x 480 preview, scrolled.
    Form1->ScrollBox1->SetBounds(12, 128, 304, 204);
    Form1->ScrollBox1->HorzScrollBar.SetPosition(40);
    Form1->ScrollBox1->VertScrollBar.SetPosition(30);
    ASSERT_EQ(Form1->ScrollBox1->HorzScrollBar.Position(), 40);
    ASSERT_EQ(Form1->ScrollBox1->VertScrollBar.Position(), 30);
    Form4->Edit9->UserEdited("2026.12.08");
    Form4->Edit7->UserEdited("3年B組");
    Form7->Edit4->UserEdited("卒業記念");
    Form7->TrackBar2->SetPosition(25);
    Form7->BitBtn4->Click();

    // f = 685 / 1500 as a float; the title (750, 950) moved down by 25 - 20:
    // left trunc(750 f) = 342 less half the image, top trunc(955 f) = 436;
    // the date (1255, 957) and the other text (120, 950) without the
    // adjustment: (573, 437) and (54, 433).
    struct Expected {
        TImage* image;
        int left;
        int top;
    };
    for (const Expected& e : {Expected{Form1->Image3, 342, 436}, Expected{Form1->Image4, 573, 437},
                              Expected{Form1->Image5, 54, 433}}) {
        const int width = e.image->Width();
        EXPECT_GT(width, 0);
        EXPECT_EQ(e.image->Left(), e.left - width / 2 - 40);
        EXPECT_EQ(e.image->Top(), e.top - 30);
        EXPECT_GT(CountPixels(e.image->Picture(), [](TColor c) { return c == clBlack; }), 20) << "the text shows";
    }

    // An empty title shows the placeholder in its place.
    Form4->Edit4->SetText("");
    Form1->RedrawFramePreview();
    EXPECT_GT(Form1->Image3->Width(), 0);
    EXPECT_EQ(Form1->Image3->Left(), 342 - Form1->Image3->Width() / 2 - 40);
}

TEST_F(FramePreviewTest, ThinStrokesOfAMinchoTitleShowInEveryLayout)
{
    ShowMainWindowWithKnownPreview();
    // The operator clicks the title, picks the font and types the title.
    dialogs->Modal([](TForm&) {
        Form7->ComboBox1->UserEdited("ＭＳ 明朝");
        Form7->Edit4->UserEdited("三");
        Form7->BitBtn14->Click();
    });
    Form1->Image3->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    Form1->Image3->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
    ASSERT_TRUE(dialogs->AllUsed());

    // Layouts 0, 2 and 5 preview at 685/1500, 336/1051 and 669/2126 of the
    // output, layout 7 at 344/1536: the three strokes stay three, in black
    // on the see-through white alone.
    for (const int layout : {0, 2, 5, 7}) {
        Form1->ComboBox1->SetItemIndex(layout);
        Form1->ComboBox1->UserChose(layout);
        ASSERT_EQ(Form1->PresetIndex, layout);
        const TBitmap& title = Form1->Image3->Picture();
        ASSERT_GT(title.Width(), 0);
        EXPECT_EQ(RunsDown(title, title.Width() / 2, clWhite), 3) << "layout " << layout;
        EXPECT_EQ(CountPixels(title, [](TColor c) { return c == clWhite || c == clBlack; }),
                  title.Width() * title.Height())
            << "layout " << layout;
    }

    // Underlined in the text placement window's font dialog, the title still
    // shows its ink, not the white around it: the image's see-through colour
    // is its bottom-left pixel, where the underline begins.
    dialogs->Font([](TFont& font) {
        font.SetStyle(fsUnderline);
        return true;
    });
    Form4->Button5->Click();
    for (const int layout : {0, 5}) {
        Form1->ComboBox1->SetItemIndex(layout);
        Form1->ComboBox1->UserChose(layout);
        const TBitmap& title = Form1->Image3->Picture();
        EXPECT_EQ(title.Pixel(0, title.Height() - 1), clWhite) << "layout " << layout;
        EXPECT_GT(CountPixels(title, [](TColor c) { return c == clBlack; }), 0);
    }
}

TEST_F(FramePreviewTest, FirstResizeReappliesTheLayoutWhenFrame001Exists)
{
    std::filesystem::create_directories(folder.File("Frame"));
    WriteFileBytes(folder.File("Frame/frame001.ini"), "[Frame]\r\n");
    ShowMainWindow();
    const TFrameLayout shown = Form1->PreviewLayout;
    Form1->PresetIndex = 2;

    // The first resize moves the controls and applies layout PresetIndex for
    // the new preview area, once.
    Form1->SetBounds(Form1->Left(), Form1->Top(), 1100, 900);
    const TFrameLayout resized =
        ScaleLayoutToPreview(FramePreset(2).layout, Form1->ScrollBox1->ClientWidth(), Form1->ScrollBox1->ClientHeight());
    EXPECT_EQ(Form1->FrameLayout, FramePreset(2).layout);
    EXPECT_EQ(Form1->PreviewLayout, resized);
    EXPECT_NE(Form1->PreviewLayout, shown);
    EXPECT_EQ(Form1->Image1->Width(), resized.Framewidth);
    EXPECT_TRUE(Form1->FrameFilePath.empty());
    EXPECT_FALSE(Form1->Busy);

    // Later resizes only move and size the controls.
    Form1->SetBounds(Form1->Left(), Form1->Top(), 1300, 1000);
    EXPECT_EQ(Form1->ScrollBox1->Width(), 1300 - 24);
    EXPECT_EQ(Form1->PreviewLayout, resized);
}

TEST_F(FramePreviewTest, WithoutFrame001NoResizeReappliesTheLayout)
{
    ShowMainWindow();
    const TFrameLayout shown = Form1->PreviewLayout;
    Form1->PresetIndex = 2;
    Form1->SetBounds(Form1->Left(), Form1->Top(), 1100, 900);
    EXPECT_EQ(Form1->ScrollBox1->Width(), 1100 - 24);
    EXPECT_EQ(Form1->FrameLayout, FramePreset(0).layout);
    EXPECT_EQ(Form1->PreviewLayout, shown);
    EXPECT_FALSE(Form1->FrameFilePath.empty());
}
