// The mouse on the preview: the position and colour read-out in the status
// bar, the three mouse modes of the correction panel (move, rotate by a drawn
// line, zoom by a drawn rectangle or by the resize frame) and the title
// image, whose plain click opens the quick text dialog. A drag changes the
// corrections at once and re-renders through BitBtn4, so not while Busy.
#include "controls/resize_control.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "main/status_texts.h"
#include "pipeline/correction_steps.h"
#include "pipeline/preview_drag.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/text_format.h"

namespace {

// The overlay shows only its red: the blue is its see-through colour.
constexpr TColor kOverlayKey = 0xFF0000;
constexpr TColor kOverlayInk = 0x0000FF;

std::string RgbText(TColor c)
{
    return Format("RGB(%3d,%3d, %3d)", GetRValue(c), GetGValue(c), GetBValue(c));
}

std::string PointText(int x, int y)
{
    return Format("(%d,%d)", x, y);
}

}  // namespace

void TForm1::bindMouseHandlers()
{
    Image1->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseDown(b, s, x, y); };
    Image1->OnMouseMove = [this](TShiftState s, int x, int y) { Image1MouseMove(s, x, y); };
    Image1->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseUp(b, s, x, y); };
    Image2->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image2MouseDown(b, s, x, y); };
    Image2->OnMouseMove = [this](TShiftState s, int x, int y) { Image2MouseMove(s, x, y); };
    Image2->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image2MouseUp(b, s, x, y); };
    Image3->OnClick = [this] { Image3Click(); };
    Image3->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image3MouseDown(b, s, x, y); };
    Image3->OnMouseMove = [this](TShiftState s, int x, int y) { Image3MouseMove(s, x, y); };
    Image3->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image3MouseUp(b, s, x, y); };
    Image4->OnClick = [this] { Image4Click(); };
    Image4->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { Image4MouseDown(b, s, x, y); };
    Image4->OnMouseMove = [this](TShiftState s, int x, int y) { Image4MouseMove(s, x, y); };
    Image4->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) { Image4MouseUp(b, s, x, y); };
    MainResizeControl->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
        ResizeControlMouseDown(b, s, x, y);
    };
    MainResizeControl->OnMouseMove = [this](TShiftState s, int x, int y) { ResizeControlMouseMove(s, x, y); };
    MainResizeControl->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) {
        ResizeControlMouseUp(b, s, x, y);
    };
    SpeedButton9->OnClick = [this] { SpeedButton9Click(); };
    SpeedButton10->OnClick = [this] { SpeedButton10Click(); };
    SpeedButton11->OnClick = [this] { SpeedButton11Click(); };
    CheckBox4->OnClick = [this] { CheckBox4Click(); };
}

bool TForm1::modeDown() const
{
    return SpeedButton9->Down() || SpeedButton10->Down() || SpeedButton11->Down();
}

void TForm1::paintOverlay(int width, int height, const std::function<void(TCanvas&)>& draw)
{
    Image2->SetTransparent(true);
    TBitmap& picture = Image2->Picture();
    TCanvas& canvas = *picture.Canvas();
    canvas.Brush.Color = kOverlayKey;
    canvas.FillRect({0, 0, width, height});
    if (draw)
        draw(canvas);
    picture.SetPixel(0, picture.Height() - 1, kOverlayKey);
    Image2->PictureChanged();
}

PreviewArea TForm1::previewArea() const
{
    return {PreviewLayout.Leftwidth, PreviewLayout.Topheight, PreviewLayout.Photowidth, PreviewLayout.Photoheight};
}

// --- Mode buttons -------------------------------------------------------

void TForm1::SpeedButton9Click()
{
    if (SpeedButton9->Down()) {
        Image2->SetVisible(false);
        Image1->SetHint("ドラッグして移動");
        Image1->SetShowHint(true);
        Image2->SetShowHint(false);
    } else {
        Image1->SetShowHint(false);
    }
}

void TForm1::SpeedButton10Click()
{
    if (SpeedButton10->Down()) {
        Image2->SetHint("ドラッグして回転");
        Image2->SetShowHint(true);
        Image2->SetVisible(true);
        Image1->SetShowHint(false);
    } else {
        clearOverlay(Image1->Width(), Image1->Height());
        Image2->SetVisible(false);
    }
}

void TForm1::SpeedButton11Click()
{
    if (SpeedButton11->Down()) {
        Image2->SetVisible(true);
        Image2->SetHint("枠のハンドルをドラッグして拡大縮小");
        Image1->SetShowHint(false);
    } else {
        MainResizeControl->SetControl(nullptr);
        Image1->SetShowHint(false);
        Image2->SetVisible(false);
    }
}

void TForm1::CheckBox4Click()
{
    if (CheckBox4->Checked())
        BitBtn4Click();
}

// --- The preview picture ---------------------------------------------------

void TForm1::Image1MouseDown(TMouseButton, TShiftState, int x, int y)
{
    if (modeDown())
        Screen->SetCursor(TCursor::crSizeAll);
    if (SpeedButton10->Down())
        BeginRotateLine(x, y);
    Dragging = true;
    DragLast = {x, y};
}

void TForm1::Image1MouseMove(TShiftState shift, int x, int y)
{
    LastMouseX = x + ScrollBox1->Left() + ScrollBox1->HorzScrollBar.Position();
    LastMouseY = y + ScrollBox1->Top() + ScrollBox1->VertScrollBar.Position();
    const TColor pixel = Image1->PicturePixel(x, y);
    StatusBar1->Panels(2).SetText(
        Format(kPixelReadoutText, x, y, GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)));
    StatusBar1->Invalidate();
    if (!Dragging)
        return;
    ApplyDragStep(shift, x, y);
    if (modeDown())
        BitBtn4->Click();
}

void TForm1::Image1MouseUp(TMouseButton, TShiftState, int, int)
{
    Dragging = false;
    Screen->SetCursor(TCursor::crDefault);
    if (SpeedButton10->Down())
        EndRotateLine();
    if (modeDown())
        BitBtn4->Click();
}

void TForm1::ApplyDragStep(TShiftState shift, int x, int y)
{
    const bool doubled = (shift & ssShift) != 0;
    if (SpeedButton9->Down()) {
        const float zoom = zoomFromEdit8();
        const long long factor = doubled ? 2 : 1;
        const long long dx = MoveDragDistance(x - DragLast.x, FrameLayout.Framewidth, Image1->Width(), zoom);
        const long long dy = MoveDragDistance(y - DragLast.y, FrameLayout.Frameheight, Image1->Height(), zoom);
        DragLast = {x, y};
        // Held within int: a tiny typed zoom moves by billions.
        PhotoOffsetX = MoveOffset(PhotoOffsetX, -factor * dx);
        PhotoOffsetY = MoveOffset(PhotoOffsetY, -factor * dy);
        Edit5->SetText(Format("%d", PhotoOffsetX));
        Edit6->SetText(Format("%d", PhotoOffsetY));
    }
    if (SpeedButton10->Down()) {
        if (doubled) {
            TrackRotateLine(x, y);
        } else {
            const int d = x - DragLast.x;
            DragLast = {x, y};
            StepRotation(d);
        }
    }
    if (SpeedButton11->Down()) {
        int d = y - DragLast.y;
        DragLast = {x, y};
        if (doubled)
            d *= 2;
        StepZoom(d);
    }
}

// --- The rotate line -----------------------------------------------------

void TForm1::BeginRotateLine(int x, int y)
{
    PendingRotation = 0.0f;
    DragStart = {x, y};
}

void TForm1::TrackRotateLine(int x, int y)
{
    if (!Dragging)
        return;
    OverlayShape = {DragStart.x, DragStart.y, x, y};
    paintOverlay(Image1->Width(), Image1->Height(), [&](TCanvas& canvas) {
        canvas.Pen.Color = kOverlayInk;
        canvas.Pen.Width = 1;
        canvas.MoveTo(DragStart.x, DragStart.y);
        canvas.LineTo(x, y);
    });
    const RotateLine line = RotateLineAngle(DragStart, {x, y});
    PendingRotation = line.angle;
    std::string text = PrintfFixed(line.angle, 6);
    if (!line.vertical)
        text += " dx=" + PrintfFixed(line.dx, 6);
    StatusBar1->Panels(1).SetText(text);
}

void TForm1::EndRotateLine()
{
    Dragging = false;
    Screen->SetCursor(TCursor::crDefault);
    clearOverlay(Image1->Width(), Image1->Height());
    PhotoAngle = AddRotateLine(PhotoAngle, PendingRotation);
    // The edit's handler takes the angle back as shown: 4 significant digits.
    Edit7->SetText(ZoomText(PhotoAngle));
}

// --- The overlay: rotate line and zoom rectangle ---------------------------

void TForm1::Image2MouseDown(TMouseButton, TShiftState, int x, int y)
{
    if (modeDown())
        Screen->SetCursor(TCursor::crSizeAll);
    Dragging = true;
    DragLast = {x, y};
    if (SpeedButton10->Down())
        BeginRotateLine(x, y);
    if (SpeedButton11->Down())
        DragStart = ZoomRectangleStart(previewArea(), {x, y});
}

void TForm1::Image2MouseMove(TShiftState, int x, int y)
{
    StatusBar1->Panels(2).SetText(RgbText(Image1->PicturePixel(x, y)));
    if (SpeedButton10->Down()) {
        if (Dragging) {
            TrackRotateLine(x, y);
            StatusBar1->Panels(1).SetText(PointText(DragStart.x, DragStart.y) + "-" + PointText(x, y));
        } else {
            StatusBar1->Panels(1).SetText(PointText(x, y));
        }
    }
    if (SpeedButton11->Down()) {
        if (Dragging)
            trackZoomRectangle(x, y);
        else
            StatusBar1->Panels(1).SetText(PointText(x, y));
    }
}

void TForm1::Image2MouseUp(TMouseButton, TShiftState, int x, int y)
{
    Dragging = false;
    Screen->SetCursor(TCursor::crDefault);
    if (SpeedButton10->Down())
        EndRotateLine();
    if (SpeedButton11->Down())
        releaseZoomRectangle(x, y);
    if (modeDown())
        BitBtn4->Click();
}

void TForm1::trackZoomRectangle(int x, int y)
{
    const ZoomRectangle r = TrackZoomRectangle(previewArea(), DragStart, {x, y}, PhotoZoom);
    if (!r.drawn)
        return;
    OverlayShape = r.shape;
    paintOverlay(Image2->Width(), Image2->Height(), [&](TCanvas& canvas) {
        canvas.Brush.Color = kOverlayInk;
        canvas.FrameRect(OverlayShape);
    });
    StatusBar1->Panels(1).SetText(PointText(DragStart.x, DragStart.y) + "-" + PointText(r.end.x, r.end.y)
                                  + Format("/ 幅%d 高さ%d　拡大率", r.width, r.height) + ZoomText(r.zoom));
}

void TForm1::releaseZoomRectangle(int x, int y)
{
    const ZoomRelease r = ReleaseZoomRectangle(previewArea(), DragStart, {x, y}, PhotoZoom, FrameLayout.Photowidth,
                                               FrameLayout.Photoheight);
    if (r.applied) {
        PhotoZoom = r.zoom;
        Edit8->SetText(ZoomText(PhotoZoom));
        PhotoOffsetX = MoveOffset(PhotoOffsetX, -r.offsetXChange);
        PhotoOffsetY = MoveOffset(PhotoOffsetY, -r.offsetYChange);
        Edit5->SetText(Format("%d", PhotoOffsetX));
        Edit6->SetText(Format("%d", PhotoOffsetY));
        StatusBar1->Panels(2).SetText(PointText(DragStart.x, DragStart.y) + "-" + PointText(r.end.x, r.end.y)
                                      + Format("/ 幅%d高%d zoom", r.width, r.height) + PrintfFixed(PhotoZoom, 6));
    }
    clearOverlay(Image2->Width(), Image2->Height());
}

// --- The resize frame ---------------------------------------------------------

void TForm1::ResizeControlMouseDown(TMouseButton, TShiftState, int x, int y)
{
    Dragging = true;
    DragLast = {x, y};
}

void TForm1::ResizeControlMouseMove(TShiftState, int, int)
{
    if (!SpeedButton11->Down() || !Dragging)
        return;
    Image2->SetVisible(false);
    Image2->ClearPicture();
    const TPoint size = ResizeFrameOverlaySize(MainResizeControl->Width(), MainResizeControl->Height(),
                                               PreviewSourceBitmap->Width(), PreviewSourceBitmap->Height());
    Image2->SetBounds(Image2->Left(), Image2->Top(), size.x, size.y);
    paintOverlay(size.x, size.y, [&](TCanvas& canvas) {
        canvas.Brush.Color = kOverlayInk;
        canvas.FrameRect({0, 0, size.x, size.y});
    });
    Image2->SetVisible(true);
    ZoomFromResizeFrame();
}

void TForm1::ResizeControlMouseUp(TMouseButton, TShiftState, int, int)
{
    Dragging = false;
}

void TForm1::ZoomFromResizeFrame()
{
    if (!SpeedButton11->Down())
        return;
    PhotoZoom = ZoomOfFrameWidth(Image2->Width(), PreviewSourceBitmap->Width());
    Edit8->SetText(ZoomText(PhotoZoom));
    BitBtn4->Click();
}

// --- The text images -------------------------------------------------------------
// Their events go on to the resize frame only while it is attached to the
// image, which nothing in the main window does; so a plain click on the
// title opens the quick text dialog. An image moved while work is in progress
// would move a text of the photo in work: no drag then.

void TForm1::Image3Click()
{
    MainResizeControl->SetXYSize(Image3, 0, 0, 0, 0, false);
}

void TForm1::Image3MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (dragsText(*Image3))
        MainResizeControl->PtMouseDown(MainResizeControl, button, shift, x, y);
}

void TForm1::Image3MouseMove(TShiftState shift, int x, int y)
{
    if (dragsText(*Image3))
        MainResizeControl->PtMouseMove(MainResizeControl, shift, x, y);
}

bool TForm1::dragsText(const TImage& image) const
{
    return MainResizeControl->Control() == &image && !Busy;
}

void TForm1::Image3MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (MainResizeControl->Control() != Image3) {
        // The dialog edits the title a run prints: it opens once no photo is
        // in work.
        AfterPhotoWork([this] { openQuickText(); });
        return;
    }
    if (!dragsText(*Image3))
        return;
    MainResizeControl->PtMouseUp(MainResizeControl, button, shift, x, y);
    pump();
    RefreshPreview();
    pump();
}

void TForm1::Image4Click()
{
    MainResizeControl->SetXYSize(Image4, 0, 0, 0, 0, false);
}

void TForm1::Image4MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (dragsText(*Image4))
        MainResizeControl->PtMouseDown(MainResizeControl, button, shift, x, y);
}

void TForm1::Image4MouseMove(TShiftState shift, int x, int y)
{
    if (dragsText(*Image4))
        MainResizeControl->PtMouseMove(MainResizeControl, shift, x, y);
}

void TForm1::Image4MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!dragsText(*Image4))
        return;
    MainResizeControl->PtMouseUp(MainResizeControl, button, shift, x, y);
    RefreshPreview();
}

void TForm1::openQuickText()
{
    Form7->MirrorTexts(Form4->FrameText(TFrameTextKind::Title).Text, Form4->FrameText(TFrameTextKind::Date).Text,
                       Form4->FrameText(TFrameTextKind::Other).Text);
    Form7->ShowModal();
}
