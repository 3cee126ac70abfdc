// Scroll box over QScrollArea with a plain content widget.
#include "platform/scroll_box.h"

#include <algorithm>

#include <QScrollArea>
#include <QScrollBar>

#include "platform/qt_views.h"

int TScrollBar::Position() const
{
    return horizontal_ ? area_->horizontalScrollBar()->value() : area_->verticalScrollBar()->value();
}

void TScrollBar::SetPosition(int position)
{
    // The range follows the content at once, also while the box is hidden
    // (Qt would update it only at the next layout).
    const QWidget* content = area_->widget();
    const int border = 2 * area_->frameWidth();
    QScrollBar* bar = horizontal_ ? area_->horizontalScrollBar() : area_->verticalScrollBar();
    const int range = horizontal_ ? content->width() - (area_->width() - border)
                                  : content->height() - (area_->height() - border);
    bar->setRange(0, std::max(range, 0));
    bar->setValue(position);
}

namespace {

// The content is only as large as the children; the rest of the client area
// is the bare viewport, whose pointer moves Qt hands to the scroll area.
// They reach the box as moves over the content do, in its coordinates.
class ScrollAreaView : public QScrollArea {
public:
    explicit ScrollAreaView(TControl* owner) : owner_(owner) { viewport()->setMouseTracking(true); }

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint p = widget()->mapFrom(viewport(), event->position().toPoint());
        owner_->DispatchMouseMove(qtview::ShiftOf(event), p.x(), p.y());
    }

private:
    TControl* owner_;
};

}  // namespace

TScrollBox::TScrollBox(TWinControl* parent) : TWinControl(parent, new ScrollAreaView(this))
{
    area_ = static_cast<QScrollArea*>(widget_);
    area_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    area_->setLineWidth(2);
    area_->setWidgetResizable(false);
    content_ = new qtview::MouseView<QWidget>(this);
    content_->resize(1, 1);
    area_->setWidget(content_);
    HorzScrollBar.area_ = area_;
    HorzScrollBar.horizontal_ = true;
    VertScrollBar.area_ = area_;
    VertScrollBar.horizontal_ = false;
}

QWidget* TScrollBox::ChildHost() const
{
    return content_;
}

TPoint TScrollBox::ScrollOffset() const
{
    return {HorzScrollBar.Position(), VertScrollBar.Position()};
}

void TScrollBox::UpdateScrollRange()
{
    int right = 1;
    int bottom = 1;
    for (const TControl* child : children_)
        if (child->Visible()) {
            right = std::max(right, child->Widget()->geometry().right() + 1);
            bottom = std::max(bottom, child->Widget()->geometry().bottom() + 1);
        }
    content_->resize(right, bottom);
}
