// Start-up, placement, settings file and closing of the main window.
#include <gtest/gtest.h>

#include "dialogs/multiline_input_form.h"
#include "dialogs/preferences_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/window_placement.h"
#include "platform/application.h"
#include "platform/ini_file.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

std::vector<int> BarPositions()
{
    return {Form2->TrackBar1->Position(), Form2->TrackBar2->Position(), Form2->TrackBar3->Position(),
            Form2->TrackBar4->Position(), Form2->TrackBar5->Position(), Form2->TrackBar6->Position(),
            Form2->TrackBar7->Position()};
}

}  // namespace

TEST(WindowPlacement, CentresClampsAndLimitsToTheScreen)
{
    const WindowBounds centred = PlaceWindow({-999, -999, 1000, 800}, 946, 745, 1920, 1080);
    EXPECT_EQ(centred.left, (1920 - 946) / 2);
    EXPECT_EQ(centred.top, (1080 - 745) / 2);
    const WindowBounds clamped = PlaceWindow({-50, 3000, 1000, 800}, 946, 745, 1920, 1080);
    EXPECT_EQ(clamped.left, 0);
    EXPECT_EQ(clamped.top, (1080 - 745) / 2);
    const WindowBounds huge = PlaceWindow({10, 20, 50000, 40000}, 946, 745, 1920, 1080);
    EXPECT_EQ(huge.left, 10);
    EXPECT_EQ(huge.width, 1920);
    EXPECT_EQ(huge.height, 1080);
    EXPECT_EQ(StartupAlpha(1), 252);
    EXPECT_EQ(StartupAlpha(30), 178);
    EXPECT_EQ(StartupAlpha(99), 5);
}

class MainWindowTest : public AppTest {};

TEST_F(MainWindowTest, WithoutSettingsFileOpensCentredAtDesignSize)
{
    ShowMainWindow();
    EXPECT_EQ(Form1->Caption(), "Plovis");
    EXPECT_EQ(Form1->Width(), 979);
    EXPECT_EQ(Form1->Height(), 735);
    EXPECT_EQ(Form1->Left(), (Screen->Width() - 979) / 2);
    EXPECT_EQ(Form1->PreSaveFolderName, "TA");
    EXPECT_EQ(Form1->InactiveTransparency, 0);
    EXPECT_EQ(BarPositions(), (std::vector<int>{0, 10, 1, 90, 10, 2, 1}));
    EXPECT_EQ(Form1->FrameFilePath, Form1->ProgramFolder + "Frame/frame001.ini");
    EXPECT_EQ(Form1->Edit3->Text(), "\\");
    EXPECT_EQ(Form1->FrameLayout.Framewidth, 1500);
    // The preview shows the frame image: white band under a black photo area.
    const TBitmap& preview = Form1->Image1->Picture();
    EXPECT_EQ(preview.Pixel(10, 10), clBlack);
    EXPECT_EQ(preview.Pixel(10, Form1->PreviewLayout.Frameheight - 3), clWhite);
}

TEST_F(MainWindowTest, SettingsAreReadWithDefaultsClampsAndHexadecimal)
{
    WriteFileBytes(folder.File("vad.ini"),
                   "[Other]\r\nKeep=1\r\n[Config]\r\nBar1=0x20\r\nBar2=5\r\nBar4=0\r\nBar7=4\r\n"
                   "WindowPosX=-50\r\nWindowPosY=-999\r\nWindowWidth=800\r\nWindowHeight=600\r\n"
                   "PreSaveFolderName=\r\n");
    ShowMainWindow();
    // Bar5 is replaced by the layout's line spacing; a missing Bar6 reads as 1.
    EXPECT_EQ(BarPositions(), (std::vector<int>{10, 10, 1, 1, 10, 1, 4}));
    EXPECT_EQ(Form1->ColorStep, 10);
    EXPECT_FLOAT_EQ(Form1->LineSpacing, 1.1f);
    EXPECT_EQ(Form1->InactiveTransparency, 1);
    for (TForm* form : {static_cast<TForm*>(Form1), static_cast<TForm*>(Form2), static_cast<TForm*>(Form3),
                        static_cast<TForm*>(Form4), static_cast<TForm*>(Form5)})
        EXPECT_EQ(form->AlphaBlendValue(), 252);
    EXPECT_EQ(Form1->Width(), 946);
    EXPECT_EQ(Form1->Height(), 745);
    EXPECT_EQ(Form1->Left(), 0);
    EXPECT_EQ(Form1->PreSaveFolderName, "");
}

TEST_F(MainWindowTest, AFolderPrefixThatLeadsElsewhereFallsBackToTA)
{
    for (const char* prefix : {"../", "a/b", "x\\", "C:", "..", "TA..old"}) {
        Restart();
        WriteFileBytes(folder.File("vad.ini"), std::string("[Config]\r\nPreSaveFolderName=") + prefix + "\r\n");
        ShowMainWindow();
        EXPECT_EQ(Form1->PreSaveFolderName, "TA") << prefix;
    }
    Restart();
    WriteFileBytes(folder.File("vad.ini"), "[Config]\r\nPreSaveFolderName=OUT_\r\n");
    ShowMainWindow();
    EXPECT_EQ(Form1->PreSaveFolderName, "OUT_");
}

TEST_F(MainWindowTest, MissingSectionGivesEveryDefault)
{
    WriteFileBytes(folder.File("vad.ini"), "[Elsewhere]\r\nBar1=7\r\n");
    ShowMainWindow();
    EXPECT_EQ(BarPositions(), (std::vector<int>{1, 10, 1, 90, 10, 1, 0}));
    EXPECT_EQ(Form1->Width(), 946);
    EXPECT_EQ(Form1->Height(), 745);
    EXPECT_EQ(Form1->PreSaveFolderName, "TA");
}

TEST_F(MainWindowTest, TransparencyThirtyGivesAlpha178WhileInactive)
{
    WriteFileBytes(folder.File("vad.ini"), "[Config]\r\nBar6=30\r\n");
    ShowMainWindow();
    EXPECT_EQ(Form1->AlphaBlendValue(), 178);
    EXPECT_EQ(Form1->InactiveTransparency, 30);
    Form1->ApplicationEvents1Deactivate();
    EXPECT_TRUE(Form1->AlphaBlend());
    EXPECT_TRUE(Form5->AlphaBlend());
    Form1->ApplicationEvents1Activate();
    EXPECT_FALSE(Form1->AlphaBlend());
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsInOrderAndTheNextStartRestoresThem)
{
    WriteFileBytes(folder.File("vad.ini"), "[Other]\r\nKeep=yes\r\n");
    ShowMainWindow();
    Form2->TrackBar1->SetPosition(3);
    Form2->TrackBar4->SetPosition(75);
    Form2->TrackBar7->SetPosition(4);
    Form1->SetBounds(40, 30, 1000, 800);
    Form1->PreSaveFolderName = "OUT";
    Restart();
    const std::string written = ReadFileBytes(folder.File("vad.ini"));
    const char* keys[] = {"Bar1=3",         "Bar2=10",         "Bar3=1",           "Bar4=75",
                          "Bar5=10",        "Bar6=1",          "Bar7=4",           "WindowPosX=40",
                          "WindowPosY=30",  "WindowWidth=1000", "WindowHeight=800", "PreSaveFolderName=OUT"};
    std::size_t at = written.find("[Config]");
    ASSERT_NE(at, std::string::npos);
    for (const char* key : keys) {
        const std::size_t next = written.find(key, at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }
    EXPECT_NE(written.find("Keep=yes"), std::string::npos);

    ShowMainWindow();
    EXPECT_EQ(BarPositions(), (std::vector<int>{3, 10, 1, 75, 10, 1, 4}));
    EXPECT_EQ(Form1->Left(), 40);
    EXPECT_EQ(Form1->Top(), 30);
    // A stored size stays within the screen, and never below the minimum.
    EXPECT_EQ(Form1->Width(), std::max(std::min(1000, Screen->Width()), 946));
    EXPECT_EQ(Form1->Height(), std::max(std::min(800, Screen->Height()), 745));
    EXPECT_EQ(Form1->PreSaveFolderName, "OUT");
}

TEST_F(MainWindowTest, WhereTheOperatorMovesTheWindowIsWhereItOpensNextTime)
{
    ShowMainWindow();
    MoveWindowAsOperator(*Form1, 123, 77);
    ASSERT_TRUE(WaitUntil([] { return Form1->Left() == 123 && Form1->Top() == 77; }));
    Restart();
    const std::string written = ReadFileBytes(folder.File("vad.ini"));
    EXPECT_NE(written.find("WindowPosX=123\r\nWindowPosY=77\r\n"), std::string::npos) << written;
    ShowMainWindow();
    EXPECT_EQ(Form1->Left(), 123);
    EXPECT_EQ(Form1->Top(), 77);
}

TEST_F(MainWindowTest, UnderAWindowManagerTheStoredBoundsAreTheOuterOnes)
{
    if (!HasWindowManager())
        GTEST_SKIP() << "needs a window manager: scripts/window-tests.sh";
    WriteFileBytes(folder.File("vad.ini"),
                   "[Config]\r\nWindowPosX=100\r\nWindowPosY=50\r\nWindowWidth=1000\r\nWindowHeight=800\r\n");
    ShowMainWindow();
    ASSERT_TRUE(WaitUntil([] { return Form1->ClientHeight() < Form1->Height(); })) << "no frame came";
    EXPECT_TRUE(WaitUntil([] { return WindowFrameOnScreen(*Form1) == TRect{100, 50, 1100, 850}; }));
    // Laid out in the client area, which the frame has made smaller.
    EXPECT_EQ(Form1->StatusBar1->Top() + Form1->StatusBar1->Height(), Form1->ClientHeight());
    EXPECT_EQ(Form1->ScrollBox1->Width(), Form1->ClientWidth() - 24);

    MoveWindowAsOperator(*Form1, 40, 30);
    ASSERT_TRUE(WaitUntil([] { return Form1->Left() == 40 && Form1->Top() == 30; }));
    Restart();
    const std::string written = ReadFileBytes(folder.File("vad.ini"));
    EXPECT_NE(written.find("WindowPosX=40\r\nWindowPosY=30\r\nWindowWidth=1000\r\nWindowHeight=800\r\n"),
              std::string::npos)
        << written;

    // The next start opens with the same outer bounds: the window does not
    // grow by its frame at every start.
    ShowMainWindow();
    EXPECT_TRUE(WaitUntil([] { return WindowFrameOnScreen(*Form1) == TRect{40, 30, 1040, 830}; }));
    EXPECT_EQ(Form1->Width(), 1000);
    EXPECT_EQ(Form1->Height(), 800);
}

TEST_F(MainWindowTest, UnderAWindowManagerTheFirstStartHasTheDesignedClientAreaAndLaysOutThePanel)
{
    if (!HasWindowManager())
        GTEST_SKIP() << "needs a window manager: scripts/window-tests.sh";
    ShowMainWindow();
    ASSERT_TRUE(WaitUntilFramed(*Form1)) << "no frame came";
    // The design size is the client area; with the frame around it the
    // window passes its minimum, so the resize rule lays out the controls.
    EXPECT_EQ(Form1->ClientWidth(), 979);
    EXPECT_EQ(Form1->ClientHeight(), 735);
    EXPECT_GE(Form1->Width(), 946);
    EXPECT_GE(Form1->Height(), 745);

    const TPoint box = Form1->CheckBox7->ClientToScreen({8, Form1->CheckBox7->Height() / 2});
    ClickOnScreen(box.x, box.y);
    ASSERT_TRUE(WaitUntil([] { return Form1->Panel1->Visible(); }));
    EXPECT_EQ(Form1->ScrollBox1->Left() + Form1->ScrollBox1->Width(), Form1->Panel1->Left());
    EXPECT_EQ(Form1->Panel1->Left() + Form1->Panel1->Width(), Form1->ClientWidth() - 12);
    EXPECT_EQ(Form1->ScrollBox1->Top(), Form1->Panel1->Top());
}

TEST_F(MainWindowTest, UnwritableSettingsAreReportedAndTheWindowStillCloses)
{
    ShowMainWindow();
    // A program folder below a regular file cannot be written, even by root.
    WriteFileBytes(folder.File("blocker"), "x");
    Form1->ProgramFolder = folder.File("blocker") + "/";
    dialogs->Message(folder.File("blocker") + "/vad.ini に書き込めません", IDOK);
    Form1->Close();
    EXPECT_FALSE(Form1->Visible());
}

TEST_F(MainWindowTest, ResizeRulesRefuseWhileBusyAndKeepTheMinimum)
{
    ShowMainWindow();
    Form1->SetBounds(Form1->Left(), Form1->Top(), 800, 600);
    EXPECT_EQ(Form1->Width(), 946);
    EXPECT_EQ(Form1->Height(), 745);
    Form1->Busy = true;
    Form1->SetBounds(Form1->Left(), Form1->Top(), 1100, 900);
    EXPECT_EQ(Form1->Width(), 946);
    Form1->Busy = false;
    Form1->SetBounds(Form1->Left(), Form1->Top(), 1100, 900);
    EXPECT_EQ(Form1->Width(), 1100);
    // The status bar follows the bottom edge.
    EXPECT_EQ(Form1->StatusBar1->Top() + Form1->StatusBar1->Height(), 900);
    EXPECT_EQ(Form1->ScrollBox1->Width(), 1100 - 24);
}

TEST_F(MainWindowTest, NewCommandAskedNoChangesNothing)
{
    ShowMainWindow();
    Form1->ComboBox1->SetItemIndex(5);
    Form1->ApplyFrameLayout(5);
    Form1->Edit1->SetText("/photos");
    dialogs->Message("新規作成して宜しいですか？", IDNO, "Plovis", MB_YESNO);
    Form1->BitBtn5->Click();
    EXPECT_EQ(Form1->PresetIndex, 5);
    EXPECT_EQ(Form1->Edit1->Text(), "/photos");

    dialogs->Message("新規作成して宜しいですか？", IDYES);
    Form1->BitBtn5->Click();
    EXPECT_EQ(Form1->PresetIndex, 0);
    EXPECT_EQ(Form1->Edit1->Text(), "");
    // The layout box keeps the item it shows.
    EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 5);
    EXPECT_FALSE(Form1->BitBtn12->Enabled());
}
