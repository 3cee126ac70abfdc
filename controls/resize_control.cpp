// The resize-handle component: the grip table, attaching, and the drag steps.
#include "controls/resize_control.h"

#include <cstdint>
#include <string>

#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/flag_scope.h"
#include "platform/hint_window.h"
#include "platform/text_format.h"

namespace {

constexpr int kGripInset = 7;
// How far the frame reaches beyond the attached control on each side.
constexpr int kFrameMargin = 7;
constexpr int kGripSize = 7;
// The hint's text is broken into lines beyond this width.
constexpr int kHintMaxWidth = 100;

// Where a grip sits, in halves of the frame (0 left/top, 1 middle, 2
// right/bottom), and how the mouse movement dx, dy changes the attached
// control's Left, Top, Width and Height. The last row is the frame's.
struct GripRow {
    int gx, gy;
    TCursor cursor;
    int left, top, width, height;
};

constexpr GripRow kGripTable[TResizeControl::kFrameTag + 1] = {
    {0, 0, TCursor::crSizeNWSE, 1, 1, -1, -1},  // top-left corner
    {1, 0, TCursor::crSizeNS, 0, 1, 0, -1},     // top edge
    {2, 0, TCursor::crSizeNESW, 0, 1, 1, -1},   // top-right corner
    {2, 1, TCursor::crSizeWE, 0, 0, 1, 0},      // right edge
    {2, 2, TCursor::crSizeNWSE, 0, 0, 1, 1},    // bottom-right corner
    {1, 2, TCursor::crSizeNS, 0, 0, 0, 1},      // bottom edge
    {0, 2, TCursor::crSizeNESW, 1, 0, -1, 1},   // bottom-left corner
    {0, 1, TCursor::crSizeWE, 1, 0, -1, 0},     // left edge
    {0, 0, TCursor::crSizeAll, 1, 1, 0, 0},     // the frame: moves only
};

}  // namespace

void TResizeGrip::Paint()
{
    Canvas()->Rectangle(0, 0, Width(), Height());
}

TResizeControl::TResizeControl(TComponent* owner) : TImage(nullptr)
{
    if (owner)
        owner->InsertComponent(this);
    TCanvas* canvas = Canvas();
    canvas->Brush.Color = backColor_;
    canvas->Brush.Style = TBrushStyle::bsClear;
    canvas->Pen.Style = TPenStyle::psClear;
    SetCursor(TCursor::crSizeAll);
    SetBounds(0, 0, 0, 0);
    Tag = kFrameTag;
    SetVisible(false);
    TImage::OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
        DoMouseDown(this, button, shift, x, y);
    };
    TImage::OnMouseMove = [this](TShiftState shift, int x, int y) { DoMouseMove(this, shift, x, y); };
    TImage::OnMouseUp = [this](TMouseButton button, TShiftState shift, int x, int y) {
        DoMouseUp(this, button, shift, x, y);
    };

    hint_ = new THintWindow;
    InsertComponent(hint_);
    hint_->ActivateHint(Rect(0, 0, 0, 0), "");

    for (int i = 0; i < kGripCount; ++i) {
        auto* grip = new TResizeGrip(nullptr);
        InsertComponent(grip);
        TCanvas* gripCanvas = grip->Canvas();
        gripCanvas->Brush.Color = clBlack;
        gripCanvas->Brush.Style = TBrushStyle::bsSolid;
        gripCanvas->Pen.Color = clWhite;
        gripCanvas->Pen.Mode = TPenMode::pmCopy;
        gripCanvas->Pen.Style = TPenStyle::psSolid;
        gripCanvas->Pen.Width = 1;
        grip->SetCursor(kGripTable[i].cursor);
        grip->SetBounds(0, 0, kGripSize, kGripSize);
        grip->Tag = i;
        grip->SetVisible(false);
        grip->OnMouseDown = [this, grip](TMouseButton button, TShiftState shift, int x, int y) {
            DoMouseDown(grip, button, shift, x, y);
        };
        grip->OnMouseMove = [this, grip](TShiftState shift, int x, int y) { DoMouseMove(grip, shift, x, y); };
        grip->OnMouseUp = [this, grip](TMouseButton button, TShiftState shift, int x, int y) {
            DoMouseUp(grip, button, shift, x, y);
        };
        grips_[static_cast<std::size_t>(i)] = grip;
    }
    busy_ = false;
}

TResizeControl::~TResizeControl()
{
    // The grips go with the component as its owned components.
    delete hint_;
}

void TResizeControl::SetControl(TControl* control)
{
    control_ = control;
    if (control_ && control_->Parent()) {
        TImage::SetParent(control_->Parent());
        ClearPicture();
        placeAround(*control_);
        SetVisible(true);
        ShowGrips();
        control_->BringToFront();
    } else {
        SetVisible(false);
        HideGrips();
    }
}

void TResizeControl::SetParent(TWinControl* parent)
{
    TImage::SetParent(parent);
    // Grips that have been shown stay the frame's siblings, so that they
    // never outlive a parent the frame has left.
    for (TResizeGrip* grip : grips_)
        if (grip->Parent())
            grip->SetParent(parent);
    if (parent)
        SetControl(nullptr);
}

void TResizeControl::SetBackColor(TColor color)
{
    backColor_ = color;
    // Only a canvas that exists takes it: making one would paint the frame.
    if (HasPicture())
        Canvas()->Brush.Color = color;
}

void TResizeControl::SetXYSize(TControl*, int aspectWidth, int aspectHeight, int, int, bool keepAspect)
{
    aspectWidth_ = aspectWidth;
    aspectHeight_ = aspectHeight;
    keepAspect_ = keepAspect;
}

void TResizeControl::PtMouseDown(TControl* sender, TMouseButton button, TShiftState shift, int x, int y)
{
    DoMouseDown(sender, button, shift, x, y);
}

void TResizeControl::PtMouseMove(TControl* sender, TShiftState shift, int x, int y)
{
    DoMouseMove(sender, shift, x, y);
}

void TResizeControl::PtMouseUp(TControl* sender, TMouseButton button, TShiftState shift, int x, int y)
{
    DoMouseUp(sender, button, shift, x, y);
}

void TResizeControl::Hide()
{
    HideGrips();
    SetVisible(false);
}

void TResizeControl::DoMouseDown(TControl* sender, TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(button, shift, x, y);
    if (busy_)
        return;
    const FlagScope busy(busy_);
    if (button != TMouseButton::mbLeft)
        return;
    dragging_ = true;
    dragStart_ = {x, y};
    if (sender->Tag == kFrameTag)
        HideGrips();
    Move(sender, x, y);
}

void TResizeControl::DoMouseMove(TControl* sender, TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(shift, x, y);
    if (busy_ || !dragging_)
        return;
    const FlagScope busy(busy_);
    Move(sender, x, y);
}

void TResizeControl::DoMouseUp(TControl* sender, TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(button, shift, x, y);
    if (busy_ || !dragging_)
        return;
    const FlagScope busy(busy_);
    Move(sender, x, y);
    if (sender->Tag == kFrameTag)
        ShowGrips();
    hint_->SetHeight(0);
    hint_->SetLeft(0);
    hint_->SetTop(0);
    hint_->SetWidth(0);
    dragging_ = false;
}

void TResizeControl::Move(TControl* sender, int x, int y)
{
    // A step needs an attached control and a sender of the component.
    if (!control_ || sender->Tag < 0 || sender->Tag > kFrameTag)
        return;
    const GripRow& row = kGripTable[sender->Tag];
    // X and Y are relative to the sender, which moves with the control after
    // every step: the distance from the press point is the movement since
    // the previous step.
    const int dx = x - dragStart_.x;
    const int dy = y - dragStart_.y;
    control_->SetLeft(control_->Left() + dx * row.left);
    control_->SetTop(control_->Top() + dy * row.top);
    const int width = control_->Width() + dx * row.width;
    int height = control_->Height() + dy * row.height;
    if (keepAspect_ && aspectWidth_ >= 1 && aspectHeight_ >= 1
        && std::int64_t{width} * aspectHeight_ != std::int64_t{height} * aspectWidth_)
        height = static_cast<int>(std::int64_t{width} * aspectHeight_ / aspectWidth_);
    control_->SetWidth(width);
    control_->SetHeight(height);
    placeAround(*control_);

    std::string text;
    if (sender->Tag == kFrameTag) {
        text = Format("X: %d, Y: %d (%d %d)", control_->Left(), control_->Top(), x, y);
    } else {
        MoveGrips();
        text = Format("W: %d, H: %d", control_->Width(), control_->Height());
    }
    if (!dragHint_)
        return;
    const TPoint point = sender->ClientToScreen({x, y});
    const TRect size = hint_->CalcHintRect(kHintMaxWidth, text);
    hint_->SetLeft(point.x + 9);
    hint_->SetTop(point.y - 9);
    hint_->SetWidth(size.Right);
    hint_->SetHeight(size.Bottom);
    hint_->SetCaption(text);
}

void TResizeControl::placeAround(const TControl& control)
{
    SetLeft(control.Left() - kFrameMargin);
    SetTop(control.Top() - kFrameMargin);
    SetWidth(control.Width() + 2 * kFrameMargin);
    SetHeight(control.Height() + 2 * kFrameMargin);
}

void TResizeControl::ShowGrips()
{
    MoveGrips();
    for (TResizeGrip* grip : grips_) {
        grip->SetParent(Parent());
        grip->SetVisible(true);
    }
}

void TResizeControl::HideGrips()
{
    for (TResizeGrip* grip : grips_)
        grip->SetVisible(false);
}

void TResizeControl::MoveGrips()
{
    // Column 0 lies just outside the control's left edge, column 2 begins on
    // its last pixel column, column 1 is centred; the same for rows.
    for (int i = 0; i < kGripCount; ++i) {
        const GripRow& row = kGripTable[i];
        const int left = static_cast<int>((Width() - 2 * kGripInset + kGripSize - 1) * row.gx * 0.5) + Left()
                         + kGripInset - kGripSize;
        const int top = static_cast<int>((Height() - 2 * kGripInset + kGripSize - 1) * row.gy * 0.5) + Top()
                        + kGripInset - kGripSize;
        grips_[static_cast<std::size_t>(i)]->SetBounds(left, top, kGripSize, kGripSize);
    }
}
