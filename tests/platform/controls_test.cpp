// The event rules of the controls and forms that the windows rely on.
#include <algorithm>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/custom_control.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/range_controls.h"
#include "platform/scroll_box.h"
#include "platform/standard_controls.h"
#include "platform/status_bar.h"
#include "tests/window_events.h"

namespace {

class TestForm : public TForm {
public:
    TestForm() : TForm(nullptr) { SetBounds(0, 0, 400, 300); }
};

}  // namespace

TEST(TrackBar, ClampsAndRunsItsHandlerOnlyOnARealChange)
{
    TestForm form;
    TTrackBar bar(&form);
    bar.SetRange(1, 90);
    int changes = 0;
    bar.OnChange = [&] { ++changes; };
    bar.SetPosition(1);
    EXPECT_EQ(changes, 0);
    bar.SetPosition(500);
    EXPECT_EQ(bar.Position(), 90);
    EXPECT_EQ(changes, 1);
    bar.SetPosition(91);  // clamps to the value it already has
    EXPECT_EQ(changes, 1);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 1);
    EXPECT_EQ(changes, 2);
}

TEST(Edit, TextFromCodeRunsOnChangeOnlyWhenItDiffers)
{
    TestForm form;
    TEdit edit(&form);
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetText("0");
    edit.SetText("0");
    EXPECT_EQ(changes, 1);
    edit.MaxLength = 4;
    edit.SetText("12345678");  // the limit is for typing only
    EXPECT_EQ(edit.Text(), "12345678");
    // Typing counts bytes of code page 932: two for a full-width character,
    // one for a half-width kana; a character that does not fit is dropped
    // whole.
    edit.UserEdited("ＡＢＣ");
    EXPECT_EQ(edit.Text(), "ＡＢ");
    edit.UserEdited("aＡＢ");
    EXPECT_EQ(edit.Text(), "aＡ");
    edit.UserEdited("ｱｸﾃｨﾌﾞ");
    EXPECT_EQ(edit.Text(), "ｱｸﾃｨ");
}

TEST(Edit, KeyReleasesReachOnKeyUpWithEitherEnterAsReturn)
{
    TestForm form;
    TEdit edit(&form);
    std::vector<unsigned short> keys;
    edit.OnKeyUp = [&](unsigned short& key, TShiftState) { keys.push_back(key); };
    SendKey(edit, Qt::Key_A);
    SendKey(edit, Qt::Key_Return);
    SendKey(edit, Qt::Key_Enter);
    EXPECT_EQ(keys, (std::vector<unsigned short>{'A', VK_RETURN, VK_RETURN}));

    // A release whose press went elsewhere (Enter that closed a box over the
    // window) is no key of this edit.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit.Widget(), &release);
    EXPECT_EQ(keys.size(), 3u);
}

TEST(CheckBox, OnClickRunsOnChangesFromCodeToo)
{
    TestForm form;
    TCheckBox box(&form);
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.SetChecked(true);
    box.SetChecked(true);
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, OnlyTheOperatorsChoiceRunsOnChange)
{
    TestForm form;
    TComboBox combo(&form);
    combo.SetItems({"a", "b", "c"});
    int changes = 0;
    combo.OnChange = [&] { ++changes; };
    combo.SetItemIndex(2);
    combo.SetText("b");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(combo.ItemIndex(), 1);
    combo.UserChose(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo.Text(), "a");
}

TEST(Buttons, ClickFromCodeRunsEvenWhenDisabled)
{
    TestForm form;
    TButton button(&form);
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.SetEnabled(false);
    button.Click();
    EXPECT_EQ(clicks, 1);
}

TEST(Buttons, RadioButtonsAreExclusiveAndMayAllBeUp)
{
    TestForm form;
    TRadioButton a(&form), b(&form), c(&form);
    EXPECT_FALSE(a.Checked() || b.Checked() || c.Checked());
    a.SetChecked(true);
    c.SetChecked(true);
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(c.Checked());
    c.SetChecked(false);
    EXPECT_FALSE(a.Checked() || b.Checked() || c.Checked());
}

TEST(Buttons, SpeedButtonsOfAGroupAllowAllUp)
{
    TestForm form;
    TSpeedButton move(&form), turn(&form);
    for (TSpeedButton* b : {&move, &turn}) {
        b->GroupIndex = 1;
        b->AllowAllUp = true;
    }
    int clicks = 0;
    move.OnClick = [&] { ++clicks; };
    move.SetDown(true);  // from code: no click
    EXPECT_EQ(clicks, 0);
    turn.Click();
    EXPECT_FALSE(move.Down());
    EXPECT_TRUE(turn.Down());
    turn.Click();
    EXPECT_FALSE(turn.Down());
}

TEST(Memo, LinesPastTheEndReadEmpty)
{
    TestForm form;
    TMemo memo(&form);
    memo.SetVisible(false);
    memo.Lines().Add("one");
    EXPECT_EQ(memo.Lines()[0], "one");
    EXPECT_EQ(memo.Lines()[5], "");
    EXPECT_EQ(memo.Lines()[-1], "");
    memo.Lines().SetText("a\nb\n");
    EXPECT_EQ(memo.Lines().Count(), 2);
}

TEST(Form, SizeChangesRunCanResizeAndResizeAtOnce)
{
    TestForm form;
    std::vector<std::string> events;
    form.OnCanResize = [&](int& w, int& h, bool& accept) {
        events.push_back("can " + std::to_string(w) + "x" + std::to_string(h));
        w = std::max(w, 300);
        accept = h != 999;
    };
    form.OnResize = [&] { events.push_back("resize"); };
    form.SetBounds(0, 0, 200, 250);
    EXPECT_EQ(form.Width(), 300);
    form.SetBounds(0, 0, 500, 999);
    EXPECT_EQ(form.Height(), 250);
    form.SetBounds(10, 20, 300, 250);  // a move alone asks nothing
    EXPECT_EQ(events, (std::vector<std::string>{"can 200x250", "resize", "can 500x999"}));
    EXPECT_EQ(form.Left(), 10);
}

TEST(Form, FollowsTheOperatorsMovesAndResizes)
{
    TestForm form;
    std::vector<std::string> events;
    form.OnCanResize = [&](int& w, int& h, bool&) {
        events.push_back("can " + std::to_string(w) + "x" + std::to_string(h));
        w = std::max(w, 300);
    };
    form.OnResize = [&] { events.push_back("resize"); };
    form.Show();
    MoveWindowAsOperator(form, 120, 90);
    ASSERT_TRUE(WaitUntil([&] { return form.Left() == 120; }));
    EXPECT_EQ(form.Top(), 90);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_TRUE(events.empty());  // a move asks nothing

    // The form's own rule holds for the operator's resizes too.
    ResizeWindowAsOperator(form, 200, 250);
    ASSERT_TRUE(WaitUntil([&] { return form.Height() == 250; }));
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.ClientWidth(), 300);  // no frame headless
    EXPECT_EQ(events, (std::vector<std::string>{"can 200x250", "resize"}));
    EXPECT_EQ(form.Left(), 120);
    form.Hide();
}

TEST(FormUnderAWindowManager, OuterBoundsIncludeTheFrameAndFollowTheOperator)
{
    if (!HasWindowManager())
        GTEST_SKIP() << "needs a window manager: scripts/window-tests.sh";
    TestForm form;
    form.SetBounds(100, 80, 400, 300);
    int resizes = 0;
    form.OnResize = [&] { ++resizes; };
    form.Show();
    // Framed, the outer bounds stay where they were set and the client
    // area gives way.
    ASSERT_TRUE(WaitUntil([&] { return form.ClientWidth() < form.Width(); })) << "no frame came";
    ASSERT_TRUE(WaitUntil([&] { return WindowFrameOnScreen(form) == TRect{100, 80, 500, 380}; }));
    EXPECT_EQ((TRect{form.Left(), form.Top(), form.Width(), form.Height()}), (TRect{100, 80, 400, 300}));
    EXPECT_LT(form.ClientHeight(), form.Height());
    EXPECT_GT(resizes, 0);

    MoveWindowAsOperator(form, 250, 150);
    ASSERT_TRUE(WaitUntil([&] { return form.Left() == 250 && form.Top() == 150; }));
    EXPECT_EQ(form.Width(), 400);
    ResizeWindowAsOperator(form, 500, 360);
    ASSERT_TRUE(WaitUntil([&] { return form.Width() == 500 && form.Height() == 360; }));
    ASSERT_TRUE(WaitUntil([&] { return WindowFrameOnScreen(form) == TRect{250, 150, 750, 510}; }));

    form.SetBounds(50, 60, 450, 320);
    EXPECT_TRUE(WaitUntil([&] { return WindowFrameOnScreen(form) == TRect{50, 60, 500, 380}; }));
    EXPECT_EQ(form.Left(), 50);
    form.Hide();
}

TEST(FormUnderAWindowManager, AClientSizeIsTheInsideAndADialogsSizeIsTheProgramsAlone)
{
    if (!HasWindowManager())
        GTEST_SKIP() << "needs a window manager: scripts/window-tests.sh";
    TestForm form;
    form.SetDialogBorder(true);
    form.SetClientSize(300, 200);
    form.SetBounds(100, 80, form.Width(), form.Height());
    int resizes = 0;
    form.OnResize = [&] { ++resizes; };
    form.Show();
    // The frame comes around the client area, which keeps its size.
    ASSERT_TRUE(WaitUntilFramed(form)) << "no frame came";
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 200);
    EXPECT_EQ(resizes, 0);
    EXPECT_TRUE(WaitUntil([&] {
        return WindowFrameOnScreen(form) == TRect{100, 80, 100 + form.Width(), 80 + form.Height()};
    }));

    // The window manager offers no resizing and no maximising, and refuses
    // a size that another program asks for it.
    const std::vector<std::string> allowed = AllowedActions(form);
    for (const char* action : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
        EXPECT_EQ(std::count(allowed.begin(), allowed.end(), action), 0) << action;
    RunXTool("xdotool", {"windowsize", std::to_string(WindowId(form)), "211", "18"});
    ASSERT_TRUE(SettleWithWindowManager(form));
    EXPECT_EQ(form.Widget()->height(), 200);
    EXPECT_EQ(form.ClientHeight(), 200);

    // The program itself still sizes it.
    form.SetClientSize(320, 240);
    EXPECT_TRUE(WaitUntil([&] { return WindowFrameOnScreen(form).Width() == form.Width(); }));
    EXPECT_EQ(form.Widget()->width(), 320);
    form.Hide();
}

TEST(Form, OnShowSeesItselfVisibleAndModalResultsCloseTheForm)
{
    TestForm form;
    bool visibleInShow = false;
    form.OnShow = [&] { visibleInShow = form.Visible(); };
    auto driver = std::make_shared<ScriptedDialogDriver>();
    Application->SetDialogDriver(driver);
    TButton ok(&form);
    ok.ModalResult = IDOK;
    bool queried = false;
    form.OnCloseQuery = [&](bool& canClose) { queried = canClose = true; };
    driver->Modal([&](TForm&) { ok.Click(); });
    EXPECT_EQ(form.ShowModal(), IDOK);
    EXPECT_TRUE(visibleInShow);
    EXPECT_TRUE(queried);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(driver->Failures().empty());
    Application->SetDialogDriver(nullptr);
}

TEST(ScrollBox, ChildPositionsAreRelativeToTheScrolledOrigin)
{
    TestForm form;
    TScrollBox box(&form);
    box.SetBounds(0, 0, 104, 104);
    EXPECT_EQ(box.ClientWidth(), 100);
    TButton child(&box);
    child.SetBounds(0, 0, 400, 400);
    box.VertScrollBar.SetPosition(50);
    EXPECT_EQ(box.VertScrollBar.Position(), 50);
    EXPECT_EQ(child.Top(), -50);
    child.SetTop(10);  // 10 below the scrolled origin: 60 in the content
    box.VertScrollBar.SetPosition(0);
    EXPECT_EQ(child.Top(), 60);
}

TEST(ScrollBox, PointerMovesBesideItsChildrenReachTheBox)
{
    TestForm form;
    TScrollBox box(&form);
    box.SetBounds(10, 20, 204, 154);
    TButton child(&box);
    child.SetBounds(0, 0, 50, 40);
    std::vector<TPoint> moves;
    box.OnMouseMove = [&](TShiftState, int x, int y) { moves.push_back({x, y}); };
    form.Show();
    // Right of and below the child, inside the box's 2-pixel border.
    SendPointerMove(form, 10 + 2 + 150, 20 + 2 + 30);
    SendPointerMove(form, 10 + 2 + 20, 20 + 2 + 100);
    EXPECT_EQ(moves, (std::vector<TPoint>{{150, 30}, {20, 100}}));
    form.Hide();
}

TEST(ControlTree, ReparentingKeepsThePositionNumbersAndAParentlessControlStaysOffScreen)
{
    TestForm form;
    TScrollBox box(&form);
    box.SetBounds(0, 0, 104, 104);
    TButton tall(&box);
    tall.SetBounds(0, 0, 10, 400);
    box.VertScrollBar.SetPosition(50);
    TImage image(nullptr);
    image.SetBounds(20, 30, 40, 10);
    EXPECT_FALSE(image.Widget()->isVisibleTo(form.Widget()));
    image.SetParent(&box);
    EXPECT_EQ(image.Top(), 30);  // below the scrolled origin, as set
    EXPECT_TRUE(image.Widget()->isVisibleTo(form.Widget()));
    EXPECT_EQ(std::count(box.Controls().begin(), box.Controls().end(), &image), 1);
    image.SetParent(&form);
    EXPECT_EQ(std::count(box.Controls().begin(), box.Controls().end(), &image), 0);
    EXPECT_EQ(image.Top(), 30);
    image.SetParent(nullptr);
    EXPECT_FALSE(image.Widget()->isVisibleTo(form.Widget()));
    EXPECT_FALSE(image.Widget()->isVisible());
}

TEST(ControlTree, GraphicControlsStayBeneathWindowedOnes)
{
    TestForm form;
    TImage low(&form);
    TCustomControl windowed(&form);
    TImage high(&form);
    TImage moved(nullptr);
    EXPECT_EQ(form.StackingOrder(), (std::vector<TControl*>{&low, &windowed, &high}));
    high.BringToFront();
    EXPECT_EQ(form.StackingOrder(), (std::vector<TControl*>{&low, &high, &windowed}));
    moved.SetParent(&form);
    EXPECT_EQ(form.StackingOrder(), (std::vector<TControl*>{&low, &high, &moved, &windowed}));
    low.BringToFront();
    windowed.BringToFront();
    EXPECT_EQ(form.StackingOrder(), (std::vector<TControl*>{&high, &moved, &low, &windowed}));
}

TEST(ControlTree, CursorsAreKeptAndShown)
{
    TestForm form;
    TImage image(&form);
    EXPECT_EQ(image.Cursor(), TCursor::crDefault);
    const std::pair<TCursor, Qt::CursorShape> shapes[] = {{TCursor::crSizeNWSE, Qt::SizeFDiagCursor},
                                                          {TCursor::crSizeNESW, Qt::SizeBDiagCursor},
                                                          {TCursor::crSizeNS, Qt::SizeVerCursor},
                                                          {TCursor::crSizeWE, Qt::SizeHorCursor}};
    for (const auto& [cursor, shape] : shapes) {
        image.SetCursor(cursor);
        EXPECT_EQ(image.Cursor(), cursor);
        EXPECT_EQ(image.Widget()->cursor().shape(), shape);
    }
    image.SetCursor(TCursor::crDefault);
    EXPECT_FALSE(image.Widget()->testAttribute(Qt::WA_SetCursor));
}

TEST(ScriptedDialogs, AnswerInOrderAndRecordWhatWasNotExpected)
{
    ScriptedDialogDriver driver;
    driver.Message("続けますか", IDYES, "Plovis", MB_YESNO);
    EXPECT_EQ(driver.MessageBox("処理を続けますか？", "Plovis", MB_YESNO), IDYES);
    EXPECT_TRUE(driver.Failures().empty());
    EXPECT_EQ(driver.MessageBox("予期しない", "Plovis", MB_OK), IDCANCEL);
    ASSERT_EQ(driver.Failures().size(), 1u);
    driver.Message("a", IDOK, "X");
    driver.MessageBox("a", "Y", MB_OK);
    EXPECT_EQ(driver.Failures().size(), 2u);
}

TEST(Application, AnExceptionFromAHandlerIsShownAndStops)
{
    auto driver = std::make_shared<ScriptedDialogDriver>();
    Application->SetDialogDriver(driver);
    driver->Message("壊れました", IDOK);
    driver->Message("", IDOK);
    Application->Guard([] { throw Exception("壊れました"); });
    Application->Guard([] { throw std::runtime_error("foreign"); });
    EXPECT_TRUE(driver->Failures().empty());
    EXPECT_TRUE(driver->AllUsed());
    Application->SetDialogDriver(nullptr);
}

TEST(StatusBar, TheLastPanelReachesTheRightEdge)
{
    TestForm form;
    TStatusBar bar(&form);
    bar.SetBounds(0, 0, 979, 22);
    bar.SetPanelWidths({300, 400, 50});
    auto lastWidth = [&] {
        int right = 0;
        for (const QLabel* label : bar.Widget()->findChildren<QLabel*>())
            if (label->x() == 700)
                right = label->width();
        return right;
    };
    EXPECT_EQ(lastWidth(), 279);
    bar.SetBounds(0, 0, 1200, 22);
    EXPECT_EQ(lastWidth(), 500);
    bar.SetBounds(0, 0, 600, 22);
    EXPECT_EQ(lastWidth(), 50) << "never narrower than its own width";
}

TEST(StatusBar, PanelsFitTheirLongestTextsAndAPanelWithoutTextsGivesWay)
{
    TestForm form;
    TStatusBar bar(&form);
    bar.SetBounds(0, 0, 979, 22);
    bar.SetPanelWidths({300, 400, 50});
    const std::string counts = "作業が終了しました。保存ファイル数:99999 エラー:99999 スキップ:99999";
    const std::string readout = "XY(99999,99999) RGB(255,255, 255)";
    bar.FitPanel(0, {"短い", counts});
    bar.FitPanel(2, {readout});
    bar.Panels(0).SetText(counts);
    bar.Panels(1).SetText("/home/photos/2024/a.jpg");
    bar.Panels(2).SetText(readout);
    EXPECT_GT(bar.NeededWidth(0), 300) << "the text fits the old width: the test proves nothing";
    EXPECT_GE(bar.ShownWidth(0), bar.NeededWidth(0));
    EXPECT_GE(bar.ShownWidth(2), bar.NeededWidth(2));
    EXPECT_EQ(bar.ShownWidth(0) + bar.ShownWidth(1) + bar.ShownWidth(2), 979) << "the path gives way";
    bar.SetBounds(0, 0, 1400, 22);
    EXPECT_EQ(bar.ShownWidth(1), 400);
}
