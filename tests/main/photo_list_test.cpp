// The photo list: what a drop on the window or on the output folder field
// does, the folder scan (names, counts, sub-folders, links), the photo open
// dialog and the output folder browser.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <Qt>
#include <gtest/gtest.h>

#include "platform/application.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

std::vector<std::string> PhotoList()
{
    return Form1->Memo2->Lines().Lines();
}

std::vector<std::string> ProcessingLog()
{
    return Form1->Memo1->Lines().Lines();
}

std::string StatusText(int panel)
{
    return Form1->StatusBar1->Panels(panel).Text();
}

// The field's text replaced key by key, as the operator types it.
void TypeInto(TEdit& field, const std::string& text)
{
    TypeKeys(field, std::string(field.Text().size(), '\b') + text);
}

bool RunButtonsEnabled()
{
    return Form1->BitBtn8->Enabled() && Form1->BitBtn3->Enabled() && Form1->BitBtn11->Enabled() &&
           Form1->BitBtn12->Enabled();
}

class PhotoListTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindow();
    }

    // A folder below the program folder, created with its parents.
    std::string MakeFolder(const std::string& relative)
    {
        const std::string path = folder.File(relative);
        std::filesystem::create_directories(path);
        return path;
    }

    // A folder holding one real photo "a.jpg" (the one a drop loads first).
    std::string MakePhotoFolder(const std::string& relative)
    {
        const std::string path = MakeFolder(relative);
        WriteTestJpeg(path + "/a.jpg", 400, 300);
        return path;
    }

    // The mouse last seen over the form's client area away from every field.
    void MouseAwayFromOutputField() { Form1->FormMouseMove({}, 700, 300); }
};

}  // namespace

TEST_F(PhotoListTest, DroppedFolderBecomesTheListAndProposesAnOutputFolderOnce)
{
    const std::string first = MakePhotoFolder("pics/2024");
    WriteTestJpeg(first + "/b.jpg", 400, 300);
    Form1->OverwriteConfirmed = true;
    Form1->PhotoIndex = 1;

    Form1->WMDropFiles({first}, true);
    EXPECT_EQ(Form1->Edit1->Text(), first);
    EXPECT_EQ(Form1->Edit2->Text(), folder.File("pics/TA2024"));
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{first + "/a.jpg", first + "/b.jpg"}));
    EXPECT_EQ(ProcessingLog(), PhotoList());
    EXPECT_EQ(Form1->PhotoIndex, 0);
    EXPECT_FALSE(Form1->OverwriteConfirmed);
    EXPECT_TRUE(Form1->BitBtn11->Visible());
    EXPECT_EQ(StatusText(0), "サブフォルダ数 0  全ファイル数 2   JPEGファイル数 2");
    EXPECT_EQ(StatusText(1), first + "/a.jpg");
    EXPECT_TRUE(RunButtonsEnabled());

    // Only the first of several dropped items counts, and the output folder,
    // once filled, stays as it is.
    const std::string second = MakePhotoFolder("pics/2025");
    Form1->PreSaveFolderName = "OUT";
    Form1->WMDropFiles({second, first}, true);
    EXPECT_EQ(Form1->Edit1->Text(), second);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{second + "/a.jpg"}));
    EXPECT_EQ(Form1->Edit2->Text(), folder.File("pics/TA2024"));

    Form1->Edit2->SetText("");
    Form1->WMDropFiles({second + "/"}, true);
    EXPECT_EQ(Form1->Edit2->Text(), folder.File("pics/OUT2025"));
}

TEST_F(PhotoListTest, DroppedPhotoIsTheWholeListAndProposesItsOwnFolder)
{
    const std::string pics = MakePhotoFolder("pics");
    WriteTestJpeg(pics + "/b.jpg", 400, 300);
    Form1->WMDropFiles({pics + "/b.jpg"}, true);
    EXPECT_EQ(Form1->Edit1->Text(), pics + "/b.jpg");
    EXPECT_EQ(Form1->Edit2->Text(), pics + "/");
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{pics + "/b.jpg"}));
    EXPECT_FALSE(Form1->BitBtn11->Visible());
    EXPECT_TRUE(ProcessingLog().empty());
    EXPECT_EQ(StatusText(0), "サブフォルダ数 0  全ファイル数 0   JPEGファイル数 0");
    EXPECT_EQ(StatusText(1), pics + "/b.jpg");
}

TEST_F(PhotoListTest, DropOnTheOutputFieldSetsOnlyTheOutputFolder)
{
    const std::string photos = MakePhotoFolder("photos");
    Form1->WMDropFiles({photos}, true);
    Form1->PhotoIndex = 1;
    const std::vector<std::string> list = PhotoList();
    const std::string status = StatusText(0);

    const std::string other = MakePhotoFolder("p");
    WriteTestJpeg(other + "/b.JPG", 400, 300);
    Form1->Edit2MouseMove({}, 0, 0);
    Form1->WMDropFiles({other + "/a.jpg"}, true);
    EXPECT_EQ(Form1->Edit2->Text(), other + "/");
    EXPECT_EQ(Form1->Edit1->Text(), photos);
    EXPECT_EQ(PhotoList(), list);
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_EQ(StatusText(0), status);

    // The field's right and bottom edges still count as on it.
    const int right = Form1->Edit2->Left() + Form1->Edit2->Width();
    const int bottom = Form1->Edit2->Top() + Form1->Edit2->Height();
    Form1->FormMouseMove({}, right, bottom);
    Form1->WMDropFiles({other}, true);
    EXPECT_EQ(Form1->Edit2->Text(), other + "/");
    EXPECT_EQ(Form1->Edit1->Text(), photos);
    EXPECT_EQ(PhotoList(), list);
    EXPECT_EQ(Form1->PhotoIndex, 1);
    // The folder was scanned all the same: its photos are in the log.
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{other + "/a.jpg", other + "/b.JPG"}));
    EXPECT_EQ(Form1->JpegCount, 2);

    // One pixel further is the window: an ordinary drop.
    Form1->FormMouseMove({}, right + 1, bottom);
    Form1->WMDropFiles({other}, true);
    EXPECT_EQ(Form1->Edit1->Text(), other);
    EXPECT_EQ(Form1->PhotoIndex, 0);
    EXPECT_EQ(PhotoList().size(), 2u);

    // A move over the preview area is taken in window coordinates.
    Form1->ScrollBox1MouseMove({}, 5, 6);
    EXPECT_EQ(Form1->LastMouseX, Form1->ScrollBox1->Left() + 5);
    EXPECT_EQ(Form1->LastMouseY, Form1->ScrollBox1->Top() + 6);
}

TEST_F(PhotoListTest, RealDropsLandWhereTheyAreDroppedWhereverThePointerLastWas)
{
    // A drag from a file manager moves no pointer over the window: the
    // pointer last seen may be anywhere.
    const std::string photos = MakePhotoFolder("photos");
    const std::string earlier = MakePhotoFolder("earlier outputs");
    const std::string outputs = MakeFolder("outputs");
    Form1->Edit2->SetText(outputs + "/");
    const TControl& field = *Form1->Edit2;
    const int fieldX = field.Left() + field.Width() / 2, fieldY = field.Top() + field.Height() / 2;
    // Inside the preview box, right of the preview picture and left of the
    // scroll bar.
    const TControl& box = *Form1->ScrollBox1;
    const int previewX = box.Left() + box.Width() - 60, previewY = box.Top() + 40;

    // The pointer rests on the output field; the photo folder is dropped on
    // the preview: it becomes the photo folder, and the output stays.
    SendPointerMove(*Form1, fieldX, fieldY);
    ASSERT_EQ(Form1->LastMouseX, fieldX);
    ASSERT_EQ(Form1->LastMouseY, fieldY);
    SendFileDrop(*Form1, previewX, previewY, {photos});
    EXPECT_EQ(Form1->Edit1->Text(), photos);
    EXPECT_EQ(Form1->Edit2->Text(), outputs + "/");
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photos + "/a.jpg"}));
    EXPECT_EQ(Form1->LastMouseX, previewX);
    EXPECT_EQ(Form1->LastMouseY, previewY);

    // The pointer rests on the preview; a folder is dropped on the output
    // field, as its hint says: it becomes the output folder, nothing else.
    // (The box reports points inside its 2-pixel border.)
    SendPointerMove(*Form1, previewX, previewY + 10);
    ASSERT_NEAR(Form1->LastMouseY, previewY + 10, 2);
    SendFileDrop(*Form1, fieldX, fieldY, {earlier});
    EXPECT_EQ(Form1->Edit2->Text(), earlier + "/");
    EXPECT_EQ(Form1->Edit1->Text(), photos);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photos + "/a.jpg"}));
}

TEST_F(PhotoListTest, EnterInThePhotoFieldTakesTheTypedPathAsADropWould)
{
    const std::string pics = MakePhotoFolder("pics/2024");
    WriteTestJpeg(pics + "/b.jpg", 400, 300);
    const std::string single = MakePhotoFolder("single") + "/a.jpg";
    auto type = [](const std::string& text, int key) {
        Form1->Edit1->UserEdited(text);
        SendKey(*Form1->Edit1, key);
    };
    MouseAwayFromOutputField();
    // A fresh start leaves the runs disabled.
    dialogs->Message("新規作成して宜しいですか？", IDYES);
    Form1->BitBtn5->Click();
    ASSERT_FALSE(Form1->BitBtn12->Enabled());

    // Typing alone, or another key, builds nothing.
    type(pics, Qt::Key_Space);
    EXPECT_TRUE(PhotoList().empty());
    EXPECT_FALSE(Form1->BitBtn12->Enabled());

    // A folder: its photos, the proposed output folder, the counts, the
    // first photo shown, the runs enabled.
    type(pics, Qt::Key_Return);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{pics + "/a.jpg", pics + "/b.jpg"}));
    EXPECT_EQ(Form1->Edit2->Text(), folder.File("pics/TA2024"));
    EXPECT_EQ(StatusText(0), "サブフォルダ数 0  全ファイル数 2   JPEGファイル数 2");
    EXPECT_EQ(StatusText(1), pics + "/a.jpg");
    EXPECT_TRUE(Form1->BitBtn11->Visible());
    EXPECT_TRUE(RunButtonsEnabled());
    EXPECT_FALSE(Form1->Busy);

    // One photo: the whole list, without the skip button; the output folder
    // chosen before stays.
    type(single, Qt::Key_Enter);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{single}));
    EXPECT_FALSE(Form1->BitBtn11->Visible());
    EXPECT_EQ(Form1->Edit2->Text(), folder.File("pics/TA2024"));
    EXPECT_EQ(StatusText(1), single);

    // A path that names nothing says so and leaves the list in work, which
    // the field names again.
    dialogs->Message("写真フォルダにJPEGファイルが存在しません。", IDOK, "Plovis", MB_OK);
    type(folder.File("nowhere"), Qt::Key_Return);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{single}));
    EXPECT_EQ(Form1->Edit1->Text(), single);

    // The runs follow: a batch over the typed folder saves its photos.
    type(pics, Qt::Key_Return);
    dialogs->Message("作業が終了しました。保存ファイル数:   2", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_TRUE(std::filesystem::exists(folder.File("pics/TA2024/b.jpg")));
}

// The operator drops a folder, sets Y, then (but for the first round) cancels
// 写真選択..., types a path that names no photo and presses Enter, or spells
// the folder otherwise, then ticks 補正ツール, moves X to 100 and presses
// １枚実行: every round saves the picture of the first, and the preview
// follows the bar.
TEST_F(PhotoListTest, ACancelledChoiceOrAPathNamingNoPhotoLeavesThePhotoInWork)
{
    const std::string photos = MakePhotoFolder("photos");
    const std::string source = ReadFileBytes(photos + "/a.jpg");
    MakeFolder("no photos");
    WriteFileBytes(folder.File("notes.txt"), "x");
    auto refusedTyping = [&](const std::string& text, const char* message) {
        return [&, text, message] {
            dialogs->Message(message, IDOK, "Plovis", MB_OK);
            TypeInto(*Form1->Edit1, text);
            SendKey(*Form1->Edit1, Qt::Key_Return);
        };
    };
    const char* noPhotos = "写真フォルダにJPEGファイルが存在しません。";
    struct Round {
        std::string name;
        std::function<void()> wayIn;
        std::string field;
    };
    const std::vector<Round> rounds = {
        {"plain", [] {}, photos},
        {"cancelled",
         [&] {
             dialogs->File({});
             Form1->BitBtn1->Click();
         },
         photos},
        {"nowhere", refusedTyping("nowhere", noPhotos), photos},
        {"no photos", refusedTyping(folder.File("no photos"), noPhotos), photos},
        {"not a photo", refusedTyping(folder.File("notes.txt"), noPhotos), photos},
        {"empty", refusedTyping("", "入力フォルダが指定されていません。"), photos},
        // The run reads the field anew and finds the same photos.
        {"respelled", [] { TypeKeys(*Form1->Edit1, "/"); }, photos + "/"},
    };
    MouseAwayFromOutputField();
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.name);
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(folder.File("out " + round.name));
        Form1->TrackBar3->SetPosition(45);  // Y -50
        const std::string counts = StatusText(0), shown = StatusText(1);

        round.wayIn();
        EXPECT_EQ(PhotoList(), (std::vector<std::string>{photos + "/a.jpg"}));
        EXPECT_EQ(Form1->Edit1->Text(), round.field);
        EXPECT_EQ(StatusText(0), counts);
        EXPECT_EQ(StatusText(1), shown);
        EXPECT_EQ(Form1->CachedPhotoPath, photos + "/a.jpg");
        EXPECT_EQ(Form1->Edit6->Text(), "-50");
        EXPECT_TRUE(RunButtonsEnabled());
        EXPECT_FALSE(Form1->Busy);

        Form1->CheckBox7->SetChecked(true);
        TBitmap before;
        before.Assign(Form1->Image1->Picture());
        Form1->TrackBar2->SetPosition(60);
        EXPECT_EQ(Form1->Edit5->Text(), "100");
        EXPECT_FALSE(SameBitmap(Form1->Image1->Picture(), before)) << "the preview did not move";
        dialogs->Message("完了しました。", IDOK);
        Form1->BitBtn3->Click();
        EXPECT_EQ(ReadFileBytes(folder.File("out " + round.name + "/a.jpg")),
                  ReadFileBytes(folder.File("out plain/a.jpg")));
        Form1->CheckBox7->SetChecked(false);
    }
    EXPECT_EQ(ReadFileBytes(photos + "/a.jpg"), source);
}

// Every save makes the output folder the current one: paths typed relative
// are taken against the folder current when they are given.
TEST_F(PhotoListTest, RelativePathsAreTakenAgainstTheFolderCurrentWhenGiven)
{
    const std::string photos = MakePhotoFolder("photos");
    const std::vector<std::string> names = {"a.jpg", "b.jpg", "c.jpg"};
    std::vector<std::string> sources;
    for (const std::string& name : names) {
        WriteTestJpeg(photos + "/" + name, 400 + static_cast<int>(sources.size()), 300);
        sources.push_back(ReadFileBytes(photos + "/" + name));
    }
    MouseAwayFromOutputField();
    {
        // The photo folder typed, the output folder proposed beside it.
        const ScopedCurrentFolder here(folder.Path());
        TypeInto(*Form1->Edit1, "photos");
        SendKey(*Form1->Edit1, Qt::Key_Return);
        EXPECT_EQ(Form1->Edit1->Text(), photos);
        EXPECT_EQ(Form1->Edit2->Text(), folder.File("TAphotos"));
        dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
        Form1->BitBtn12->Click();
    }
    EXPECT_EQ(FolderNames(folder.File("TAphotos")), names);
    {
        // Both typed from inside the photo folder, the output folder's field
        // never left: taken when the batch starts.
        const ScopedCurrentFolder here(photos);
        TypeInto(*Form1->Edit2, "../prints");
        TypeInto(*Form1->Edit1, ".");
        SendKey(*Form1->Edit1, Qt::Key_Return);
        EXPECT_EQ(Form1->Edit1->Text(), photos + "/");
        EXPECT_EQ(Form1->Edit2->Text(), "../prints");
        dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
        Form1->BitBtn12->Click();
        EXPECT_EQ(Form1->Edit2->Text(), folder.File("prints"));
    }
    EXPECT_EQ(FolderNames(folder.File("prints")), names);
    {
        // Leaving the field gives the path.
        const ScopedCurrentFolder here(folder.Path());
        TypeInto(*Form1->Edit2, "later");
        LeaveControl(*Form1->Edit2);
        EXPECT_EQ(Form1->Edit2->Text(), folder.File("later"));
    }
    EXPECT_EQ(FolderNames(folder.Path()), (std::vector<std::string>{"TAphotos", "photos", "prints"}));
    EXPECT_EQ(FolderNames(photos), names);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(ReadFileBytes(photos + "/" + names[i]), sources[i]) << names[i];
}

TEST_F(PhotoListTest, ScanListsJpegNamesSortedAndSearchesSubFoldersOnlyWhenTicked)
{
    const std::string top = MakePhotoFolder("2024");
    for (const char* name : {"A.jpg", "c.JPG", "D.Jpg", "e.jpeg", "f.txt", "jpg"})
        WriteFileBytes(top + "/" + name, "x");
    MakeFolder("2024/b/deeper");
    WriteFileBytes(top + "/b/b1.jpg", "x");
    WriteFileBytes(top + "/b/deeper/b2.jpg", "x");
    MouseAwayFromOutputField();

    Form1->WMDropFiles({top}, true);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{top + "/A.jpg", top + "/a.jpg", top + "/c.JPG",
                                                     top + "/D.Jpg"}));
    // Sub-folders are counted even when they are not searched.
    EXPECT_EQ(StatusText(0), "サブフォルダ数 1  全ファイル数 7   JPEGファイル数 4");

    Form1->CheckBox1->SetChecked(true);
    Form1->WMDropFiles({top}, true);
    // Depth first: a sub-folder's photos come where the sub-folder is met.
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{top + "/A.jpg", top + "/a.jpg", top + "/b/b1.jpg",
                                                     top + "/b/deeper/b2.jpg", top + "/c.JPG", top + "/D.Jpg"}));
    EXPECT_EQ(StatusText(0), "サブフォルダ数 2  全ファイル数 9   JPEGファイル数 6");
    EXPECT_EQ(ProcessingLog(), PhotoList());
}

TEST_F(PhotoListTest, LinkBackToAParentIsCountedButNotFollowed)
{
    const std::string top = MakePhotoFolder("2024");
    MakeFolder("2024/sub");
    WriteFileBytes(top + "/sub/b.jpg", "x");
    std::filesystem::create_directory_symlink("..", top + "/sub/up");
    Form1->CheckBox1->SetChecked(true);
    MouseAwayFromOutputField();

    Form1->WMDropFiles({top}, true);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{top + "/a.jpg", top + "/sub/b.jpg"}));
    EXPECT_EQ(StatusText(0), "サブフォルダ数 2  全ファイル数 2   JPEGファイル数 2");
}

TEST_F(PhotoListTest, LongPathsAreKeptWhole)
{
    const std::string deep = MakePhotoFolder(std::string(200, 'd') + "/" + std::string(200, 'e'));
    ASSERT_GT(deep.size(), 400u);
    Form1->WMDropFiles({deep}, true);
    EXPECT_EQ(Form1->Edit1->Text(), deep);
    EXPECT_EQ(Form1->Edit2->Text(), folder.File(std::string(200, 'd') + "/TA" + std::string(200, 'e')));
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{deep + "/a.jpg"}));
    EXPECT_EQ(StatusText(1), deep + "/a.jpg");
}

TEST_F(PhotoListTest, FolderWithoutPhotosLeavesAnEmptyListAndLoadsNothing)
{
    const std::string empty = MakeFolder("empty");
    WriteFileBytes(empty + "/notes.txt", "x");
    WriteFileBytes(empty + "/a.jpeg", "x");
    dialogs->Message("写真フォルダにJPEGファイルが存在しません。", IDOK, "Plovis", MB_OK);
    Form1->WMDropFiles({empty}, true);
    EXPECT_TRUE(PhotoList().empty());
    EXPECT_EQ(StatusText(0), "サブフォルダ数 0  全ファイル数 2   JPEGファイル数 0");
    EXPECT_EQ(StatusText(1), "");
    EXPECT_TRUE(Form1->CachedPhotoPath.empty());
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(PhotoListTest, DropWhileBusyChangesNothing)
{
    const std::string photos = MakePhotoFolder("photos");
    Form1->WMDropFiles({photos}, true);
    Form1->PhotoIndex = 1;
    const std::string status = StatusText(0);
    const std::string other = MakePhotoFolder("other");

    Form1->Busy = true;
    Form1->Edit2->SetText("");
    Form1->WMDropFiles({other}, true);
    Form1->Edit2MouseMove({}, 1, 1);
    Form1->WMDropFiles({other}, true);
    EXPECT_EQ(Form1->Edit1->Text(), photos);
    EXPECT_EQ(Form1->Edit2->Text(), "");
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photos + "/a.jpg"}));
    EXPECT_EQ(ProcessingLog(), PhotoList());
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_EQ(StatusText(0), status);
    EXPECT_TRUE(Form1->Busy);
}

TEST_F(PhotoListTest, OpenPhotoAcceptsOneJpgNameOnly)
{
    const std::string photo = MakePhotoFolder("pics") + "/a.jpg";
    // Before any photo list the dialog opens in the home folder.
    const std::string home = MakeFolder("home");
    const std::optional<std::string> savedHome =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
    setenv("HOME", home.c_str(), 1);
    dialogs->File({photo}, [&](const FileDialogRequest& request) {
        EXPECT_FALSE(request.save);
        EXPECT_EQ(request.title, "画像選択");
        EXPECT_EQ(request.initialDir, home + "/");
        EXPECT_EQ(request.options, 0u);
    });
    EXPECT_EQ(Form1->OpenPhotoFile(), 0);
    savedHome ? setenv("HOME", savedHome->c_str(), 1) : unsetenv("HOME");
    EXPECT_EQ(Form1->Edit1->Text(), photo);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photo}));

    dialogs->File({});
    EXPECT_EQ(Form1->OpenPhotoFile(), -1);
    dialogs->File({"/pics/b.jpeg"});
    EXPECT_EQ(Form1->OpenPhotoFile(), -1);
    dialogs->File({"/pics/b.jpg", "/pics/c.jpg"});
    EXPECT_EQ(Form1->OpenPhotoFile(), -1);
    EXPECT_EQ(Form1->Edit1->Text(), photo);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photo}));

    // Any case; the dialog's own test looks at the last three characters.
    dialogs->File({"/pics/B.JpG"});
    EXPECT_EQ(Form1->OpenPhotoFile(), 0);
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photo, "/pics/B.JpG"}));
}

TEST_F(PhotoListTest, ChoosingAPhotoStartsANewListAndLoadsIt)
{
    const std::string photos = MakePhotoFolder("photos");
    WriteTestJpeg(photos + "/b.jpg", 400, 300);
    Form1->WMDropFiles({photos}, true);
    Form1->PhotoIndex = 1;
    Form1->OverwriteConfirmed = true;

    // The dialog opens in the folder of the list, then in that of the
    // photo chosen.
    const std::string other = MakePhotoFolder("other");
    dialogs->File({other + "/a.jpg"}, [&](const FileDialogRequest& r) { EXPECT_EQ(r.initialDir, photos + "/"); });
    Form1->BitBtn1->Click();
    dialogs->File({photos + "/b.jpg"}, [&](const FileDialogRequest& r) { EXPECT_EQ(r.initialDir, other + "/"); });
    Form1->BitBtn1->Click();
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photos + "/b.jpg"}));
    EXPECT_EQ(Form1->PhotoIndex, 0);
    EXPECT_FALSE(Form1->OverwriteConfirmed);
    EXPECT_EQ(StatusText(1), photos + "/b.jpg");
    EXPECT_FALSE(Form1->Busy);

    // While busy the button does nothing (no dialog either).
    Form1->Busy = true;
    Form1->BitBtn1->Click();
    EXPECT_EQ(PhotoList(), (std::vector<std::string>{photos + "/b.jpg"}));
    Form1->Busy = false;
}

TEST_F(PhotoListTest, OutputFolderBrowser)
{
    const std::string out = MakeFolder("out");
    dialogs->Folder(out);
    Form1->BitBtn13->Click();
    EXPECT_EQ(Form1->Edit2->Text(), out + "/");
    EXPECT_FALSE(Form1->Busy);

    // A cancel: nothing, silently.
    dialogs->Folder("");
    EXPECT_EQ(Form1->BrowseSaveFolder(), -1);
    EXPECT_EQ(Form1->Edit2->Text(), out + "/");
    // The root folder is a folder like any other.
    dialogs->Folder("/");
    EXPECT_EQ(Form1->BrowseSaveFolder(), 0);
    EXPECT_EQ(Form1->Edit2->Text(), "/");
    dialogs->Folder(out);
    EXPECT_EQ(Form1->BrowseSaveFolder(), 0);

    // A regular file is no folder, for root too.
    WriteFileBytes(folder.File("file"), "x");
    dialogs->Folder(folder.File("file"));
    dialogs->Message("入力フォルダの指定が無効か使用不能です。", IDOK, "Plovis", MB_OK);
    EXPECT_EQ(Form1->BrowseSaveFolder(), -1);
    EXPECT_EQ(Form1->Edit2->Text(), out + "/");

    Form1->Busy = true;
    Form1->BitBtn13->Click();
    Form1->Busy = false;
}

