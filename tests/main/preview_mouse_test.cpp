// The mouse on the preview: the read-out in the status bar, the move, rotate
// and zoom modes with their overlay, and the title click that opens the quick
// text dialog. Events go through the controls' dispatch, as the window's.
#include <climits>

#include <gtest/gtest.h>

#include "controls/resize_control.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "platform/application.h"
#include "platform/text_format.h"
#include "tests/main/app_test_support.h"

namespace {

constexpr TColor kOverlayRed = 0x0000FF;

int RedPixels(const TImage& image)
{
    int count = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            count += image.PicturePixel(x, y) == kOverlayRed;
    return count;
}

}  // namespace

class PreviewMouseTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ShowMainWindowWithKnownPreview();
    }

    static void Drag(TImage* image, TPoint from, TPoint to, TShiftState shift = 0)
    {
        image->DispatchMouseDown(TMouseButton::mbLeft, shift | ssLeft, from.x, from.y);
        image->DispatchMouseMove(shift | ssLeft, to.x, to.y);
        image->DispatchMouseUp(TMouseButton::mbLeft, shift, to.x, to.y, true);
    }

    std::string Status(int panel) const { return Form1->StatusBar1->Panels(panel).Text(); }
};

TEST_F(PreviewMouseTest, PointerShowsPositionAndPhotoColourAndIsRemembered)
{
    Form1->Image1->Picture().SetPixel(12, 7, RGB(1, 22, 255));
    Form1->Image1->DispatchMouseMove(0, 12, 7);
    EXPECT_EQ(Status(2), "XY(12,7) RGB(  1, 22, 255)");
    EXPECT_EQ(Form1->LastMouseX, 12 + Form1->ScrollBox1->Left());
    EXPECT_EQ(Form1->LastMouseY, 7 + Form1->ScrollBox1->Top());

    // Without a mode a drag changes nothing.
    Drag(Form1->Image1, {100, 100}, {150, 130});
    EXPECT_EQ(Form1->PhotoOffsetX, 0);
    EXPECT_EQ(Form1->PhotoOffsetY, 0);
    EXPECT_FALSE(Form1->Dragging);
}

TEST_F(PreviewMouseTest, MoveDragShiftsThePhotoInFramePixels)
{
    Form1->SpeedButton9->Click();
    ASSERT_TRUE(Form1->SpeedButton9->Down());
    EXPECT_FALSE(Form1->Image2->Visible());
    EXPECT_EQ(Form1->Image1->Hint(), "ドラッグして移動");
    Form1->FrameLayout.Framewidth = 1800;
    Form1->Image1->SetWidth(993);

    Form1->Image1->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 100, 100);
    Form1->Image1->DispatchMouseMove(ssLeft, 110, 100);
    EXPECT_EQ(Form1->PhotoOffsetX, -18);
    EXPECT_EQ(Form1->Edit5->Text(), "-18");
    // Shift doubles; each step measures from the last one.
    Form1->Image1->DispatchMouseMove(ssLeft | ssShift, 120, 100);
    EXPECT_EQ(Form1->PhotoOffsetX, -54);
    Form1->Image1->DispatchMouseUp(TMouseButton::mbLeft, 0, 120, 100, true);
    EXPECT_FALSE(Form1->Dragging);
    EXPECT_EQ(Screen->Cursor(), TCursor::crDefault);
}

TEST_F(PreviewMouseTest, MoveDragWithAZoomThatIsNoNumberTakesOne)
{
    Form1->SpeedButton9->Click();
    Form1->FrameLayout.Framewidth = 1800;
    Form1->Image1->SetWidth(993);
    dialogs->Message("拡大率が有効な値ではありません。", IDOK, "Plovis");
    Form1->Edit8->SetText("x");
    Drag(Form1->Image1, {100, 100}, {110, 100});
    EXPECT_EQ(Form1->Edit8->Text(), "1");
    EXPECT_FLOAT_EQ(Form1->PhotoZoom, 1.0f);
    EXPECT_EQ(Form1->PhotoOffsetX, -18);
}

TEST_F(PreviewMouseTest, ExtremeTypedZoomsHoldTheOffsetsAtTheEndsOfInt)
{
    // 10 pixels at a zoom of 1e-9 are 1.8e10 frame pixels, doubled by Shift.
    Form1->SpeedButton9->Click();
    Form1->FrameLayout.Framewidth = 1800;
    Form1->Image1->SetWidth(993);
    Form1->Edit8->UserEdited("1e-9");
    Form1->Image1->DispatchMouseDown(TMouseButton::mbLeft, ssLeft | ssShift, 100, 100);
    Form1->Image1->DispatchMouseMove(ssLeft | ssShift, 110, 100);
    EXPECT_EQ(Form1->PhotoOffsetX, INT_MIN);
    EXPECT_EQ(Form1->Edit5->Text(), "-2147483648");
    Form1->Image1->DispatchMouseMove(ssLeft, 100, 100);
    EXPECT_EQ(Form1->PhotoOffsetX, INT_MAX);
    Form1->Image1->DispatchMouseUp(TMouseButton::mbLeft, 0, 100, 100, true);

    // A zoom rectangle right of and below the centre (342, 211) of the 685 x
    // 422 photo area moves the photo up and left of offsets at the top end.
    Form1->SpeedButton11->Click();
    Form1->Edit8->UserEdited("1");
    Form1->Edit6->UserEdited("2147483647");
    ASSERT_EQ(Form1->PhotoOffsetY, INT_MAX);
    Drag(Form1->Image2, {342, 211}, {685, 422});
    EXPECT_EQ(Form1->PhotoOffsetX, INT_MAX);
    EXPECT_EQ(Form1->PhotoOffsetY, INT_MAX);
    EXPECT_EQ(Form1->Edit6->Text(), "2147483647");

    // The status shows the new zoom with every digit, as "%f" writes it:
    // 685 x 1e15 / 343, shown and so in force with 4 digits, is the float
    // 1996999939325952 (15 digits would end "…9325950").
    Form1->Edit8->UserEdited("1e15");
    Drag(Form1->Image2, {342, 211}, {685, 422});
    EXPECT_EQ(Form1->Edit8->Text(), "1997000000000000.00000");
    EXPECT_EQ(Status(2), "(342,211)-(685,422)/ 幅343高211 zoom1996999939325952.000000");
}

TEST_F(PreviewMouseTest, RotateLineIsDrawnInRedAndLevelsThePhoto)
{
    Form1->SpeedButton10->Click();
    ASSERT_TRUE(Form1->Image2->Visible());
    EXPECT_EQ(Form1->Image2->Hint(), "ドラッグして回転");

    TImage* overlay = Form1->Image2;
    overlay->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 100, 100);
    overlay->DispatchMouseMove(ssLeft, 0, 0);
    EXPECT_EQ(Status(1), "(100,100)-(0,0)");
    EXPECT_TRUE(overlay->Transparent());
    EXPECT_EQ(overlay->PicturePixel(50, 50), kOverlayRed);
    EXPECT_EQ(overlay->PicturePixel(0, overlay->Picture().Height() - 1), 0xFF0000u) << "the see-through key";
    EXPECT_EQ(RedPixels(*overlay), 100);
    EXPECT_FLOAT_EQ(Form1->PendingRotation, 134.999f);

    overlay->DispatchMouseUp(TMouseButton::mbLeft, 0, 0, 0, true);
    EXPECT_FLOAT_EQ(Form1->PhotoAngle, 135.0f) << "the edit shows 4 significant digits and is taken back";
    EXPECT_EQ(Form1->Edit7->Text(), "135.00000");
    EXPECT_EQ(RedPixels(*overlay), 0);
    EXPECT_FALSE(Form1->Dragging);
}

TEST_F(PreviewMouseTest, RotateLineAddsToTheAngleAndWrapsAt360)
{
    Form1->SpeedButton10->Click();
    Form1->Edit7->SetText("350");
    Drag(Form1->Image2, {100, 100}, {200, 0});
    EXPECT_FLOAT_EQ(Form1->PhotoAngle, 35.0f);
    EXPECT_EQ(Form1->Edit7->Text(), "35.00000");

    Form1->Edit7->SetText("12.345");
    Drag(Form1->Image2, {100, 100}, {200, 100});
    EXPECT_EQ(Form1->Edit7->Text(), "12.35000");
    EXPECT_FLOAT_EQ(Form1->PhotoAngle, 12.35f);
}

TEST_F(PreviewMouseTest, ZoomRectangleOfHalfTheAreaDoublesTheZoom)
{
    Form1->SpeedButton11->Click();
    ASSERT_TRUE(Form1->Image2->Visible());
    const TFrameLayout& p = Form1->PreviewLayout;
    const int w = p.Photowidth / 2;
    const int h = w * p.Photoheight / p.Photowidth;
    TImage* overlay = Form1->Image2;

    // A press above and left of the photo area starts at its corner.
    overlay->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.Leftwidth - 5, p.Topheight - 5);
    overlay->DispatchMouseMove(ssLeft, p.Leftwidth + w, p.Topheight + h);
    EXPECT_EQ(Status(1).rfind(Format("(%d,%d)-(%d,%d)/ 幅%d ", p.Leftwidth, p.Topheight, p.Leftwidth + w,
                                     p.Topheight + h, w),
                              0),
              0u)
        << Status(1);
    EXPECT_EQ(RedPixels(*overlay), 2 * (w + h) - 4) << "a one-pixel outline";

    overlay->DispatchMouseUp(TMouseButton::mbLeft, 0, p.Leftwidth + w, p.Topheight + h, true);
    EXPECT_NEAR(Form1->PhotoZoom, 2.0f, 0.01f);
    EXPECT_EQ(Form1->Edit8->Text(), ZoomText(Form1->PhotoZoom));
    // The rectangle's centre lies up and left of the area's: the photo moves
    // the other way.
    EXPECT_LT(Form1->PhotoOffsetX, 0);
    EXPECT_LT(Form1->PhotoOffsetY, 0);
    EXPECT_EQ(Form1->Edit5->Text(), Format("%d", Form1->PhotoOffsetX));
    EXPECT_EQ(RedPixels(*overlay), 0);
}

TEST_F(PreviewMouseTest, ZoomRectangleReleasedLeftOfItsStartChangesNothing)
{
    Form1->SpeedButton11->Click();
    const TFrameLayout& p = Form1->PreviewLayout;
    Drag(Form1->Image2, {p.Leftwidth + 100, p.Topheight + 10}, {p.Leftwidth + 50, p.Topheight + 50});
    EXPECT_FLOAT_EQ(Form1->PhotoZoom, 1.0f);
    EXPECT_EQ(Form1->PhotoOffsetX, 0);
    EXPECT_EQ(RedPixels(*Form1->Image2), 0);
}

TEST_F(PreviewMouseTest, ZoomDragStepsByThePreference)
{
    Form1->SpeedButton11->Click();
    Drag(Form1->Image1, {100, 100}, {100, 105});
    EXPECT_FLOAT_EQ(Form1->PhotoZoom, 1.005f);
    EXPECT_EQ(Form1->Edit8->Text(), "1.00500");
    Drag(Form1->Image1, {100, 100}, {100, -2000});
    EXPECT_FLOAT_EQ(Form1->PhotoZoom, 0.5f);
}

TEST_F(PreviewMouseTest, ModeButtonsSwapTheOverlay)
{
    Form1->SpeedButton10->Click();
    EXPECT_TRUE(Form1->Image2->Visible());
    Form1->SpeedButton9->Click();
    EXPECT_FALSE(Form1->SpeedButton10->Down());
    EXPECT_FALSE(Form1->Image2->Visible());
    Form1->SpeedButton11->Click();
    EXPECT_TRUE(Form1->Image2->Visible());
    EXPECT_EQ(Form1->Image2->Hint(), "枠のハンドルをドラッグして拡大縮小");
    Form1->SpeedButton11->Click();
    EXPECT_FALSE(Form1->SpeedButton11->Down());
    EXPECT_FALSE(Form1->Image2->Visible());
}

TEST_F(PreviewMouseTest, MoveDragReRendersThePhotoUnlessBusy)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg"});
    Form1->WMDropFiles({photos}, true);
    Form1->SpeedButton9->Click();
    TBitmap before;
    before.Assign(Form1->Image1->Picture());

    Form1->Busy = true;
    Drag(Form1->Image1, {100, 100}, {140, 100});
    EXPECT_LT(Form1->PhotoOffsetX, 0) << "the offset changes all the same";
    EXPECT_TRUE(SameBitmap(Form1->Image1->Picture(), before));

    Form1->Busy = false;
    Drag(Form1->Image1, {100, 100}, {140, 100});
    EXPECT_FALSE(SameBitmap(Form1->Image1->Picture(), before));
}

TEST_F(PreviewMouseTest, TitleClickOpensTheQuickTextWithTheThreeTexts)
{
    Form4->SetFrameText(TFrameTextKind::Title, "卒業記念");
    Form4->SetFrameText(TFrameTextKind::Date, "2024年3月");
    Form4->SetFrameText(TFrameTextKind::Other, "第1回");
    bool shown = false;
    dialogs->Modal([&](TForm& form) {
        shown = true;
        EXPECT_EQ(&form, Form7);
        EXPECT_EQ(Form7->Edit4->Text(), "卒業記念");
        EXPECT_EQ(Form7->Edit9->Text(), "2024年3月");
        EXPECT_EQ(Form7->Edit7->Text(), "第1回");
        Form7->BitBtn14->Click();
    });
    Drag(Form1->Image3, {5, 5}, {5, 5});
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Form7->Visible());

    // The date and the other text open nothing.
    Drag(Form1->Image4, {5, 5}, {5, 5});
    Drag(Form1->Image5, {5, 5}, {5, 5});
}

TEST_F(PreviewMouseTest, ResizeFrameInZoomModeSizesTheOverlayAndZooms)
{
    const std::string photos = MakePhotoFolder("2024", {"a.jpg"});
    Form1->WMDropFiles({photos}, true);
    Form1->SpeedButton11->Click();
    // Nothing in the window attaches the frame; a test may. A right-button
    // drag reaches the window without moving the frame itself.
    Form1->Image2->SetBounds(0, 0, 400, 500);
    MainResizeControl->SetControl(Form1->Image2);
    TControl* corner = MainResizeControl->Grip(4);
    corner->DispatchMouseDown(TMouseButton::mbRight, ssRight, 3, 3);
    EXPECT_TRUE(Form1->Dragging);
    corner->DispatchMouseMove(ssRight, 3, 3);
    corner->DispatchMouseUp(TMouseButton::mbRight, 0, 3, 3, true);
    EXPECT_FALSE(Form1->Dragging);

    // The overlay fills the frame less its margins, at the photo's aspect.
    const TBitmap& photo = *Form1->PreviewSourceBitmap;
    EXPECT_EQ(Form1->Image2->Width(), 400);
    EXPECT_EQ(Form1->Image2->Height(), 400 * photo.Height() / photo.Width());
    EXPECT_FLOAT_EQ(Form1->PhotoZoom, ZoomOfFrameWidth(400, photo.Width()));
    EXPECT_LT(Form1->PhotoZoom, 1.0f);
    EXPECT_EQ(Form1->Edit8->Text(), ZoomText(Form1->PhotoZoom));

    // Zoom mode off detaches the frame.
    Form1->SpeedButton11->Click();
    EXPECT_EQ(MainResizeControl->Control(), nullptr);
}

TEST_F(PreviewMouseTest, TitleAttachedToTheFrameMovesInsteadOfOpeningTheDialog)
{
    MainResizeControl->SetControl(Form1->Image3);
    const int left = Form1->Image3->Left();
    Form1->Image3->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5);
    Form1->Image3->DispatchMouseMove(ssLeft, 25, 5);
    // The pointer stays where it was: 5, 5 of the moved title.
    Form1->Image3->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
    EXPECT_EQ(Form1->Image3->Left(), left + 20);
}
