#include "bench/bench_photos.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/jpeg_codec.h"

void MakePhoto(TBitmap& photo, int width, int height)
{
    photo.SetSize(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = photo.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28) - 8;
            const double fx = static_cast<double>(x) / width;
            const double fy = static_cast<double>(y) / height;
            const int r = static_cast<int>(128 + 100 * std::sin(6 * fx + 2 * fy)) + noise;
            const int g = static_cast<int>(40 + 180 * fy) + noise;
            const int b = static_cast<int>(200 - 150 * fx * fy) + noise;
            p[0] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
        }
    }
}

void WritePhotoJpeg(const std::string& path, int width, int height)
{
    TBitmap photo;
    MakePhoto(photo, width, height);
    EncodeJpegFile(photo, path, 90);
}
