// What a run may write over, through drops and the run buttons: a photo of
// the list (under any spelling of its path) is replaced only after its own
// question, whatever an earlier Yes said; a picture written by the run for
// one photo is not lost under another photo's of the same name without a
// question; the batch counts the files it left. Every source photo that was
// not agreed to be replaced keeps its bytes.
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/jpeg_codec.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kYesNoDefaultNo = MB_YESNO | MB_DEFBUTTON2;

std::string SourceQuestion(const std::string& path)
{
    return "保存先のファイルは元の写真です。\n元の写真を上書きして宜しいですか？\n\n" + path;
}

std::string ClashQuestion(const std::string& path, const std::string& earlier, const std::string& photo)
{
    return "同じ名前のファイルをこの作業で既に保存しました。\n上書きして宜しいですか？\n\n保存先: " + path +
           "\n先の写真: " + earlier + "\nこの写真: " + photo;
}

// The bytes of each file.
std::map<std::string, std::string> Bytes(const std::vector<std::string>& files)
{
    std::map<std::string, std::string> bytes;
    for (const std::string& file : files)
        bytes[file] = ReadFileBytes(file);
    return bytes;
}

std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool IsFinishedPicture(const std::string& path)
{
    TBitmap picture;
    return DecodeJpegFile(path, picture) == JpegResult::Ok && picture.Width() == Form1->FrameLayout.Framewidth &&
           picture.Height() == Form1->FrameLayout.Frameheight;
}

class OverwriteCheckTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindow();
    }

    // Dropped from a file manager on the preview, or on the output folder field.
    void DropOnPreview(const std::string& path)
    {
        const TControl& box = *Form1->ScrollBox1;
        SendFileDrop(*Form1, box.Left() + box.Width() - 60, box.Top() + 40, {path});
    }
    void DropOnOutputField(const std::string& path)
    {
        const TControl& field = *Form1->Edit2;
        SendFileDrop(*Form1, field.Left() + field.Width() / 2, field.Top() + field.Height() / 2, {path});
    }

    void ExpectSourceQuestion(const std::string& path, int answer)
    {
        dialogs->Message(SourceQuestion(path), answer, "Plovis", kYesNoDefaultNo);
    }
    void ExpectSaveDialog(const std::string& proposed, std::vector<std::string> chosen)
    {
        dialogs->File(std::move(chosen), [proposed](const FileDialogRequest& r) { EXPECT_EQ(r.fileName, proposed); });
    }
};

}  // namespace

TEST_F(OverwriteCheckTest, ASingleDroppedPhotoIsReplacedOnlyAfterItsOwnQuestion)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    const std::string a = photos + "/a.jpg", b = photos + "/b.jpg";
    const auto originals = Bytes({a, b});
    DropOnPreview(a);
    ASSERT_EQ(Form1->Edit2->Text(), photos + "/");

    // No: the save dialog proposes the photo itself; taking it asks again;
    // the dialog cancelled skips the photo, and the end of the list says so.
    ExpectSourceQuestion(a, IDNO);
    ExpectSaveDialog(a, {a});
    ExpectSourceQuestion(a, IDNO);
    ExpectSaveDialog(a, {});
    dialogs->Message("作業が終了しました。保存ファイル数:   0 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn3->Click();
    EXPECT_EQ(Bytes({a, b}), originals);

    // Yes replaces that photo and nothing else.
    DropOnPreview(a);
    ExpectSourceQuestion(a, IDYES);
    dialogs->Message("完了しました。", IDOK);
    Form1->BitBtn3->Click();
    EXPECT_TRUE(IsFinishedPicture(a));
    EXPECT_EQ(ReadFileBytes(b), originals.at(b));
    EXPECT_EQ(Names(photos), (std::set<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(OverwriteCheckTest, APhotoFolderDroppedOnBothFieldsIsAskedAboutPhotoByPhoto)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    const std::string a = photos + "/a.jpg", b = photos + "/b.jpg", c = photos + "/c.jpg";
    const auto originals = Bytes({a, b, c});
    DropOnPreview(photos);
    DropOnOutputField(photos);
    ASSERT_EQ(Form1->Edit2->Text(), photos + "/");

    // a: No, then the dialog cancelled. b: Yes, which covers b alone. c: No,
    // then another photo chosen in the dialog is asked about as well.
    ExpectSourceQuestion(a, IDNO);
    ExpectSaveDialog(a, {});
    ExpectSourceQuestion(b, IDYES);
    ExpectSourceQuestion(c, IDNO);
    ExpectSaveDialog(c, {a});
    ExpectSourceQuestion(a, IDNO);
    ExpectSaveDialog(a, {});
    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:2", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(ReadFileBytes(a), originals.at(a));
    EXPECT_EQ(ReadFileBytes(c), originals.at(c));
    EXPECT_TRUE(IsFinishedPicture(b));
    EXPECT_EQ(Names(photos), (std::set<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
}

TEST_F(OverwriteCheckTest, APhotoReachedThroughAnotherPathIsAskedAboutEvenAfterAYesToOverwriting)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    const std::string a = photos + "/a.jpg", b = photos + "/b.jpg";
    const auto originals = Bytes({a, b});
    // An output folder holding last year's picture of a, and b itself under
    // a second name.
    const std::string prints = folder.File("prints");
    fs::create_directory(prints);
    WriteFileBytes(prints + "/a.jpg", "last year's picture");
    fs::create_hard_link(b, prints + "/b.jpg");
    DropOnPreview(photos);
    DropOnOutputField(prints);

    dialogs->Message("既に同名のファイルが存在します。\n上書きして宜しいですか？", IDYES, "Plovis", kYesNoDefaultNo);
    ExpectSourceQuestion(prints + "/b.jpg", IDNO);
    ExpectSaveDialog(prints + "/b.jpg", {});
    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_TRUE(IsFinishedPicture(prints + "/a.jpg"));
    EXPECT_EQ(Bytes({a, b, prints + "/b.jpg"}), (std::map<std::string, std::string>{{a, originals.at(a)},
                                                                                  {b, originals.at(b)},
                                                                                  {prints + "/b.jpg", originals.at(b)}}));

    // The photo folder reached through a link.
    const std::string linked = folder.File("linked");
    fs::create_directory_symlink(photos, linked);
    DropOnPreview(photos);
    DropOnOutputField(linked);
    ExpectSourceQuestion(linked + "/a.jpg", IDNO);
    ExpectSaveDialog(linked + "/a.jpg", {});
    ExpectSourceQuestion(linked + "/b.jpg", IDNO);
    ExpectSaveDialog(linked + "/b.jpg", {});
    dialogs->Message("作業が終了しました。保存ファイル数:   0 エラー:0 スキップ:2", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(Bytes({a, b}), originals);
}

TEST_F(OverwriteCheckTest, SameNamesFromTwoSubFoldersAreAskedAboutAndTheBatchCountsTheFilesItLeft)
{
    const std::vector<std::string> names = {"組A/IMG_0001.jpg", "組A/IMG_0002.jpg", "組B/IMG_0001.jpg",
                                            "組B/IMG_0002.jpg"};
    const std::string photos = MakePhotoFolder("2024", names);
    std::vector<std::string> sources;
    for (const std::string& name : names)
        sources.push_back(photos + "/" + name);
    const auto originals = Bytes(sources);
    const std::string out = folder.File("TA2024");
    fs::create_directory(out);
    WriteFileBytes(out + "/IMG_0001.jpg", "last year's picture");
    Form1->CheckBox1->SetChecked(true);
    DropOnPreview(photos);
    ASSERT_EQ(Form1->Edit2->Text(), out);

    // The Yes to last year's picture covers files from before the run only.
    // 組B/IMG_0001: No, then the dialog's choice of 組A/IMG_0002's picture is
    // asked about too, then a new name. 組B/IMG_0002: Yes.
    dialogs->Message("既に同名のファイルが存在します。", IDYES);
    dialogs->Message(ClashQuestion(out + "/IMG_0001.jpg", sources[0], sources[2]), IDNO, "Plovis", kYesNoDefaultNo);
    ExpectSaveDialog(out + "/IMG_0001.jpg", {out + "/IMG_0002.jpg"});
    dialogs->Message(ClashQuestion(out + "/IMG_0002.jpg", sources[1], sources[2]), IDNO, "Plovis", kYesNoDefaultNo);
    ExpectSaveDialog(out + "/IMG_0002.jpg", {out + "/B_IMG_0001.jpg"});
    dialogs->Message(ClashQuestion(out + "/IMG_0002.jpg", sources[1], sources[3]), IDYES, "Plovis", kYesNoDefaultNo);
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(Names(out), (std::set<std::string>{"B_IMG_0001.jpg", "IMG_0001.jpg", "IMG_0002.jpg"}));
    for (const std::string& name : Names(out))
        EXPECT_TRUE(IsFinishedPicture(out + "/" + name)) << name;
    EXPECT_EQ(Bytes(sources), originals);
}

TEST_F(OverwriteCheckTest, SingleRunsOverOneListAreOneRun)
{
    const std::string photos = MakePhotoFolder("2024", {"組A/IMG_0001.jpg", "組B/IMG_0001.jpg"});
    const std::string first = photos + "/組A/IMG_0001.jpg", second = photos + "/組B/IMG_0001.jpg";
    const auto originals = Bytes({first, second});
    const std::string out = folder.File("TA2024");
    Form1->CheckBox1->SetChecked(true);
    DropOnPreview(photos);

    Form1->BitBtn3->Click();
    const std::string firstPicture = ReadFileBytes(out + "/IMG_0001.jpg");
    // The next click of the same list: the picture of the first click is
    // asked about; No and a cancelled dialog skip the photo.
    dialogs->Message(ClashQuestion(out + "/IMG_0001.jpg", first, second), IDNO, "Plovis", kYesNoDefaultNo);
    // The list ends with what its runs did.
    ExpectSaveDialog(out + "/IMG_0001.jpg", {});
    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn3->Click();
    EXPECT_EQ(ReadFileBytes(out + "/IMG_0001.jpg"), firstPicture);

    // A list built again is a new run: the picture is a file from before it.
    DropOnPreview(photos);
    dialogs->Message("既に同名のファイルが存在します。", IDYES, "Plovis", kYesNoDefaultNo);
    Form1->BitBtn3->Click();
    EXPECT_EQ(Bytes({first, second}), originals);
    EXPECT_EQ(Names(out), std::set<std::string>{"IMG_0001.jpg"});
}
