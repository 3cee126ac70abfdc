// The resize-handle component driven through the controls' own mouse
// dispatch, as the window system reports to the control under the pointer.
#include "controls/resize_control.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/hint_window.h"
#include "platform/standard_controls.h"
#include "platform/text_format.h"

namespace {

class TestForm : public TForm {
public:
    TestForm() : TForm(nullptr) { SetBounds(100, 50, 600, 400); }
};

// A picture that runs a hook whenever it is moved or resized, as the window
// system may deliver further mouse messages while a control moves.
class HookedImage : public TImage {
public:
    using TImage::TImage;
    std::function<void()> OnBounds;
    void SetBounds(int left, int top, int width, int height) override
    {
        TImage::SetBounds(left, top, width, height);
        if (OnBounds)
            OnBounds();
    }
};

TRect BoundsOf(const TControl& control)
{
    return {control.Left(), control.Top(), control.Left() + control.Width(), control.Top() + control.Height()};
}

class ResizeControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        image->SetBounds(50, 40, 100, 60);
        rc->OnMouseDown = [this](TMouseButton button, TShiftState, int x, int y) {
            events.push_back(Format("down %d %d %d", static_cast<int>(button), x, y));
        };
        rc->OnMouseMove = [this](TShiftState, int x, int y) { events.push_back(Format("move %d %d", x, y)); };
        rc->OnMouseUp = [this](TMouseButton button, TShiftState, int x, int y) {
            events.push_back(Format("up %d %d %d", static_cast<int>(button), x, y));
        };
    }

    // The pointer at (x, y) of the form's client area, reported to target
    // in its own coordinates at the moment of the event.
    static void Down(TControl& target, int x, int y, TMouseButton button = TMouseButton::mbLeft)
    {
        target.DispatchMouseDown(button, 0, x - target.Left(), y - target.Top());
    }
    static void MoveTo(TControl& target, int x, int y)
    {
        target.DispatchMouseMove(ssLeft, x - target.Left(), y - target.Top());
    }
    static void Up(TControl& target, int x, int y, TMouseButton button = TMouseButton::mbLeft)
    {
        target.DispatchMouseUp(button, 0, x - target.Left(), y - target.Top(), true);
    }
    // Presses the middle of target, drags the pointer by (dx, dy) and releases it there.
    static void Drag(TControl& target, int dx, int dy)
    {
        const int x = target.Left() + 3;
        const int y = target.Top() + 3;
        Down(target, x, y);
        MoveTo(target, x + dx, y + dy);
        Up(target, x + dx, y + dy);
    }
    void ExpectGripsAt(const std::vector<TPoint>& places, bool visible)
    {
        for (int i = 0; i < TResizeControl::kGripCount; ++i) {
            const TResizeGrip& grip = *rc->Grip(i);
            EXPECT_EQ((TPoint{grip.Left(), grip.Top()}), places[static_cast<std::size_t>(i)]) << "grip " << i;
            EXPECT_EQ(grip.Visible(), visible) << "grip " << i;
        }
    }
    const THintWindow& Hint() const { return rc->HintWindow(); }

    TestForm form;
    HookedImage* image = new HookedImage(&form);
    TResizeControl* rc = new TResizeControl(&form);
    std::vector<std::string> events;
};

// Around a 100 x 60 control at (50, 40): the frame is (43, 33) 114 x 74.
const std::vector<TPoint> kGripPlaces = {{43, 33}, {96, 33}, {149, 33}, {149, 66},
                                         {149, 99}, {96, 99}, {43, 99}, {43, 66}};

}  // namespace

TEST_F(ResizeControlTest, AttachingSurroundsTheControlWithFrameAndGripsStackedAboveIt)
{
    EXPECT_EQ(rc->Parent(), nullptr);  // out of sight until attached
    EXPECT_EQ(BoundsOf(Hint()), Rect(0, 0, 0, 0));
    rc->SetBackColor(clWhite);  // as the main window does before anything is attached
    rc->SetControl(image);
    EXPECT_EQ(rc->Parent(), &form);
    EXPECT_TRUE(rc->Visible());
    EXPECT_EQ(BoundsOf(*rc), Rect(43, 33, 157, 107));
    EXPECT_FALSE(rc->HasPicture());  // the frame paints nothing of its own
    ExpectGripsAt(kGripPlaces, true);
    const std::vector<TCursor> cursors = {TCursor::crSizeNWSE, TCursor::crSizeNS,   TCursor::crSizeNESW,
                                          TCursor::crSizeWE,   TCursor::crSizeNWSE, TCursor::crSizeNS,
                                          TCursor::crSizeNESW, TCursor::crSizeWE};
    const std::vector<TControl*> order = form.StackingOrder();
    const auto at = [&](const TControl* c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
    EXPECT_LT(at(rc), at(image));
    for (int i = 0; i < TResizeControl::kGripCount; ++i) {
        EXPECT_EQ(rc->Grip(i)->Cursor(), cursors[static_cast<std::size_t>(i)]);
        EXPECT_LT(at(image), at(rc->Grip(i)));
    }

    rc->SetBackColor(clBlue);
    EXPECT_EQ(rc->Color(), clBlue);
    EXPECT_FALSE(rc->HasPicture());
}

TEST_F(ResizeControlTest, GripsAreBlackSquaresWithAWhiteBorder)
{
    const TBitmap& picture = rc->Grip(4)->PaintPicture();
    ASSERT_EQ(picture.Width(), 7);
    ASSERT_EQ(picture.Height(), 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool border = x == 0 || y == 0 || x == 6 || y == 6;
            EXPECT_EQ(picture.Pixel(x, y), border ? clWhite : clBlack) << x << "," << y;
        }
}

TEST_F(ResizeControlTest, NothingOrAControlWithoutParentHidesFrameAndGrips)
{
    rc->SetControl(image);
    TImage orphan(nullptr);
    rc->SetControl(&orphan);
    EXPECT_EQ(rc->Control(), &orphan);
    EXPECT_FALSE(rc->Visible());
    ExpectGripsAt(kGripPlaces, false);

    rc->SetControl(image);
    rc->SetControl(nullptr);
    EXPECT_FALSE(rc->Visible());
    ExpectGripsAt(kGripPlaces, false);

    rc->SetControl(image);
    rc->Hide();  // hides without detaching
    EXPECT_EQ(rc->Control(), image);
    EXPECT_FALSE(rc->Visible());
    ExpectGripsAt(kGripPlaces, false);
    rc->SetControl(image);
    EXPECT_TRUE(rc->Visible());
    ExpectGripsAt(kGripPlaces, true);
}

TEST_F(ResizeControlTest, ReparentingDetachesAndTakesTheGripsAlong)
{
    auto* panel = new TPanel(&form);
    auto* inPanel = new TImage(panel);
    inPanel->SetBounds(10, 10, 50, 20);
    rc->SetControl(inPanel);
    ASSERT_EQ(rc->Grip(0)->Parent(), panel);

    rc->SetParent(&form);
    EXPECT_EQ(rc->Control(), nullptr);
    EXPECT_FALSE(rc->Visible());
    EXPECT_EQ(rc->Parent(), &form);
    for (int i = 0; i < TResizeControl::kGripCount; ++i) {
        EXPECT_FALSE(rc->Grip(i)->Visible());
        EXPECT_EQ(rc->Grip(i)->Parent(), &form);
    }
    // The panel's end no longer takes the grips with it.
    delete panel;
    rc->SetControl(image);
    ExpectGripsAt(kGripPlaces, true);
}

TEST_F(ResizeControlTest, RightButtonPressOnAGripOrTheFrameStartsNoDrag)
{
    rc->SetControl(image);
    for (TControl* target : {static_cast<TControl*>(rc->Grip(4)), static_cast<TControl*>(rc)}) {
        events.clear();
        const int x = target->Left() + 3;
        const int y = target->Top() + 3;
        Down(*target, x, y, TMouseButton::mbRight);
        MoveTo(*target, x + 20, y + 20);
        Up(*target, x + 20, y + 20, TMouseButton::mbRight);
        EXPECT_EQ(events, (std::vector<std::string>{"down 1 3 3", "move 23 23", "up 1 23 23"}));
        EXPECT_EQ(BoundsOf(*image), Rect(50, 40, 150, 100));
        ExpectGripsAt(kGripPlaces, true);
        EXPECT_FALSE(Hint().Showing());
    }
}

TEST_F(ResizeControlTest, PressAndReleaseOnTheFrameWithoutMovingShowsThePositionOnly)
{
    rc->SetControl(image);
    Down(*rc, 45, 35);
    ExpectGripsAt(kGripPlaces, false);
    EXPECT_TRUE(Hint().Showing());
    EXPECT_EQ(Hint().Caption(), "X: 50, Y: 40 (2 2)");
    // Next to the pointer on the screen: the form's client is at (100, 50).
    EXPECT_EQ(Hint().Left(), 100 + 45 + 9);
    EXPECT_EQ(Hint().Top(), 50 + 35 - 9);
    const TRect size = Hint().CalcHintRect(100, "X: 50, Y: 40 (2 2)");
    EXPECT_EQ(Hint().Width(), size.Right);
    EXPECT_EQ(Hint().Height(), size.Bottom);

    Up(*rc, 45, 35);
    EXPECT_EQ(BoundsOf(*image), Rect(50, 40, 150, 100));
    ExpectGripsAt(kGripPlaces, true);
    EXPECT_FALSE(Hint().Showing());
    EXPECT_EQ(BoundsOf(Hint()), Rect(0, 0, 0, 0));
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 2 2", "up 0 2 2"}));
}

TEST_F(ResizeControlTest, DraggingTheFrameMovesTheControlAndBringsTheGripsBackAtTheEnd)
{
    rc->SetControl(image);
    Down(*rc, 45, 35);
    MoveTo(*rc, 65, 45);
    EXPECT_EQ(BoundsOf(*image), Rect(70, 50, 170, 110));
    EXPECT_EQ(BoundsOf(*rc), Rect(63, 43, 177, 117));
    EXPECT_EQ(Hint().Caption(), "X: 70, Y: 50 (22 12)");
    EXPECT_FALSE(rc->Grip(0)->Visible());
    Up(*rc, 65, 45);
    EXPECT_EQ(BoundsOf(*image), Rect(70, 50, 170, 110));
    EXPECT_EQ(rc->Grip(0)->Left(), 63);
    EXPECT_EQ(rc->Grip(4)->Top(), 109);
    EXPECT_TRUE(rc->Grip(4)->Visible());
}

TEST_F(ResizeControlTest, BottomRightGripGrowsTheControlAndTopLeftGripKeepsTheOppositeCorner)
{
    rc->SetControl(image);
    TResizeGrip& bottomRight = *rc->Grip(4);
    Down(bottomRight, 152, 102);
    MoveTo(bottomRight, 162, 107);
    EXPECT_EQ(BoundsOf(*image), Rect(50, 40, 160, 105));
    EXPECT_EQ(Hint().Caption(), "W: 110, H: 65");
    // The grip has followed, so each step adds only the movement since the last.
    EXPECT_EQ((TPoint{bottomRight.Left(), bottomRight.Top()}), (TPoint{159, 104}));
    MoveTo(bottomRight, 172, 112);
    Up(bottomRight, 172, 112);
    EXPECT_EQ(BoundsOf(*image), Rect(50, 40, 170, 110));
    EXPECT_EQ(BoundsOf(*rc), Rect(43, 33, 177, 117));

    image->SetBounds(50, 40, 100, 60);
    rc->SetControl(image);
    Drag(*rc->Grip(0), 10, 5);
    EXPECT_EQ(BoundsOf(*image), Rect(60, 45, 150, 100));
    EXPECT_EQ(rc->Grip(0)->Left(), 53);
    EXPECT_EQ(rc->Grip(4)->Left(), 149);
}

TEST_F(ResizeControlTest, KeptAspectTakesTheHeightFromTheWidthWhicheverGripIsDragged)
{
    const auto dragged = [&](int grip, int dx, int dy) {
        image->SetBounds(200, 200, 300, 100);
        rc->SetControl(image);
        Drag(*rc->Grip(grip), dx, dy);
        return TPoint{image->Width(), image->Height()};
    };
    rc->SetXYSize(nullptr, 4, 3, 0, 0, true);
    EXPECT_EQ(dragged(3, 100, 40), (TPoint{400, 300}));
    EXPECT_EQ(dragged(7, -100, 0), (TPoint{400, 300}));
    EXPECT_EQ(dragged(2, 100, -7), (TPoint{400, 300}));
    EXPECT_EQ(dragged(5, 0, 50), (TPoint{300, 225}));

    rc->SetXYSize(nullptr, 4, 3, 0, 0, false);
    EXPECT_EQ(dragged(3, 100, 40), (TPoint{400, 100}));
    rc->SetXYSize(nullptr, 4, 0, 0, 0, true);
    EXPECT_EQ(dragged(4, 100, 40), (TPoint{400, 140}));
    rc->SetXYSize(nullptr, 0, 3, 0, 0, true);
    EXPECT_EQ(dragged(4, 100, 40), (TPoint{400, 140}));
}

TEST_F(ResizeControlTest, WithoutShowHintNoHintAppearsAndItStaysCollapsed)
{
    rc->SetShowHint(false);
    rc->SetControl(image);
    Down(*rc, 45, 35);
    MoveTo(*rc, 65, 45);
    EXPECT_FALSE(Hint().Showing());
    EXPECT_EQ(Hint().Caption(), "");
    Up(*rc, 65, 45);
    EXPECT_EQ(BoundsOf(Hint()), Rect(0, 0, 0, 0));
    EXPECT_EQ(image->Left(), 70);
}

TEST_F(ResizeControlTest, AForwardedPressOnTheControlMovesItAndReachesTheOwner)
{
    // As both owners forward while it is attached: the component is the sender.
    image->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { rc->PtMouseDown(rc, b, s, x, y); };
    image->OnMouseMove = [this](TShiftState s, int x, int y) { rc->PtMouseMove(rc, s, x, y); };
    image->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { rc->PtMouseUp(rc, b, s, x, y); };
    rc->SetControl(image);
    Down(*image, 60, 50);
    EXPECT_FALSE(rc->Grip(0)->Visible());
    MoveTo(*image, 75, 55);
    Up(*image, 75, 55);
    EXPECT_EQ(BoundsOf(*image), Rect(65, 45, 165, 105));
    EXPECT_EQ(BoundsOf(*rc), Rect(58, 38, 172, 112));
    EXPECT_TRUE(rc->Grip(0)->Visible());
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 10 10", "move 25 15", "up 0 10 10"}));
}

TEST_F(ResizeControlTest, EventsArrivingDuringAStepReachTheOwnerButRunNoStepOfTheirOwn)
{
    rc->SetControl(image);
    bool nested = false;
    image->OnBounds = [&] {
        if (nested)
            return;
        nested = true;
        rc->DispatchMouseMove(ssLeft, 90, 90);
        rc->DispatchMouseDown(TMouseButton::mbLeft, 0, 80, 80);
        rc->DispatchMouseUp(TMouseButton::mbLeft, 0, 70, 70, true);
    };
    Down(*rc, 45, 35);
    MoveTo(*rc, 55, 35);
    EXPECT_EQ(events,
              (std::vector<std::string>{"down 0 2 2", "move 90 90", "down 0 80 80", "up 0 70 70", "move 12 2"}));
    // Neither the nested press nor the nested release ended or restarted the drag.
    MoveTo(*rc, 65, 35);
    Up(*rc, 65, 35);
    EXPECT_EQ(BoundsOf(*image), Rect(70, 40, 170, 100));
}

TEST_F(ResizeControlTest, AStepThatFailsLeavesTheComponentReadyForTheNext)
{
    auto dialogs = std::make_shared<ScriptedDialogDriver>();
    dialogs->Message("cannot move", IDOK);
    Application->SetDialogDriver(dialogs);
    rc->SetControl(image);
    bool fail = false;
    image->OnBounds = [&] {
        if (std::exchange(fail, false))
            throw Exception("cannot move");
    };
    Down(*rc, 45, 35);
    fail = true;
    MoveTo(*rc, 55, 35);
    MoveTo(*rc, 65, 35);
    Up(*rc, 65, 35);
    Application->SetDialogDriver(nullptr);
    EXPECT_TRUE(dialogs->Failures().empty());
    EXPECT_TRUE(dialogs->AllUsed());
    // The failing step moved the control and stopped short of the frame; the
    // next step ran and brought the frame round the control again.
    EXPECT_GT(image->Left(), 60);
    EXPECT_EQ(BoundsOf(*rc), Rect(image->Left() - 7, 33, image->Left() + 107, 107));
    EXPECT_EQ(BoundsOf(Hint()), Rect(0, 0, 0, 0));
}
