// The command line: nothing or --frame-settings; anything else is refused.
// The windows each start shows.
#include "main/program_start.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "pipeline/frame_layout.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
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

namespace {

// The bounds of the dark pixels of a picture in the columns from x0 on
// (empty when there are none).
TRect DarkInkFrom(const TBitmap& picture, int x0)
{
    TRect ink{picture.Width(), picture.Height(), x0, 0};
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.ScanLine(y);
        for (int x = x0; x < picture.Width(); ++x)
            if (std::max({row[x * 3], row[x * 3 + 1], row[x * 3 + 2]}) < 100)
                ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                       std::max(ink.Bottom, y + 1)};
    }
    return ink;
}

}  // namespace

TEST_F(StartWindowsTest, FreshFolderFrameSettingsStartLeadsStraightToAPrintedDate)
{
    const std::string path = folder.File("Frame/frame001.ini");
    ShowStartWindows(TStartMode::FrameSettings);
    ASSERT_TRUE(FileExists(path));
    EXPECT_TRUE(FileExists(folder.File("Frame/frame001.bmp")));
    EXPECT_EQ(Form3->SettingsFilePath, path);
    const TFrameLayout& l0 = FramePreset(0).layout;
    EXPECT_EQ(Form3->Edit2->Text(), std::to_string(l0.Framewidth));
    EXPECT_EQ(Form3->Edit8->Text(), std::to_string(l0.Bottomheight));
    EXPECT_EQ(Form3->Edit25->Text(), std::to_string(l0.DatePositionX));
    EXPECT_EQ(Form3->Edit26->Text(), std::to_string(l0.DatePositionY));
    EXPECT_EQ(Form4->FrameText(TFrameTextKind::Date).Font.Size(), FramePreset(0).dateSize);

    // 文字列設定 opens at once (any "…が未入力です。" box fails the test).
    dialogs->Modal([](TForm&) {
        Form4->Edit9->UserEdited("2026.03.15");
        Form4->BitBtn14->Click();
    });
    Form3->BitBtn6->Click();
    ASSERT_TRUE(dialogs->AllUsed());
    dialogs->Message("上書き保存しました。", IDOK, "");
    Form3->BitBtn1->Click();
    dialogs->Message("保存した設定を反映しますか？", IDYES);
    Form3->Close();
    ASSERT_FALSE(Form3->Visible());

    Form1->WMDropFiles({MakePhotoFolder("photos", {"a.jpg"})}, true);
    dialogs->Message("完了しました。", IDOK);
    Form1->BitBtn3->Click();
    TBitmap saved;
    ASSERT_EQ(DecodeJpegFile(folder.File("TAphotos/a.jpg"), saved), JpegResult::Ok);
    ASSERT_EQ(saved.Width(), l0.Framewidth);
    // Right of the title's ink only the date prints: centred on its X, its
    // top just below its Y, in the band under the photo.
    const TRect date = DarkInkFrom(saved, (l0.FontPositionX + l0.DatePositionX) / 2);
    ASSERT_LT(date.Left, date.Right) << "no date printed";
    EXPECT_NEAR((date.Left + date.Right) / 2, l0.DatePositionX, 6);
    EXPECT_GE(date.Top, l0.DatePositionY);
    EXPECT_LE(date.Top, l0.DatePositionY + 12);
}

TEST_F(StartWindowsTest, PlainStartProvidesTheFrameFileOnceAndItsFirstResizeFollowsTheWindow)
{
    const std::string path = folder.File("Frame/frame001.ini");
    ShowStartWindows(TStartMode::MainWindow);
    ASSERT_TRUE(FileExists(path));
    const int shown = Form1->Image1->Width();
    Form1->SetBounds(Form1->Left(), Form1->Top(), Form1->Width() + 300, Form1->Height() + 200);
    EXPECT_GT(Form1->Image1->Width(), shown) << "the preview follows the window's size";
    EXPECT_EQ(Form1->PreviewLayout,
              ScaleLayoutToPreview(Form1->FrameLayout, Form1->ScrollBox1->ClientWidth(),
                                   Form1->ScrollBox1->ClientHeight()));

    // The operator's own file (here one whose image is gone) is theirs: a
    // later start neither replaces it nor writes an image for it.
    const std::string own = *ToCp932(kHandWrittenFrame);
    WriteFileBytes(path, own);
    std::filesystem::remove(folder.File("Frame/frame001.bmp"));
    Restart();
    ShowStartWindows(TStartMode::MainWindow);
    EXPECT_EQ(ReadFileBytes(path), own);
    EXPECT_FALSE(FileExists(folder.File("Frame/frame001.bmp")));
}
