// The real keyboard under a window manager: a paste with nothing copied does
// nothing (and kills nothing), a paste of what another program copied
// arrives, and Enter on a box closes it once, whatever window its release
// reaches.
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialogs/multiline_input_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "platform/application.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

// keys pressed in the control, which has the keyboard; returns once their
// release has been handled.
void PressIn(TControl& control, const std::string& keys, int releasedQtKey)
{
    ASSERT_TRUE(FocusOnScreen(control));
    const KeyReleaseCount released(releasedQtKey);
    PressKeysOnScreen(keys);
    ASSERT_TRUE(WaitUntil([&] { return released.Value() >= 1; }));
}

// Returns once every key sent before has been handled: the program has had
// the release of a key sent after them.
void HandleKeysSentSoFar()
{
    const KeyReleaseCount shift(Qt::Key_Shift);
    PressKeysOnScreen("shift");
    ASSERT_TRUE(WaitUntil([&] { return shift.Value() >= 1; }));
}

// Shows every message box for real, as the operator sees it, and answers it
// with the Enter key as a hand does: the box closes on the press, and the
// key comes up once the window beneath has the keyboard again. Other
// dialogs come from the script. Boxes past the fourth are answered without
// showing, so that a box that keeps coming back cannot hold the test.
class RealBoxes : public ScriptedDialogDriver {
public:
    std::vector<std::string> texts;

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override
    {
        texts.push_back(text);
        if (texts.size() > 4)
            return IDOK;
        QTimer::singleShot(0, [] {
            QWidget* box = nullptr;
            const bool up = WaitUntil([&] {
                box = QApplication::activeModalWidget();
                return qobject_cast<QMessageBox*>(box) && ActiveWindow() == box->winId();
            });
            ASSERT_TRUE(up) << "the box never had the keyboard";
            const unsigned long boxWindow = box->winId();
            RunXTool("xdotool", {"keydown", "Return"});
            EXPECT_TRUE(WaitUntil([&] {
                return QApplication::activeModalWidget() != box && ActiveWindow() != boxWindow &&
                       QApplication::activeWindow() != nullptr;
            })) << "the box did not close";
            RunXTool("xdotool", {"keyup", "Return"});
        });
        return QtDialogDriver().MessageBox(text, caption, flags);
    }
};

class KeyboardTest : public WindowManagerTest {
protected:
    // Boxes shown for real from now on.
    std::shared_ptr<RealBoxes> ShowBoxes()
    {
        auto boxes = std::make_shared<RealBoxes>();
        dialogs = boxes;
        Application->SetDialogDriver(boxes);
        return boxes;
    }
};

}  // namespace

TEST_F(KeyboardTest, UnderAWindowManagerAPasteTakesOnlyWhatTheClipboardHolds)
{
    ASSERT_FALSE(ClipboardHasText()) << "a program owns the clipboard already";
    Form4->Edit4->SetText("卒業記念");
    QProcess owner;
    dialogs->Modal([&](TForm&) {
        ASSERT_TRUE(WaitUntilFramed(*Form7));
        TEdit& title = *Form7->Edit4;
        PressIn(title, "ctrl+v", Qt::Key_V);
        PressIn(title, "shift+Insert", Qt::Key_Insert);
        EXPECT_EQ(title.Text(), "卒業記念");
        // The multi-line input, where Qt itself would crash; it ends with
        // text copied by another program, which a line edit pastes too.
        Form7->BitBtn1->Click();
        ASSERT_EQ(title.Text(), "卒業記念copied");
        PressIn(title, "End", Qt::Key_End);
        PressIn(title, "shift+Insert", Qt::Key_Insert);
        EXPECT_EQ(title.Text(), "卒業記念copiedcopied") << "the paste did not arrive in the line edit";
        Form7->BitBtn14->Click();
    });
    dialogs->Modal([&](TForm&) {
        ASSERT_TRUE(WaitUntilFramed(*Form5));
        TMemo& memo = *Form5->Memo1;
        PressIn(memo, "ctrl+v", Qt::Key_V);
        PressIn(memo, "shift+Insert", Qt::Key_Insert);
        EXPECT_EQ(memo.Lines().Text(), "卒業記念");

        // Copied by another program: the paste arrives.
        owner.start("xclip", {"-selection", "clipboard", "-quiet"});
        ASSERT_TRUE(owner.waitForStarted(10000));
        owner.write("copied");
        owner.closeWriteChannel();
        ASSERT_TRUE(WaitUntil(ClipboardHasText));
        PressIn(memo, "ctrl+End", Qt::Key_End);
        PressIn(memo, "ctrl+v", Qt::Key_V);
        EXPECT_TRUE(WaitUntil([&] { return memo.Lines().Text() == "卒業記念copied"; }))
            << "the paste did not arrive in the memo: " << memo.Lines().Text();
        Form5->BitBtn1->Click();
    });
    ClickTheTitle();
    owner.kill();
    owner.waitForFinished(10000);
}

TEST_F(KeyboardTest, UnderAWindowManagerEnterOnABoxClosesItOnce)
{
    const std::shared_ptr<RealBoxes> boxes = ShowBoxes();
    // Enter in the photo field on a folder without photos: its box closes
    // on the press, and the release comes to the field.
    Form1->Edit1->SetText(MakePhotoFolder("empty", {}));
    PressIn(*Form1->Edit1, "Return", Qt::Key_Return);
    HandleKeysSentSoFar();
    ASSERT_FALSE(boxes->texts.empty());
    EXPECT_EQ(boxes->texts.size(), 1u) << "the box came back";
    EXPECT_NE(boxes->texts[0].find("JPEGファイルが存在しません"), std::string::npos) << boxes->texts[0];

    // The frame editor's boxes as it closes: the last release comes to the
    // main window.
    boxes->texts.clear();
    Form1->Edit1->SetText("");
    ASSERT_TRUE(FocusOnScreen(*Form1->Edit1));
    Form3->Show();
    ASSERT_TRUE(WaitUntilFramed(*Form3));
    FillValidFrameLayout();
    std::filesystem::create_directories(folder.File("Frame"));
    boxes->File({folder.File("Frame/new.ini")});
    // Each answered with Enter: Yes.
    Form3->Close();
    HandleKeysSentSoFar();
    EXPECT_EQ(boxes->texts,
              (std::vector<std::string>{"設定を保存して閉じますか？", "保存しました。", "設定を反映しますか？"}));
    EXPECT_FALSE(Form3->Visible());
}
