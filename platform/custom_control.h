// A windowed control that draws itself: Paint draws on Canvas, a picture of
// the control's size cleared to its colour, which the view then shows. The
// canvas keeps its brush and pen between paintings.
#pragma once

#include "platform/bitmap.h"
#include "platform/control.h"

class TCanvas;

class TCustomControl : public TControl {
public:
    explicit TCustomControl(TWinControl* parent);
    TCanvas* Canvas() { return picture_.Canvas(); }
    // Paints the control at its current size; the view shows the result.
    const TBitmap& PaintPicture();

protected:
    virtual void Paint() {}

private:
    TBitmap picture_;
};
