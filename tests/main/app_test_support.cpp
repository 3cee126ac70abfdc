#include "tests/main/app_test_support.h"

#include <filesystem>

#include "frame_editor/frame_settings_form.h"
#include "main/application_forms.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/jpeg_codec.h"
#include "tests/window_events.h"

void AppTest::SetUp()
{
    dialogs = std::make_shared<ScriptedDialogDriver>();
    Application->SetDialogDriver(dialogs);
    ASSERT_TRUE(CreateApplicationForms());
    Form1->ProgramFolder = folder.Path() + "/";
}

void AppTest::TearDown()
{
    SetFileWriteFaultForTesting({});
    DestroyApplicationForms();
    for (const auto& failure : dialogs->Failures())
        ADD_FAILURE() << failure;
    EXPECT_EQ(dialogs->Remaining(), 0) << "dialogs expected but never shown";
    Application->SetDialogDriver(nullptr);
}

void WindowManagerTest::SetUp()
{
    AppTest::SetUp();
    if (!HasWindowManager())
        GTEST_SKIP() << "needs a window manager: scripts/window-tests.sh";
    ShowMainWindow();
    ASSERT_TRUE(WaitUntilFramed(*Form1)) << "no frame came";
}

void AppTest::ShowMainWindow()
{
    Form1->Show();
}

void AppTest::ShowMainWindowWithKnownPreview()
{
    ShowMainWindow();
    Form1->ScrollBox1->SetBounds(12, 128, 904, 504);
    Form1->ApplyFrameLayout(0);
}

void AppTest::Restart()
{
    Form1->Close();
    DestroyApplicationForms();
    ASSERT_TRUE(CreateApplicationForms());
    Form1->ProgramFolder = folder.Path() + "/";
}

std::string AppTest::MakePhotoFolder(const std::string& relative, const std::vector<std::string>& names)
{
    const std::string path = folder.File(relative);
    std::filesystem::create_directories(path);
    for (const std::string& name : names) {
        std::filesystem::create_directories(std::filesystem::path(path + "/" + name).parent_path());
        WriteTestJpeg(path + "/" + name, 400, 300);
    }
    return path;
}

std::string AppTest::Photo(const std::string& name, int w, int h)
{
    const std::string path = folder.File(name);
    WriteTestJpeg(path, w, h);
    return path;
}

void ClickTheTitle()
{
    Form1->Image3->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    Form1->Image3->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
}

void FillValidFrameLayout()
{
    const std::pair<TEdit*, const char*> values[] = {
        {Form3->Edit2, "1500"}, {Form3->Edit4, "1051"}, {Form3->Edit12, "1430"}, {Form3->Edit14, "887"},
        {Form3->Edit10, "35"},  {Form3->Edit6, "35"},   {Form3->Edit16, "35"},   {Form3->Edit8, "129"},
        {Form3->Edit21, "750"}, {Form3->Edit23, "940"}, {Form3->Edit25, "1255"}, {Form3->Edit26, "957"},
    };
    for (const auto& [edit, text] : values)
        edit->SetText(text);
}

void WriteTestJpeg(const std::string& path, int width, int height)
{
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<std::uint8_t>(x * 255 / std::max(width - 1, 1));
            row[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / std::max(height - 1, 1));
            row[x * 3 + 2] = static_cast<std::uint8_t>(128);
        }
    }
    ASSERT_EQ(EncodeJpegFile(bitmap, path, 90), JpegResult::Ok);
}
