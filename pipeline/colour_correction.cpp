// Colour correction through one 256-entry table per channel: an output byte
// depends only on the same channel's input byte, so the table holds exactly
// what the per-pixel double arithmetic gives.
#include "pipeline/colour_correction.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/parallel_rows.h"

namespace {

using ChannelTable = std::array<std::uint8_t, 256>;

ChannelTable TableFor(int gain, const ColourCorrection& cc)
{
    const int v = std::max(gain, -254);
    const double factor = 1 + v / 256.0 * cc.strength;
    const bool brightnessOn = cc.brightnessPos != cc.brightnessMax / 2;
    const bool contrastOn = cc.contrastPos != cc.contrastMax / 2;
    const double brightness = (cc.brightnessPos - cc.brightnessMax / 2) * 0.002;
    const double contrast = (cc.contrastPos - cc.contrastMax / 2) * 0.002;
    ChannelTable table;
    for (int level = 0; level < 256; ++level) {
        double x = level;
        x = x * factor;
        if (brightnessOn)
            x = x * (1 + brightness);
        if (contrastOn)
            x = (x - cc.median) * (1 + contrast) + cc.median;
        table[level] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(x), 0, 255));
    }
    return table;
}

}  // namespace

void ApplyColourCorrection(TBitmap& bitmap, const ColourCorrection& correction)
{
    const ChannelTable blue = TableFor(correction.blueGain, correction);
    const ChannelTable green = TableFor(correction.greenGain, correction);
    const ChannelTable red = TableFor(correction.redGain, correction);
    const int w = bitmap.Width();
    ForEachRow(bitmap.Height(), static_cast<std::int64_t>(w) * bitmap.Height(), [&](int y) {
        std::uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = blue[p[0]];
            p[1] = green[p[1]];
            p[2] = red[p[2]];
        }
    });
}
