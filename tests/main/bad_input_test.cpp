// Bad input through the real main window: photos that cannot be decoded, the
// JPEG flavours our own encoder never writes, tiny photos, a link loop, a
// folder of 2,000 photos, output folders that refuse the save, and files and
// folders the operator may not read or write (run as an unprivileged user,
// since root ignores permission bits). Every case ends with its question,
// count or message, leaves the photo folder as it was, and leaves the output
// folder holding exactly the pictures that were saved, with no temporary file.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "tests/jpeg_test_files.h"
#include "tests/main/app_test_support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kUnreadable = "JPEGファイルを読み込めませんでした。中断しますか？\n\n";
constexpr const char* kUnreadableNote = "JPEGファイルを読み込めません";
constexpr const char* kSmallNote = "320px×240px以下なのでスキップ";
// Set for the re-run of this program as an unprivileged user.
constexpr const char* kUnprivilegedRun = "PLOVIS_UNPRIVILEGED";

std::vector<std::string> ProcessingLog()
{
    return Form1->Memo1->Lines().Lines();
}

std::string StatusText()
{
    return Form1->StatusBar1->Panels(0).Text();
}

// Every entry below root by relative path: its mode, then the link target,
// "folder", the file's bytes (empty when it cannot be read) or, for anything
// else, its type. Folders that cannot be read are listed but not entered;
// links are not followed.
std::map<std::string, std::string> TreeSnapshot(const std::string& root)
{
    std::map<std::string, std::string> tree;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied);
         it != fs::recursive_directory_iterator(); ++it) {
        const std::string path = it->path().string();
        const fs::file_status status = it->symlink_status();
        std::string what = std::to_string(static_cast<unsigned>(status.permissions())) + " ";
        if (fs::is_symlink(status))
            what += "-> " + fs::read_symlink(it->path()).string();
        else if (fs::is_directory(status))
            what += "folder";
        else if (fs::is_regular_file(status))
            what += ReadFileBytes(path);
        else
            what += "type " + std::to_string(static_cast<int>(status.type()));
        tree[path.substr(root.size())] = what;
    }
    return tree;
}

// The names in a folder, hidden ones included; none when it is no folder.
std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return names;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    return names;
}

// Temporary files of the safe save (".<name>.tmpXXXXXX") anywhere below root.
std::vector<std::string> TemporaryFilesBelow(const std::string& root)
{
    std::vector<std::string> found;
    for (const auto& [path, what] : TreeSnapshot(root)) {
        const std::string name = fs::path(path).filename().string();
        if (name.starts_with(".") && name.find(".tmp") != std::string::npos)
            found.push_back(path);
    }
    return found;
}

// A JPEG written with libjpeg directly, for the flavours the program's own
// encoder never makes. sample(x, y, out) gives one pixel's components: 1 for
// grey, 3 for RGB, 4 for CMYK (stored inverted, as Adobe's applications do
// and announce with their APP14 marker).
void WriteLibjpegFile(const std::string& path, int width, int height, J_COLOR_SPACE space, bool progressive,
                      const std::function<void(int, int, JSAMPLE*)>& sample)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    const int components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (space == JCS_CMYK) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = TRUE;
    }
    jpeg_set_quality(&cinfo, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x)
            sample(x, static_cast<int>(cinfo.next_scanline), &row[static_cast<std::size_t>(x) * components]);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

// The bytes of a good width x height photo.
std::string GoodJpegBytes(const TempDir& scratch, int width, int height)
{
    const std::string path = scratch.File("good.jpg");
    WriteTestJpeg(path, width, height);
    return ReadFileBytes(path);
}

// The colour at the centre of the photo area of a saved picture.
TColor PhotoAreaCentre(const std::string& saved)
{
    TBitmap picture;
    if (DecodeJpegFile(saved, picture) != JpegResult::Ok)
        return clBlack;
    const TFrameLayout& frame = Form1->FrameLayout;
    return picture.Pixel(frame.Leftwidth + frame.Photowidth / 2, frame.Topheight + frame.Photoheight / 2);
}

// True when every channel of a is within tolerance of b's.
bool Near(TColor a, TColor b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class BadInputTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindow();
    }

    // Drops the folder on the window, which loads and shows its first photo.
    void Drop(const std::string& path)
    {
        Form1->WMDropFiles({path}, true);
        ASSERT_GT(Form1->Memo2->Lines().Count(), 0);
        EXPECT_EQ(Form1->StatusBar1->Panels(1).Text(), Form1->Memo2->Lines()[0]) << "the first photo did not load";
    }

    // Runs the batch (its boxes scripted beforehand) and checks the disk:
    // the photo folder as before, the output folder holding exactly saved,
    // no temporary file anywhere in the program folder.
    void RunBatch(const std::string& photos, const std::string& out, const std::set<std::string>& saved)
    {
        const auto before = TreeSnapshot(photos);
        Form1->BitBtn12->Click();
        EXPECT_TRUE(TreeSnapshot(photos) == before) << "the photo folder changed";
        EXPECT_EQ(Names(out), saved);
        EXPECT_EQ(TemporaryFilesBelow(folder.Path()), std::vector<std::string>{});
        EXPECT_FALSE(Form1->Busy);
    }
};

}  // namespace

TEST_F(BadInputTest, UndecodablePhotosAreAskedAboutAndSkippedOnNo)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "f.jpg"});
    const std::string good = GoodJpegBytes(folder, 800, 600);
    WriteFileBytes(photos + "/b_truncated.jpg", good.substr(0, good.size() / 2));
    // A progressive file cut between two scans decodes to a blurred picture
    // without any corrupt-data warning: only the missing end tells.
    WriteLibjpegFile(folder.File("progressive.jpg"), 640, 480, JCS_RGB, true, [](int x, int y, JSAMPLE* rgb) {
        rgb[0] = rgb[1] = rgb[2] = static_cast<JSAMPLE>((x ^ y) & 0xFF);
    });
    const std::string progressive = ReadFileBytes(folder.File("progressive.jpg"));
    const std::size_t lastScan = progressive.rfind("\xFF\xDA");
    ASSERT_NE(lastScan, std::string::npos);
    WriteFileBytes(photos + "/b_truncated_progressive.jpg", progressive.substr(0, lastScan));
    WriteFileBytes(photos + "/c_empty.jpg", "");
    // Opening a named pipe for reading waits for a writer that never comes.
    ASSERT_EQ(mkfifo((photos + "/c_pipe.jpg").c_str(), 0644), 0);
    std::mt19937 generator(7);
    std::string noise(5000, '\0');
    for (char& byte : noise)
        byte = static_cast<char>(generator() & 0xFF);
    noise[0] = 'R'; // never a JPEG start
    WriteFileBytes(photos + "/d_random.jpg", noise);
    // A header claiming 65500 x 65500 must be refused before anything is
    // allocated, and the box says why, with the limit.
    std::string huge = good;
    const std::size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge.replace(sof + 5, 4, "\xFF\xDC\xFF\xDC");
    WriteFileBytes(photos + "/e_huge.jpg", huge);
    Drop(photos);

    const std::vector<std::string> bad = {"b_truncated.jpg", "b_truncated_progressive.jpg", "c_empty.jpg",
                                          "c_pipe.jpg", "d_random.jpg"};
    for (const std::string& name : bad)
        dialogs->Message(kUnreadable + photos + "/" + name, IDNO, "Plovis", MB_YESNO);
    dialogs->Message("写真が大きすぎます。(65500×65500、上限 20000万画素)\n中断しますか？\n\n" + photos + "/e_huge.jpg",
                     IDNO, "Plovis", MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:6", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), {"a.jpg", "f.jpg"});

    std::vector<std::string> log = {photos + "/a.jpg"};
    for (const std::string& name : bad) {
        log.push_back(photos + "/" + name);
        log.push_back(kUnreadableNote);
    }
    log.push_back(photos + "/e_huge.jpg");
    log.push_back("写真が大きすぎるので読み込めません");
    log.push_back(photos + "/f.jpg");
    EXPECT_EQ(ProcessingLog(), log);
    EXPECT_EQ(Form1->PhotoIndex, 8);
}

TEST_F(BadInputTest, ArithmeticCodedPhotosWithMissingDataAreAskedAboutNotSaved)
{
    // libjpeg's arithmetic decoder fills missing data with zeros without a
    // warning; these used to be saved as stripes or flat colour. A photo
    // with a flat white bottom, which the coder writes no data for, is saved.
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "g.jpg"});
    const std::string arithmetic = LibjpegPicture(JpegCoding::Arithmetic, 800, 600);
    WriteFileBytes(photos + "/b_intact_arithmetic.jpg", arithmetic);
    WriteFileBytes(photos + "/c_cut.jpg", arithmetic.substr(0, arithmetic.size() / 2));
    WriteFileBytes(photos + "/d_white_bottom.jpg",
                   LibjpegFile({.coding = JpegCoding::Arithmetic}, 800, 600,
                               [](int x, int y, int c) { return y < 400 ? (x * 3 + y * 5 + c * 70) % 256 : 255; }));
    WriteFileBytes(photos + "/e_random.jpg", WithRandomData(arithmetic, 3));
    Drop(photos);

    const std::vector<std::string> bad = {"c_cut.jpg", "e_random.jpg"};
    for (const std::string& name : bad)
        dialogs->Message(kUnreadable + photos + "/" + name, IDNO, "Plovis", MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   4 エラー:0 スキップ:2", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), {"a.jpg", "b_intact_arithmetic.jpg", "d_white_bottom.jpg", "g.jpg"});
    EXPECT_EQ(Form1->PhotoIndex, 6);
}

TEST_F(BadInputTest, YesToTheUnreadableQuestionAbortsAtThatPhoto)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "c.jpg"});
    WriteFileBytes(photos + "/b.jpg", "");
    Drop(photos);

    dialogs->Message(kUnreadable + photos + "/b.jpg", IDYES, "Plovis", MB_YESNO);
    dialogs->Message("作業を中断しました。保存ファイル数    1 エラー:0 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), {"a.jpg"});
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", "中断"}));
    EXPECT_EQ(Form1->PhotoIndex, 1);
    EXPECT_TRUE(Form1->BitBtn12->Enabled());
}

TEST_F(BadInputTest, CmykGreyAndProgressiveJpegsAreSavedNormally)
{
    const std::string photos = MakePhotoFolder("2024", {});
    auto gradient = [](int x, int y, JSAMPLE* rgb) {
        rgb[0] = static_cast<JSAMPLE>(x * 255 / 639);
        rgb[1] = static_cast<JSAMPLE>(y * 255 / 479);
        rgb[2] = static_cast<JSAMPLE>((x + y) % 256);
    };
    WriteLibjpegFile(photos + "/a_baseline.jpg", 640, 480, JCS_RGB, false, gradient);
    WriteLibjpegFile(photos + "/b_progressive.jpg", 640, 480, JCS_RGB, true, gradient);
    // Inks C 20, M 200, Y 230, K 30 (of 255), stored inverted: red 207, green 48, blue 22.
    WriteLibjpegFile(photos + "/c_cmyk.jpg", 640, 480, JCS_CMYK, false, [](int, int, JSAMPLE* cmyk) {
        cmyk[0] = 235;
        cmyk[1] = 55;
        cmyk[2] = 25;
        cmyk[3] = 225;
    });
    WriteLibjpegFile(photos + "/d_grey.jpg", 480, 640, JCS_GRAYSCALE, false,
                     [](int, int, JSAMPLE* grey) { *grey = 90; });
    Drop(photos);

    dialogs->Message("作業が終了しました。保存ファイル数:   4 エラー:0 スキップ:0", IDOK, "Plovis", MB_OK);
    const std::string out = folder.File("TA2024");
    RunBatch(photos, out, {"a_baseline.jpg", "b_progressive.jpg", "c_cmyk.jpg", "d_grey.jpg"});

    // The same coefficients, sent in one scan or in several, make the same picture.
    EXPECT_EQ(ReadFileBytes(out + "/b_progressive.jpg"), ReadFileBytes(out + "/a_baseline.jpg"));
    const TColor cmyk = PhotoAreaCentre(out + "/c_cmyk.jpg");
    EXPECT_TRUE(Near(cmyk, RGB(207, 48, 22), 6)) << std::hex << cmyk;
    const TColor grey = PhotoAreaCentre(out + "/d_grey.jpg");
    EXPECT_TRUE(Near(grey, RGB(90, 90, 90), 3)) << std::hex << grey;
}

TEST_F(BadInputTest, PhotosOfAtMost320By240AreSkippedWithoutAQuestion)
{
    const std::string photos = MakePhotoFolder("2024", {"c.jpg"});
    WriteTestJpeg(photos + "/a_dot.jpg", 1, 1);
    WriteTestJpeg(photos + "/b_small.jpg", 320, 240);
    // The drop loads and previews the 1 x 1 photo first.
    Drop(photos);

    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:2", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), {"c.jpg"});
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a_dot.jpg", kSmallNote, photos + "/b_small.jpg",
                                                         kSmallNote, photos + "/c.jpg"}));
}

TEST_F(BadInputTest, LinkLoopInAScannedFolderIsCountedButNotFollowed)
{
    const std::string photos = MakePhotoFolder("pics", {"a.jpg", "sub/b.jpg"});
    fs::create_directory_symlink("..", photos + "/sub/up");
    Form1->CheckBox1->SetChecked(true);
    Drop(photos);
    EXPECT_EQ(Form1->Memo2->Lines().Lines(), (std::vector<std::string>{photos + "/a.jpg", photos + "/sub/b.jpg"}));
    EXPECT_EQ(StatusText(), "サブフォルダ数 2  全ファイル数 2   JPEGファイル数 2");

    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TApics"), {"a.jpg", "b.jpg"});
}

TEST_F(BadInputTest, TwoThousandPhotosAreListedInNameOrder)
{
    constexpr int kCount = 2000;
    constexpr int kFinished = 5;
    const std::string photos = MakePhotoFolder("2024", {});
    const std::string bytes = GoodJpegBytes(folder, 400, 300);
    std::vector<std::string> names;
    for (int i = 0; i < kCount; ++i) {
        char name[32];
        // Mixed case: the order ignores it.
        std::snprintf(name, sizeof name, i % 3 ? "img_%04d.jpg" : "IMG_%04d.JPG", i);
        names.push_back(name);
    }
    std::vector<std::string> creation = names;
    std::shuffle(creation.begin(), creation.end(), std::mt19937(11));
    for (const std::string& name : creation)
        WriteFileBytes(photos + "/" + name, bytes);
    Drop(photos);

    std::vector<std::string> list;
    for (const std::string& name : names)
        list.push_back(photos + "/" + name);
    EXPECT_EQ(Form1->Memo2->Lines().Lines(), list);
    EXPECT_EQ(StatusText(), "サブフォルダ数 0  全ファイル数 2000   JPEGファイル数 2000");

    // Only the tail is finished: the whole list would take too long here.
    Form1->PhotoIndex = kCount - kFinished;
    dialogs->Message("最初の写真から処理しますか？", IDNO, "Plovis", MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   5 エラー:0 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), std::set<std::string>(names.end() - kFinished, names.end()));
    EXPECT_EQ(ProcessingLog(), std::vector<std::string>(list.end() - kFinished, list.end()));
    EXPECT_EQ(Form1->PhotoIndex, kCount);
    EXPECT_EQ(Form1->ProgressBar1->Position(), 100);
}

TEST_F(BadInputTest, OutputFolderThatIsAFileStopsTheBatchWithAnError)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    const std::string out = folder.File("out");
    WriteFileBytes(out, "not a folder");
    Form1->Edit2->SetText(out);
    Drop(photos);

    dialogs->Message("保存先フォルダを作成出来ません。\n" + out + "/", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:1 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, out, {});
    EXPECT_EQ(ReadFileBytes(out), "not a folder");
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg"}));
    EXPECT_EQ(Form1->PhotoIndex, 0);
    EXPECT_EQ(StatusText(), "作業を中断しました。保存ファイル数    0 エラー:1 スキップ:0");
}

TEST_F(BadInputTest, FailedOverwriteOfTheSourcePhotoKeepsItWhole)
{
    // A single dropped photo proposes its own folder for the output, so the
    // run overwrites the photo itself once the operator agrees.
    const std::string photos = MakePhotoFolder("2024", {"a.jpg"});
    const std::string photo = photos + "/a.jpg";
    Form1->WMDropFiles({photo}, true);
    ASSERT_EQ(Form1->Edit2->Text(), photos + "/");
    SetFileWriteFaultForTesting([&](const std::string& target) { return target == photo; });

    dialogs->Message("保存先のファイルは元の写真です。\n元の写真を上書きして宜しいですか？\n\n" + photo, IDYES,
                     "Plovis", MB_YESNO | MB_DEFBUTTON2);
    dialogs->Message("ファイルを保存出来ません。\n" + photo + "\n書き込み中に入出力エラーが起きました。", IDOK, "Plovis",
                     MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:1 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, photos, {"a.jpg"});
    EXPECT_EQ(Form1->PhotoIndex, 0);
}

// --- Permissions ---------------------------------------------------------
// Run by RefusedReadsAndWritesAsAnUnprivilegedUser below, as the user nobody
// with kUnprivilegedRun set; skipped in every other run.

namespace {

class BadInputAsUserTest : public BadInputTest {
protected:
    void SetUp() override
    {
        if (!std::getenv(kUnprivilegedRun) || geteuid() == 0)
            GTEST_SKIP() << "runs only as an unprivileged user, started by BadInputPermissions";
        enabled_ = true;
        BadInputTest::SetUp();
    }

    void TearDown() override
    {
        if (enabled_)
            BadInputTest::TearDown();
    }

private:
    bool enabled_ = false;
};

// Sets a mode for the scope and gives the owner full access back at its end,
// so that the test folder can be removed.
class ScopedMode {
public:
    ScopedMode(std::string path, mode_t mode) : path_(std::move(path)) { EXPECT_EQ(chmod(path_.c_str(), mode), 0); }
    ~ScopedMode() { chmod(path_.c_str(), 0755); }
    ScopedMode(const ScopedMode&) = delete;
    ScopedMode& operator=(const ScopedMode&) = delete;

private:
    std::string path_;
};

}  // namespace

TEST_F(BadInputAsUserTest, UnreadablePhotoIsAskedAbout)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    ScopedMode locked(photos + "/b.jpg", 0);
    Drop(photos);

    dialogs->Message(kUnreadable + photos + "/b.jpg", IDNO, "Plovis", MB_YESNO);
    dialogs->Message("作業が終了しました。保存ファイル数:   1 エラー:0 スキップ:1", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), {"a.jpg"});
    EXPECT_EQ(ProcessingLog(), (std::vector<std::string>{photos + "/a.jpg", photos + "/b.jpg", kUnreadableNote}));
}

TEST_F(BadInputAsUserTest, UnreadableSubFolderIsCountedAndContributesNothing)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "locked/c.jpg", "open/b.jpg"});
    ScopedMode locked(photos + "/locked", 0);
    Form1->CheckBox1->SetChecked(true);
    Drop(photos);
    EXPECT_EQ(Form1->Memo2->Lines().Lines(), (std::vector<std::string>{photos + "/a.jpg", photos + "/open/b.jpg"}));
    EXPECT_EQ(StatusText(), "サブフォルダ数 2  全ファイル数 2   JPEGファイル数 2");

    dialogs->Message("作業が終了しました。保存ファイル数:   2 エラー:0 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, folder.File("TA2024"), {"a.jpg", "b.jpg"});
}

TEST_F(BadInputAsUserTest, ReadOnlyOutputFolderRefusesTheSave)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg", "b.jpg"});
    const std::string out = folder.File("TA2024");
    fs::create_directory(out);
    ScopedMode readOnly(out, 0555);
    Drop(photos);

    dialogs->Message("ファイルを保存出来ません。\n" + out + "/a.jpg\n書き込みの権限がありません。", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:1 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, out, {});
    EXPECT_EQ(Form1->PhotoIndex, 0);
}

TEST_F(BadInputAsUserTest, OutputFolderCannotBeCreatedInAReadOnlyFolder)
{
    // Photos on a read-only medium: the proposed output folder beside them
    // cannot be made.
    const std::string photos = MakePhotoFolder("medium/2024", {"a.jpg"});
    ScopedMode readOnly(folder.File("medium"), 0555);
    Drop(photos);
    const std::string out = folder.File("medium/TA2024");
    ASSERT_EQ(Form1->Edit2->Text(), out);

    dialogs->Message("保存先フォルダを作成出来ません。\n" + out + "/", IDOK, "Plovis", MB_OK);
    dialogs->Message("作業を中断しました。保存ファイル数    0 エラー:1 スキップ:0", IDOK, "Plovis", MB_OK);
    RunBatch(photos, out, {});
    EXPECT_FALSE(fs::exists(out));
}

namespace {

// The program file of this test run.
std::string ThisProgram()
{
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).string();
}

// True when every folder above path can be entered and path run by others.
bool RunnableByOthers(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !(info.st_mode & S_IXOTH))
        return false;
    for (fs::path folder = fs::path(path).parent_path(); ; folder = folder.parent_path()) {
        if (stat(folder.c_str(), &info) != 0 || !(info.st_mode & S_IXOTH))
            return false;
        if (folder == folder.root_path())
            return true;
    }
}

// The program found along PATH, or empty.
std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Runs command from "/" with its output into log; the wait status, or -1.
int RunAndWait(const std::vector<std::string>& command, const std::string& log)
{
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, "/");
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return status;
}

}  // namespace

TEST(BadInputPermissions, RefusedReadsAndWritesAsAnUnprivilegedUser)
{
    if (std::getenv(kUnprivilegedRun))
        GTEST_SKIP() << "this is the unprivileged run itself";
    const std::string program = ThisProgram();
    const std::string env = FindOnPath("env");
    ASSERT_FALSE(env.empty());
    std::vector<std::string> command;
    uid_t uid = geteuid();
    gid_t gid = getegid();
    if (uid == 0) {
        // Root reads and writes everything: drop to nobody.
        const std::string setpriv = FindOnPath("setpriv");
        const passwd* nobody = getpwnam("nobody");
        const group* nogroup = getgrnam("nogroup");
        if (setpriv.empty() || !nobody || !nogroup)
            GTEST_SKIP() << "setpriv, the user nobody or the group nogroup is missing: permission cases not run";
        if (!RunnableByOthers(program))
            GTEST_SKIP() << program << " cannot be run by the user nobody: permission cases not run";
        uid = nobody->pw_uid;
        gid = nogroup->gr_gid;
        command = {setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--reset-env"};
    }
    TempDir logs;
    std::string runtime = "/tmp/plovis-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(runtime.data()), nullptr);
    ASSERT_EQ(chown(runtime.c_str(), uid, gid), 0);
    command.insert(command.end(), {env, "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime,
                                   std::string(kUnprivilegedRun) + "=1", program,
                                   "--gtest_filter=BadInputAsUserTest.*"});

    const int status = RunAndWait(command, logs.File("run.txt"));
    const std::string output = ReadFileBytes(logs.File("run.txt"));
    std::error_code ignored;
    fs::remove_all(runtime, ignored);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << "\n" << output;
    // Every case ran: none skipped for lack of the setting or of the user.
    EXPECT_NE(output.find("[  PASSED  ] 4 tests."), std::string::npos) << output;
    EXPECT_EQ(output.find("SKIPPED"), std::string::npos) << output;
}
