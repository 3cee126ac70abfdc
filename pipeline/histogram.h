// Level counts of a picture: brightness (R + G + B) / 3 and each channel,
// for the histogram window and as the contrast pivot of the colour correction.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

// counts[level][channel]: channel 0 brightness, 1 red, 2 green, 3 blue.
// Each channel of a set built from n pixels sums to n.
struct HistogramSet {
    std::int32_t counts[256][4];
};

// Replaces every count of set with those of bitmap.
void BuildHistogramSet(const TBitmap& bitmap, HistogramSet& set);

// The first brightness level at which the running count passes half the
// total (integer half); 128 for an empty set. Half black, half white gives 255.
int HistogramMedian(const HistogramSet& set);
