// Control state and its mirror in the Qt widget.
#include "platform/control.h"

#include <algorithm>

#include <QImage>
#include <QWidget>

#include "platform/application.h"
#include "platform/bitmap.h"
#include "platform/qt_views.h"

namespace qtview {

TShiftState ShiftOf(const QMouseEvent* event)
{
    TShiftState shift = 0;
    const auto mods = event->modifiers();
    if (mods & Qt::ShiftModifier)
        shift |= ssShift;
    if (mods & Qt::AltModifier)
        shift |= ssAlt;
    if (mods & Qt::ControlModifier)
        shift |= ssCtrl;
    const auto buttons = event->buttons();
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

TMouseButton ButtonOf(const QMouseEvent* event)
{
    switch (event->button()) {
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

std::optional<Qt::CursorShape> CursorShapeOf(TCursor cursor)
{
    switch (cursor) {
    case TCursor::crDefault:
        return std::nullopt;
    case TCursor::crArrow:
        return Qt::ArrowCursor;
    case TCursor::crHourGlass:
        return Qt::WaitCursor;
    case TCursor::crSizeAll:
        return Qt::SizeAllCursor;
    case TCursor::crDrag:
        return Qt::DragMoveCursor;
    case TCursor::crSizeNESW:
        return Qt::SizeBDiagCursor;
    case TCursor::crSizeNS:
        return Qt::SizeVerCursor;
    case TCursor::crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case TCursor::crSizeWE:
        return Qt::SizeHorCursor;
    }
    return std::nullopt;
}

QImage ImageOfBitmap(const TBitmap& bitmap)
{
    if (bitmap.Width() == 0 || bitmap.Height() == 0)
        return {};
    return QImage(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.RowStride(), QImage::Format_BGR888);
}

}  // namespace qtview

TControl::TControl(TWinControl* parent, QWidget* widget) : widget_(widget), parent_(parent)
{
    if (parent_) {
        parent_->AddChild(this);
        widget_->setParent(parent_->ChildHost());
    }
    font_.OnChange = [this] { fontChanged(); };
    widget_->setAcceptDrops(false);
    width_ = widget_->width();
    height_ = widget_->height();
    if (parent_)
        widget_->show();
}

TControl::~TControl()
{
    if (parent_)
        parent_->RemoveChild(this);
    delete widget_;
}

int TControl::Left() const
{
    return left_ - (parent_ ? parent_->ScrollOffset().x : 0);
}

int TControl::Top() const
{
    return top_ - (parent_ ? parent_->ScrollOffset().y : 0);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    const TPoint scroll = parent_ ? parent_->ScrollOffset() : TPoint{};
    left_ = left + scroll.x;
    top_ = top + scroll.y;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    applyGeometry();
}

void TControl::applyGeometry()
{
    widget_->setGeometry(left_, top_, width_, height_);
    if (parent_)
        parent_->ChildGeometryChanged();
}

void TControl::SetVisible(bool visible)
{
    visible_ = visible;
    if (parent_) {
        widget_->setVisible(visible);
        parent_->ChildGeometryChanged();
    }
}

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    widget_->setEnabled(enabled);
}

void TControl::SetHint(const std::string& hint)
{
    hint_ = hint;
    widget_->setToolTip(showHint_ ? QString::fromStdString(hint_) : QString());
}

void TControl::SetShowHint(bool show)
{
    showHint_ = show;
    SetHint(hint_);
}

void TControl::SetColor(TColor color)
{
    color_ = color;
    widget_->update();
}

void TControl::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    if (const auto shape = qtview::CursorShapeOf(cursor))
        widget_->setCursor(*shape);
    else
        widget_->unsetCursor();
}

void TControl::fontChanged() {}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    const int left = Left();
    const int top = Top();
    TWinControl* previous = parent_;
    if (previous)
        previous->RemoveChild(this);
    parent_ = parent;
    // Without a parent the widget would be a window of its own: it stays hidden.
    widget_->setParent(parent_ ? parent_->ChildHost() : nullptr);
    if (parent_)
        parent_->AddChild(this);
    SetBounds(left, top, width_, height_);
    if (parent_) {
        widget_->setVisible(visible_);
        raiseInItsKind();
    }
    if (previous)
        previous->ChildGeometryChanged();
}

void TControl::BringToFront()
{
    raiseInItsKind();
}

void TControl::raiseInItsKind()
{
    widget_->raise();
    if (Windowed() || !parent_)
        return;
    for (TControl* sibling : parent_->StackingOrder())
        if (sibling->Windowed())
            sibling->widget_->raise();
}

void TControl::Invalidate()
{
    widget_->update();
}

void TControl::Repaint()
{
    widget_->repaint();
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const QPoint p = widget_->mapToGlobal(QPoint(point.x, point.y));
    return {p.x(), p.y()};
}

void TControl::DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        Application->Guard([&] { OnMouseDown(button, shift, x, y); });
}

void TControl::DispatchMouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        Application->Guard([&] { OnMouseMove(shift, x, y); });
}

void TControl::DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool inside)
{
    // The click comes before the mouse-up, as the forms expect.
    if (inside && button == TMouseButton::mbLeft && OnClick)
        Application->Guard([&] { OnClick(); });
    if (OnMouseUp)
        Application->Guard([&] { OnMouseUp(button, shift, x, y); });
}

std::vector<TControl*> TWinControl::StackingOrder() const
{
    std::vector<TControl*> order;
    for (const QObject* object : ChildHost()->children())
        for (TControl* child : children_)
            if (child->Widget() == object)
                order.push_back(child);
    return order;
}

void TWinControl::RemoveChild(TControl* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

TWinControl::~TWinControl()
{
    while (!children_.empty())
        delete children_.back();
}
