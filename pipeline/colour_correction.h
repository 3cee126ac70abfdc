// The operator's colour correction of the fitted photo: red, green and blue
// gains, brightness, and contrast pivoting about the median brightness of the
// uncorrected photo. Arithmetic is in double, truncated toward zero and held
// to 0..255 at the end, so preview and output give the same bytes.
#pragma once

#include "platform/bitmap.h"

struct ColourCorrection {
    // Gains -255..255 (the caller limits them); -254 or less counts as -254.
    int redGain = 0;
    int greenGain = 0;
    int blueGain = 0;
    // Scales the gains: factor 1 + gain / 256 * strength (1.0 to 5.0).
    double strength = 1.0;
    // Track bar positions and maxima; the middle (maximum / 2) means "off".
    int brightnessPos = 200;
    int brightnessMax = 400;
    int contrastPos = 100;
    int contrastMax = 200;
    // Contrast pivot, the median brightness level (HistogramMedian).
    int median = 128;
    bool operator==(const ColourCorrection&) const = default;
};

// Corrects a bitmap in place: each channel times its gain factor, then times
// 1 + b for brightness b = (pos - max/2) * 0.002, then (x - median) * (1 + c) + median
// for contrast c likewise.
void ApplyColourCorrection(TBitmap& bitmap, const ColourCorrection& correction);
