// One row at a time: the background around the photo, the photo's row, then
// the overlay's pixels that are not its key.
#include "pipeline/frame_composition.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/parallel_rows.h"

namespace {

void FillRun(std::uint8_t* out, int count, const std::uint8_t* colour)
{
    if (count <= 0)
        return;
    if (colour[0] == colour[1] && colour[1] == colour[2]) {
        std::memset(out, colour[0], static_cast<std::size_t>(count) * 3);
        return;
    }
    for (int k = 0; k < count; ++k, out += 3)
        std::memcpy(out, colour, 3);
}

}  // namespace

void ComposeFramePicture(TBitmap& picture, int width, int height, TColor background, const TBitmap& photo, int left,
                         int top, const SeeThroughOverlay* overlay)
{
    picture.SetSize(width, height);
    width = picture.Width();
    height = picture.Height();
    if (width == 0 || height == 0)
        return;
    const std::uint8_t ground[3] = {static_cast<std::uint8_t>(GetBValue(background)),
                                    static_cast<std::uint8_t>(GetGValue(background)),
                                    static_cast<std::uint8_t>(GetRValue(background))};
    // The photo's columns on the picture.
    const int photoFrom = std::clamp(left, 0, width);
    const int photoTo = std::clamp(left + photo.Width(), photoFrom, width);
    const int overlayTo = overlay ? std::min(overlay->picture->Width(), width) : 0;
    const int overlayRows = overlay ? overlay->picture->Height() : 0;
    const TColor key = overlay ? ColorToRGB(overlay->key) : clBlack;
    const std::uint8_t kb = static_cast<std::uint8_t>(GetBValue(key));
    const std::uint8_t kg = static_cast<std::uint8_t>(GetGValue(key));
    const std::uint8_t kr = static_cast<std::uint8_t>(GetRValue(key));
    ForEachRow(height, std::int64_t{width} * height * 2, [&](int y) {
        std::uint8_t* out = picture.ScanLine(y);
        const int photoRow = y - top;
        if (photoRow >= 0 && photoRow < photo.Height() && photoFrom < photoTo) {
            FillRun(out, photoFrom, ground);
            std::memcpy(out + photoFrom * 3, photo.ScanLine(photoRow) + (photoFrom - left) * 3,
                        static_cast<std::size_t>(photoTo - photoFrom) * 3);
            FillRun(out + photoTo * 3, width - photoTo, ground);
        } else {
            FillRun(out, width, ground);
        }
        if (y >= overlayRows)
            return;
        const std::uint8_t* s = overlay->picture->ScanLine(y);
        for (int x = 0; x < overlayTo; ++x, s += 3, out += 3)
            if (s[0] != kb || s[1] != kg || s[2] != kr) {
                out[0] = s[0];
                out[1] = s[1];
                out[2] = s[2];
            }
    });
}
