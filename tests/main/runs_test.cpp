// The operator's runs on the real main window: the batch over a dropped
// folder with its progress, counts, log and summary, its abort and resumption,
// the single run and the skip to the end of the list, and the batch's checks.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "platform/jpeg_prefetch.h"
#include "platform/parallel_rows.h"
#include "platform/text_encoding.h"
#include "platform/thread_start.h"
#include "tests/jpeg_test_files.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

std::vector<std::string> ProcessingLog()
{
    return Form1->Memo1->Lines().Lines();
}

std::string StatusText()
{
    return Form1->StatusBar1->Panels(0).Text();
}

// The status bar's first panel shows its text whole, the window at its
// smallest size.
void ExpectStatusShownWhole()
{
    Form1->SetBounds(Form1->Left(), Form1->Top(), 946, 745);
    EXPECT_LE(Form1->StatusBar1->NeededWidth(0), Form1->StatusBar1->ShownWidth(0)) << StatusText();
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
    ExpectStatusShownWhole();

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
    ExpectStatusShownWhole();
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
    SetFileWriteFaultForTesting([](const std::string& target) { return target.find("/TA2024/b.jpg") != std::string::npos; },
                                EACCES);

    dialogs->Message("ファイルを保存出来ません。\n" + folder.File("TA2024/b.jpg") + "\n書き込みの権限がありません。",
                     IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:1 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_TRUE(RunButtonsEnabled());
    EXPECT_FALSE(std::filesystem::exists(folder.File("TA2024/b.jpg")));
    // The box names the file and why in the operator's words; the log keeps the system's.
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
    // The list follows the photo folder field, which names no folder here,
    // and says so at every press.
    refused("写真フォルダにJPEGファイルが存在しません。");
    refused("写真フォルダにJPEGファイルが存在しません。");
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
    dialogs->Message("ファイルを保存出来ません。", IDOK);
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
    const std::vector<std::string> order = {"読み込めませんでした", "存在しません", "ファイルを保存出来ません", "作業を中断"};
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
    // A folder where b's picture would go: nothing replaces it, not even for
    // root, and the box says that it is there.
    std::filesystem::create_directories(out + "/b.jpg");

    dialogs->Message("ファイルを保存出来ません。\n" + out + "/b.jpg\n同じ名前のフォルダがあります。", IDOK, "Plovis",
                     MB_OK);
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
// save of the picture named name is being written: the save goes on once
// the window has processed it (or after ten seconds).
void DuringTheSaveOf(const std::string& name, std::function<void()> action)
{
    // The save's thread only raises a flag and waits: the window's thread
    // sees it on a timer and acts, so every hand-over between the two is an
    // atomic that the thread sanitizer sees (Qt's own event queue it cannot).
    auto reached = std::make_shared<std::atomic<bool>>(false);
    auto handled = std::make_shared<std::atomic<bool>>(false);
    auto* watch = new QTimer(qApp);
    watch->setInterval(5);
    QObject::connect(watch, &QTimer::timeout, [watch, action = std::move(action), reached, handled] {
        if (!*reached || *handled)
            return;
        watch->stop();
        action();
        *handled = true;
        watch->deleteLater();
    });
    watch->start();
    SetFileWriteFaultForTesting([name, reached, handled](const std::string& target) {
        if (target.size() >= name.size() && target.compare(target.size() - name.size(), name.size(), name) == 0) {
            *reached = true;
            for (int i = 0; i < 1000 && !*handled; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    });
}

}  // namespace

// 中断 pressed while b is saved is answered at once, but the save goes on:
// the batch stops at the next photo's pumping, after its log line; b is
// saved and in work, c not begun.
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
    EXPECT_EQ(question->logLines, 2);
    EXPECT_EQ(question->status, "処理中...　 33%     1/    3 エラー:0 スキップ:0");
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

// The box a batch shows for a photo whose memory cannot be had, and the
// question after it, answered No: the photo is skipped, the batch goes on.
void ExpectOutOfMemorySkip(ScriptedDialogDriver& dialogs, const std::string& box, const std::string& photo)
{
    dialogs.Message(box, IDOK, std::nullopt, MB_OK);
    dialogs.Message("JPEGファイルを読み込めませんでした。中断しますか？\n\n" + photo, IDNO, "Plovis", MB_YESNO);
}

// Faults of the tests below end with the test.
struct FaultsRemoved {
    ~FaultsRemoved()
    {
        SetPictureAllocationFaultForTesting({});
        SetPoolRowFaultForTesting({});
        SetThreadStartFaultForTesting({});
    }
};

}  // namespace

// A photo too large for the memory left fails first in its decode ahead, on
// another thread; the window then tries it itself, at its turn, and shows
// what a single run shows. The operator's No skips it; the rest are saved
// and no temporary file is left.
TEST_F(RunsTest, APhotoWhoseMemoryCannotBeHadIsAskedAboutAtItsTurnAndTheBatchGoesOn)
{
    const FaultsRemoved removed;
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "c.jpg", "d.jpg"});
    WriteFileBytes(photos + "/b.jpg", FlatLibjpegPicture(2400, 1800, 128));
    Form1->WMDropFiles({photos}, true);
    std::atomic<int> failedOffThread{0};
    const std::thread::id window = std::this_thread::get_id();
    SetPictureAllocationFaultForTesting([&](int w, int h) {
        const bool fails = std::int64_t{w} * h >= 2400 * 1800;
        if (fails && std::this_thread::get_id() != window)
            ++failedOffThread;
        return fails;
    });

    ExpectOutOfMemorySkip(*dialogs, "メモリが足りません。(2400×1800 の画像)", photos + "/b.jpg");
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_GE(failedOffThread.load(), 1) << "the decode ahead met the fault";
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg",
                                                         "メモリが足りません。(2400×1800 の画像)", photos + "/c.jpg",
                                                         photos + "/d.jpg"}));
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"a.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(Form1->PhotoIndex, 4);
    EXPECT_FALSE(Form1->Busy);
}

// A row of the pool that cannot have its memory (a pool thread's, where it
// ended the program) fails its photo the same way; the pool serves the next
// photos. A Yes stops the batch at that photo.
TEST_F(RunsTest, ARowThatRunsOutOfMemoryFailsItsPhotoAndThePoolServesTheNext)
{
    const FaultsRemoved removed;
    const ScopedWorkerThreads threads(4);
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    std::atomic<int> faults{1};
    SetPoolRowFaultForTesting([&] { return faults.fetch_sub(1) > 0; });

    ExpectOutOfMemorySkip(*dialogs, "メモリが足りません。", photos + "/a.jpg");
    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_LE(faults.load(), 0);
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"b.jpg", "c.jpg"}));

    Form1->WMDropFiles({photos}, true);
    faults = 1;
    dialogs->Message("メモリが足りません。", IDOK);
    dialogs->Message("JPEGファイルを読み込めませんでした。中断しますか？\n\n" + photos + "/a.jpg", IDYES);
    dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(Form1->PhotoIndex, 0);
    EXPECT_TRUE(Form1->AbortRequested);
}

// Without threads to be had (memory for their stacks, say) the batch decodes
// and saves on the window's thread: the same files, nothing lost.
TEST_F(RunsTest, WithoutThreadsTheBatchSavesTheSameFiles)
{
    const FaultsRemoved removed;
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->WMDropFiles({photos}, true);
    const std::string out = folder.File("TA2024/");
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    std::vector<std::string> threaded;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        threaded.push_back(ReadFileBytes(out + name));

    Form1->WMDropFiles({photos}, true);
    Form1->Edit2->SetText(folder.File("without"));
    SetThreadStartFaultForTesting([] { return true; });
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(FolderNames(folder.File("without")), (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(ReadFileBytes(folder.File("without/") + "abc"[k] + ".jpg") == threaded[k]) << k;
}

// Saving into a folder removes the temporary files that a program which died
// while saving left there (older than this program's start), and nothing
// else: not a picture, another program's hidden file, a temporary file of
// another kind, or one being written now.
TEST_F(RunsTest, ABatchRemovesOnlyTheStaleTemporaryFilesOfItsOutputFolder)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg"});
    const std::string out = folder.File("TA2024/");
    std::filesystem::create_directories(out);
    const std::vector<std::string> kept = {".hidden", ".notes.txt.tmpAb12Cd", ".y.jpg.tmpQw3rTy", "z.jpg"};
    for (const std::string& name : kept)
        WriteFileBytes(out + name, name);
    for (const std::string& name : {".z.jpg.tmpAb12Cd", ".Z.JPG.tmp0xYZ99", ".hidden", ".notes.txt.tmpAb12Cd"}) {
        if (!std::filesystem::exists(out + name))
            WriteFileBytes(out + name, "stale");
        std::filesystem::last_write_time(out + name, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    }
    Form1->WMDropFiles({photos}, true);
    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    std::vector<std::string> expected = kept;
    expected.push_back("a.jpg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderNames(folder.File("TA2024")), expected);
    EXPECT_EQ(ReadFileBytes(out + "z.jpg"), "z.jpg");
}

// A save that fails once its folder is there says which file and why, for a
// single run as for a batch (see the batch's tests above); the photo stays
// current and nothing is left behind.
TEST_F(RunsTest, ASingleRunThatCannotSaveNamesTheFileAndTheCause)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    Form1->WMDropFiles({photos}, true);
    const std::string target = folder.File("TA2024/a.jpg");
    const std::pair<int, const char*> causes[] = {{ENOSPC, "ディスクの空き容量が足りません。"},
                                                  {EROFS, "読み取り専用のファイルシステムです。"},
                                                  {EACCES, "書き込みの権限がありません。"}};
    for (const auto& [code, words] : causes) {
        SetFileWriteFaultForTesting([](const std::string&) { return true; }, code);
        dialogs->Message("ファイルを保存出来ません。\n" + target + "\n" + words, IDOK, "Plovis", MB_OK);
        Form1->BitBtn3->Click();
        EXPECT_EQ(Form1->PhotoIndex, 0) << words;
    }
    SetFileWriteFaultForTesting({});
    std::filesystem::create_directories(target);
    dialogs->Message("ファイルを保存出来ません。\n" + target + "\n同じ名前のフォルダがあります。", IDOK);
    Form1->BitBtn3->Click();
    EXPECT_EQ(Form1->PhotoIndex, 0);
    EXPECT_EQ(FolderNames(folder.File("TA2024")), std::vector<std::string>{"a.jpg"});
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

// The summary counts the pictures this batch wrote that are still there:
// none of those removed with the output folder while the batch ran, whatever
// inodes the file system hands out again.
TEST_F(RunsTest, TheSavedCountIsOfThePicturesLeft)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    Form1->WMDropFiles({photos}, true);
    DuringCommand removeOutput([] { return Form1->Memo1->Lines().Count() == 3; },
                               [&] { std::filesystem::remove_all(folder.File("TA2024")); });
    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(removeOutput.done);
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"c.jpg", "d.jpg"}));
}

namespace {

// Runs one test of this program in a child process, under the command
// prefix (a limit, a private mount namespace), with CHILD_FOLDER set to
// folder; gives its exit status and output. The child test skips itself
// when CHILD_FOLDER is not set.
std::pair<int, std::string> RunChildTest(const std::string& test, const std::string& prefix, const std::string& folder)
{
    const std::string command = "cd / && CHILD_FOLDER='" + folder + "' MALLOC_ARENA_MAX=2 timeout 240 " + prefix + " " +
                                std::filesystem::read_symlink("/proc/self/exe").string() +
                                " --gtest_filter='" + test + "' 2>&1";
    std::string output;
    FILE* child = popen(command.c_str(), "r");
    if (!child)
        return {-1, "popen failed"};
    char buffer[4096];
    while (const std::size_t n = fread(buffer, 1, sizeof buffer, child))
        output.append(buffer, n);
    return {pclose(child), output};
}

const char* ChildFolder()
{
    return std::getenv("CHILD_FOLDER");
}

// The size of this process's address space, in bytes.
std::int64_t AddressSpaceInUse()
{
    std::istringstream status(ReadFileBytes("/proc/self/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoll(line.substr(7)) * 1024;
    return 0;
}

}  // namespace

// Three small photos and one of 16000 x 12000 (576 MB of pixels) in a process
// whose address space has room for the small ones' work and not for that
// photo: the box, the other photos saved, no abort, no temporary file.
TEST_F(RunsTest, UnderAMemoryLimitAPhotoThatCannotFitIsSkippedAndTheOthersAreSaved)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "c.jpg", "d.jpg"});
    WriteFileBytes(photos + "/b.jpg", FlatLibjpegPicture(16000, 12000, 90));
    const auto [status, output] = RunChildTest("RunsTest.ChildBatchUnderAMemoryLimit", "", photos);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"a.jpg", "c.jpg", "d.jpg"}));
}

TEST_F(RunsTest, ChildBatchUnderAMemoryLimit)
{
    if (!ChildFolder())
        GTEST_SKIP() << "run by the test above";
    const std::string photos = ChildFolder();
    const ScopedWorkerThreads threads(4);
    Form1->WMDropFiles({photos}, true);
    // Room for the small photos' work and the threads (a stack and an arena
    // each), not for the large photo's pixels.
    const rlimit limit{static_cast<rlim_t>(AddressSpaceInUse() + (480 << 20)), RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
    ExpectOutOfMemorySkip(*dialogs, "メモリが足りません。(16000×12000 の画像)", photos + "/b.jpg");
    dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn12->Click();
}

// Real causes, for root too, in a private mount namespace: a disk too small
// for a picture and a read-only file system, through a batch and a single run.
TEST_F(RunsTest, AFullDiskAndAReadOnlyFileSystemAreNamedInTheBox)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounts need root";
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    std::filesystem::create_directories(folder.File("full"));
    std::filesystem::create_directories(folder.File("readonly"));
    const std::string mounts = "unshare -m --propagation private sh -c 'mount -t tmpfs -o size=16k tmpfs " +
                               folder.File("full") + " && mount --bind " + folder.File("readonly") + " " +
                               folder.File("readonly") + " && mount -o remount,bind,ro " + folder.File("readonly") +
                               " && exec \"$@\"' sh";
    const auto [status, output] = RunChildTest("RunsTest.ChildSavesOntoFullAndReadOnlyDisks", mounts, folder.Path());
    if (output.find("unshare failed") != std::string::npos || output.find("mount:") != std::string::npos)
        GTEST_SKIP() << "no private mounts here: " << output;
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST_F(RunsTest, ChildSavesOntoFullAndReadOnlyDisks)
{
    if (!ChildFolder())
        GTEST_SKIP() << "run by the test above";
    const std::string parent = ChildFolder();
    Form1->WMDropFiles({parent + "/2024"}, true);
    const std::pair<const char*, const char*> disks[] = {{"/full", "ディスクの空き容量が足りません。"},
                                                         {"/readonly", "読み取り専用のファイルシステムです。"}};
    for (const auto& [disk, words] : disks) {
        const std::string out = parent + disk;
        Form1->Edit2->SetText(out);
        dialogs->Message("ファイルを保存出来ません。\n" + out + "/a.jpg\n" + words, IDOK);
        Form1->BitBtn3->Click();
        dialogs->Message("ファイルを保存出来ません。\n" + out + "/a.jpg\n" + words, IDOK);
        dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:1 スキップ:0", IDOK);
        Form1->BitBtn12->Click();
        EXPECT_EQ(FolderNames(out), std::vector<std::string>{}) << disk;
        EXPECT_EQ(Form1->PhotoIndex, 0);
    }
}

// 中断 answered as a photo's pixel work begins is seen by its turn, or by
// its plain stretch when it is not turned: the photo stops there unsaved,
// logged as an aborted reduction is, and the batch can resume at it. The
// first photo, too small to work on, is skipped, so that b is worked at
// its own turn.
class AbortInPhotoWork : public RunsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AbortInPhotoWork, StopsThePhotoUnsaved)
{
    const std::string photos = MakePhotoFolder("2024", {"b.jpg", "c.jpg"});
    WriteTestJpeg(photos + "/a.jpg", 200, 150);
    Form1->WMDropFiles({photos}, true);
    Form1->CheckBox3->SetChecked(false);
    Form1->Edit7->SetText(GetParam());
    DuringCommand operatorAborts([&] { return Form1->CachedPhotoPath == photos + "/b.jpg"; },
                                 [] { Form1->BitBtn15->Click(); });
    dialogs->Message("中断して宜しいですか？", IDYES, "Plovis", MB_YESNO);
    dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:0 スキップ:1", IDOK);
    Form1->BitBtn12->Click();
    ASSERT_TRUE(operatorAborts.done);
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", "320px×240px以下なのでスキップ",
                                                         photos + "/b.jpg", "中断", ""}));
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.File("TA2024")));

    dialogs->Message("最初の写真から処理しますか？", IDNO, "Plovis", MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:0", IDOK);
    Form1->BitBtn12->Click();
    EXPECT_EQ(FolderNames(folder.File("TA2024")), (std::vector<std::string>{"b.jpg", "c.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(TurnedAndNot, AbortInPhotoWork, ::testing::Values("2", "0"));

namespace {

// An L-size frame with a white border, its own title, date and other text,
// a Mincho title and centred trimming.
const char kEntranceFrame[] =
    "[Frame]\r\nPhotoFile=frame.bmp\r\nFramewidth=1500\r\nFrameheight=1051\r\nPhotowidth=1430\r\nPhotoheight=887\r\n"
    "Leftwidth=35\r\nRightwidth=35\r\nTopheight=35\r\nBottomheight=129\r\nFontPositionX=750\r\nFontPositionY=940\r\n"
    "DatePositionX=1255\r\nDatePositionY=957\r\nOtherPositionX=200\r\nOtherPositionY=950\r\nReferencePosition=2\r\n"
    "[Title]\r\nName=ＭＳ 明朝\r\nSize=30\r\nStyle=B\r\nText=入学記念\r\n"
    "[Date]\r\nText=2026.04.01\r\n[Other]\r\nText=１年Ａ組\r\n[Config]\r\nBar5=30\r\n";

}  // namespace

// The frame settings window, the quick text dialog and the text placement
// window stay usable while a batch runs. What they would change in the middle
// of a photo waits until that photo is done: a frame file loaded and the
// window closed with はい to apply it; a title applied in the quick text
// dialog and the trimming set to the bottom; the text placement window, whose
// drag of a text comes after the last photo. Every picture is the one a quiet
// batch saves with the settings in force when its photo's turn began, and the
// photo folder cannot be typed over meanwhile.
TEST_F(RunsTest, ChangesFromOtherWindowsDuringAPhotoWaitForTheNextPhoto)
{
    const std::string photos = MakePhotoFolder("2024", {});
    const std::vector<std::string> names = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg"};
    std::vector<std::string> sources;
    for (std::size_t i = 0; i < names.size(); ++i) {
        WriteTestJpeg(photos + "/" + names[i], i % 2 ? 1200 : 1600, i % 2 ? 1600 : 1200);
        sources.push_back(ReadFileBytes(photos + "/" + names[i]));
    }
    ForceDirectories(folder.File("Frame"));
    const std::string frameFile = folder.File("Frame/entrance.ini");
    WriteFileBytes(frameFile, *ToCp932(kEntranceFrame));
    WriteFileBytes(folder.File("Frame/frame.bmp"), "bmp");
    Form1->CheckBox3->SetChecked(true);
    Form4->Edit4->UserEdited("卒業記念");
    auto batch = [&](const std::string& out) {
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(folder.File(out));
        dialogs->Message("作業が終了しました。保存ファイル数:   6 エラー:0 スキップ:0", IDOK);
        Form1->BitBtn12->Click();
    };
    // The quick text dialog, opened by a click on the title, applies title.
    auto answerQuickText = [&](const std::string& title) {
        dialogs->Modal([title](TForm& form) {
            EXPECT_EQ(&form, Form7);
            Form7->Edit4->UserEdited(title);
            Form7->BitBtn14->Click();
        });
    };
    auto clickTitle = [] {
        Form1->Image3->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
        Form1->Image3->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
    };
    batch("before");

    // Each at the first pumping in a photo's own work: its log line the
    // last, its photo loaded, work in progress.
    auto inWork = [&](const std::string& name) {
        return [&, path = photos + "/" + name] {
            return Form1->CachedPhotoPath == path && ProcessingLog().back() == path && Form1->WorkInProgress();
        };
    };
    Form3->Show();
    bool closedAtOnce = false;
    DuringCommand loadAndClose(inWork("b.jpg"), [&] {
        Form3->BitBtn3->Click();
        Form3->BitBtn11->Click();
        closedAtOnce = !Form3->Visible();
        TypeKeys(*Form1->Edit1, "x");
        SendKey(*Form1->Edit1, Qt::Key_Return);
    });
    DuringCommand titleAndTrimming(inWork("d.jpg"), [&] {
        clickTitle();
        Form3->RadioButton3->SetChecked(true);
    });
    DuringCommand placeTexts(inWork("f.jpg"), [&] {
        Form3->Show();
        Form3->BitBtn6->Click();
    });
    dialogs->File({frameFile});
    dialogs->Message("保存した設定を反映しますか？", IDYES);
    answerQuickText("新しい題");
    dialogs->Message("作業が終了しました。保存ファイル数:   6 エラー:0 スキップ:0", IDOK);
    std::string placedTitleX;
    dialogs->Modal([&](TForm& form) {
        EXPECT_EQ(&form, Form4);
        TImage& title = *Form4->Image3;
        Form4->Image3Click();
        title.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 10, 10);
        title.DispatchMouseMove(ssLeft, 40, 10);
        title.DispatchMouseUp(TMouseButton::mbLeft, ssLeft, 10, 10, true);
        placedTitleX = Form3->Edit21->Text();
        Form4->BitBtn14->Click();
    });
    Form1->WMDropFiles({photos}, true);
    Form1->Edit2->SetText(folder.File("during"));
    Form1->BitBtn12->Click();
    ASSERT_TRUE(loadAndClose.done && titleAndTrimming.done && placeTexts.done);
    EXPECT_TRUE(closedAtOnce);
    EXPECT_EQ(Form1->Edit1->Text(), photos) << "no typing in the photo folder while the batch runs";
    EXPECT_NE(placedTitleX, "750") << "the title was dragged";
    dialogs->Message("設定を保存して閉じますか？", IDNO);
    Form3->Close();

    // The same settings, quietly: as the batch left them, then with the
    // frame file loaded and applied again.
    batch("after");
    Form3->Show();
    dialogs->File({frameFile});
    Form3->BitBtn3->Click();
    dialogs->Message("保存した設定を反映しますか？", IDYES);
    Form3->BitBtn11->Click();
    batch("loaded");
    const char* expected[] = {"before", "before", "loaded", "loaded", "after", "after"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string saved = ReadFileBytes(folder.File("during/" + names[i]));
        EXPECT_FALSE(saved.empty()) << names[i];
        EXPECT_TRUE(saved == ReadFileBytes(folder.File(std::string(expected[i]) + "/" + names[i])))
            << names[i] << " differs from the quiet batch " << expected[i];
        EXPECT_TRUE(ReadFileBytes(photos + "/" + names[i]) == sources[i]) << names[i];
    }
    // The three settings print differently.
    EXPECT_FALSE(ReadFileBytes(folder.File("before/c.jpg")) == ReadFileBytes(folder.File("loaded/c.jpg")));
    EXPECT_FALSE(ReadFileBytes(folder.File("loaded/e.jpg")) == ReadFileBytes(folder.File("after/e.jpg")));
}

// The corrections and the quality choices of the main window are read in the
// middle of a photo's work: while a batch runs, the keys of an operator who
// types a Y offset or ticks 色補正 and 高品質 off reach nothing, and every
// picture is the quiet batch's.
TEST_F(RunsTest, TheCorrectionsTakeNoInputWhileABatchRuns)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg", "c.jpg"});
    Form1->CheckBox7->SetChecked(true);
    Form1->Edit7->SetText("2");
    Form1->TrackBar5->SetPosition(Form1->TrackBar5->Position() + 3);
    auto batch = [&](const std::string& out) {
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(folder.File(out));
        dialogs->Message("作業が終了しました。保存ファイル数:   3 エラー:0 スキップ:0", IDOK);
        Form1->BitBtn12->Click();
    };
    batch("quiet");
    DuringCommand typeAndTick(
        [&] { return ProcessingLog().back() == photos + "/b.jpg" && Form1->WorkInProgress(); },
        [&] {
            TypeKeys(*Form1->Edit6, "7");
            SendKey(*Form1->CheckBox6, Qt::Key_Space, " ");
            SendKey(*Form1->CheckBox3, Qt::Key_Space, " ");
        });
    batch("during");
    ASSERT_TRUE(typeAndTick.done);
    EXPECT_EQ(Form1->Edit6->Text(), "0");
    EXPECT_TRUE(Form1->CheckBox6->Checked());
    EXPECT_TRUE(Form1->CheckBox3->Checked());
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        EXPECT_TRUE(ReadFileBytes(folder.File(std::string("during/") + name)) ==
                    ReadFileBytes(folder.File(std::string("quiet/") + name)))
            << name;
    // Afterwards they take the operator's input again.
    SendKey(*Form1->CheckBox6, Qt::Key_Space, " ");
    EXPECT_FALSE(Form1->CheckBox6->Checked());
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
