// Softens the outline of text drawn in one solid colour before the text layer
// is laid over a picture: pixels next to the text, and text pixels at its
// edge, take a blend of the picture beneath and the text colour, weighted by
// how much text surrounds them and by the operator's blur pattern (A..D).
// The text layer is white except the text, which is recognised only by its
// exact colour. Only the text's bounding box and its rim are visited, which
// gives the result of sweeping the whole region at the cost of the text.
#pragma once

#include "pipeline/pixel_plane.h"
#include "platform/bitmap.h"
#include "platform/graphics_types.h"

// Classes, and so changed pixels, lie within this many pixels of the bounding
// box of the region's text pixels: a pixel just outside the box has at most
// one text neighbour, so both passes leave it at 1 or less (second-pass sum
// at most 4 + 1 + 1), and a pixel farther out sums at most one such 1.
constexpr int kTextEdgeReach = 1;

// (background weight, text weight) of a class; every pair has a positive sum.
struct EdgeWeight {
    int background;
    int text;
};

// Per pattern A..D: background pixels with 1..4 text neighbours (or the
// class the second pass gives), then edge text pixels.
inline constexpr EdgeWeight TextEdgeWeights[4][5] = {
    {{4, 1}, {1, 1}, {1, 2}, {1, 3}, {1, 4}},
    {{3, 1}, {3, 5}, {1, 4}, {1, 7}, {0, 10}},
    {{2, 1}, {2, 5}, {1, 5}, {1, 9}, {0, 10}},
    {{1, 1}, {1, 5}, {1, 7}, {1, 9}, {0, 10}},
};

// Smooths the text of textLayer (drawn in textColour) against background,
// within the w x h rectangle centred on (cx, cy), kept one pixel clear of the
// top and left edges and two of the right and bottom ones. pattern 0..3 is
// A..D; any other value, or layers of different sizes, change nothing.
// classes is scratch. Returns 0.
int SmoothTextEdges(TBitmap& textLayer, const TBitmap& background, int cx, int cy, int w, int h,
                    TColor textColour, int pattern, PixelPlane& classes);

// The same, told that no text pixel of the region lies outside textArea, so
// that only textArea is searched for them (the result is the same).
int SmoothTextEdges(TBitmap& textLayer, const TBitmap& background, int cx, int cy, int w, int h,
                    TColor textColour, int pattern, PixelPlane& classes, const TRect& textArea);
