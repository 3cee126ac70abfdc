// A scratch picture of 32-bit pixels 0x00RRGGBB (red in bits 16..23), the
// work area of the rotation, the high-quality reduction and the text edge
// smoothing. It is sized to the picture in work rather than fixed at
// 4800 x 4800, so pictures of any size can be turned and the three planes of
// the main window do not hold 276 MB; storage only grows (without clearing
// or copying), so a batch of photos allocates once for its largest.
#pragma once

#include <cstdint>

#include "platform/pixel_storage.h"

class PixelPlane {
public:
    // Makes the plane width x height; the content is unspecified afterwards.
    void Resize(int width, int height)
    {
        width_ = width;
        height_ = height;
        data_.Reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * sizeof(std::uint32_t));
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The storage is aligned for 32-bit pixels (malloc or whole pages).
    std::uint32_t* Row(int y) { return reinterpret_cast<std::uint32_t*>(data_.Data()) + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(data_.Data()) + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t& At(int x, int y) { return Row(y)[x]; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }

private:
    int width_ = 0;
    int height_ = 0;
    PixelStorage data_;
};
