// The operator's runs on the real main window: the batch over a dropped
// folder with its progress, counts, log and summary, its abort and resumption,
// the single run and the skip to the end of the list, and the batch's checks.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "frame_editor/text_placement_form.h"

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "tests/main/app_test_support.h"

namespace {

std::vector<std::string> ProcessingLog()
{
    return Form1->Memo1->Lines().Lines();
}

std::string StatusText()
{
    return Form1->StatusBar1->Panels(0).Text();
}

bool RunButtonsEnabled()
{
    return Form1->BitBtn8->Enabled() && Form1->BitBtn3->Enabled() && Form1->BitBtn11->Enabled() &&
           Form1->BitBtn12->Enabled();
}

bool RunButtonsDisabled()
{
    return !Form1->BitBtn8->Enabled() && !Form1->BitBtn3->Enabled() && !Form1->BitBtn11->Enabled() &&
           !Form1->BitBtn12->Enabled();
}

// The size of a saved picture, or (0, 0) when it cannot be read.
TPoint SavedSize(const std::string& path)
{
    TBitmap picture;
    if (DecodeJpegFile(path, picture) != JpegResult::Ok)
        return {0, 0};
    return {picture.Width(), picture.Height()};
}

// Passes every dialog to the scripted driver, noting for each message box
// what the status bar and the progress bar showed while it was up: the
// status between two photos can only be seen from there.
class RecordingDriver : public DialogDriver {
public:
    struct Shown {
        std::string text;
        std::string status;
        int progress;
        int logLines;
    };

    explicit RecordingDriver(std::shared_ptr<ScriptedDialogDriver> script) : script_(std::move(script)) {}

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override
    {
        shown.push_back({text, StatusText(), Form1->ProgressBar1->Position(), Form1->Memo1->Lines().Count()});
        return script_->MessageBox(text, caption, flags);
    }
    std::vector<std::string> FileDialog(const FileDialogRequest& request) override
    {
        return script_->FileDialog(request);
    }
    std::string BrowseForFolder() override { return script_->BrowseForFolder(); }
    bool ChooseFont(TFont& font) override { return script_->ChooseFont(font); }
    int RunModal(TForm& form) override { return script_->RunModal(form); }

    // The first box whose text contains part.
    const Shown* Find(const std::string& part) const
    {
        for (const Shown& box : shown)
            if (box.text.find(part) != std::string::npos)
                return &box;
        return nullptr;
    }

    std::vector<Shown> shown;

private:
    std::shared_ptr<ScriptedDialogDriver> script_;
};

// Runs action once, from the message pumping of a long command, at the first
// pumping for which ready() holds: what an operator does while a batch runs.
class DuringCommand {
public:
    DuringCommand(std::function<bool()> ready, std::function<void()> action)
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, ready = std::move(ready), action = std::move(action)] {
            if (!ready())
                return;
            timer_.stop();
            action();
            done = true;
        });
        timer_.start();
    }
    bool done = false;

private:
    QTimer timer_;
};

// A w x h photo of one colour.
void WriteSolidJpeg(const std::string& path, int w, int h, TColor colour)
{
    TBitmap photo;
    photo.SetSize(w, h);
    photo.Fill(colour);
    ASSERT_EQ(EncodeJpegFile(photo, path, 90), JpegResult::Ok);
}

// Whether the composed picture's photo area shows colour at its centre.
bool PhotoAreaShows(const TBitmap& picture, TColor colour)
{
    const TFrameLayout& l = Form1->FrameLayout;
    const TColor c = picture.Pixel(l.Leftwidth + l.Photowidth / 2, l.Topheight + l.Photoheight / 2);
    return std::abs(GetRValue(c) - GetRValue(colour)) < 16 && std::abs(GetGValue(c) - GetGValue(colour)) < 16 &&
           std::abs(GetBValue(c) - GetBValue(colour)) < 16;
}

class RunsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        recorder = std::make_shared<RecordingDriver>(dialogs);
        Application->SetDialogDriver(recorder);
        ShowMainWindow();
    }

    // A batch over photos/a.jpg and photos/sub/a.jpg into photos/sub: the
    // first photo's picture replaces the second photo, whose picture then
    // replaces that one (both asked about and answered Yes).
    void RunBatchThatReplacesItsSecondPhoto(const std::string& photos)
    {
        Form1->CheckBox1->SetChecked(true);
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(photos + "/sub");
        dialogs->Message("元の写真を上書きして宜しいですか？\n\n" + photos + "/sub/a.jpg", IDYES);
        dialogs->Message("この作業で既に保存しました。", IDYES);
        dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:0", IDOK);
        Form1->BitBtn12->Click();
    }

    std::shared_ptr<RecordingDriver> recorder;
};

}  // namespace

TEST_F(RunsTest, BatchFinishesADroppedFolder)
{
    const std::string photos = MakePhotoFolder("school/2024", {});
    WriteTestJpeg(photos + "/a.jpg", 800, 600);
    WriteTestJpeg(photos + "/b.jpg", 600, 800);
    std::filesystem::create_directory(photos + "/sub");
    WriteTestJpeg(photos + "/sub/c.jpg", 400, 300);
    WriteFileBytes(photos + "/x.jpg", std::string("\x13\x9a\xfe\x02 not a photo \x7f\x80", 20));
    WriteTestJpeg(photos + "/y.jpg", 300, 200);
    WriteFileBytes(photos + "/notes.txt", "class list");
    Form1->CheckBox1->SetChecked(true);

    Form1->WMDropFiles({photos}, true);
    const std::string out = folder.File("school/TA2024");
    ASSERT_EQ(Form1->Edit2->Text(), out);
    EXPECT_EQ(StatusText(), "サブフォルダ数 1  全ファイル数 6   JPEGファイル数 5");

    dialogs->Message("JPEGファイルを読み込めませんでした。中断しますか？\n\n" + photos + "/x.jpg", IDNO, "Plovis",
                     MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:2", IDOK, "Plovis", MB_OK);
    Form1->BitBtn12->Click();

    const TPoint frame{Form1->FrameLayout.Framewidth, Form1->FrameLayout.Frameheight};
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        EXPECT_EQ(SavedSize(out + "/" + name), frame) << name;
    EXPECT_FALSE(std::filesystem::exists(out + "/x.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out + "/y.jpg"));
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", photos + "/sub/c.jpg",
                                                         photos + "/x.jpg", "JPEGファイルを読み込めません",
                                                         photos + "/y.jpg", "320px×240px以下なのでスキップ"}));

    // The two skips after the third photo moved neither the bar nor the text.
    const std::string lastStep = "処理中...　 60%     3/    5 エラー:0 スキップ:0";
    const RecordingDriver::Shown* question = recorder->Find("読み込めませんでした");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->status, lastStep);
    EXPECT_EQ(question->progress, 60);
    const RecordingDriver::Shown* summary = recorder->Find("作業が終了しました");
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->status, lastStep);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 60);
    EXPECT_TRUE(Form1->ProgressBar1->Visible());

    EXPECT_EQ(StatusText(), "作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:2");
    EXPECT_EQ(Form1->PhotoIndex, 5);
    // The list is used up: the run buttons end disabled, the others usable.
    EXPECT_TRUE(RunButtonsDisabled());
    EXPECT_TRUE(Form1->BitBtn5->Enabled());
    EXPECT_TRUE(Form1->BitBtn15->Enabled());
    EXPECT_FALSE(Form1->Busy);
    EXPECT_FALSE(Form1->OverwriteConfirmed);
    // The batch leaves its list in place.
    EXPECT_EQ(Form1->Memo2->Lines().Count(), 5);

    dialogs->Message("これ以上写真画像はありません。", IDOK, "Plovis", MB_OK);
    Form1->BitBtn12->Click();
}

TEST_F(RunsTest, AnsweredAbortStopsAtThatPhotoAndTheNextBatchResumesThere)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    const std::string out = folder.File("TA2024");
    std::filesystem::remove(photos + "/b.jpg");

    dialogs->Message("JPEGファイルが存在しません。中断しますか？", IDYES, "Plovis", MB_YESNO);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0", IDOK, "Plovis", MB_OK);
    Form1->BitBtn12->Click();
    EXPECT_TRUE(std::filesystem::exists(out + "/a.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out + "/c.jpg"));
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", "中断"}));
    EXPECT_EQ(StatusText(), "作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0");
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_TRUE(Form1->AbortRequested);
    EXPECT_TRUE(RunButtonsEnabled());
    EXPECT_EQ(Form1->ProgressBar1->Position(), 33);

    // Resumed at the photo that stopped it: the first photo is not redone,
    // so no question about overwriting it either.
    WriteTestJpeg(photos + "/b.jpg", 400, 300);
    dialogs->Message("最初の写真から処理しますか？", IDNO, "Plovis", MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_TRUE(std::filesystem::exists(out + "/b.jpg"));
    EXPECT_TRUE(std::filesystem::exists(out + "/c.jpg"));
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/b.jpg", photos + "/c.jpg"}));
    EXPECT_EQ(Form1->PhotoIndex, 3);
    EXPECT_FALSE(Form1->AbortRequested);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 100);
}

TEST_F(RunsTest, AbortPressedDuringABatchStopsBeforeTheNextPhotoAndADropIsIgnored)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    const std::string other = MakePhotoFolder("2025", {"z.jpg"});
    Form1->WMDropFiles({photos}, true);
    const std::vector<std::string> list = Form1->Memo2->Lines().Lines();

    // While the second photo's name is in the log and the window pumps.
    DuringCommand operatorActs([] { return Form1->Memo1->Lines().Count() == 2; },
                               [&] {
                                   Form1->WMDropFiles({other}, true);
                                   Form1->BitBtn15->Click();
                               });
    dialogs->Message("中断して宜しいですか？", IDYES, "Plovis", MB_YESNO);
    dialogs->Message("中断しました。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(operatorActs.done);

    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", "中断"}));
    EXPECT_TRUE(std::filesystem::exists(folder.File("TA2024/a.jpg")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("TA2024/b.jpg")));
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_EQ(Form1->Edit1->Text(), photos);
    EXPECT_EQ(Form1->Memo2->Lines().Lines(), list);
}

TEST_F(RunsTest, ClosingDuringABatchStopsItAndClosesOnceItHasUnwound)
{
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i)
        names.push_back("p" + std::to_string(i) + ".jpg");
    const std::string photos = MakePhotoFolder("2024", names);
    Form1->WMDropFiles({photos}, true);

    // The operator closes the window while the second photo is in work.
    bool stillShown = false;
    DuringCommand operatorActs([] { return Form1->Memo1->Lines().Count() == 2; },
                               [&] {
                                   Form1->UserCloseRequest();
                                   stillShown = Form1->Visible();
                               });
    dialogs->Message("中断しました。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(operatorActs.done);
    EXPECT_TRUE(stillShown) << "the window stays until the run has stopped";
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(std::filesystem::exists(folder.File("vad.ini")));
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("TA2024")))
        written.push_back(entry.path().filename().string());
    EXPECT_EQ(written, std::vector<std::string>{"p0.jpg"}) << "no temporary file remains";
}

TEST_F(RunsTest, ALayoutChosenDuringABatchIsRefused)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    bool busyAfter = false;
    DuringCommand operatorActs([] { return Form1->Memo1->Lines().Count() == 2; },
                               [&] {
                                   Form1->ComboBox1->UserChose(3);
                                   busyAfter = Form1->Busy;
                               });
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(operatorActs.done);
    EXPECT_TRUE(busyAfter);
    EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 0) << "the box shows the layout in use";
    EXPECT_EQ(Form1->PresetIndex, 0);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        EXPECT_EQ(SavedSize(folder.File(std::string("TA2024/") + name)), (TPoint{1500, 1051})) << name;
}

TEST_F(RunsTest, RunsFollowThePhotoFolderTypedAfterADrop)
{
    const std::string dropped = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    const std::string typed = MakePhotoFolder("2025", {"x.jpg"});
    Form1->WMDropFiles({dropped}, true);
    const std::string out = Form1->Edit2->Text() + "/";
    Form1->Edit1->SetText(typed);

    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{typed + "/x.jpg"}));
    EXPECT_TRUE(std::filesystem::exists(out + "x.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out + "a.jpg"));

    // A single photo typed in is the list of its own; the single run takes it.
    const std::string single = dropped + "/b.jpg";
    Form1->Edit1->SetText(single);
    dialogs->Message("完了しました。", IDOK);
    Form1->BitBtn3->Click();
    EXPECT_TRUE(std::filesystem::exists(out + "b.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out + "a.jpg"));
}

TEST_F(RunsTest, ChangingTheOutputFolderTakesBackAYesToOverwriting)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg"});
    Form1->WMDropFiles({photos}, true);
    Form1->OverwriteConfirmed = true;
    Form1->Edit2->SetText(folder.File("elsewhere/"));
    EXPECT_FALSE(Form1->OverwriteConfirmed);
}

TEST_F(RunsTest, AbortButtonSetsTheFlagOnlyOnYes)
{
    Form1->Busy = true;
    dialogs->Message("中断して宜しいですか？", IDNO, "Plovis", MB_YESNO);
    Form1->BitBtn15->Click();
    EXPECT_FALSE(Form1->AbortRequested);

    Form1->AbortRequested = true;
    dialogs->Message("中断して宜しいですか？", IDNO);
    Form1->BitBtn15->Click();
    EXPECT_TRUE(Form1->AbortRequested);

    Form1->AbortRequested = false;
    dialogs->Message("中断して宜しいですか？", IDYES);
    Form1->BitBtn15->Click();
    EXPECT_TRUE(Form1->AbortRequested);
}

TEST_F(RunsTest, SaveFailureCountsAnErrorAndAbortsAtThatPhoto)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    Form1->WMDropFiles({photos}, true);
    SetFileWriteFaultForTesting([](const std::string& target) { return target.find("/TA2024/b.jpg") != std::string::npos; });

    dialogs->Message("保存先フォルダを作成出来ません。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:1 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_TRUE(RunButtonsEnabled());
    EXPECT_FALSE(std::filesystem::exists(folder.File("TA2024/b.jpg")));
    // The box says only that the save failed; the log keeps why.
    const std::vector<std::string> log = ProcessingLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].rfind("保存出来ません: " + folder.File("TA2024/b.jpg") + " (", 0), 0u) << log[2];
}

TEST_F(RunsTest, ResumedBatchStartsAtFortyPercent)
{
    const std::string photos = MakePhotoFolder("2024", {"p.jpg"});
    Form1->WMDropFiles({photos}, true);
    // Ten names, of which only the fourth exists: the fifth stops the batch.
    std::vector<std::string> list;
    for (int i = 0; i < 10; ++i)
        list.push_back(i == 3 ? photos + "/p.jpg" : photos + "/missing" + std::to_string(i) + ".jpg");
    Form1->Memo2->Lines().Assign(list);
    Form1->PhotoIndex = 3;

    dialogs->Message("最初の写真から処理しますか？", IDNO);
    dialogs->Message("JPEGファイルが存在しません。中断しますか？\n\n" + list[4], IDYES);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    const RecordingDriver::Shown* question = recorder->Find("存在しません");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->status, "処理中...　 40%     4/   10 エラー:0 スキップ:0");
    EXPECT_EQ(question->progress, 40);
    EXPECT_EQ(Form1->PhotoIndex, 4);
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{list[3], list[4], "中断"}));
}

TEST_F(RunsTest, SingleRunsFinishTheListOneByOne)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    const std::string out = folder.File("TA2024");
    std::filesystem::remove(photos + "/b.jpg");

    Form1->BitBtn3->Click();
    EXPECT_TRUE(std::filesystem::exists(out + "/a.jpg"));
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 33);

    // A Yes to the missing photo's question keeps it current; a No skips it.
    dialogs->Message("JPEGファイルが存在しません。中断しますか？", IDYES);
    Form1->BitBtn3->Click();
    EXPECT_EQ(Form1->PhotoIndex, 1);
    dialogs->Message("JPEGファイルが存在しません。中断しますか？", IDNO);
    Form1->BitBtn3->Click();
    EXPECT_EQ(Form1->PhotoIndex, 2);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 66);
    EXPECT_EQ(Form1->StatusBar1->Panels(1).Text(), photos + "/c.jpg");

    dialogs->Message("完了しました。", IDOK, "Plovis", MB_OK);
    Form1->BitBtn3->Click();
    EXPECT_TRUE(std::filesystem::exists(out + "/c.jpg"));
    EXPECT_EQ(Form1->Memo2->Lines().Count(), 0);
    EXPECT_EQ(Form1->Edit1->Text(), "");
    EXPECT_TRUE(RunButtonsDisabled());
    EXPECT_FALSE(Form1->Busy);

    dialogs->Message("これ以上写真画像はありません。", IDOK, "Plovis", MB_OK);
    Form1->BitBtn3->Click();
    EXPECT_TRUE(RunButtonsDisabled());
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(RunsTest, SkipsToTheEndOfTheListWithoutSaving)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    Form1->WMDropFiles({photos}, true);

    Form1->BitBtn11->Click();
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 50);
    EXPECT_EQ(Form1->StatusBar1->Panels(1).Text(), photos + "/b.jpg");

    dialogs->Message("完了しました。", IDOK, "Plovis", MB_OK);
    Form1->BitBtn11->Click();
    EXPECT_EQ(Form1->Memo2->Lines().Count(), 0);
    EXPECT_TRUE(RunButtonsDisabled());
    EXPECT_FALSE(std::filesystem::exists(folder.File("TA2024")));

    // At the end of an empty list a skip says nothing.
    Form1->BitBtn11->Click();
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(RunsTest, BatchRefusesWithoutItsSettings)
{
    Form1->Memo1->Lines().Assign({"earlier log"});
    auto refused = [&](const char* message) {
        dialogs->Message(message, IDOK, "Plovis", MB_OK);
        Form1->BitBtn12->Click();
        EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{"earlier log"})) << message;
        EXPECT_FALSE(Form1->ProgressBar1->Visible()) << message;
        EXPECT_TRUE(RunButtonsEnabled()) << message;
        EXPECT_FALSE(Form1->Busy) << message;
    };
    refused("入力フォルダが指定されていません。");
    Form1->Edit1->SetText("/photos");
    refused("出力フォルダが指定されていません。");
    Form1->Edit2->SetText("/out/");
    const std::string frame = Form1->Edit3->Text();
    Form1->Edit3->SetText("");
    refused("枠ファイルが指定されていません。");
    Form1->Edit3->SetText(frame);
    const int height = Form1->FrameLayout.Frameheight;
    Form1->FrameLayout.Frameheight = 0;
    refused("枠ファイルサイズが指定されていません。");
    Form1->FrameLayout.Frameheight = height;
    // The list follows the photo folder field, which names no folder here.
    refused("写真フォルダにJPEGファイルが存在しません。");
    refused("これ以上写真画像はありません。");
}

// The batch decodes the next photo while it finishes the current one. When
// finishing the current one replaces the next photo's file (the output
// folder lies in the photo folder), the next photo is read as it is then,
// as without decoding ahead: here no longer too small to work on. Its
// picture then replaces the first one's: one file left.
TEST_F(RunsTest, APhotoReplacedByTheBatchIsReadAsItIsWhenItsTurnComes)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg"});
    std::filesystem::create_directory(photos + "/sub");
    WriteTestJpeg(photos + "/sub/a.jpg", 300, 200);
    RunBatchThatReplacesItsSecondPhoto(photos);
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/sub/a.jpg"}));
    EXPECT_EQ(SavedSize(photos + "/sub/a.jpg"), (TPoint{Form1->FrameLayout.Framewidth, Form1->FrameLayout.Frameheight}));
}

// Decoding ahead changes nothing the operator sees: the log, the boxes and
// the counts of a batch with a missing photo, a broken one, a small one and
// a save that fails come in the order of photo after photo, and the failed
// save is reported before the next photo is begun.
TEST_F(RunsTest, DecodingAheadKeepsTheOrderOfTheLogAndTheQuestions)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "c.jpg", "e.jpg", "f.jpg"});
    WriteFileBytes(photos + "/b.jpg", "not a photo");
    WriteTestJpeg(photos + "/d.jpg", 200, 100);
    Form1->WMDropFiles({photos}, true);
    std::filesystem::remove(photos + "/c.jpg");
    SetFileWriteFaultForTesting([](const std::string& target) { return target.find("/TA2024/e.jpg") != std::string::npos; });

    dialogs->Message("JPEGファイルを読み込めませんでした。中断しますか？\n\n" + photos + "/b.jpg", IDNO);
    dialogs->Message("JPEGファイルが存在しません。中断しますか？\n\n" + photos + "/c.jpg", IDNO);
    dialogs->Message("保存先フォルダを作成出来ません。", IDOK);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:1 スキップ:3", IDOK);
    Form1->BitBtn12->Click();
    const std::vector<std::string> log = ProcessingLog();
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 8),
              (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", "JPEGファイルを読み込めません",
                                        photos + "/c.jpg", "JPEGファイルが存在しません", photos + "/d.jpg",
                                        "320px×240px以下なのでスキップ", photos + "/e.jpg"}));
    EXPECT_EQ(log[8].rfind("保存出来ません: ", 0), 0u) << log[8];
    EXPECT_EQ(Form1->PhotoIndex, 4);
    const std::vector<std::string> order = {"読み込めませんでした", "存在しません", "保存先フォルダ", "作業を中断"};
    ASSERT_EQ(recorder->shown.size(), order.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_NE(recorder->shown[k].text.find(order[k]), std::string::npos) << recorder->shown[k].text;
}

// The batch saves a photo while it works on the next one; the operator sees
// nothing of that work before the save's result. A save that fails stops the
// batch at its photo, before the next photo's log line, and leaves that
// photo in work: its picture, its cached photo for the previews.
TEST_F(RunsTest, AFailedSaveStopsAtItsPhotoWhichStaysInWork)
{
    const std::string photos = MakePhotoFolder("2024", {});
    WriteSolidJpeg(photos + "/a.jpg", 400, 300, clRed);
    WriteSolidJpeg(photos + "/b.jpg", 400, 300, clLime);
    WriteSolidJpeg(photos + "/c.jpg", 400, 300, clBlue);
    Form1->WMDropFiles({photos}, true);
    const std::string out = folder.File("TA2024");
    // A folder where b's picture would go: nothing replaces it, not even for root.
    std::filesystem::create_directories(out + "/b.jpg");

    dialogs->Message("保存先フォルダを作成出来ません。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:1 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    const std::vector<std::string> log = ProcessingLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], photos + "/b.jpg");
    EXPECT_EQ(log[2].rfind("保存出来ません: " + out + "/b.jpg (", 0), 0u) << log[2];
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_EQ(Form1->CachedPhotoPath, photos + "/b.jpg");
    EXPECT_TRUE(PhotoAreaShows(*Form1->OutputBitmap, clLime));
    EXPECT_EQ(FolderNames(out), (std::vector<std::string>{"a.jpg", "b.jpg"})) << "no temporary file remains";

    Form1->BitBtn8->Click();
    EXPECT_TRUE(PhotoAreaShows(*Form1->OutputBitmap, clLime)) << "the high-quality preview shows b";
}

namespace {

// Runs action on the window's thread as if the operator did it while the
// save of the picture named name is being written: the event waits for
// the window to process its events.
void DuringTheSaveOf(const std::string& name, std::function<void()> action)
{
    SetFileWriteFaultForTesting([name, action = std::move(action)](const std::string& target) {
        if (target.size() >= name.size() && target.compare(target.size() - name.size(), name.size(), name) == 0)
            QMetaObject::invokeMethod(qApp, action, Qt::QueuedConnection);
        return false;
    });
}

}  // namespace

// 中断 pressed while b is saved is seen where it was seen before the batch
// saved on a thread of its own: at the next photo's pumping, after its log
// line; b is saved and in work, c not begun.
TEST_F(RunsTest, AbortPressedWhileAPhotoSavesStopsBeforeTheNextPhoto)
{
    const std::string photos = MakePhotoFolder("2024", {});
    WriteSolidJpeg(photos + "/a.jpg", 400, 300, clRed);
    WriteSolidJpeg(photos + "/b.jpg", 400, 300, clLime);
    WriteSolidJpeg(photos + "/c.jpg", 400, 300, clBlue);
    Form1->WMDropFiles({photos}, true);
    DuringTheSaveOf("/TA2024/b.jpg", [] { Form1->BitBtn15->Click(); });

    dialogs->Message("中断して宜しいですか？", IDYES, "Plovis", MB_YESNO);
    dialogs->Message("中断しました。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    2 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(ProcessingLog(),
              (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", photos + "/c.jpg", "中断"}));
    const RecordingDriver::Shown* question = recorder->Find("中断して宜しいですか");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->logLines, 3);
    EXPECT_EQ(question->status, "処理中...　 66%     2/    3 エラー:0 スキップ:0");
    EXPECT_EQ(Form1->PhotoIndex, 2);
    EXPECT_EQ(Form1->CachedPhotoPath, photos + "/b.jpg");
    EXPECT_TRUE(PhotoAreaShows(*Form1->OutputBitmap, clLime));
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(RunsTest, ClosingWhileAPhotoSavesStopsBeforeTheNextPhotoAndClosesOnceTheSaveIsDone)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    DuringTheSaveOf("/TA2024/b.jpg", [] { Form1->UserCloseRequest(); });

    dialogs->Message("中断しました。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    2 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(ProcessingLog(),
              (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", photos + "/c.jpg", "中断"}));
    EXPECT_EQ(Form1->PhotoIndex, 2);
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

// The photo after a saved one was worked on while that one saved. The save
// replaced its file (the output folder is the photo's own folder): at its
// turn it is read as it is now, the first photo's picture, not as it was.
TEST_F(RunsTest, APhotoReplacedWhileItWasWorkedOnIsReadAgainAtItsTurn)
{
    const std::string photos = MakePhotoFolder("2024", {});
    WriteSolidJpeg(photos + "/a.jpg", 400, 300, clBlue);
    std::filesystem::create_directory(photos + "/sub");
    WriteSolidJpeg(photos + "/sub/a.jpg", 400, 300, clRed);
    RunBatchThatReplacesItsSecondPhoto(photos);
    TBitmap saved;
    ASSERT_EQ(DecodeJpegFile(photos + "/sub/a.jpg", saved), JpegResult::Ok);
    EXPECT_TRUE(PhotoAreaShows(saved, clBlue));
}

// Texts may change while a batch runs (the text placement window is
// modeless): a title typed while b is begun is printed on b, although b was
// worked on, with the title before, while a saved; b and c come out alike.
TEST_F(RunsTest, ATitleChangedDuringABatchIsPrintedFromTheNextPhotoOn)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    Form4->Edit4->UserEdited("卒業記念");
    DuringCommand operatorTypes([] { return Form1->Memo1->Lines().Count() == 2; },
                                [] { Form4->Edit4->UserEdited("入学記念"); });
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(operatorTypes.done);
    const std::string out = folder.File("TA2024/");
    EXPECT_NE(ReadFileBytes(out + "a.jpg"), ReadFileBytes(out + "b.jpg"));
    EXPECT_EQ(ReadFileBytes(out + "b.jpg"), ReadFileBytes(out + "c.jpg"));
}

// A photo removed after it was worked on ahead is asked about at its turn;
// one replaced by a photo too small to work on is skipped with its note.
TEST_F(RunsTest, APhotoRemovedOrMadeSmallAfterItWasWorkedOnIsTakenAsItIsAtItsTurn)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    Form1->WMDropFiles({photos}, true);
    DuringCommand removeB([] { return Form1->Memo1->Lines().Count() == 2; },
                          [&] { std::filesystem::remove(photos + "/b.jpg"); });
    DuringCommand shrinkD([] { return Form1->Memo1->Lines().Count() == 5; },
                          [&] { WriteTestJpeg(photos + "/d.jpg", 200, 100); });
    dialogs->Message("JPEGファイルが存在しません。中断しますか？\n\n" + photos + "/b.jpg", IDNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:2", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(removeB.done && shrinkD.done);
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg",
                                                         "JPEGファイルが存在しません", photos + "/c.jpg",
                                                         photos + "/d.jpg", "320px×240px以下なのでスキップ"}));
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"a.jpg", "c.jpg"}));
}

// Photos worked on while the one before them saves come out as photos worked
// one after the other do (the single run works on nothing ahead): large and
// turned photos, reduced, rotated, colour-corrected, with three texts.
TEST_F(RunsTest, ABatchSavesWhatSingleRunsSave)
{
    const std::string photos = MakePhotoFolder("2024", {"c.jpg"});
    WriteTestJpeg(photos + "/a.jpg", 1800, 1200);
    WriteTestJpeg(photos + "/b.jpg", 1200, 1800);
    auto setUpJob = [&](const std::string& out) {
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(out);
        Form1->CheckBox7->SetChecked(true);
        Form1->Edit7->SetText("2");
        Form1->TrackBar5->SetPosition(Form1->TrackBar5->Position() + 3);
        Form4->Edit4->UserEdited("卒業記念");
        Form4->Edit9->UserEdited("2026.12.08");
        Form4->Edit7->UserEdited("3年B組");
    };
    setUpJob(folder.File("single"));
    Form1->BitBtn3->Click();
    Form1->BitBtn3->Click();
    dialogs->Message("完了しました。", IDOK);
    Form1->BitBtn3->Click();
    setUpJob(folder.File("batch"));
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        const std::string single = ReadFileBytes(folder.File(std::string("single/") + name));
        EXPECT_FALSE(single.empty()) << name;
        EXPECT_EQ(ReadFileBytes(folder.File(std::string("batch/") + name)), single) << name;
    }
}

namespace {

// A photo whose header claims w x h pixels and whose data ends at once: the
// batch judges it by its size as any photo, and its decode fails before any
// pixel of it exists.
void WriteHeaderOnlyJpeg(const std::string& path, int w, int h)
{
    WriteSolidJpeg(path, 8, 8, clGray);
    std::string bytes = ReadFileBytes(path);
    const std::size_t sof = bytes.find("\xFF\xC0", 2);
    ASSERT_NE(sof, std::string::npos);
    // SOF0: marker, length (2), precision (1), height (2), width (2).
    bytes[sof + 5] = static_cast<char>(h >> 8);
    bytes[sof + 6] = static_cast<char>(h & 0xFF);
    bytes[sof + 7] = static_cast<char>(w >> 8);
    bytes[sof + 8] = static_cast<char>(w & 0xFF);
    WriteFileBytes(path, bytes);
}

}  // namespace

// Each photo is judged by its own size, from its header, not by the photo in
// work: b (17 MP) after a small one is decoded ahead but not worked ahead;
// d (26 MP, above a usual camera's) is decoded at its turn, with nothing
// decoded beside it; the photos held at once, from the one in work through
// the last decoded ahead, never come to more than three 24 MP photos, so j
// waits until h is done. Small photos are still worked ahead.
TEST_F(RunsTest, PhotosAreDecodedAndWorkedAheadByTheirOwnSize)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "c.jpg", "e.jpg", "f.jpg", "g.jpg"});
    WriteHeaderOnlyJpeg(photos + "/b.jpg", 4800, 3600);
    WriteHeaderOnlyJpeg(photos + "/d.jpg", 5200, 5000);
    for (const char* name : {"/h.jpg", "/i.jpg", "/j.jpg"})
        WriteHeaderOnlyJpeg(photos + name, 7000, 3500);
    Form1->WMDropFiles({photos}, true);

    std::vector<std::string> started, workedAhead;
    JpegPrefetch::ObserveForTesting([&](JpegPrefetch::Event event, const std::string& path) {
        const std::string seen = std::filesystem::path(path).stem().string() + "@" +
                                 std::filesystem::path(Form1->Memo2->Lines()[Form1->PhotoIndex]).stem().string();
        if (event == JpegPrefetch::Event::Started)
            started.push_back(seen);
        else if (path != Form1->Memo2->Lines()[Form1->PhotoIndex])
            workedAhead.push_back(seen);
    });
    for (const char* name : {"/b.jpg", "/d.jpg", "/h.jpg", "/i.jpg", "/j.jpg"})
        dialogs->Message("JPEGファイルを読み込めませんでした。中断しますか？\n\n" + photos + name, IDNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   5 エラー:0 スキップ:5", IDOK);
    Form1->BitBtn12->Click();
    JpegPrefetch::ObserveForTesting(nullptr);
    EXPECT_EQ(started, (std::vector<std::string>{"b@a", "c@a", "e@e", "f@e", "g@e", "h@e", "i@f", "j@i"}));
    EXPECT_EQ(workedAhead, (std::vector<std::string>{"f@e", "g@f"}));
    EXPECT_EQ(FolderNames(folder.File("TA2024")),
              (std::vector<std::string>{"a.jpg", "c.jpg", "e.jpg", "f.jpg", "g.jpg"}));
}
