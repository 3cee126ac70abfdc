// Draws one text (title, date, other text) as a block: lines split at the
// two characters backslash and "n", measured with the text's font, stacked
// with the line-spacing factor, turned by whole degrees (positive =
// counter-clockwise). The full-size output smooths the edges against the
// picture beneath and lays the text over it with white as the transparent
// colour; the preview lays the same block out at full size into a layer of
// its own, unsmoothed, for the window to shrink.
#pragma once

#include <string>

#include "pipeline/pixel_plane.h"
#include "pipeline/text_layout.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/font.h"

struct TextBlockStyle {
    TFont font;                 // name, height (pixels), style and colour
    int angle = 0;              // degrees, counter-clockwise; any value
    float lineSpacing = 1.1f;   // 1 + gap / line height; 1 = lines touch
    int horizontalScale = 100;  // percent of the natural character width, 50..150
    int blurPattern = 0;        // 0..3 smoothing patterns A..D, 4 none
};

// A block measured with its font.
struct TextBlockLayout {
    TextLines lines;
    int angle = 0;   // normalised
    int maxW = 0;    // the widest line
    int lineH = 0;   // the line height
    int blockH = 0;
    float lineSpacing = 1.1f;
    TextPlacement placement;  // relative to the bounding box's top-left corner
};

// Gives canvas the style's font (record width from the horizontal scale,
// escapement from the angle) and a clear brush, then measures and places text.
TextBlockLayout LayOutTextBlock(TCanvas& canvas, const std::string& text, const TextBlockStyle& style);

// Draws text into target (any size) with the top-left corner of the block's
// bounding box at (x, y). textLayer becomes the text layer of target's size,
// written only around the text (the rest keeps what it held); scratch is the
// smoothing's work plane.
void DrawTextBlock(TBitmap& textLayer, TBitmap& target, int x, int y, const std::string& text,
                   const TextBlockStyle& style, PixelPlane& scratch);

// The preview of text: layer becomes the block's bounding box, white (and
// transparent with the fixed key white) with the text drawn in; no smoothing.
void RenderTextPreviewLayer(TBitmap& layer, const std::string& text, const TextBlockStyle& style);
