// An image control: shows its picture at the top-left, optionally with the
// picture's bottom-left pixel as the see-through colour. Its Canvas draws on
// the picture, creating one of the control's size when there is none.
#pragma once

#include <memory>

#include "platform/bitmap.h"
#include "platform/control.h"

class TCanvas;

class TImage : public TControl {
public:
    explicit TImage(TWinControl* parent);
    ~TImage() override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool HasPicture() const { return picture_ != nullptr; }
    // The picture (created at the control's size when there is none).
    TBitmap& Picture();
    // Drops the picture: the control shows nothing until it gets a new one.
    void ClearPicture();
    TCanvas* Canvas() { return Picture().Canvas(); }
    // The picture's pixel at (x, y); white outside it or without a picture.
    TColor PicturePixel(int x, int y) const { return picture_ ? picture_->Pixel(x, y) : clWhite; }
    // Call after drawing on the picture through its bitmap or canvas.
    void PictureChanged();
    void Paint(class QPainter& painter) const;

protected:
    bool Windowed() const override { return false; }

private:
    std::unique_ptr<TBitmap> picture_;
    bool transparent_ = false;
};
