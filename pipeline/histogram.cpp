// Histogram sets and their median brightness.
#include "pipeline/histogram.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/parallel_rows.h"

void BuildHistogramSet(const TBitmap& bitmap, HistogramSet& set)
{
    // Bands of rows are counted apart and then added: counts are sums, so
    // the split changes nothing. Several bands a thread, taken in turn, so
    // that a thread slowed by other work leaves its share to the others.
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const int bands = std::max(1, std::min(WorkerThreadCount() * 8, h));
    std::vector<HistogramSet> partial(static_cast<std::size_t>(bands));
    ForEachRow(bands, static_cast<std::int64_t>(w) * h, [&](int band) {
        HistogramSet& counts = partial[static_cast<std::size_t>(band)];
        std::memset(counts.counts, 0, sizeof counts.counts);
        for (int y = h * band / bands; y < h * (band + 1) / bands; ++y) {
            const std::uint8_t* p = bitmap.ScanLine(y);
            for (int x = 0; x < w; ++x, p += 3) {
                ++counts.counts[(p[0] + p[1] + p[2]) / 3][0];
                ++counts.counts[p[2]][1];
                ++counts.counts[p[1]][2];
                ++counts.counts[p[0]][3];
            }
        }
    });
    std::memset(set.counts, 0, sizeof set.counts);
    for (const HistogramSet& counts : partial)
        for (int level = 0; level < 256; ++level)
            for (int channel = 0; channel < 4; ++channel)
                set.counts[level][channel] += counts.counts[level][channel];
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
