// The arithmetic of a text block: lines separated by the two characters
// backslash and "n" (a real line break means nothing here), the block height
// with the line-spacing factor, and the placement of a block turned by whole
// degrees (positive = counter-clockwise). Pure integer and floating-point
// rules, kept apart from the drawing so that the output, the previews and the
// frame editor lay a text out alike.
#pragma once

#include <string>
#include <vector>

#include "platform/graphics_types.h"

// After each separator the rest of the text is cut to this many characters.
constexpr std::size_t kTextRestLimit = 4096;

struct TextLines {
    // The lines before each separator, then the final rest when not empty.
    std::vector<std::string> pieces;
    bool separated = false;  // the text held at least one separator
    // The number of lines, at least 1; a text without separator is one line
    // (measured whole), and so is one whose only separator ends it.
    int Count() const { return pieces.empty() ? 1 : static_cast<int>(pieces.size()); }
};

TextLines SplitTextLines(const std::string& text);
int CountTextLines(const std::string& text);

// trunc(lineH * (n - 1) * (s - 1) + lineH * n), computed in double: n lines
// of lineH pixels with gaps of lineH * (s - 1). s = 1 makes the lines touch.
int BlockHeight(int lineH, int n, float s);

// The top of the line below one at top: trunc(top + lineH * s), in double
// like the block height, so that the lines stay inside their block.
int NextLineTop(int top, int lineH, float s);

// angle mod 360 with the sign of angle (-370 gives -10, 370 gives 10).
int NormaliseAngle(int angle);

// Where a block of maxW x blockH pixels (lines lineH apart times s) lands when
// turned counter-clockwise by angle (normalised) degrees, relative to the
// top-left corner of its bounding box.
struct TextPlacement {
    // The top-left corner at 0 degrees; otherwise the top centre of the
    // turned block (the text is then centred on it).
    TPoint start;
    int width = 0;   // the bounding box
    int height = 0;
    // From one line's reference point to the next, at a turned angle.
    int stepX = 0;
    int stepY = 0;
};

TextPlacement PlaceTextBlock(int maxW, int blockH, int lineH, float s, int angle);

// The top-left corner of a width x height block meant for at, moved inward by
// the least amount that puts it whole inside a frameWidth x frameHeight
// picture: a name that reaches past an edge is printed whole, not cut. A block
// wider (taller) than the picture starts at its left (top) edge; one that fits
// keeps at.
TPoint KeepBlockInside(TPoint at, int width, int height, int frameWidth, int frameHeight);
