// System colour resolution.
#include "platform/graphics_types.h"

TColor ColorToRGB(TColor color)
{
    switch (color) {
    case clBtnFace:
        return RGB(240, 240, 240);
    case clInfoBk:
        return RGB(255, 255, 225);
    case clWindow:
        return clWhite;
    case clNone:
    case clDefault:
        return clBlack;
    default:
        return color & 0x00FFFFFF;
    }
}
