// Fitting arithmetic; every value keeps the width the fitting gives it.
#include "pipeline/photo_fitting.h"

#include <algorithm>
#include <cstdint>

bool NeedsQuarterTurn(int w, int h, int frameW, int frameH)
{
    return (h > w && frameW >= frameH) || (h <= w && frameW < frameH);
}

TPoint PreviewCopySize(int w, int h, int S)
{
    // 64-bit products: S times a side of a very large photo may pass 2^31.
    // A very thin photo keeps one pixel on its short side, never an empty copy.
    if (h < w)
        return {S, std::max(static_cast<int>(std::int64_t{S} * h / w), 1)};
    return {std::max(static_cast<int>(std::int64_t{S} * w / h), 1), S};
}

CropSize CropSizeFor(int sW, int sH, int eW, int eH)
{
    const float fsW = static_cast<float>(sW);
    const float fsH = static_cast<float>(sH);
    const float feW = static_cast<float>(eW);
    const float feH = static_cast<float>(eH);
    const CropSize wholeWidth{fsW, fsW * feH / feW};
    const bool landscape = sH < sW;
    const bool upright = eH > eW;
    // Landscape in a landscape area and upright in an upright one: the
    // largest window; across orientations the whole width.
    if (landscape == upright)
        return wholeWidth;
    if (fsW * feH > fsH * feW)
        return {fsH * feW / feH, fsH};
    return wholeWidth;
}

namespace {

// factor * v / divisor, held within +-kMaxSourceOffset.
int ScaledOffset(std::int64_t factor, int v, int divisor)
{
    return static_cast<int>(std::clamp<std::int64_t>(factor * v / divisor, -kMaxSourceOffset, kMaxSourceOffset));
}

// A crop side truncated, at least 1; none when it would truncate to more
// than kMaxCropSide (or is not a number).
std::optional<int> CropSide(float side)
{
    if (!(side < static_cast<float>(kMaxCropSide + 1)))
        return std::nullopt;
    return std::max(static_cast<int>(side), 1);
}

}  // namespace

TPoint PreviewOffset(int x, int y, int previewAreaW, int fullAreaW)
{
    return {ScaledOffset(previewAreaW, x, fullAreaW), ScaledOffset(previewAreaW, y, fullAreaW)};
}

TPoint FullSizeOffset(int x, int y, const CropSize& crop, int eW)
{
    const std::int64_t c = static_cast<std::int64_t>(crop.w);
    return {ScaledOffset(c, x, eW), ScaledOffset(c, y, eW)};
}

std::optional<TRect> CropWindow(const CropSize& crop, bool zoomOn, float zoom, TPoint offset, int rotW, int rotH,
                                TrimAlignment align)
{
    const std::optional<int> width = CropSide(zoomOn ? crop.w / zoom : crop.w);
    const std::optional<int> height = CropSide(zoomOn ? crop.h / zoom : crop.h);
    if (!width || !height)
        return std::nullopt;
    const int cw = *width;
    const int ch = *height;
    int top = 0;
    switch (align) {
    case TrimAlignment::Top:
        top = offset.y;
        break;
    case TrimAlignment::Bottom:
        top = rotH - ch + offset.y;
        break;
    case TrimAlignment::Centre:
    case TrimAlignment::None:
        top = (rotH - ch) / 2 + offset.y;
        break;
    }
    const int left = (rotW - cw) / 2 + offset.x;
    return TRect{left, top, left + cw, top + ch};
}

TRect AspectKeptRect(int cw, int ch, int eW, int eH)
{
    if (eH <= eW)
        return {0, 0, cw * eH / ch, eH};
    return {0, 0, eW, ch * eW / cw};
}

TPoint FittedSize(int gw, int gh, int W, int H)
{
    if (static_cast<std::int64_t>(gw) * H == static_cast<std::int64_t>(W) * gh)
        return {W, H};
    const float pictureAspect = static_cast<float>(gw) / static_cast<float>(gh);
    const float controlAspect = static_cast<float>(W) / static_cast<float>(H);
    if (pictureAspect > controlAspect)
        return {W, W * gh / gw};
    return {H * gw / gh, H};
}
