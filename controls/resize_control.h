// The resize-handle component: a frame with grips that the main window
// creates at start-up and reports mouse events through. It is attached to no
// control of the main window, so it stays hidden there.
#pragma once

#include "platform/control.h"
#include "platform/standard_controls.h"

class TResizeControl : public TPanel {
public:
    explicit TResizeControl(TWinControl* owner);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color) { backColor_ = color; }

private:
    TColor backColor_ = clBtnFace;
};
