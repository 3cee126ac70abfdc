// Writes a few photos for drop_demo into the folder given: 640 x 480 JPEGs
// of smooth colours, large enough not to be skipped as too small.
// Usage: make_demo_photos FOLDER [count]
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const int count = argc > 2 ? std::atoi(argv[2]) : 2;
    TBitmap photo;
    photo.SetSize(640, 480);
    for (int i = 0; i < count; ++i) {
        for (int y = 0; y < 480; ++y) {
            std::uint8_t* row = photo.ScanLine(y);
            for (int x = 0; x < 640; ++x) {
                row[x * 3] = static_cast<std::uint8_t>(x * 255 / 639);
                row[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / 479);
                row[x * 3 + 2] = static_cast<std::uint8_t>(60 + 60 * i);
            }
        }
        const std::string path = std::string(argv[1]) + "/photo" + std::to_string(i + 1) + ".jpg";
        if (EncodeJpegFile(photo, path, 90) != JpegResult::Ok)
            return 1;
    }
    return 0;
}
