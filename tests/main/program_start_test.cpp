// The command line: nothing or --frame-settings; anything else is refused.
// The windows each start shows.
#include "main/program_start.h"

#include <gtest/gtest.h>

#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "tests/main/app_test_support.h"

TEST(ProgramStart, CommandLine)
{
    const char* none[] = {"plovis"};
    EXPECT_EQ(ParseCommandLine(1, none), TStartMode::MainWindow);
    const char* frame[] = {"plovis", "--frame-settings"};
    EXPECT_EQ(ParseCommandLine(2, frame), TStartMode::FrameSettings);
    const char* other[] = {"plovis", "--frame"};
    EXPECT_EQ(ParseCommandLine(2, other), std::nullopt);
    const char* twice[] = {"plovis", "--frame-settings", "--frame-settings"};
    EXPECT_EQ(ParseCommandLine(3, twice), std::nullopt);
    const char* qt[] = {"plovis", "-platform", "offscreen"};
    EXPECT_EQ(ParseCommandLine(3, qt), std::nullopt);
}

namespace {

// Every key the writers write, with fonts, colours, character sets, angles,
// flags, alignment and line spacing that no built-in layout has.
const char kHandWrittenFrame[] =
    "[Frame]\r\nPhotoFile=frame001.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\nPhotowidth=1430\r\n"
    "Photoheight=887\r\nLeftwidth=35\r\nRightwidth=35\r\nTopheight=35\r\nBottomheight=129\r\nFontPositionX=750\r\n"
    "FontPositionY=940\r\nDatePositionX=1255\r\nDatePositionY=957\r\nOtherPositionX=200\r\nOtherPositionY=950\r\n"
    "ReferencePosition=3\r\n"
    "[Title]\r\nCharset=1\r\nName=ＭＳ 明朝\r\nSize=40\r\nStyle=BU\r\nColor=255\r\nText=卒業記念\\n２０２６\r\n"
    "Vrt=1\r\nAngle=-5\r\n"
    "[Date]\r\nCharset=1\r\nName=ＭＳ 明朝\r\nSize=24\r\nStyle=I\r\nColor=32768\r\nText=2026.03.15\r\nVrt=1\r\n"
    "Angle=10\r\n"
    "[Other]\r\nCharset=1\r\nName=ＭＳ ゴシック\r\nSize=20\r\nStyle=S\r\nColor=16711680\r\nText=３年Ｂ組\r\n"
    "Angle=-30\r\n"
    "[Config]\r\nBar5=25\r\n";

class StartWindowsTest : public AppTest {};

}  // namespace

TEST_F(StartWindowsTest, FrameSettingsStartKeepsTheLoadedFileThroughTheMainWindowsFirstResize)
{
    ForceDirectories(folder.File("Frame"));
    const std::string path = folder.File("Frame/frame001.ini");
    const std::string written = *ToCp932(kHandWrittenFrame);
    WriteFileBytes(path, written);
    WriteFileBytes(folder.File("Frame/frame001.bmp"), "bmp");

    ShowStartWindows(TStartMode::FrameSettings);
    ASSERT_TRUE(Form1->Visible() && Form3->Visible());
    EXPECT_EQ(Form3->SettingsFilePath, path);
    // The window system's first resize of the main window (a window
    // manager's frame arriving, or the operator) comes when it comes.
    Form1->SetBounds(Form1->Left(), Form1->Top(), Form1->Width() + 40, Form1->Height() + 30);
    ASSERT_GE(Form1->Height(), 745) << "the resize is one that lays the window out";
    const TFrameText title = Form4->FrameText(TFrameTextKind::Title);
    EXPECT_EQ(title.Font.Size(), 40);
    EXPECT_EQ(title.Angle, -5);
    EXPECT_EQ(Form3->TrimmingAlignment(), 3);

    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    EXPECT_EQ(ReadFileBytes(path), written);
}
