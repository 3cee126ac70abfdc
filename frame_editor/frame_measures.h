// The fourteen measures of a frame layout as the frame settings window lists
// them: eight sizes, then the places of the three texts. The order is the one
// in which the window checks and converts them. Millimetres are whole
// millimetres; pixels are at the window's resolution (300 dpi).
#pragma once

#include "pipeline/frame_layout.h"

enum class TFrameMeasure {
    FrameWidth,
    FrameHeight,
    RightMargin,
    BottomMargin,
    LeftMargin,
    PhotoWidth,
    PhotoHeight,
    TopMargin,
    TitleX,
    TitleY,
    DateX,
    DateY,
    OtherX,
    OtherY,
};

constexpr int kFrameMeasureCount = 14;
// The first eight are the sizes; the rest are text places.
constexpr int kFrameSizeCount = 8;

constexpr TFrameMeasure MeasureAt(int index) { return static_cast<TFrameMeasure>(index); }

// The layout's field that holds the measure.
int& MeasureOf(TFrameLayout& layout, TFrameMeasure measure);
int MeasureOf(const TFrameLayout& layout, TFrameMeasure measure);

// (dpi x mm x 10 + 127) / 254, truncating: the nearest pixel for a measure
// that is not negative (127 mm at 300 dpi gives 1500, 89 mm gives 1051).
int MillimetresToPixels(int mm, int dpi);
// px x 254 / 10 / dpi, truncating (1051 px at 300 dpi gives 88 mm).
int PixelsToMillimetres(int px, int dpi);

// All fourteen measures in pixels; where the rounded margins and photo area
// no longer add up to the frame, the photo area takes up the difference.
TFrameLayout LayoutToPixels(const TFrameLayout& millimetres, int dpi);
// The eight sizes in millimetres, the photo area taking up the difference;
// the text places are not converted (they keep their values).
TFrameLayout LayoutToMillimetres(const TFrameLayout& pixels, int dpi);
