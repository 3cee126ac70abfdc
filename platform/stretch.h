// The canvas's plain stretch (StretchDraw): scales a whole picture into a
// rectangle of another. Along an axis that shrinks, each target pixel is the
// exact area-weighted mean of the source area it covers (a box filter, rounded
// to nearest), so large photos printed through this fallback keep smooth edges;
// along an axis that grows, pixels are replicated (nearest). Unlike Qt's smooth
// scaling it is not bilinear, and it is deterministic to the byte. Pictures
// with a see-through key colour take the nearest pixel both ways: a blend of
// key and ink would be neither, and show as a fringe.
#pragma once

#include "platform/bitmap.h"
#include "platform/graphics_types.h"

// Scales source into dest on target; dest may reach outside target, which
// clips it without changing the scale. An empty source or dest draws nothing.
// source and target must differ.
enum class StretchFilter { Average, Nearest };
void StretchBitmap(const TBitmap& source, TBitmap& target, const TRect& dest,
                   StretchFilter filter = StretchFilter::Average);
