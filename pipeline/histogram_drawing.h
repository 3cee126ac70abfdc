// Drawing one histogram set as the histogram window shows it: luminance (or
// the chosen channel) as black bars, red, green and blue as polylines over
// them, on a white picture whose bottom row is the base line. The scale
// comes from the highest count at levels 1..254 where the chosen channel has
// any count; levels 0 and 255 may rise above the top and are cut off there.
#pragma once

#include <cstdint>

#include "pipeline/histogram.h"
#include "platform/bitmap.h"

// The highest count over the four channels at the levels 1..254 where
// channel has a count above 0; 0 when there is none.
int HistogramPeak(const HistogramSet& set, int channel);

// The drawn height of a count: count * 128 / peak, truncated (peak > 0).
std::int64_t HistogramHeight(std::int64_t count, int peak);

struct HistogramLayers {
    bool bars = true;
    bool red = true;
    bool green = true;
    bool blue = true;
};

// Fills picture (kept at its size) with white and, when the set has a peak,
// draws the bars and curves in that order with the level L at x = L + 1 and
// the base line at the bottom row. False when there is no peak (the picture
// is then only white). channel outside 0..3 counts as 0.
bool DrawHistogram(TBitmap& picture, const HistogramSet& set, int channel, const HistogramLayers& layers);
