// Measures of a frame layout and their conversions.
#include "frame_editor/frame_measures.h"

namespace {

// The frame's sides equal margins plus photo area: the photo area takes up
// what rounding the margins has left over.
void PhotoAreaTakesTheRest(TFrameLayout& layout)
{
    if (layout.Framewidth != layout.Leftwidth + layout.Photowidth + layout.Rightwidth)
        layout.Photowidth = layout.Framewidth - layout.Leftwidth - layout.Rightwidth;
    if (layout.Frameheight != layout.Topheight + layout.Photoheight + layout.Bottomheight)
        layout.Photoheight = layout.Frameheight - layout.Topheight - layout.Bottomheight;
}

}  // namespace

int& MeasureOf(TFrameLayout& layout, TFrameMeasure measure)
{
    switch (measure) {
    case TFrameMeasure::FrameWidth:
        return layout.Framewidth;
    case TFrameMeasure::FrameHeight:
        return layout.Frameheight;
    case TFrameMeasure::RightMargin:
        return layout.Rightwidth;
    case TFrameMeasure::BottomMargin:
        return layout.Bottomheight;
    case TFrameMeasure::LeftMargin:
        return layout.Leftwidth;
    case TFrameMeasure::PhotoWidth:
        return layout.Photowidth;
    case TFrameMeasure::PhotoHeight:
        return layout.Photoheight;
    case TFrameMeasure::TopMargin:
        return layout.Topheight;
    case TFrameMeasure::TitleX:
        return layout.FontPositionX;
    case TFrameMeasure::TitleY:
        return layout.FontPositionY;
    case TFrameMeasure::DateX:
        return layout.DatePositionX;
    case TFrameMeasure::DateY:
        return layout.DatePositionY;
    case TFrameMeasure::OtherX:
        return layout.OtherPositionX;
    case TFrameMeasure::OtherY:
        break;
    }
    return layout.OtherPositionY;
}

int MeasureOf(const TFrameLayout& layout, TFrameMeasure measure)
{
    return MeasureOf(const_cast<TFrameLayout&>(layout), measure);
}

int MillimetresToPixels(int mm, int dpi)
{
    return static_cast<int>((static_cast<long long>(dpi) * mm * 10 + 127) / 254);
}

int PixelsToMillimetres(int px, int dpi)
{
    if (dpi == 0)
        return 0;
    return static_cast<int>(static_cast<long long>(px) * 254 / 10 / dpi);
}

TFrameLayout LayoutToPixels(const TFrameLayout& millimetres, int dpi)
{
    TFrameLayout pixels = millimetres;
    for (int i = 0; i < kFrameMeasureCount; ++i)
        MeasureOf(pixels, MeasureAt(i)) = MillimetresToPixels(MeasureOf(millimetres, MeasureAt(i)), dpi);
    PhotoAreaTakesTheRest(pixels);
    return pixels;
}

TFrameLayout LayoutToMillimetres(const TFrameLayout& pixels, int dpi)
{
    TFrameLayout millimetres = pixels;
    for (int i = 0; i < kFrameSizeCount; ++i)
        MeasureOf(millimetres, MeasureAt(i)) = PixelsToMillimetres(MeasureOf(pixels, MeasureAt(i)), dpi);
    PhotoAreaTakesTheRest(millimetres);
    return millimetres;
}
