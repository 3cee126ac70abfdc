// The quick text dialog: its font box, the size bar, the live preview and
// its re-entrancy flag, the apply and close; and the multi-line input of its
// texts through the multi-line dialog.
#include <algorithm>

#include <gtest/gtest.h>

#include "dialogs/multiline_input_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "platform/application.h"
#include "tests/main/app_test_support.h"

namespace {

using Lines = std::vector<std::string>;
// The two characters backslash and n.
const std::string N = "\\n";

std::string Title()
{
    return Form4->FrameText(TFrameTextKind::Title).Text;
}

TFont& TitleFont()
{
    return Form4->TextFont(TFrameTextKind::Title);
}

}  // namespace

class QuickTextTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
    }

    void ShowDialog()
    {
        Form7->MirrorTexts(Title(), "", "");
        Form7->Show();
    }

    // Runs the multi-line input of button on text; interact sees the memo.
    std::string MultiLine(TButton* button, TEdit* edit, const std::string& text,
                          const std::function<void()>& interact)
    {
        edit->SetText(text);
        dialogs->Modal([&](TForm& form) {
            EXPECT_EQ(&form, Form5);
            interact();
        });
        button->Click();
        return edit->Text();
    }
};

TEST_F(QuickTextTest, FontBoxHoldsTheInstalledFontsOnceAndTheTitleFont)
{
    ShowDialog();
    const std::vector<std::string> fonts = Form7->ComboBox1->Items();
    EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end()));
    EXPECT_NE(std::find(fonts.begin(), fonts.end(), "IPAPGothic"), fonts.end());
    EXPECT_EQ(Form7->ComboBox1->Text(), kDefaultFaceName);

    Form7->Hide();
    TitleFont().SetName("IPAMincho");
    ShowDialog();
    EXPECT_EQ(Form7->ComboBox1->Items(), fonts) << "each name once on the second showing";
    EXPECT_EQ(std::adjacent_find(fonts.begin(), fonts.end()), fonts.end());
    EXPECT_EQ(Form7->ComboBox1->Text(), "IPAMincho");
}

TEST_F(QuickTextTest, SizeBarShowsALargerFontAtItsEndAndLeavesTheFont)
{
    TitleFont().SetSize(54);
    ShowDialog();
    EXPECT_EQ(Form7->TrackBar1->Position(), 50);
    EXPECT_EQ(TitleFont().Size(), 54);
    Form7->TrackBar1->SetPosition(40);
    EXPECT_EQ(TitleFont().Size(), 40) << "the size applies at once, also without preview";
}

TEST_F(QuickTextTest, FillingTheDialogRunsNoPreview)
{
    TitleFont().SetSize(40);
    Form7->MirrorTexts("まだ適用しない", "", "");
    Form7->CheckBox1->SetChecked(true);
    Form3->Modified = true;
    Form7->Show();
    EXPECT_EQ(Form7->TrackBar1->Position(), 40);
    EXPECT_EQ(Title(), "[タイトル文字列]");
    EXPECT_TRUE(Form3->Modified);
}

TEST_F(QuickTextTest, WithoutPreviewTypingWaitsForTheUpdate)
{
    ShowDialog();
    const int width = Form1->Image3->Width();
    Form7->Edit4->UserEdited("卒業");
    EXPECT_EQ(Title(), "[タイトル文字列]");
    EXPECT_EQ(Form1->Image3->Width(), width);

    Form3->Modified = true;
    Form7->BitBtn4->Click();
    EXPECT_EQ(Title(), "卒業");
    EXPECT_FALSE(Form3->Modified);
    EXPECT_LT(Form1->Image3->Width(), width) << "the shorter title on the preview";
}

TEST_F(QuickTextTest, TitleAndDateHoldTheirLengthInBytesOfCodePage932)
{
    ShowDialog();
    const auto repeat = [](const std::string& character, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += character;
        return text;
    };
    // 86 and 48 bytes: 43 and 24 full-width characters, or as many
    // half-width ones as bytes.
    Form7->Edit4->UserEdited(repeat("卒", 44));
    EXPECT_EQ(Form7->Edit4->Text(), repeat("卒", 43));
    Form7->Edit9->UserEdited(repeat("年", 25));
    EXPECT_EQ(Form7->Edit9->Text(), repeat("年", 24));
    Form7->Edit4->UserEdited(repeat("a", 87));
    EXPECT_EQ(Form7->Edit4->Text(), repeat("a", 86));
}

TEST_F(QuickTextTest, WithPreviewEveryChangeRedraws)
{
    ShowDialog();
    Form7->CheckBox1->SetChecked(true);
    Form7->Edit4->UserEdited("卒業");
    EXPECT_EQ(Title(), "卒業");
    const int width = Form1->Image3->Width();
    Form7->TrackBar3->SetPosition(150);
    EXPECT_NEAR(Form1->Image3->Width(), width * 1.5, 2) << "the horizontal scale";
    const int height = Form1->Image3->Height();
    Form7->TrackBar1->SetPosition(20);
    EXPECT_LT(Form1->Image3->Height(), height) << "30 points down to 20";
    const int top = Form1->Image3->Top();
    Form7->TrackBar2->SetPosition(40);
    EXPECT_GT(Form1->Image3->Top(), top) << "the vertical adjustment";
}

TEST_F(QuickTextTest, CloseAppliesTheTitleThenCloses)
{
    Form7->MirrorTexts(Title(), "", "");
    dialogs->Modal([](TForm&) {
        Form7->Edit4->UserEdited("閉じて適用");
        Form7->BitBtn14->Click();
    });
    Form7->ShowModal();
    EXPECT_EQ(Title(), "閉じて適用");
    EXPECT_FALSE(Form7->Visible());
}

TEST_F(QuickTextTest, MultiLineInputShowsTheLinesAndJoinsThemBack)
{
    Lines seen;
    auto ok = [&] {
        seen = Form5->Memo1->Lines().Lines();
        Form5->BitBtn1->Click();
    };
    EXPECT_EQ(MultiLine(Form7->BitBtn1, Form7->Edit4, "A" + N + "B", ok), "A" + N + "B");
    EXPECT_EQ(seen, (Lines{"A", "B"}));
    EXPECT_EQ(MultiLine(Form7->BitBtn1, Form7->Edit4, "A" + N, ok), "A");
    EXPECT_EQ(seen, (Lines{"A"}));
    EXPECT_EQ(MultiLine(Form7->BitBtn1, Form7->Edit4, N + "B", ok), N + "B");
    EXPECT_EQ(seen, (Lines{"", "B"}));
    EXPECT_EQ(MultiLine(Form7->BitBtn1, Form7->Edit4, "", ok), "");
    EXPECT_EQ(seen, (Lines{""}));
}

TEST_F(QuickTextTest, MultiLineInputKeepsTheEditsHoweverItIsClosed)
{
    // Typed lines A, an empty one and B, then the close box.
    const std::string joined = MultiLine(Form7->BitBtn1, Form7->Edit4, "集合写真", [] {
        EXPECT_EQ(Form5->Memo1->Lines().Lines(), (Lines{"集合写真"}));
        Form5->Memo1->UserEdited("A\n\nB\n");
        Form5->Close();
    });
    EXPECT_EQ(joined, "A" + N + N + "B");
}

TEST_F(QuickTextTest, MultiLineInputUsesTheFontOfItsText)
{
    Form4->TextFont(TFrameTextKind::Date).SetName("IPAMincho");
    Form4->TextFont(TFrameTextKind::Other).SetName("IPAGothic");
    std::string face;
    auto ok = [&] {
        face = Form5->Memo1->Font().Name();
        Form5->BitBtn1->Click();
    };
    MultiLine(Form7->BitBtn1, Form7->Edit4, "", ok);
    EXPECT_EQ(face, kDefaultFaceName);
    MultiLine(Form7->BitBtn2, Form7->Edit9, "", ok);
    EXPECT_EQ(face, "IPAMincho");
    MultiLine(Form7->BitBtn3, Form7->Edit7, "", ok);
    EXPECT_EQ(face, "IPAGothic");
}
