// Turning pictures and points. Angles are in degrees, positive clockwise on
// the screen; radians are 3.141592 * angle / 180 and cos/sin are taken in
// double, so the chosen source pixels (and the one-pixel shortfalls that
// value of pi causes) are reproducible. Pictures of any size are turned.
#pragma once

#include "pipeline/work_control.h"
#include "platform/bitmap.h"
#include "platform/graphics_types.h"

// Point (x, y) of a w x h picture turned about the picture's centre
// (w / 2, h / 2), truncated toward zero: (100, 25) in 100 x 50 at 90 gives (50, 74).
TPoint RotatePoint(int x, int y, int w, int h, double angle);

// Bounds of the four turned corners of r (callers pass Left = Top = 0).
TRect RotatedRectBounds(const TRect& r, double angle);

// Turns source by angle about its centre into destination, which becomes the
// source's size. Each destination pixel takes the source pixel that inverse
// mapping lands on, or black when it lands outside. Pictures of 1200 pixels or
// more in a side take the 1 2 1 / 2 4 2 / 1 2 1 weighted mean around that pixel
// instead (neighbours outside the picture left out with their weights), which
// smooths the staircase of full-size output. source and destination must differ.
// Returns 0.
int RotateByAngle(const TBitmap& source, TBitmap& destination, double angle);

// A picture as it lies on a canvas of canvasW x canvasH filled with
// background, its top-left at (left, top); the canvas clips it.
struct PlacedPicture {
    const TBitmap* picture;
    int left;
    int top;
    int canvasW;
    int canvasH;
    TColor background;
};

// The window (in the canvas' coordinates, possibly reaching beyond it) of the
// canvas turned as RotateByAngle turns a bitmap of the canvas, into
// destination, which becomes the window's size: the same pixels without
// making the canvas or turning what lies outside the window. Window pixels
// beyond the canvas are background. smoothing is work storage for the 3 x 3
// mean; its content is unspecified afterwards. destination must be neither
// the picture nor smoothing. With a control the calling thread pumps while
// threads turn, and an abort stops the turn: false, destination unfinished.
bool RotateWindowByAngle(const PlacedPicture& placed, double angle, const TRect& window, TBitmap& destination,
                         TBitmap& smoothing, WorkControl* control = nullptr);

// Quarter turns into a destination the caller has sized (width and height
// swapped for 90 and 270): 90 clockwise, 180, 270 counter-clockwise; a
// negative angle counts 360 more once; any other angle copies unturned.
// Destination pixels with no source pixel are black. source and destination
// must differ. Returns 0.
int RotateQuarterTurns(const TBitmap& source, TBitmap& destination, double angle);
