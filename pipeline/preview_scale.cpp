// Preview <-> frame conversions.
#include "pipeline/preview_scale.h"

#include <algorithm>

int PreviewToFrame(int v, int previewWidth, int frameWidth)
{
    if (previewWidth == 0)
        return 0;
    return static_cast<int>(static_cast<float>(v * static_cast<double>(frameWidth) / previewWidth));
}

int FrameToPreviewSize(int v, int previewWidth, int frameWidth)
{
    if (frameWidth == 0)
        return 0;
    const double ratio = static_cast<double>(previewWidth) / frameWidth;
    return static_cast<int>(static_cast<float>(v * ratio));
}

int FrameToPreviewPlace(int v, int previewWidth, int frameWidth)
{
    if (frameWidth == 0)
        return 0;
    const float ratio = static_cast<float>(static_cast<double>(previewWidth) / frameWidth);
    return static_cast<int>(static_cast<float>(v * static_cast<double>(ratio)));
}

PictureSize PreviewSizeWithin(int width, int height, int previewWidth, int frameWidth, PictureSize limit)
{
    if (frameWidth == 0)
        return {};
    const double ratio = static_cast<double>(previewWidth) / frameWidth;
    // The sides as FrameToPreviewSize rounds them, before any truncation to
    // int (which the largest of them would not survive).
    const double w = static_cast<float>(width * ratio);
    const double h = static_cast<float>(height * ratio);
    if (w < limit.width + 1.0 && h < limit.height + 1.0)
        return {FrameToPreviewSize(width, previewWidth, frameWidth),
                FrameToPreviewSize(height, previewWidth, frameWidth)};
    // The limiting side takes the limit exactly; the other follows.
    if (h * limit.width <= w * limit.height && w > 0)
        return {limit.width, std::min(static_cast<int>(h * limit.width / w), limit.height)};
    return {std::min(static_cast<int>(w * limit.height / h), limit.width), limit.height};
}
