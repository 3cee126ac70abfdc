// Histogram drawing with the canvas's lines (end points excluded).
#include "pipeline/histogram_drawing.h"

#include <algorithm>

#include "platform/canvas.h"

namespace {

// A line's visible pixels do not change when a far end is drawn from four
// picture heights up instead (its step sideways stays above the top), and
// the canvas walks every pixel of a line, so heights are held there.
int DrawnHeight(std::int64_t count, int peak, int pictureHeight)
{
    return static_cast<int>(std::min<std::int64_t>(HistogramHeight(count, peak), 4LL * pictureHeight));
}

}  // namespace

int HistogramPeak(const HistogramSet& set, int channel)
{
    int peak = 0;
    for (int level = 1; level <= 254; ++level)
        if (set.counts[level][channel] > 0)
            for (int k = 0; k < 4; ++k)
                peak = std::max(peak, static_cast<int>(set.counts[level][k]));
    return peak;
}

std::int64_t HistogramHeight(std::int64_t count, int peak)
{
    return count * 128 / peak;
}

bool DrawHistogram(TBitmap& picture, const HistogramSet& set, int channel, const HistogramLayers& layers)
{
    if (channel < 0 || channel > 3)
        channel = 0;
    picture.Fill(clWhite);
    const int peak = HistogramPeak(set, channel);
    if (peak == 0)
        return false;
    const int base = picture.Height() - 1;
    auto y = [&](int level, int k) { return base - DrawnHeight(set.counts[level][k], peak, picture.Height()); };
    TCanvas& canvas = *picture.Canvas();
    canvas.Pen.Width = 1;
    if (layers.bars) {
        canvas.Pen.Color = clBlack;
        for (int level = 0; level < 256; ++level) {
            canvas.MoveTo(level + 1, base);
            canvas.LineTo(level + 1, y(level, channel));
        }
    }
    const struct {
        bool on;
        TColor colour;
        int channel;
    } curves[] = {{layers.red, RGB(255, 0, 0), 1}, {layers.green, RGB(0, 128, 0), 2}, {layers.blue, RGB(0, 0, 255), 3}};
    for (const auto& curve : curves) {
        if (!curve.on)
            continue;
        canvas.Pen.Color = curve.colour;
        canvas.MoveTo(1, base);
        for (int level = 0; level < 256; ++level)
            canvas.LineTo(level + 1, y(level, curve.channel));
    }
    return true;
}
