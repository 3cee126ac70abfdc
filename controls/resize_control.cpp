// Resize-handle component.
#include "controls/resize_control.h"

TResizeControl::TResizeControl(TWinControl* owner) : TPanel(owner)
{
    SetVisible(false);
}
