// Frame settings files: what the reader makes of odd values, the checks that
// refuse a file, and what the writer keeps.
#include "frame_editor/frame_settings_file.h"

#include <gtest/gtest.h>

#include "frame_editor/frame_measures.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text_encoding.h"
#include "tests/test_support.h"

namespace {

// A valid L-size layout with a frame image beside it.
const char kValidFrame[] =
    "[Frame]\r\nPhotoFile=f.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\nPhotowidth=1430\r\nPhotoheight=887\r\n"
    "Leftwidth=35\r\nRightwidth=35\r\nTopheight=35\r\nBottomheight=129\r\nFontPositionX=750\r\nFontPositionY=940\r\n";

class FrameSettingsFileTest : public ::testing::Test {
protected:
    // Writes the text as code page 932 into f.ini and returns its path.
    std::string Write(const std::string& text)
    {
        const std::string path = dir.File("f.ini");
        WriteFileBytes(path, *ToCp932(text));
        return path;
    }
    TempDir dir;
};

}  // namespace

TEST_F(FrameSettingsFileTest, ReaderDefaultsAndOddValues)
{
    const TFrameSettings s = ReadFrameSettings(Write(
        "[Title]\r\nStyle=SUB\r\n[Date]\r\nStyle=bius\r\nSize=0\r\nVrt=1\r\n[Other]\r\nSize=5000\r\nText=a\\nb\r\n"
        "[Config]\r\nBar5=150\r\n"));
    const TFrameText& title = s.Text(TFrameTextKind::Title);
    EXPECT_EQ(title.Text, "[タイトル文字列]");
    EXPECT_EQ(title.Font.Style(), unsigned{fsBold | fsUnderline | fsStrikeOut});
    EXPECT_EQ(title.Font.Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(title.Font.Size(), 54);
    EXPECT_EQ(title.Font.Charset(), 128);
    EXPECT_EQ(title.Font.Color(), clBlack);
    const TFrameText& date = s.Text(TFrameTextKind::Date);
    EXPECT_EQ(date.Text, "") << "an empty date stays empty";
    EXPECT_EQ(date.Font.Style(), 0u) << "lower-case letters are no style";
    EXPECT_EQ(date.Font.Size(), 54) << "a size of 0 reads as the default";
    EXPECT_EQ(s.Text(TFrameTextKind::Other).Font.Size(), 54) << "so does an absurd one";
    EXPECT_EQ(s.Text(TFrameTextKind::Other).Text, "a\\nb");
    EXPECT_TRUE(s.Text(TFrameTextKind::Other).Vertical) << "the other text shares the date's flag";
    EXPECT_EQ(s.LineSpacing, 100);
    EXPECT_EQ(s.ReferencePosition, 1);
    EXPECT_EQ(s.Layout, TFrameLayout{});

    EXPECT_EQ(ReadFrameSettings(Write("[Config]\r\nBar5=-5\r\n[Frame]\r\nReferencePosition=0\r\n")).LineSpacing, 0);
    EXPECT_EQ(ReadFrameSettings(Write("[Config]\r\nBar5=x\r\n[Frame]\r\nReferencePosition=4\r\n")).LineSpacing, 10);
    EXPECT_EQ(ReadFrameSettings(Write("[Frame]\r\nReferencePosition=4\r\n")).ReferencePosition, 1);
    EXPECT_EQ(ReadFrameSettings(Write("[frame]\r\nreferenceposition=3\r\n")).ReferencePosition, 3)
        << "names match without regard to case";
    const TFrameSettings own = ReadFrameSettings(Write("[Date]\r\nVrt=1\r\n[Other]\r\nVrt=0\r\n"));
    EXPECT_TRUE(own.Text(TFrameTextKind::Date).Vertical);
    EXPECT_FALSE(own.Text(TFrameTextKind::Other).Vertical) << "an other Vrt written by hand decides";
}

TEST_F(FrameSettingsFileTest, ChecksCollectEveryTextInOrder)
{
    std::string path = Write(std::string(kValidFrame));
    EXPECT_EQ(CheckFrameSettings(ReadFrameSettings(path), path), "枠画像ファイルが存在しません。\n");
    WriteFileBytes(dir.File("f.bmp"), "");
    EXPECT_EQ(CheckFrameSettings(ReadFrameSettings(path), path), "");

    // A frame wider than the window's save limit loads.
    path = Write("[Frame]\r\nPhotoFile=f.bmp\r\nFramewidth=3394\r\nFrameheight=1051\r\nPhotowidth=3394\r\n"
                 "Photoheight=1051\r\n");
    EXPECT_EQ(CheckFrameSettings(ReadFrameSettings(path), path), "");

    path = Write("[Frame]\r\nPhotoFile=none.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\nPhotowidth=1400\r\n"
                 "Photoheight=1051\r\n");
    EXPECT_EQ(CheckFrameSettings(ReadFrameSettings(path), path),
              "枠画像ファイルが存在しません。\n枠サイズ設定（横）と写真幅+余白設定の値が合致しません。");

    TFrameSettings bad;
    bad.PhotoFile = "f.bmp";
    bad.Layout.Leftwidth = -1;
    bad.Layout.FontPositionY = 5;
    EXPECT_EQ(CheckFrameSettings(bad, path),
              "枠サイズ設定が０以下になっています。写真サイズ設定が０以下になっています。"
              "左余白サイズ設定が０以下になっています。フォント上位置設定がフレームサイズ外になっています。"
              "枠サイズ設定（横）と写真幅+余白設定の値が合致しません。");

    // Lengths the window's fields cannot hold refuse the file.
    TFrameSettings huge;
    huge.PhotoFile = "f.bmp";
    huge.Layout.Framewidth = huge.Layout.Photowidth = 10000;
    huge.Layout.Frameheight = huge.Layout.Photoheight = 100;
    EXPECT_EQ(CheckFrameSettings(huge, path), "寸法設定が処理可能な最大値を超えています。最大：9999pix");
}

TEST_F(FrameSettingsFileTest, FrameImageNamesAndPlaces)
{
    EXPECT_EQ(FrameImageName("/a/frames/a.b.ini"), "a.b.bmp");
    EXPECT_EQ(FrameImageName("/a/frame"), "frame.bmp");
    EXPECT_EQ(ResolveFrameImagePath("f.bmp", "/a/frames/x.ini"), "/a/frames/f.bmp");
    EXPECT_EQ(ResolveFrameImagePath("/b/f.bmp", "/a/frames/x.ini"), "/b/f.bmp");
    EXPECT_EQ(ResolveFrameImagePath("", "/a/frames/x.ini"), "/a/frames/") << "names the folder: never a file";
}

TEST_F(FrameSettingsFileTest, WriterKeepsOtherKeysAndRoundTrips)
{
    const std::string path = Write("; made by hand\r\n[Frame]\r\nComment=手書き\r\nFramewidth=1\r\n"
                                   "ReferencePosition=3\r\n[Extra]\r\nKey=1\r\n");
    TFrameSettings s;
    s.PhotoFile = "f.bmp";
    for (int i = 0; i < kFrameMeasureCount; ++i)
        MeasureOf(s.Layout, MeasureAt(i)) = 100 + i;
    s.ReferencePosition = 0;
    s.Text(TFrameTextKind::Title).Text = "卒業記念\\n２０２６";
    s.Text(TFrameTextKind::Title).Font.SetStyle(fsItalic | fsBold);
    s.Text(TFrameTextKind::Title).Font.SetSize(30);
    s.Text(TFrameTextKind::Title).Angle = -15;
    s.Text(TFrameTextKind::Date).Vertical = true;
    s.Text(TFrameTextKind::Other).Font.SetColor(RGB(1, 2, 3));
    s.Text(TFrameTextKind::Other).Vertical = true;
    s.LineSpacing = 25;
    WriteFrameSettings(path, s);

    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Frame", "Comment", ""), "手書き");
    EXPECT_EQ(ini.ReadInteger("Frame", "ReferencePosition", 0), 3) << "none selected: the old value stays";
    EXPECT_EQ(ini.ReadInteger("Extra", "Key", 0), 1);
    EXPECT_EQ(ini.ReadString("Title", "Style", ""), "BI");
    EXPECT_FALSE(ini.ValueExists("Other", "Vrt")) << "the shared flag is stored with the date";
    EXPECT_EQ(ini.ReadSection("Title"),
              (std::vector<std::string>{"Charset", "Name", "Size", "Style", "Color", "Text", "Vrt", "Angle"}));
    EXPECT_EQ(ReadFileBytes(path).substr(0, 16), "; made by hand\r\n");
    EXPECT_NE(ReadFileBytes(path).find(*ToCp932("卒業記念")), std::string::npos) << "stored in code page 932";

    const TFrameSettings back = ReadFrameSettings(path);
    EXPECT_EQ(back.Layout, s.Layout);
    EXPECT_EQ(back.ReferencePosition, 3);
    EXPECT_EQ(back.LineSpacing, 25);
    for (TFrameTextKind kind : kFrameTextKinds) {
        EXPECT_EQ(back.Text(kind).Text, s.Text(kind).Text);
        EXPECT_EQ(back.Text(kind).Font.Style(), s.Text(kind).Font.Style());
        EXPECT_EQ(back.Text(kind).Font.Size(), s.Text(kind).Font.Size());
        EXPECT_EQ(back.Text(kind).Font.Color(), s.Text(kind).Font.Color());
        EXPECT_EQ(back.Text(kind).Angle, s.Text(kind).Angle);
        EXPECT_EQ(back.Text(kind).Vertical, kind != TFrameTextKind::Title);
    }
}

TEST_F(FrameSettingsFileTest, FailedWriteThrowsAndLeavesTheFile)
{
    const std::string path = Write(kValidFrame);
    const std::string before = ReadFileBytes(path);
    SetFileWriteFaultForTesting([](const std::string&) { return true; });
    EXPECT_THROW(WriteFrameSettings(path, TFrameSettings{}), std::exception);
    SetFileWriteFaultForTesting({});
    EXPECT_EQ(ReadFileBytes(path), before);
}
