// Text edge smoothing: classify the pixels around the text, then blend.
#include "pipeline/edge_smoothing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Class values of the work plane; 1..4 are background pixels next to text.
constexpr std::int32_t kInnerText = -1;
constexpr std::int32_t kEdgeText = -2;
// A region edge below 1 becomes 1, then one at limit - 1 or beyond becomes limit - 2.
int ClampRegionEdge(int value, int limit)
{
    if (value < 1)
        value = 1;
    if (value >= limit - 1)
        value = limit - 2;
    return value;
}

}  // namespace

int SmoothTextEdges(TBitmap& textLayer, const TBitmap& background, int cx, int cy, int w, int h,
                    TColor textColour, int pattern, PixelPlane& classes)
{
    return SmoothTextEdges(textLayer, background, cx, cy, w, h, textColour, pattern, classes,
                           TRect{0, 0, textLayer.Width(), textLayer.Height()});
}

int SmoothTextEdges(TBitmap& textLayer, const TBitmap& background, int cx, int cy, int w, int h,
                    TColor textColour, int pattern, PixelPlane& classes, const TRect& textArea)
{
    const int bw = background.Width();
    const int bh = background.Height();
    if (pattern < 0 || pattern > 3 || textLayer.Width() != bw || textLayer.Height() != bh)
        return 0;
    // The clamps keep a non-empty region one pixel inside the picture, so
    // every neighbour read below exists.
    const int x0 = ClampRegionEdge(cx - w / 2, bw);
    const int x1 = ClampRegionEdge(cx + w / 2, bw);
    const int y0 = ClampRegionEdge(cy - h / 2, bh);
    const int y1 = ClampRegionEdge(cy + h / 2, bh);
    if (x0 >= x1 || y0 >= y1)
        return 0;

    const TColor key = ColorToRGB(textColour);
    const std::uint8_t keyBgr[3] = {static_cast<std::uint8_t>(GetBValue(key)),
                                    static_cast<std::uint8_t>(GetGValue(key)),
                                    static_cast<std::uint8_t>(GetRValue(key))};
    const auto isText = [&keyBgr](const std::uint8_t* p) {
        return p[0] == keyBgr[0] && p[1] == keyBgr[1] && p[2] == keyBgr[2];
    };

    // Bounds of the region's text pixels (inclusive).
    const int sx0 = std::max(x0, textArea.Left);
    const int sx1 = std::min(x1, textArea.Right);
    const int sy0 = std::max(y0, textArea.Top);
    const int sy1 = std::min(y1, textArea.Bottom);
    int textLeft = sx1;
    int textRight = sx0 - 1;
    int textTop = sy1;
    int textBottom = sy0 - 1;
    for (int y = sy0; y < sy1; ++y) {
        const std::uint8_t* row = textLayer.ScanLine(y);
        int first = sx0;
        while (first < sx1 && !isText(row + first * 3))
            ++first;
        if (first == sx1)
            continue;
        int last = sx1 - 1;
        while (!isText(row + last * 3))
            --last;
        textLeft = std::min(textLeft, first);
        textRight = std::max(textRight, last);
        textTop = std::min(textTop, y);
        textBottom = y;
    }
    if (textRight < textLeft)
        return 0;

    // The part of the region where classes can arise, and one pixel around it
    // in the plane for the neighbours; plane (0, 0) is picture (px, py).
    const int bx0 = std::max(x0, textLeft - kTextEdgeReach);
    const int bx1 = std::min(x1, textRight + kTextEdgeReach + 1);
    const int by0 = std::max(y0, textTop - kTextEdgeReach);
    const int by1 = std::min(y1, textBottom + kTextEdgeReach + 1);
    const int px = bx0 - 1;
    const int py = by0 - 1;
    const int pw = bx1 - bx0 + 2;
    const int ph = by1 - by0 + 2;
    classes.Resize(pw, ph);
    for (int j = 0; j < ph; ++j)
        std::memset(classes.Row(j), 0, static_cast<std::size_t>(pw) * sizeof(std::uint32_t));
    const auto classRow = [&classes, py](int y) { return reinterpret_cast<std::int32_t*>(classes.Row(y - py)); };

    // First pass: text pixels count their non-text neighbours and raise them.
    for (int y = by0; y < by1; ++y) {
        const std::uint8_t* above = textLayer.ScanLine(y - 1);
        const std::uint8_t* here = textLayer.ScanLine(y);
        const std::uint8_t* below = textLayer.ScanLine(y + 1);
        std::int32_t* up = classRow(y - 1);
        std::int32_t* mid = classRow(y);
        std::int32_t* down = classRow(y + 1);
        for (int x = bx0; x < bx1; ++x) {
            if (!isText(here + x * 3))
                continue;
            const int i = x - px;
            int open = 0;
            if (!isText(above + x * 3)) {
                ++up[i];
                ++open;
            }
            if (!isText(here + (x - 1) * 3)) {
                ++mid[i - 1];
                ++open;
            }
            if (!isText(here + (x + 1) * 3)) {
                ++mid[i + 1];
                ++open;
            }
            if (!isText(below + x * 3)) {
                ++down[i];
                ++open;
            }
            mid[i] = open >= 3 ? kEdgeText : kInnerText;
        }
    }

    // Second pass, in place: untouched pixels surrounded by enough marked
    // ones join class 1 or 2; text pixels between two strong ones become edge.
    for (int y = by0; y < by1; ++y) {
        const std::int32_t* up = classRow(y - 1);
        std::int32_t* mid = classRow(y);
        const std::int32_t* down = classRow(y + 1);
        for (int i = bx0 - px; i < bx1 - px; ++i) {
            if (mid[i] == 0) {
                const int sum = std::max(up[i], 0) + std::max(down[i], 0) + std::max(mid[i - 1], 0)
                                + std::max(mid[i + 1], 0);
                if (sum >= 7)
                    mid[i] = 2;
                else if (sum >= 4)
                    mid[i] = 1;
            } else if (mid[i] < 0) {
                const int strong = (up[i] >= 2) + (down[i] >= 2) + (mid[i - 1] >= 2) + (mid[i + 1] >= 2);
                if (strong >= 2)
                    mid[i] = kEdgeText;
            }
        }
    }

    // Third pass: blend the classified pixels between picture and text colour.
    const EdgeWeight* weights = TextEdgeWeights[pattern];
    for (int y = by0; y < by1; ++y) {
        const std::int32_t* mid = classRow(y);
        const std::uint8_t* beneath = background.ScanLine(y);
        std::uint8_t* out = textLayer.ScanLine(y);
        for (int x = bx0; x < bx1; ++x) {
            const std::int32_t value = mid[x - px];
            EdgeWeight weight;
            if (value >= 1 && value <= 4)
                weight = weights[value - 1];
            else if (value == kEdgeText)
                weight = weights[4];
            else
                continue;
            const int sum = weight.background + weight.text;
            for (int c = 0; c < 3; ++c) {
                const int blended = (beneath[x * 3 + c] * weight.background + keyBgr[c] * weight.text) / sum;
                out[x * 3 + c] = static_cast<std::uint8_t>(std::min(blended, 255));
            }
        }
    }
    return 0;
}
