// Image control: the picture is painted by a small view widget.
#include "platform/image_control.h"

#include <QImage>
#include <QPainter>

#include "platform/qt_views.h"

namespace {

class ImageView : public qtview::MouseView<QWidget> {
public:
    explicit ImageView(TImage* owner) : MouseView(owner), image_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        image_->Paint(painter);
    }

private:
    TImage* image_;
};

}  // namespace

TImage::TImage(TWinControl* parent) : TControl(parent, new ImageView(this)) {}

TImage::~TImage() = default;

void TImage::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    widget_->update();
}

TBitmap& TImage::Picture()
{
    if (!picture_) {
        picture_ = std::make_unique<TBitmap>();
        picture_->SetSize(width_, height_);
        picture_->Fill(clWhite);
    }
    widget_->update();
    return *picture_;
}

void TImage::ClearPicture()
{
    picture_.reset();
    widget_->update();
}

void TImage::PictureChanged()
{
    widget_->update();
}

void TImage::Paint(QPainter& painter) const
{
    if (!picture_ || picture_->Width() == 0 || picture_->Height() == 0)
        return;
    const TBitmap& bitmap = *picture_;
    const QImage image = qtview::ImageOfBitmap(bitmap);
    if (!transparent_) {
        painter.drawImage(0, 0, image);
        return;
    }
    // The see-through colour is the picture's bottom-left pixel.
    const TColor key = bitmap.Pixel(0, bitmap.Height() - 1);
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if ((row[x] | 0xFF000000u) == keyRgb)
                row[x] = 0;
    }
    painter.drawImage(0, 0, keyed);
}
