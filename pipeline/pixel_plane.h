// A scratch picture of 32-bit pixels 0x00RRGGBB (red in bits 16..23), the
// work area of the rotation, the high-quality reduction and the text edge
// smoothing. It is sized to the picture in work rather than fixed at
// 4800 x 4800, so pictures of any size can be turned and the three planes of
// the main window do not hold 276 MB; storage only grows, so a batch of
// photos of one size allocates once.
#pragma once

#include <cstdint>
#include <vector>

class PixelPlane {
public:
    // Makes the plane width x height; the content is unspecified afterwards.
    void Resize(int width, int height)
    {
        width_ = width;
        height_ = height;
        const std::size_t needed = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        if (needed > data_.size())
            data_.resize(needed);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t* Row(int y) { return data_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const { return data_.data() + static_cast<std::size_t>(y) * width_; }
    std::uint32_t& At(int x, int y) { return Row(y)[x]; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> data_;
};
