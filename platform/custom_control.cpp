// Self-drawn control: the view paints the picture that Paint has drawn.
#include "platform/custom_control.h"

#include <QPainter>

#include "platform/qt_views.h"

namespace {

class CustomView : public qtview::MouseView<QWidget> {
public:
    explicit CustomView(TCustomControl* owner) : MouseView(owner), control_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, qtview::ImageOfBitmap(control_->PaintPicture()));
    }

private:
    TCustomControl* control_;
};

}  // namespace

TCustomControl::TCustomControl(TWinControl* parent) : TControl(parent, new CustomView(this)) {}

const TBitmap& TCustomControl::PaintPicture()
{
    picture_.SetSize(width_, height_);
    picture_.Fill(ColorToRGB(color_));
    Application->Guard([this] { Paint(); });
    return picture_;
}
