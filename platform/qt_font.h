// Conversions between the layer's fonts and colours and Qt's (implemented in
// font.cpp). Only platform/ sees Qt types.
#pragma once

#include <QColor>
#include <QFont>

#include "platform/font.h"

// The Qt font of a font record: pixel size from lfHeight, no anti-aliasing,
// weight, italic, underline and strike-out; the face name goes through the
// substitutions of InstallFontSubstitutions().
QFont QFontFromLogFont(const LOGFONT& record);
// The Qt font of a control's font (for displaying controls).
QFont QFontFromFont(const TFont& font);

inline QColor QColorFromTColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
