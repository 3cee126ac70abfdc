// High-quality reduction: an exact area-weighted mean measured in hundredths
// of a source pixel, then a 3 x 3 pass that keeps each pixel's colour or
// sharpens it while keeping its luminance. Unlike the plain stretch it refuses
// what it does not handle (aspect off by more than 3 %, pictures over 4800
// pixels, more than 1/100 or an enlargement) so that the caller stretches instead.
#pragma once

#include <string>

#include "pipeline/pixel_plane.h"
#include "pipeline/work_control.h"
#include "platform/bitmap.h"

// Reduces bitmap in place to targetW x targetH. Results:
//    0  done (bitmap has the target size), or the same size (bitmap untouched,
//       message explains);
//   -2  aborted through control (before the first pass ends the bitmap is
//       unchanged; between the passes it has the target size and is white;
//       during the second pass it is partly written);
//  -10  aspect ratios differ (the caller stretches keeping the aspect);
//  -12  source over 4800, -13 target over 4800, -14 more than 1/100,
//  -15  not a reduction (also an empty source); the message explains.
// An empty target counts as more than 1/100 (-14). message is cleared on entry.
// workPlane holds the first pass; its content is unspecified afterwards.
int ShrinkHighQuality(TBitmap& bitmap, int targetW, int targetH, bool sharpen, PixelPlane& workPlane,
                      WorkControl& control, std::string& message);

// The same reduction of the window of a larger picture (the window lying
// inside it) into bitmap, which receives the result (or, for the same size,
// the window's pixels); picture is never changed, so a crop need not be
// copied out first. Refusals leave bitmap unchanged.
int ShrinkHighQualityInto(const TBitmap& picture, const TRect& window, TBitmap& bitmap, int targetW, int targetH,
                          bool sharpen, PixelPlane& workPlane, WorkControl& control, std::string& message);
