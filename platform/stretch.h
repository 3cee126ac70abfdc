// The canvas's plain stretch (StretchDraw): scales a whole picture into a
// rectangle of another. Along an axis that shrinks, each target pixel is the
// exact area-weighted mean of the source area it covers (a box filter, rounded
// to nearest), so large photos printed through this fallback keep smooth edges;
// along an axis that grows, pixels are replicated (nearest). Unlike Qt's smooth
// scaling it is not bilinear, and it is deterministic to the byte.
//
// A picture with a see-through key colour (a text layer: ink on the key) is
// stretched without blending, since a blend of key and ink would be neither
// and show as a fringe; and not by the nearest pixel either, which drops
// every stroke thinner than the shrink between two target pixels' centres.
#pragma once

#include <functional>

#include "platform/bitmap.h"
#include "platform/graphics_types.h"

// Scales source into dest on target; dest may reach outside target, which
// clips it without changing the scale. An empty source or dest draws nothing.
// source and target must differ. With a poll, the calling thread runs it
// about every 20 ms while threads stretch, and once it returns true no
// further row is begun: false, target partly drawn.
bool StretchBitmap(const TBitmap& source, TBitmap& target, const TRect& dest,
                   const std::function<bool()>& poll = {});

// The same for a picture of ink on the key colour: every target pixel is
// either the key or ink. It is ink when the ink in the source area it stands
// for amounts to at least half a line one source pixel wide across that
// area's shorter side, and then takes the colour of the ink pixel that covers
// most of the area (the first in row order on a tie). So a stroke one pixel
// wide still shows at any shrink (the target row or column holding the
// larger part of it gets at least half a line), and strokes with as much key
// between them as two target pixels stand for stay apart. Where both axes
// grow, each target pixel is its nearest source pixel, as in StretchBitmap.
void StretchKeyedBitmap(const TBitmap& source, TBitmap& target, const TRect& dest, TColor key);
