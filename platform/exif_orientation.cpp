// A bounded reader of the one tag needed from the APP1 segment, and the eight
// EXIF orientations as pixel mappings.
#include "platform/exif_orientation.h"

#include <cstring>

#include "platform/axis_swap.h"
#include "platform/bitmap.h"
#include "platform/parallel_rows.h"

namespace {

constexpr std::uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kShortType = 3;

// The TIFF structure that follows the Exif header, read in its byte order.
class TiffReader {
public:
    TiffReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool ReadByteOrder()
    {
        if (size_ < 8)
            return false;
        if (data_[0] == 'I' && data_[1] == 'I')
            bigEndian_ = false;
        else if (data_[0] == 'M' && data_[1] == 'M')
            bigEndian_ = true;
        else
            return false;
        return U16(2) == 42;
    }
    bool Has(std::uint64_t at, std::uint64_t length) const { return at <= size_ && length <= size_ - at; }
    // Callers check Has() first.
    unsigned U16(std::uint64_t at) const
    {
        const unsigned a = data_[at], b = data_[at + 1];
        return bigEndian_ ? (a << 8) | b : (b << 8) | a;
    }
    std::uint32_t U32(std::uint64_t at) const
    {
        const std::uint32_t high = U16(bigEndian_ ? at : at + 2);
        const std::uint32_t low = U16(bigEndian_ ? at + 2 : at);
        return (high << 16) | low;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool bigEndian_ = false;
};

int OrientationOfTiff(const std::uint8_t* data, std::size_t size)
{
    TiffReader tiff(data, size);
    if (!tiff.ReadByteOrder())
        return 1;
    const std::uint64_t directory = tiff.U32(4);
    if (!tiff.Has(directory, 2))
        return 1;
    const unsigned entries = tiff.U16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12 * std::uint64_t{i};
        if (!tiff.Has(entry, 12))
            return 1;
        if (tiff.U16(entry) != kOrientationTag)
            continue;
        const unsigned value = tiff.U16(entry + 8);
        const bool valid = tiff.U16(entry + 2) == kShortType && tiff.U32(entry + 4) >= 1 && value >= 1 && value <= 8;
        return valid ? static_cast<int>(value) : 1;
    }
    return 1;
}

// Which stored pixel of a w x h picture shows at (x, y) of the upright one.
TPoint StoredPixel(int orientation, int x, int y, int w, int h)
{
    switch (orientation) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {y, h - 1 - x};
    case 7:
        return {w - 1 - y, h - 1 - x};
    case 8:
        return {w - 1 - y, x};
    default:
        return {x, y};
    }
}

}  // namespace

int ExifSegmentOrientation(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < sizeof kExifHeader || std::memcmp(data, kExifHeader, sizeof kExifHeader) != 0)
        return 0;
    return OrientationOfTiff(data + sizeof kExifHeader, size - sizeof kExifHeader);
}

void ApplyExifOrientation(TBitmap& bitmap, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return;
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const bool swaps = orientation >= 5;
    TBitmap upright;
    upright.SetSize(swaps ? h : w, swaps ? w : h);
    if (swaps) {
        // Upright pixel (x, y) is stored at StoredPixel(orientation, x, y):
        // its column follows y and its row x.
        const TPoint origin = StoredPixel(orientation, 0, 0, w, h);
        const TPoint down = StoredPixel(orientation, 0, 1, w, h);
        const TPoint across = StoredPixel(orientation, 1, 0, w, h);
        GatherSwappedAxes(bitmap, upright, down.x - origin.x, origin.x, across.y - origin.y, origin.y);
        bitmap.ExchangePixels(upright);
        return;
    }
    const int uprightWidth = upright.Width();
    // Each upright row is one stored row or column, walked with a fixed step;
    // every row is written by one thread only.
    const auto at = [&](TPoint p) {
        return bitmap.ScanLine(0) + static_cast<std::ptrdiff_t>(p.y) * bitmap.RowStride() + p.x * 3;
    };
    ForEachRow(upright.Height(), std::int64_t{w} * h, [&](int y) {
        const std::uint8_t* from = at(StoredPixel(orientation, 0, y, w, h));
        const std::ptrdiff_t step = uprightWidth > 1 ? at(StoredPixel(orientation, 1, y, w, h)) - from : 0;
        std::uint8_t* to = upright.ScanLine(y);
        for (int x = 0; x < uprightWidth; ++x, from += step, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    });
    bitmap.ExchangePixels(upright);
}
