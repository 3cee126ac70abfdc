// The arithmetic of fitting a photo into the frame's photo area: orientation,
// preview copy size, crop size, offsets, the crop window with zoom and
// alignment, and the drawn sizes of the fallbacks. Integer steps truncate;
// the crop sizes are single-precision floats, as the fitting has always
// measured them, so windows land on the same pixels.
#pragma once

#include <optional>

#include "platform/graphics_types.h"

// True when a w x h photo must be turned a quarter turn for a frameW x frameH
// frame: its orientation differs, squares counting as landscape on both sides.
bool NeedsQuarterTurn(int w, int h, int frameW, int frameH);

// Size of the preview copy of a w x h picture whose longer side becomes S
// (the longer side of the preview photo area): S x S*h/w when h < w, else
// S*w/h x S; the shorter side is at least 1.
TPoint PreviewCopySize(int w, int h, int S);

// Crop of an sW x sH picture with the photo area's (eW x eH) aspect: the
// largest such rectangle inside the picture, except that a landscape picture
// in an upright area keeps its whole width (the crop is taller than the picture).
struct CropSize {
    float w;
    float h;
};
CropSize CropSizeFor(int sW, int sH, int eW, int eH);

// Offsets X, Y (frame pixels) in source pixels. Both axes scale by the width
// ratio. Preview: X * previewAreaW / fullAreaW. Full size: trunc(crop.w) * X / eW,
// crop being CropSizeFor the full-size source. Products are 64-bit and the
// results held within +-kMaxSourceOffset: further out the window misses the
// picture either way, and the window's sums stay within int.
constexpr int kMaxSourceOffset = 1 << 24;
TPoint PreviewOffset(int x, int y, int previewAreaW, int fullAreaW);
TPoint FullSizeOffset(int x, int y, const CropSize& crop, int eW);

// Trimming alignment of the frame settings; None places as Centre.
enum class TrimAlignment { None = 0, Top = 1, Centre = 2, Bottom = 3 };

// The crop window on the (possibly rotated) rotW x rotH picture: the crop
// divided by zoom when zoomOn (zoom > 0), truncated, centred horizontally,
// placed vertically by align, then moved by offset. It may reach outside.
// Each side is at least 1 pixel; a side over kMaxCropSide gives no window
// (a typed zoom near 0 would otherwise ask for a picture of any size).
constexpr int kMaxCropSide = 16384;
std::optional<TRect> CropWindow(const CropSize& crop, bool zoomOn, float zoom, TPoint offset, int rotW, int rotH,
                                TrimAlignment align);

// Where the reduction's "aspect differs" fallback stretches a cw x ch window
// in an eW x eH area: its own aspect at the area's top-left corner.
TRect AspectKeptRect(int cw, int ch, int eW, int eH);

// Size at which a gw x gh picture is drawn top-left into a W x H control:
// the whole control when the aspects match exactly, else the larger fit,
// comparing gw/gh with W/H as single-precision floats.
TPoint FittedSize(int gw, int gh, int W, int H);
