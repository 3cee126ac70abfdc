// The composed picture of a frame before its texts: the background colour,
// the prepared photo at the photo area's corner and the frame overlay laid
// over both with its see-through key colour. One pass over the rows, spread
// over the cores, that writes each pixel once while its row is in cache;
// the pixels are those of filling the picture, drawing the photo and drawing
// the see-through overlay one after the other.
#pragma once

#include "platform/bitmap.h"
#include "platform/graphics_types.h"

// The overlay drawn at (0, 0): its pixels of colour key let what lies
// beneath show.
struct SeeThroughOverlay {
    const TBitmap* picture;
    TColor key;
};

// picture becomes width x height: background, photo (opaque, whatever its
// transparency) with its top-left corner at (left, top), then overlay when
// given; both are cut off at the picture's edges.
void ComposeFramePicture(TBitmap& picture, int width, int height, TColor background, const TBitmap& photo, int left,
                         int top, const SeeThroughOverlay* overlay);
