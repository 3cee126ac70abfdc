// The correction panel through the main window: its controls as designed,
// what each bar, step button and edit writes, the two guard disciplines, the
// reset, the zoom edit's refusals (and the numbers it takes while they are
// typed) and the panel switch.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/preferences_form.h"
#include "platform/file_system.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

struct BarDesign {
    TTrackBar* TForm1::*bar;
    int min, max, position, page, frequency;
};

std::vector<std::string> Edits()
{
    std::vector<std::string> texts;
    for (TEdit* edit : {Form1->Edit5, Form1->Edit6, Form1->Edit7, Form1->Edit8, Form1->Edit13, Form1->Edit14,
                        Form1->Edit15, Form1->Edit16, Form1->Edit17})
        texts.push_back(edit->Text());
    return texts;
}

const std::vector<std::string> kStartEdits = {"0", "0", "0", "1", "0", "0", "0", "0", "0"};

}  // namespace

class CorrectionPanelTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
        Form1->WMDropFiles({MakePhotoFolder("photos", {"a.jpg", "b.jpg"})}, true);
        Form1->CheckBox7->SetChecked(true);
        Form1->OutputBitmap->SetSize(1, 1);
    }

    // True when the preview was composed since the last call.
    bool Rerendered()
    {
        const bool composed = Form1->OutputBitmap->Width() != 1;
        Form1->OutputBitmap->SetSize(1, 1);
        return composed;
    }
};

TEST_F(CorrectionPanelTest, ControlsStandAsDesigned)
{
    const BarDesign bars[] = {
        {&TForm1::TrackBar1, 0, 100, 0, 5, 5},     {&TForm1::TrackBar2, 0, 100, 50, 10, 10},
        {&TForm1::TrackBar3, 0, 100, 50, 10, 10},  {&TForm1::TrackBar4, 0, 1000, 500, 10, 50},
        {&TForm1::TrackBar8, 0, 400, 200, 20, 20}, {&TForm1::TrackBar9, 0, 200, 100, 10, 10},
        {&TForm1::TrackBar5, 0, 128, 64, 8, 8},    {&TForm1::TrackBar6, 0, 128, 64, 8, 8},
        {&TForm1::TrackBar7, 0, 128, 64, 8, 8}};
    for (const BarDesign& d : bars) {
        const TTrackBar& bar = *(Form1->*d.bar);
        EXPECT_EQ(bar.Min(), d.min);
        EXPECT_EQ(bar.Max(), d.max);
        EXPECT_EQ(bar.Position(), d.position);
        EXPECT_EQ(bar.PageSize, d.page);
        EXPECT_EQ(bar.Frequency, d.frequency);
    }
    EXPECT_EQ(Edits(), kStartEdits);
    EXPECT_FALSE(Form1->Edit8->ReadOnly());
    EXPECT_TRUE(Form1->Edit7->ReadOnly());
    // The zoom and X offset take digits as keys give them: an input method
    // would compose full-width digits, which are no number.
    EXPECT_FALSE(TakesInputMethod(*Form1->Edit8));
    EXPECT_FALSE(TakesInputMethod(*Form1->Edit5));
    EXPECT_TRUE(TakesInputMethod(*Form1->Edit1));
    EXPECT_TRUE(Form1->CheckBox6->Checked());
    for (TSpeedButton* step : {Form1->SpeedButton1, Form1->SpeedButton6, Form1->SpeedButton4, Form1->SpeedButton5,
                               Form1->SpeedButton7, Form1->SpeedButton2, Form1->SpeedButton3, Form1->SpeedButton8,
                               Form1->SpeedButton12, Form1->SpeedButton13, Form1->SpeedButton14, Form1->SpeedButton15,
                               Form1->SpeedButton17, Form1->SpeedButton16, Form1->SpeedButton19, Form1->SpeedButton18})
        EXPECT_FALSE(step->Visible());
    for (TSpeedButton* mode : {Form1->SpeedButton9, Form1->SpeedButton10, Form1->SpeedButton11}) {
        EXPECT_FALSE(mode->Visible());
        EXPECT_FALSE(mode->Enabled());
        EXPECT_EQ(mode->GroupIndex, 1);
        EXPECT_TRUE(mode->AllowAllUp);
    }
}

TEST_F(CorrectionPanelTest, BarsWriteTheirValuesAndReRender)
{
    Form1->TrackBar1->SetPosition(100);
    EXPECT_EQ(Form1->PhotoZoom, 2.0f);
    EXPECT_EQ(Form1->Edit8->Text(), "2.00000");
    EXPECT_TRUE(Rerendered());
    Form1->TrackBar2->SetPosition(0);
    EXPECT_EQ(Form1->PhotoOffsetX, -250);
    EXPECT_EQ(Form1->Edit5->Text(), "-250");
    Form1->TrackBar1->SetPosition(0);
    EXPECT_EQ(Form1->Edit8->Text(), "1.00000");
    EXPECT_EQ(Form1->PhotoZoom, 1.0f);
    Form1->TrackBar3->SetPosition(0);
    EXPECT_EQ(Form1->PhotoOffsetY, -500);
    EXPECT_EQ(Form1->Edit6->Text(), "-500");

    // The member holds the angle as the edit shows it, cut to five characters.
    Form1->TrackBar4->SetPosition(502);
    EXPECT_EQ(Form1->Edit7->Text(), "0.019");
    EXPECT_EQ(Form1->PhotoAngle, 0.019f);
    Form1->TrackBar4->SetPosition(499);
    EXPECT_EQ(Form1->Edit7->Text(), "0");
    EXPECT_EQ(Form1->PhotoAngle, 0.0f);
    Form1->TrackBar4->SetPosition(498);
    EXPECT_EQ(Form1->PhotoAngle, -0.019f);
    Form1->TrackBar8->SetPosition(400);
    Form1->TrackBar9->SetPosition(0);
    Form1->TrackBar5->SetPosition(128);
    Form1->TrackBar6->SetPosition(0);
    Form1->TrackBar7->SetPosition(70);
    EXPECT_EQ(Edits(), (std::vector<std::string>{"-250", "-500", "-0.019", "1.00000", "64", "-64", "6", "200",
                                                 "-100"}));
    EXPECT_TRUE(Rerendered());
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(CorrectionPanelTest, MoveBarsAndButtonsReadTheZoomFromItsEdit)
{
    Form1->Edit8->UserEdited("1.5");
    EXPECT_EQ(Form1->PhotoZoom, 1.5f);
    Form1->SpeedButton1->Click();
    Form1->SpeedButton1->Click();
    Form1->SpeedButton6->Click();
    EXPECT_EQ(Form1->Edit6->Text(), "6");
    EXPECT_EQ(Form1->PhotoOffsetY, 6);
    Form1->SpeedButton4->Click();
    EXPECT_EQ(Form1->Edit5->Text(), "6");
    Form1->SpeedButton5->Click();
    Form1->SpeedButton5->Click();
    EXPECT_EQ(Form1->Edit5->Text(), "-6");
    Form1->Edit5Exit();
    EXPECT_EQ(Form1->PhotoOffsetX, -6);

    Form1->Edit8->UserEdited("0.5");
    Form1->SpeedButton6->Click();
    EXPECT_EQ(Form1->PhotoOffsetY, -14);
    // A zoom edit that shows no zoom counts as 1 and shows "1".
    dialogs->Message("拡大率が有効な値ではありません。", IDOK, "Plovis", MB_OK);
    Form1->Edit8->UserEdited("x");
    EXPECT_EQ(Form1->PhotoZoom, 0.5f);
    Form1->TrackBar2->SetPosition(0);
    EXPECT_EQ(Form1->PhotoOffsetX, -500);
    EXPECT_EQ(Form1->Edit8->Text(), "1");
    EXPECT_EQ(Form1->PhotoZoom, 1.0f);
}

TEST_F(CorrectionPanelTest, ZoomAndRotationStepsThroughTheButtons)
{
    Form2->TrackBar3->SetPosition(1);
    for (int i = 0; i < 10; ++i)
        Form1->SpeedButton3->Click();
    EXPECT_EQ(Form1->Edit8->Text(), "1.01000");
    EXPECT_EQ(Form1->PhotoZoom, 1.01f);
    Form1->Edit8->UserEdited("2");
    Form1->SpeedButton3->Click();
    EXPECT_EQ(Form1->Edit8->Text(), "2.00000");
    Form1->Edit8->UserEdited("0.5");
    Form1->SpeedButton8->Click();
    EXPECT_EQ(Form1->Edit8->Text(), "0.50000");
    EXPECT_EQ(Form1->PhotoZoom, 0.5f);
    Form2->TrackBar3->SetPosition(10);
    Form1->SpeedButton3->Click();
    EXPECT_EQ(Form1->Edit8->Text(), "0.51000");

    Form1->SpeedButton7->Click();
    EXPECT_EQ(Form1->Edit7->Text(), "-0.00100000004749745");
    EXPECT_EQ(Form1->PhotoAngle, -0.001f);
    Form1->SpeedButton2->Click();
    Form1->SpeedButton2->Click();
    EXPECT_EQ(Form1->PhotoAngle, 0.001f);
    EXPECT_TRUE(Rerendered());
}

TEST_F(CorrectionPanelTest, ColourButtonsAndBarsShareTheGains)
{
    Form2->TrackBar1->SetPosition(10);
    Form1->Edit13->SetText("250");
    Form1->Edit15->SetText("x");  // not a number counts as 0
    Form1->Edit14->SetText("-3");
    Form1->SpeedButton12->Click();
    EXPECT_EQ(Form1->Edit13->Text(), "255");
    EXPECT_EQ(Form1->Edit15->Text(), "10");
    EXPECT_EQ(Form1->Edit14->Text(), "7");
    Form1->Edit13->SetText("-250");
    Form1->SpeedButton13->Click();
    EXPECT_EQ(Form1->Edit13->Text(), "-255");
    EXPECT_EQ(Form1->Edit15->Text(), "0");
    EXPECT_EQ(Form1->Edit14->Text(), "-3");

    Form1->SpeedButton14->Click();
    Form1->SpeedButton15->Click();
    Form1->SpeedButton15->Click();
    Form1->SpeedButton17->Click();
    Form1->SpeedButton16->Click();
    Form1->SpeedButton19->Click();
    Form1->SpeedButton18->Click();
    Form1->SpeedButton18->Click();
    EXPECT_EQ(Form1->Edit13->Text(), "-255");
    EXPECT_EQ(Form1->Edit15->Text(), "0");
    EXPECT_EQ(Form1->Edit14->Text(), "-13");
    // A bar moved afterwards overwrites its gain with position - 64.
    Form1->TrackBar5->SetPosition(60);
    EXPECT_EQ(Form1->Edit13->Text(), "-4");
    EXPECT_EQ(Form1->Edit14->Text(), "-13");
}

TEST_F(CorrectionPanelTest, WhileBusyBarsPassNothingOnAndButtonsSkipOnlyTheRender)
{
    Form1->Busy = true;
    Form1->TrackBar8->SetPosition(300);
    Form1->TrackBar1->SetPosition(50);
    Form1->TrackBar4->SetPosition(900);
    EXPECT_EQ(Form1->TrackBar8->Position(), 300);
    EXPECT_EQ(Edits(), kStartEdits);
    EXPECT_EQ(Form1->PhotoZoom, 1.0f);
    Form1->CheckBox6->SetChecked(false);
    EXPECT_FALSE(Rerendered());

    Form1->SpeedButton1->Click();
    Form1->SpeedButton3->Click();
    EXPECT_EQ(Form1->Edit6->Text(), "10");
    EXPECT_EQ(Form1->Edit8->Text(), "1.00100");
    EXPECT_FALSE(Rerendered());
    EXPECT_TRUE(Form1->Busy);
    Form1->Busy = false;
    Form1->CheckBox6->SetChecked(true);
    EXPECT_TRUE(Rerendered());
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(CorrectionPanelTest, ResetAsksThenReturnsEveryControlToItsStart)
{
    const std::string question = "補正を初期化して宜しいですか？";
    Form1->TrackBar1->SetPosition(40);
    Form1->TrackBar2->SetPosition(70);
    Form1->TrackBar3->SetPosition(20);
    Form1->TrackBar4->SetPosition(620);
    for (TTrackBar* bar : {Form1->TrackBar5, Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8, Form1->TrackBar9})
        bar->SetPosition(0);
    const std::vector<std::string> changed = Edits();
    ASSERT_NE(changed, kStartEdits);

    dialogs->Message(question, IDNO, "Plovis", MB_YESNO);
    Form1->BitBtn2->Click();
    EXPECT_EQ(Edits(), changed);
    Form1->Busy = true;
    dialogs->Message(question, IDNO);
    Form1->BitBtn2->Click();
    dialogs->Message(question, IDYES);
    Form1->BitBtn2->Click();
    EXPECT_EQ(Edits(), changed);
    EXPECT_TRUE(Form1->Busy);
    Form1->Busy = false;
    Rerendered();

    dialogs->Message(question, IDYES);
    Form1->BitBtn2->Click();
    EXPECT_EQ(Edits(), kStartEdits);
    EXPECT_EQ(Form1->PhotoOffsetX, 0);
    EXPECT_EQ(Form1->PhotoOffsetY, 0);
    EXPECT_EQ(Form1->PhotoAngle, 0.0f);
    EXPECT_EQ(Form1->PhotoZoom, 1.0f);
    const int positions[] = {0, 50, 50, 500, 64, 64, 64, 200, 100};
    const TTrackBar* bars[] = {Form1->TrackBar1, Form1->TrackBar2, Form1->TrackBar3, Form1->TrackBar4, Form1->TrackBar5,
                               Form1->TrackBar6, Form1->TrackBar7, Form1->TrackBar8, Form1->TrackBar9};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(bars[i]->Position(), positions[i]) << i;
    EXPECT_TRUE(Rerendered());
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(CorrectionPanelTest, EditsRefuseTextsThatAreNoValue)
{
    Form1->PhotoOffsetX = 12;
    Form1->Edit5->SetText("1.5");
    dialogs->Message("横移動量が有効な値ではありません。", IDOK, "Plovis", MB_OK);
    Form1->Edit5Exit();
    EXPECT_EQ(Form1->PhotoOffsetX, 12);
    dialogs->Message("縦移動量が有効な値ではありません。", IDOK, "Plovis", MB_OK);
    Form1->Edit6->SetText("y");
    dialogs->Message("回転角が有効な値ではありません。", IDOK, "Plovis", MB_OK);
    Form1->Edit7->SetText("1,5");
    EXPECT_EQ(Form1->PhotoOffsetY, 0);
    EXPECT_EQ(Form1->PhotoAngle, 0.0f);
    Form1->Edit7->SetText("-12.25");
    EXPECT_EQ(Form1->PhotoAngle, -12.25f);

    // A number that is no zoom keeps the zoom without a word; a text that is
    // no number is refused.
    Form1->Edit8->UserEdited("1.25");
    for (const char* text : {"0", "-1", "1e999", "0."}) {
        Form1->Edit8->UserEdited(text);
        EXPECT_EQ(Form1->PhotoZoom, 1.25f) << text;
    }
    dialogs->Message("拡大率が有効な値ではありません。", IDOK, "Plovis", MB_OK);
    Form1->Edit8->UserEdited("nan");
    EXPECT_EQ(Form1->PhotoZoom, 1.25f);
    Form1->Edit8->UserEdited("1e9");
    EXPECT_EQ(Form1->PhotoZoom, 1e9f);
    EXPECT_TRUE(dialogs->AllUsed());
}

TEST_F(CorrectionPanelTest, TypingAZoomKeyByKeyShowsNoBoxOnItsWay)
{
    // The operator clears the zoom edit and types 0.8, the way to zoom out;
    // a box on the way ("", "0", "0.") would fail the test.
    TypeKeys(*Form1->Edit8, "\b0.8");
    EXPECT_EQ(Form1->Edit8->Text(), "0.8");
    EXPECT_EQ(Form1->PhotoZoom, 0.8f);
    EXPECT_FALSE(Rerendered());
    // "-" and "-1" are a number on its way and a number that is no zoom.
    TypeKeys(*Form1->Edit8, "\b\b\b-1");
    EXPECT_EQ(Form1->PhotoZoom, 0.8f);
    TypeKeys(*Form1->Edit8, "\b\b.5");
    EXPECT_EQ(Form1->PhotoZoom, 0.5f);
    // No typing can make a number of this: the edit's message, zoom kept.
    dialogs->Message("拡大率が有効な値ではありません。", IDOK, "Plovis", MB_OK);
    TypeKeys(*Form1->Edit8, "x");
    EXPECT_EQ(Form1->Edit8->Text(), ".5x");
    EXPECT_EQ(Form1->PhotoZoom, 0.5f);
    EXPECT_TRUE(dialogs->AllUsed());
}

TEST_F(CorrectionPanelTest, ExtremeTypedZoomsNeverBuildAbsurdCrops)
{
    const std::string photo = Form1->Memo2->Lines()[0];
    Form1->Edit2->SetText(folder.File("out"));
    Form1->CheckBox3->SetChecked(false);  // the plain stretch of the one pixel
    // So large a zoom crops a single pixel: the photo area is one colour.
    Form1->Edit8->UserEdited("1e9");
    ASSERT_EQ(Form1->ComposeAndSave("", false, false), 0);
    const TFrameLayout& l = Form1->FrameLayout;
    EXPECT_EQ(Form1->PhotoBitmap->Width(), l.Photowidth);
    const TColor first = Form1->PhotoBitmap->Pixel(0, 0);
    EXPECT_EQ(CountPixels(*Form1->PhotoBitmap, [&](TColor c) { return c == first; }), l.Photowidth * l.Photoheight);
    // So small a one would need a crop of 10^8 pixels a side: the photo is skipped.
    Form1->Edit8->UserEdited("0.00001");
    Form1->Memo1->Lines().Clear();
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), -2);
    EXPECT_EQ(Form1->Memo1->Lines().Lines(), std::vector<std::string>{"切り抜き範囲が16384pxを超えるのでスキップ"});
    EXPECT_FALSE(FileExists(folder.File("out/a.jpg")));
    // The preview is skipped the same way and the window stays usable.
    Rerendered();
    Form1->BitBtn4->Click();
    EXPECT_FALSE(Rerendered());
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(CorrectionPanelTest, PanelSwitchShowsThePanelBesideTheNarrowerPreview)
{
    Form1->SetBounds(0, 0, 1000, 760);
    Form1->CheckBox7->SetChecked(false);
    EXPECT_FALSE(Form1->Panel1->Visible());
    const int wide = Form1->ScrollBox1->Width();
    Form1->CheckBox7->SetChecked(true);
    EXPECT_TRUE(Form1->Panel1->Visible());
    EXPECT_EQ(Form1->ScrollBox1->Width(), wide - Form1->Panel1->Width());
    EXPECT_EQ(Form1->Panel1->Left(), Form1->ClientWidth() - Form1->Panel1->Width() - 12);
}
