// Qt helpers of the layer (event, cursor and picture conversions), and Qt
// widgets that report to their control: mouse events in control coordinates
// (moves without a button too), a click before the mouse-up, and no
// propagation of ignored events to the parent (a move over a label is not a
// move over the form).
#pragma once

#include <optional>

#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "platform/application.h"
#include "platform/control.h"

class TBitmap;

namespace qtview {

TShiftState ShiftOf(const QMouseEvent* event);
TMouseButton ButtonOf(const QMouseEvent* event);
// The Qt cursor of a cursor kind; none for the default (the parent's, or no override).
std::optional<Qt::CursorShape> CursorShapeOf(TCursor cursor);
// A view of the bitmap's rows for painting (valid while the bitmap is unchanged).
QImage ImageOfBitmap(const TBitmap& bitmap);

template <typename Base>
class MouseView : public Base {
public:
    template <typename... Args>
    explicit MouseView(TControl* owner, Args&&... args) : Base(std::forward<Args>(args)...), owner_(owner)
    {
        this->setMouseTracking(true);
        this->setAttribute(Qt::WA_NoMousePropagation);
    }
    // Lets a subclass keep Qt's own handling (text selection, slider dragging).
    bool forwardToBase = false;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (forwardToBase)
            Base::mousePressEvent(event);
        owner_->DispatchMouseDown(ButtonOf(event), ShiftOf(event), event->position().toPoint().x(),
                                  event->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (forwardToBase)
            Base::mouseMoveEvent(event);
        owner_->DispatchMouseMove(ShiftOf(event), event->position().toPoint().x(), event->position().toPoint().y());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (forwardToBase)
            Base::mouseReleaseEvent(event);
        const QPoint p = event->position().toPoint();
        owner_->DispatchMouseUp(ButtonOf(event), ShiftOf(event), p.x(), p.y(), this->rect().contains(p));
    }
    TControl* owner_;
};

}  // namespace qtview
