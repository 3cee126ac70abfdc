// The preferences dialog: what its bars hand the main window, the
// transparency, the memory report, and the "設定" button that shows it.
#include "dialogs/preferences_form.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "dialogs/histogram_form.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/preference_values.h"
#include "dialogs/process_memory_report.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "tests/main/app_test_support.h"

TEST(PreferenceValues, AlphaTableAndLineSpacing)
{
    EXPECT_EQ(InactiveAlpha(1), 252);
    EXPECT_EQ(InactiveAlpha(2), 249);
    EXPECT_EQ(InactiveAlpha(50), 127);
    EXPECT_EQ(InactiveAlpha(90), 25);
    EXPECT_EQ(InactiveAlpha(0), 255);
    for (int p = 1; p <= 90; ++p)
        EXPECT_GE(InactiveAlpha(p), 25) << p;
    EXPECT_EQ(InactiveAlpha(99), 5);

    EXPECT_EQ(LineSpacingFor(0), 1.0f);
    EXPECT_EQ(LineSpacingFor(100), 2.0f);
    // The single-precision 0.01: 10 * 0.01f + 1, not the double's 1.1.
    EXPECT_EQ(LineSpacingFor(10), 10 * 0.01f + 1);
    EXPECT_EQ(LineSpacingFor(33), 33 * 0.01f + 1);
}

TEST(ProcessMemoryReport, ElevenLinesInTheirFormats)
{
    ProcessMemoryInfo info;
    info.processId = 4660;
    info.pageFaults = 12;
    info.peakWorkingSet = 1234567890;
    info.workingSet = 12345678901UL;
    info.peakPagefile = 300;
    info.pagefile = 0;
    const std::vector<std::string> lines = ProcessMemoryReport(info);
    const std::vector<std::string> expected = {
        "プロセスID　　　：4660",
        "プロセス・ハンドル　:0x00001234",
        "ページフォールト数　：        12個",
        "最大ワーキングセット：1234567890バイト",
        "現在ワーキングセット：12345678901バイト",
        "最大ページプール：         0バイト",
        "現在ページプール：         0バイト",
        "最大非ページプール：         0バイト",
        "現在非ページプール：         0バイト",
        "最大ページングファイル：       300バイト",
        "現在ページングファイル：         0バイト",
    };
    EXPECT_EQ(lines, expected);
}

class PreferencesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
    }
};

TEST_F(PreferencesTest, BarsHandTheirValuesToTheMainWindow)
{
    Form2->TrackBar1->SetPosition(7);
    EXPECT_EQ(Form1->ColorStep, 7);
    // The zoom step bar runs the same handler, which reads only TrackBar1.
    Form1->ColorStep = 0;
    Form2->TrackBar3->SetPosition(9);
    EXPECT_EQ(Form1->ColorStep, 7);
    EXPECT_EQ(Form2->ZoomStepSetting(), 9);

    Form2->TrackBar2->SetPosition(25);
    EXPECT_EQ(Form1->ColorStrength, 25 * 0.1);
    Form2->TrackBar5->SetPosition(0);
    EXPECT_EQ(Form1->LineSpacing, 1.0f);
    Form2->TrackBar5->SetPosition(100);
    EXPECT_EQ(Form1->LineSpacing, 2.0f);
    // A position that does not change runs nothing.
    Form1->LineSpacing = 3.0f;
    Form2->TrackBar5->SetPosition(100);
    EXPECT_EQ(Form1->LineSpacing, 3.0f);
}

TEST_F(PreferencesTest, TransparencyGoesToFiveWindowsAndTheDialogAtOnce)
{
    Form7->SetAlphaBlendValue(200);
    Form8->SetAlphaBlendValue(210);
    Form2->TrackBar6->SetPosition(50);
    for (TForm* form : {static_cast<TForm*>(Form1), static_cast<TForm*>(Form2), static_cast<TForm*>(Form3),
                        static_cast<TForm*>(Form4), static_cast<TForm*>(Form5)})
        EXPECT_EQ(form->AlphaBlendValue(), 127);
    EXPECT_EQ(Form7->AlphaBlendValue(), 200);
    EXPECT_EQ(Form8->AlphaBlendValue(), 210);
    EXPECT_EQ(Form1->InactiveTransparency, 50);
    EXPECT_TRUE(Form2->AlphaBlend());
    EXPECT_FALSE(Form1->AlphaBlend());
    Form2->TrackBar6->SetPosition(90);
    EXPECT_EQ(Form3->AlphaBlendValue(), 25);

    // "閉じる" makes the dialog opaque before it closes.
    dialogs->Modal([](TForm&) { Form2->BitBtn11->Click(); });
    Form1->BitBtn16->Click();
    EXPECT_FALSE(Form2->AlphaBlend());
    EXPECT_FALSE(Form2->Visible());
}

TEST_F(PreferencesTest, EachShowingRefreshesTheMemoryReport)
{
    Form2->Memo1->Lines().Assign({"old"});
    std::vector<std::string> shown;
    dialogs->Modal([&](TForm&) {
        shown = Form2->Memo1->Lines().Lines();
        Form2->BitBtn11->Click();
    });
    Form1->BitBtn16Click();
    ASSERT_EQ(shown.size(), 11u);
    EXPECT_EQ(shown[0], "プロセスID　　　：" + std::to_string(getpid()));
    EXPECT_EQ(shown[2].find("ページフォールト数　："), 0u);
    EXPECT_EQ(shown[2].size(), std::string("ページフォールト数　：").size() + 10 + std::string("個").size());
}

TEST_F(PreferencesTest, SettingsButtonReRendersAfterTheDialogUnlessBusy)
{
    const std::string photos = MakePhotoFolder("photos", {"a.jpg"});
    Form1->WMDropFiles({photos}, true);
    ASSERT_FALSE(Form1->Edit3->Text().empty());
    auto close = [](TForm&) { Form2->BitBtn11->Click(); };

    Form1->OutputBitmap->SetSize(1, 1);
    dialogs->Modal(close);
    Form1->BitBtn16Click();
    EXPECT_EQ(Form1->OutputBitmap->Width(), Form1->PreviewLayout.Framewidth);
    EXPECT_FALSE(Form1->Busy);

    Form1->OutputBitmap->SetSize(1, 1);
    Form1->Busy = true;
    dialogs->Modal(close);
    Form1->BitBtn16Click();
    EXPECT_EQ(Form1->OutputBitmap->Width(), 1);
    EXPECT_TRUE(Form1->Busy);
    Form1->Busy = false;

    Form1->Edit1->SetText("");
    dialogs->Modal(close);
    Form1->BitBtn16Click();
    EXPECT_EQ(Form1->OutputBitmap->Width(), 1);
}
