#include "tests/exif_test_pictures.h"

#include <cstdint>

void FillGreyTiles(TBitmap& bitmap, int width, int height)
{
    const int tilesW = width / 16, tilesH = height / 16;
    // Dark at the top, lighter to the bottom and a little to the right, with
    // a black "F" near the top-left corner: which side is up shows at a glance.
    auto level = [&](int tx, int ty) {
        const bool letterF = (tx == 1 && ty >= 1 && ty <= 8) || (ty == 1 && tx >= 1 && tx <= 6) ||
                             (ty == 4 && tx >= 1 && tx <= 4);
        if (letterF)
            return 0;
        return 40 + ty * 150 / tilesH + tx * 40 / tilesW + ((tx + ty) % 2) * 12;
    };
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x)
            row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = static_cast<std::uint8_t>(level(x / 16, y / 16));
    }
}

void StoreForOrientation(const TBitmap& upright, int orientation, TBitmap& stored)
{
    // Which side of the upright picture the stored first row and first column show.
    enum Side { top, bottom, left, right };
    static const struct {
        Side row0, column0;
    } sides[9] = {{top, left},     {top, left},   {top, right},   {bottom, right}, {bottom, left},
                  {left, top},     {right, top},  {right, bottom}, {left, bottom}};
    const auto [row0, column0] = sides[orientation];
    const int W = upright.Width(), H = upright.Height();
    const bool rowsAreColumns = row0 == left || row0 == right;
    stored.SetSize(rowsAreColumns ? H : W, rowsAreColumns ? W : H);
    for (int r = 0; r < stored.Height(); ++r)
        for (int c = 0; c < stored.Width(); ++c) {
            int x, y;
            if (rowsAreColumns) {
                x = row0 == left ? r : W - 1 - r;
                y = column0 == top ? c : H - 1 - c;
            } else {
                y = row0 == top ? r : H - 1 - r;
                x = column0 == left ? c : W - 1 - c;
            }
            stored.SetPixel(c, r, upright.Pixel(x, y));
        }
}

std::string ExifOrientationData(bool bigEndian, int orientation)
{
    std::string data("Exif\0\0", 6);
    auto u16 = [&](unsigned v) {
        const char hi = static_cast<char>(v >> 8), lo = static_cast<char>(v & 0xFF);
        data += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    };
    auto u32 = [&](std::uint32_t v) {
        if (bigEndian) {
            u16(v >> 16);
            u16(v & 0xFFFF);
        } else {
            u16(v & 0xFFFF);
            u16(v >> 16);
        }
    };
    data += bigEndian ? "MM" : "II";
    u16(42);
    u32(8);  // the first directory follows the header
    u16(2);
    // Make, ASCII, 4 bytes held in the entry itself.
    u16(0x010F);
    u16(2);
    u32(4);
    data += std::string("Cam\0", 4);
    // Orientation, SHORT, one value, left-justified in the value field.
    u16(0x0112);
    u16(3);
    u32(1);
    u16(static_cast<unsigned>(orientation));
    u16(0);
    u32(0);  // no next directory
    return data;
}

std::string WithApp1(const std::string& jpeg, const std::string& data)
{
    const std::size_t length = data.size() + 2;
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return jpeg.substr(0, 2) + segment + data + jpeg.substr(2);
}
