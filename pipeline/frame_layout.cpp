// The built-in layouts and the preview scale.
#include "pipeline/frame_layout.h"

#include <algorithm>

namespace {

constexpr TFrameLayout Layout(int fw, int fh, int pw, int ph, int margin, int bottom, int tx, int ty, int dx, int dy,
                              int ox, int oy)
{
    return TFrameLayout{fw, fh, pw, ph, margin, margin, margin, bottom, tx, ty, dx, dy, ox, oy, false};
}

const std::array<TFrameLayoutPreset, kPresetCount> kPresets = {{
    {"Ｌ判　下白帯", Layout(1500, 1051, 1500, 922, 0, 129, 750, 950, 1255, 957, 120, 950), 30, 30, 30},
    {"Ｌ判　全周枠", Layout(1500, 1051, 1430, 887, 35, 129, 750, 950, 1255, 957, 120, 950), 30, 30, 30},
    {"Ｌ判　下白帯　縦型", Layout(1051, 1500, 1051, 1371, 0, 129, 525, 1410, 800, 1410, 100, 1410), 30, 30, 30},
    {"KG判　下白帯", Layout(1795, 1205, 1795, 1087, 0, 118, 897, 1100, 1570, 1111, 265, 1100), 30, 30, 30},
    {"KG判　全周枠", Layout(1795, 1205, 1725, 1052, 35, 118, 897, 1100, 1570, 1111, 265, 1100), 30, 36, 36},
    {"キャビネ　下白帯", Layout(2126, 1524, 2126, 1382, 0, 142, 1063, 1415, 1819, 1415, 247, 1415), 36, 36, 36},
    {"キャビネ　全周枠", Layout(2126, 1524, 2008, 1323, 59, 142, 1063, 1415, 1819, 1415, 247, 1415), 36, 30, 36},
    {"キャビネ　全周枠　縦型", Layout(1536, 2138, 1408, 1890, 64, 184, 768, 2012, 1246, 2029, 309, 2026), 36, 30, 36},
}};

}  // namespace

TFrameLayoutPreset FramePreset(int number)
{
    if (number >= 0 && number < kPresetCount)
        return kPresets[static_cast<std::size_t>(number)];
    TFrameLayoutPreset fallback = kPresets[0];
    fallback.otherSize = 36;
    return fallback;
}

TFrameLayout ScaleLayoutToPreview(const TFrameLayout& full, int clientW, int clientH)
{
    const int aw = std::min(clientW - 20, 1200);
    const int ah = std::min(clientH - 20, 1200);
    const int fw = full.Framewidth;
    const int fh = full.Frameheight;
    int pw = 0;
    int ph = 0;
    int s = 1;
    int d = 1;
    if (aw * fh < ah * fw) {
        pw = aw;
        ph = fh * aw / fw;
        s = aw;
        d = fw;
    } else {
        pw = fw * ah / fh;
        ph = ah;
        s = ah;
        d = fh;
    }
    auto scale = [&](int v) { return v * s / d; };
    TFrameLayout p;
    p.Framewidth = pw;
    p.Frameheight = ph;
    p.Photowidth = scale(full.Photowidth);
    p.Photoheight = scale(full.Photoheight);
    p.Leftwidth = scale(full.Leftwidth);
    p.Rightwidth = scale(full.Rightwidth);
    p.Topheight = scale(full.Topheight);
    p.Bottomheight = scale(full.Bottomheight);
    p.FontPositionX = scale(full.FontPositionX);
    p.FontPositionY = scale(full.FontPositionY);
    p.DatePositionX = scale(full.DatePositionX);
    p.DatePositionY = scale(full.DatePositionY);
    p.OtherPositionX = scale(full.OtherPositionX);
    p.OtherPositionY = scale(full.OtherPositionY);
    if (p.Leftwidth + p.Photowidth + p.Rightwidth != pw)
        p.Photowidth = pw - p.Leftwidth - p.Rightwidth;
    if (p.Topheight + p.Photoheight + p.Bottomheight != ph)
        p.Photoheight = ph - p.Topheight - p.Bottomheight;
    return p;
}
