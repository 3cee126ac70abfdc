// The program's windows under a window manager, opened through the main
// window's own commands: each has its designed client area inside the frame
// with its controls in it, the dialogs keep the size the program gives them,
// and a modal dialog stays above the windows it blocks.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/histogram_form.h"
#include "dialogs/multiline_input_form.h"
#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "frame_editor/text_placement_form.h"
#include "tests/main/app_test_support.h"
#include "tests/window_events.h"

namespace {

void ExpectInside(const TForm& form, const TControl& control)
{
    EXPECT_TRUE(control.Left() >= 0 && control.Top() >= 0 && control.Left() + control.Width() <= form.ClientWidth() &&
                control.Top() + control.Height() <= form.ClientHeight())
        << form.Caption() << ": a control at (" << control.Left() << ", " << control.Top() << ") of "
        << control.Width() << " x " << control.Height() << " is not inside the client area";
}

// The window shows the client area of its design inside the frame, with
// every control that is meant to be seen in it, and the window manager
// offers neither resizing nor maximising.
void ExpectDialogWindow(TForm& form, int clientWidth, int clientHeight,
                        std::initializer_list<const TControl*> placedOutside = {})
{
    ASSERT_TRUE(WaitUntilFramed(form)) << form.Caption() << ": no frame came";
    EXPECT_EQ(form.ClientWidth(), clientWidth) << form.Caption();
    EXPECT_EQ(form.ClientHeight(), clientHeight) << form.Caption();
    for (const TControl* control : form.Controls())
        if (control->Visible() && std::find(placedOutside.begin(), placedOutside.end(), control) == placedOutside.end())
            ExpectInside(form, *control);
    const std::vector<std::string> allowed = AllowedActions(form);
    for (const char* action : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
        EXPECT_EQ(std::count(allowed.begin(), allowed.end(), action), 0) << form.Caption() << ": " << action;
}

}  // namespace

class WindowFramesTest : public WindowManagerTest {};

TEST_F(WindowFramesTest, UnderAWindowManagerEveryWindowHasItsDesignedClientArea)
{
    dialogs->Modal([](TForm&) {
        ExpectDialogWindow(*Form7, 540, 253);
        Form7->BitBtn1->Click();
        Form7->BitBtn14->Click();
    });
    dialogs->Modal([](TForm&) {
        ExpectDialogWindow(*Form5, 674, 239);
        Form5->BitBtn1->Click();
    });
    ClickTheTitle();

    dialogs->Modal([](TForm&) {
        ExpectDialogWindow(*Form2, 324, 502);
        Form2->BitBtn11->Click();
    });
    Form1->BitBtn16->Click();

    // "再描画" lies below the visible area by design.
    Form1->Button1->Click();
    ExpectDialogWindow(*Form8, 287, 358, {Form8->BitBtn1});
    Form8->Hide();

    // The two font samples lie beyond the client area by design.
    Form3->Show();
    ExpectDialogWindow(*Form3, 611, 640, {Form3->Button5, Form3->Edit22, Form3->Button1, Form3->Edit18});
    FillValidFrameLayout();
    // The text placement window takes its outer size from the main window's;
    // its client area is what the frame leaves of that.
    dialogs->Modal([](TForm&) {
        ASSERT_TRUE(WaitUntilFramed(*Form4)) << "no frame came";
        EXPECT_EQ(Form4->Width(), Form1->Width() - 134);
        EXPECT_EQ(Form4->Height(), Form1->Height() - 25);
        EXPECT_EQ(WindowFrameOnScreen(*Form4).Width(), Form4->Width());
        for (const TControl* control : std::initializer_list<const TControl*>{Form4->BitBtn14, Form4->StatusBar1})
            ExpectInside(*Form4, *control);
        EXPECT_EQ(Form4->StatusBar1->Top() + Form4->StatusBar1->Height(), Form4->ClientHeight());
        Form4->BitBtn14->Click();
    });
    Form3->BitBtn6->Click();
    Form3->Hide();
}

TEST_F(WindowFramesTest, UnderAWindowManagerAModalDialogStaysAboveTheWindowsItBlocks)
{
    std::vector<unsigned long> stacking;
    unsigned long active = 0;
    dialogs->Modal([](TForm&) {
        ASSERT_TRUE(WaitUntilFramed(*Form7));
        Form7->BitBtn1->Click();
        Form7->BitBtn14->Click();
    });
    dialogs->Modal([&](TForm&) {
        ASSERT_TRUE(WaitUntilFramed(*Form5));
        // A click on the main window just below the quick text dialog.
        const std::string userTime = WindowProperty(*Form1, "_NET_WM_USER_TIME");
        ClickOnScreen(Form7->Left() + Form7->Width() / 2, Form7->Top() + Form7->Height() + 10);
        // Once the program has had the click (the window system stamps the
        // window's user time), the window manager has handled the click and
        // what the program asked on it before it takes a new title.
        EXPECT_TRUE(WaitUntil([&] { return WindowProperty(*Form1, "_NET_WM_USER_TIME") != userTime; }));
        EXPECT_TRUE(SettleWithWindowManager(*Form1));
        stacking = StackingOrder();
        active = ActiveWindow();
        Form5->BitBtn1->Click();
    });
    ClickTheTitle();
    ASSERT_GE(stacking.size(), 3u);
    EXPECT_EQ(stacking.back(), WindowId(*Form5));
    EXPECT_EQ(stacking[stacking.size() - 2], WindowId(*Form7));
    // The dialog that can be answered has the keyboard.
    EXPECT_EQ(active, WindowId(*Form5));
}
