// Preview <-> frame conversions.
#include "pipeline/preview_scale.h"

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
