// Composing a photo into its frame and saving it, driven through the main
// window: the checks before composing, previews that never save, the output
// name, the overwrite question and the save dialog, failed saves, and the
// saved file itself.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/preferences_form.h"
#include "frame_editor/text_placement_form.h"
#include "pipeline/density_stamp.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "tests/main/app_test_support.h"

namespace {

const std::string kStamp300("\x01\x01\x2C\x01\x2C", 5);
const std::string kOverwriteQuestion = "既に同名のファイルが存在します。\n上書きして宜しいですか？";
const std::string kCannotSave = "保存先フォルダを作成出来ません。";
constexpr unsigned kYesNoDefaultNo = 0x104;

bool IsWhite(TColor c)
{
    return c == clWhite;
}

// Non-white pixels in rows [top, bottom) of a bitmap.
int InkInRows(const TBitmap& bitmap, int top, int bottom)
{
    TBitmap band;
    band.SetSize(bitmap.Width(), bottom - top);
    band.Canvas()->CopyRect({0, 0, bitmap.Width(), bottom - top}, bitmap, {0, top, bitmap.Width(), bottom});
    return CountPixels(band, [](TColor c) { return !IsWhite(c); });
}

// Removes the write fault at the end of a test, also when it fails.
struct WriteFaultScope {
    explicit WriteFaultScope(std::function<bool(const std::string&)> failWhen)
    {
        SetFileWriteFaultForTesting(std::move(failWhen));
    }
    ~WriteFaultScope() { SetFileWriteFaultForTesting({}); }
};

}  // namespace

class CompositionTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
        photos = folder.File("photos");
        output = folder.File("out");
        std::filesystem::create_directory(photos);
        photo = photos + "/IMG_01.JPG";
        WriteTestJpeg(photo, 480, 360);
        Form1->Edit1->SetText(photos);
        Form1->Edit2->SetText(output);
        Form4->Edit4->SetText("");
        Form4->Edit9->SetText("");
        Form4->Edit7->SetText("");
    }

    // The white band below the photo area of the last composition.
    int InkBelowPhoto(const TFrameLayout& layout) const
    {
        return InkInRows(*Form1->OutputBitmap, layout.Topheight + layout.Photoheight, layout.Frameheight);
    }

    std::string photos;
    std::string output;
    std::string photo;
};

TEST_F(CompositionTest, ChecksRefuseInOrderEachWithItsMessage)
{
    const std::string caption = Form1->MessageCaption;
    EXPECT_EQ(caption, "Plovis");
    Form1->Edit1->SetText("");
    Form1->Edit2->SetText("");
    Form1->Edit3->SetText("");
    dialogs->Message("入力フォルダが指定されていません。", IDOK, caption, MB_OK);
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, true), -1);

    Form1->Edit1->SetText(photos);
    dialogs->Message("出力フォルダが指定されていません。", IDOK, caption, MB_OK);
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, true), -1);
    // A preview, and the photo in work, need no output folder.
    dialogs->Message("枠ファイルが指定されていません。", IDOK, caption, MB_OK);
    EXPECT_EQ(Form1->ComposeAndSave(photo, true, true), -1);
    dialogs->Message("枠ファイルが指定されていません。", IDOK, caption, MB_OK);
    EXPECT_EQ(Form1->ComposeAndSave("", false, true), -1);

    Form1->Edit2->SetText(output);
    Form1->Edit3->SetText("\\");
    const TFrameLayout layout = Form1->FrameLayout;
    for (int* side : {&Form1->FrameLayout.Framewidth, &Form1->FrameLayout.Frameheight}) {
        *side = 0;
        dialogs->Message("枠ファイルが指定されていません。", IDOK, caption, MB_OK);
        EXPECT_EQ(Form1->ComposeAndSave(photo, false, true), -1);
        Form1->FrameLayout = layout;
    }
    EXPECT_EQ(Screen->Cursor(), TCursor::crDefault);
    EXPECT_TRUE(FolderNames(output).empty());
}

TEST_F(CompositionTest, PreviewNeitherChecksTheOutputFolderNorSavesNorDrawsTexts)
{
    Form4->Edit4->SetText("卒業記念");
    Form1->RedrawFramePreview();
    Form1->Edit2->SetText("");
    EXPECT_EQ(Form1->ComposeAndSave(photo, true, true), 0);
    const TFrameLayout& p = Form1->PreviewLayout;
    EXPECT_EQ(Form1->OutputBitmap->Width(), p.Framewidth);
    EXPECT_EQ(Form1->OutputBitmap->Height(), p.Frameheight);
    EXPECT_EQ(InkBelowPhoto(p), 0);
    EXPECT_NE(Form1->OutputBitmap->Pixel(p.Framewidth / 2, p.Photoheight / 2), clWhite);
    EXPECT_EQ(Form1->StatusBar1->Panels(1).Text(), photo);

    Form1->Edit2->SetText(output);
    EXPECT_EQ(Form1->ComposeAndSave(photo, true, false), 0);
    EXPECT_TRUE(FolderNames(output).empty());
}

TEST_F(CompositionTest, FinalWithoutPathDrawsNonBlankTextsAndSavesNothing)
{
    ASSERT_EQ(Form1->LoadPhoto(photo), 0);
    Form4->Edit4->SetText("卒業記念");
    Form1->RedrawFramePreview();  // places the title image in the band
    Form4->Edit4->SetText(" \t ");
    EXPECT_EQ(Form1->ComposeAndSave("", false, true), 0);
    EXPECT_EQ(Form1->OutputBitmap->Width(), Form1->FrameLayout.Framewidth);
    EXPECT_EQ(Form1->OutputBitmap->Height(), Form1->FrameLayout.Frameheight);
    EXPECT_EQ(InkBelowPhoto(Form1->FrameLayout), 0);

    Form4->Edit4->SetText("卒業記念");
    EXPECT_EQ(Form1->ComposeAndSave("", false, true), 0);
    EXPECT_GT(InkBelowPhoto(Form1->FrameLayout), 100);
    EXPECT_TRUE(FolderNames(output).empty());
}

TEST_F(CompositionTest, PhotoIsDrawnWholeAfterATextPreview)
{
    // A flat photo: every pixel has the colour of its bottom-left one.
    TBitmap flat;
    FillBitmap(flat, 480, 360, [](int, int) { return TColor(0x406080); });
    ASSERT_EQ(EncodeJpegFile(flat, photo, 90), JpegResult::Ok);
    Form4->Edit4->SetText("卒業記念");
    Form1->RedrawFramePreview();
    ASSERT_EQ(Form1->LoadPhoto(photo), 0);
    EXPECT_EQ(Form1->ComposeAndSave("", false, false), 0);
    const TFrameLayout& l = Form1->FrameLayout;
    EXPECT_EQ(InkInRows(*Form1->OutputBitmap, 0, l.Photoheight), l.Photowidth * l.Photoheight);
}

TEST_F(CompositionTest, PhotoIsOpaqueWhateverTheOtherWorkBitmapsHold)
{
    TBitmap flat;
    FillBitmap(flat, 480, 360, [](int, int) { return TColor(0x406080); });
    ASSERT_EQ(EncodeJpegFile(flat, photo, 90), JpegResult::Ok);
    const TFrameLayout& l = Form1->FrameLayout;
    for (bool highQuality : {true, false})
        for (float angle : {0.0f, 3.0f}) {
            SCOPED_TRACE(testing::Message() << "high quality " << highQuality << ", angle " << angle);
            for (TBitmap* other : {Form1->TextBitmap, Form1->OutputBitmap, Form1->ScratchBitmap,
                                   Form1->SourceBitmap, Form1->PreviewSourceBitmap})
                other->Transparent = true;
            Form1->CheckBox3->SetChecked(highQuality);
            Form1->PhotoAngle = angle;
            Form1->CachedPhotoPath.clear();
            ASSERT_EQ(Form1->LoadPhoto(photo), 0);
            EXPECT_EQ(Form1->ComposeAndSave("", false, false), 0);
            EXPECT_FALSE(Form1->PhotoBitmap->Transparent);
            if (angle == 0.0f)
                EXPECT_EQ(InkInRows(*Form1->OutputBitmap, 0, l.Photoheight), l.Photowidth * l.Photoheight);
            else
                EXPECT_EQ(Form1->OutputBitmap->Pixel(l.Photowidth / 2, l.Photoheight / 2),
                          Form1->PhotoBitmap->Pixel(l.Photowidth / 2, l.Photoheight / 2));
        }
}

TEST_F(CompositionTest, OutputKeepsTheSourceNameExactlyInTheOutputFolder)
{
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), 0);
    EXPECT_EQ(FolderNames(output), std::vector<std::string>{"IMG_01.JPG"});

    // A trailing "/" is not doubled; a ":" is part of the name.
    const std::string odd = photos + "/12:30 Class.Jpeg";
    WriteTestJpeg(odd, 480, 360);
    Form1->Edit2->SetText(output + "/");
    EXPECT_EQ(Form1->ComposeAndSave(odd, false, false), 0);
    EXPECT_EQ(FolderNames(output), (std::vector<std::string>{"12:30 Class.Jpeg", "IMG_01.JPG"}));
}

TEST_F(CompositionTest, YesToOverwriteSavesAndStopsAskingForTheRestOfTheRun)
{
    const std::string second = photos + "/IMG_02.JPG";
    WriteTestJpeg(second, 480, 360);
    std::filesystem::create_directory(output);
    WriteFileBytes(output + "/IMG_01.JPG", "older picture");
    WriteFileBytes(output + "/IMG_02.JPG", "another older picture");

    dialogs->Message(kOverwriteQuestion, IDYES, Form1->MessageCaption, kYesNoDefaultNo);
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), 0);
    EXPECT_TRUE(Form1->OverwriteConfirmed);
    EXPECT_EQ(Form1->ComposeAndSave(second, false, false), 0);

    TBitmap decoded;
    EXPECT_EQ(DecodeJpegFile(output + "/IMG_01.JPG", decoded), JpegResult::Ok);
    EXPECT_EQ(DecodeJpegFile(output + "/IMG_02.JPG", decoded), JpegResult::Ok);
    EXPECT_EQ(FolderNames(output), (std::vector<std::string>{"IMG_01.JPG", "IMG_02.JPG"}));
}

TEST_F(CompositionTest, NoToOverwriteAsksForANameEndingInJpg)
{
    const std::string existing = output + "/IMG_01.JPG";
    std::filesystem::create_directory(output);
    WriteFileBytes(existing, "older picture");

    dialogs->Message(kOverwriteQuestion, IDNO, Form1->MessageCaption, kYesNoDefaultNo);
    dialogs->File({output + "/photo"}, [&](const FileDialogRequest& r) {
        EXPECT_TRUE(r.save);
        EXPECT_EQ(r.title, "Jpegファイルを保存");
        EXPECT_EQ(r.fileName, existing);
    });
    dialogs->File({output + "/photo.jpg"},
                  [&](const FileDialogRequest& r) { EXPECT_EQ(r.fileName, output + "/photo.jpg"); });
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), 0);
    EXPECT_FALSE(Form1->OverwriteConfirmed);
    EXPECT_EQ(ReadFileBytes(existing), "older picture");
    EXPECT_EQ(FolderNames(output), (std::vector<std::string>{"IMG_01.JPG", "photo.jpg"}));

    // Any case of ".jpg" is taken at once; the question comes again.
    dialogs->Message(kOverwriteQuestion, IDNO, Form1->MessageCaption, kYesNoDefaultNo);
    dialogs->File({output + "/class.JPG"});
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), 0);
    TBitmap decoded;
    EXPECT_EQ(DecodeJpegFile(output + "/class.JPG", decoded), JpegResult::Ok);
    EXPECT_EQ(ReadFileBytes(existing), "older picture");
}

TEST_F(CompositionTest, CancellingTheSaveDialogSkipsThePhoto)
{
    const std::string existing = output + "/IMG_01.JPG";
    std::filesystem::create_directory(output);
    WriteFileBytes(existing, "older picture");
    dialogs->Message(kOverwriteQuestion, IDNO, Form1->MessageCaption, kYesNoDefaultNo);
    dialogs->File({});
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), -2);
    EXPECT_EQ(ReadFileBytes(existing), "older picture");
    EXPECT_EQ(FolderNames(output), std::vector<std::string>{"IMG_01.JPG"});
}

TEST_F(CompositionTest, AnOutputFolderThatCannotBeMadeFailsTheSave)
{
    const std::string plain = folder.File("plain");
    WriteFileBytes(plain, "not a folder");
    for (const std::string& target : {plain, plain + "/sub"}) {
        Form1->Edit2->SetText(target);
        dialogs->Message(kCannotSave + "\n" + target + "/", IDOK, Form1->MessageCaption, MB_OK);
        EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), -4) << target;
    }
    EXPECT_EQ(ReadFileBytes(plain), "not a folder");
}

TEST_F(CompositionTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string existing = output + "/IMG_01.JPG";
    std::filesystem::create_directory(output);
    WriteFileBytes(existing, "older picture");
    const WriteFaultScope fault([](const std::string&) { return true; });

    dialogs->Message(kOverwriteQuestion, IDYES, Form1->MessageCaption, kYesNoDefaultNo);
    dialogs->Message("ファイルを保存出来ません。\n" + existing + "\n書き込み中に入出力エラーが起きました。", IDOK,
                     Form1->MessageCaption, MB_OK);
    EXPECT_EQ(Form1->ComposeAndSave(photo, false, false), -4);
    EXPECT_EQ(ReadFileBytes(existing), "older picture");
    EXPECT_EQ(FolderNames(output), std::vector<std::string>{"IMG_01.JPG"});

    // A new name fails alike and leaves nothing behind.
    const std::string second = photos + "/IMG_02.JPG";
    WriteTestJpeg(second, 480, 360);
    dialogs->Message("ファイルを保存出来ません。\n" + output + "/IMG_02.JPG\n", IDOK, Form1->MessageCaption, MB_OK);
    EXPECT_EQ(Form1->ComposeAndSave(second, false, false), -4);
    EXPECT_EQ(FolderNames(output), std::vector<std::string>{"IMG_01.JPG"});
}

TEST_F(CompositionTest, SavedFileIsTheFramePictureAt300DpiInTheChosenQuality)
{
    Form2->TrackBar4->SetPosition(35);
    ASSERT_EQ(Form1->ComposeAndSave(photo, false, false), 0);
    const std::string bytes = ReadFileBytes(output + "/IMG_01.JPG");
    ASSERT_GE(bytes.size(), 18u);
    EXPECT_EQ(bytes.substr(0, 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(bytes.substr(6, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(bytes.substr(13, 5), kStamp300);
    TBitmap decoded;
    ASSERT_EQ(DecodeJpegFile(output + "/IMG_01.JPG", decoded), JpegResult::Ok);
    EXPECT_EQ(decoded.Width(), 1500);
    EXPECT_EQ(decoded.Height(), 1051);

    // The composed picture encoded at quality 35 and stamped is the same file;
    // at the default quality it is not.
    const std::string reference = folder.File("reference.jpg");
    for (int quality : {35, 90}) {
        ASSERT_EQ(EncodeJpegFile(*Form1->OutputBitmap, reference, quality), JpegResult::Ok);
        ASSERT_TRUE(SetJpegDpi(reference, 300));
        EXPECT_EQ(ReadFileBytes(reference) == bytes, quality == 35) << quality;
    }
}

TEST_F(CompositionTest, TextPreviewRefusesAFrameWidthOfZero)
{
    Form1->FrameLayout.Framewidth = 0;
    const int width = Form1->Image3->Width();
    const int height = Form1->Image3->Height();
    dialogs->Message("フレームサイズが０です。(タイトルプレビュー)", IDOK, "", MB_OK);
    Form1->DrawTextPreview(*Form1->Image3, Form4->Edit22->Font(), "卒業記念", 0);
    EXPECT_EQ(Form1->Image3->Width(), width);
    EXPECT_EQ(Form1->Image3->Height(), height);
    EXPECT_EQ(CountPixels(Form1->Image3->Picture(), [](TColor c) { return !IsWhite(c); }), 0);
}
