// Histogram sets and their median brightness.
#include "pipeline/histogram.h"

#include <cstring>

void BuildHistogramSet(const TBitmap& bitmap, HistogramSet& set)
{
    std::memset(set.counts, 0, sizeof set.counts);
    const int w = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            ++set.counts[(p[0] + p[1] + p[2]) / 3][0];
            ++set.counts[p[2]][1];
            ++set.counts[p[1]][2];
            ++set.counts[p[0]][3];
        }
    }
}

int HistogramMedian(const HistogramSet& set)
{
    std::int64_t total = 0;
    for (const auto& level : set.counts)
        total += level[0];
    const std::int64_t half = total / 2;
    std::int64_t running = 0;
    for (int level = 0; level < 256; ++level) {
        running += set.counts[level][0];
        if (running > half)
            return level;
    }
    return 128;
}
