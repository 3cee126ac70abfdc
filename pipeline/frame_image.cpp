// Frame image drawing and blending.
#include "pipeline/frame_image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/bitmap.h"

bool DrawFrameImage(TBitmap& picture, const TFrameLayout& layout)
{
    const int fw = layout.Framewidth;
    const int fh = layout.Frameheight;
    if (fw <= 0 || fh <= 0 || layout.Photowidth <= 0 || layout.Photoheight <= 0)
        return false;
    picture.SetSize(fw, fh);
    picture.Fill(clWhite);
    const int left = std::clamp(layout.Leftwidth, 0, fw);
    const int right = std::clamp(layout.Leftwidth + layout.Photowidth, 0, fw);
    const int top = std::clamp(layout.Topheight, 0, fh);
    const int bottom = std::clamp(layout.Topheight + layout.Photoheight, 0, fh);
    for (int y = top; y < bottom; ++y)
        std::memset(picture.ScanLine(y) + left * 3, 0, static_cast<std::size_t>(right - left) * 3);
    return true;
}

int BlendFrameImage(int width, int height, TBitmap& target, const TBitmap& frameImage, const PixelPlane& mask,
                    int frameWidth, int frameHeight)
{
    if (width < 1 || height < 1)
        return -3;
    if (target.Width() != frameImage.Width())
        return -1;
    if (target.Height() != frameImage.Height())
        return -2;
    width = std::min(width, target.Width());
    height = std::min(height, target.Height());
    const int fw = frameWidth;
    const int fh = frameHeight;
    auto alphaAt = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= mask.Width() || y >= mask.Height())
            return 0;
        return static_cast<int>(std::min<std::uint32_t>(mask.At(x, y), 255));
    };
    for (int y = 0; y < height; ++y) {
        std::uint8_t* t = target.ScanLine(y);
        const std::uint8_t* f = frameImage.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const int alpha = width == fw ? alphaAt(x, y)
                                          : alphaAt(std::min(fw * x / width, fw - 1), std::min(fh * y / height, fh - 1));
            for (int c = 0; c < 3; ++c)
                t[x * 3 + c] = static_cast<std::uint8_t>((alpha * f[x * 3 + c] + (255 - alpha) * t[x * 3 + c]) / 255);
        }
    }
    return 0;
}
