// The geometry of the mouse drags on the preview: a move in preview pixels as
// frame pixels, the angle of a drawn rotate line, the zoom rectangle that
// keeps the photo area's aspect, and the zoom and offsets it gives on
// release. Integer divisions truncate toward zero; floats are 32-bit where
// the corrections are, so the results match the correction commands'.
#pragma once

#include "platform/graphics_types.h"

// A pointer movement of previewDelta preview pixels as frame pixels:
// previewDelta x frameSize / previewSize (integers), then divided by the zoom
// in float and truncated. A tiny typed zoom gives huge moves: the distance is
// held within +-2^62, so that doubling it and adding it to an offset cannot
// overflow, and a move held there takes any offset to an end of int. A
// preview without size moves nothing.
long long MoveDragDistance(int previewDelta, int frameSize, int previewSize, float zoom);

// The angle of a line from start to end on screen, counter-clockwise from the
// rightward horizontal in -180..180, with 3.141592 for pi. A line within
// 1/10000 of horizontal counts as exactly 0 or 180; a line less than 0.1
// pixel wide is vertical, 90 or -90.
struct RotateLine {
    float angle = 0.0f;  // truncated to 0.001 unless vertical
    bool vertical = false;
    double dx = 0.0;
};
RotateLine RotateLineAngle(TPoint start, TPoint end);

// The angle after a rotate line: angle + line, truncated to 0.001, brought
// back once into -360..360.
float AddRotateLine(float angle, float line);

// The photo area on the preview: left, top, width and height.
struct PreviewArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a zoom press starts: raised to the area's top-left corner.
TPoint ZoomRectangleStart(const PreviewArea& area, TPoint press);

// The rectangle drawn while the pointer is at `pointer`: anchored at start,
// kept inside the area's right and bottom edges and to its aspect.
struct ZoomRectangle {
    bool drawn = false;  // false for an area without width or height
    TRect shape;         // corners as drawn (right and bottom included)
    TPoint end;          // the corrected pointer
    int width = 0;       // the pointer's width and aspect height, for the status
    int height = 0;
    float zoom = 0.0f;   // the zoom the rectangle would give
};
ZoomRectangle TrackZoomRectangle(const PreviewArea& area, TPoint start, TPoint pointer, float zoom);

// The zoom and offset changes when the rectangle is released at `pointer`.
// photoWidth and photoHeight are the full-size photo area. Nothing applies
// for a rectangle without width (released left of its start) or an area
// without size; the offsets stay when the zoom before was below 0.001.
struct ZoomRelease {
    bool applied = false;
    float zoom = 0.0f;            // truncated to 0.001, unlimited
    long long offsetXChange = 0;  // to subtract from the offsets
    long long offsetYChange = 0;
    TPoint end;
    int width = 0;
    int height = 0;
};
ZoomRelease ReleaseZoomRectangle(const PreviewArea& area, TPoint start, TPoint pointer, float zoom, int photoWidth,
                                 int photoHeight);

// The zoom of a resize frame w pixels wide over a preview photo previewWidth
// wide: limited to 0.5..2.0 and truncated to 0.001.
float ZoomOfFrameWidth(int width, int previewWidth);

// The overlay inside a resize frame of frameWidth x frameHeight: its grips'
// margin off each side, the height set from the width to the photo's aspect.
TPoint ResizeFrameOverlaySize(int frameWidth, int frameHeight, int photoWidth, int photoHeight);
