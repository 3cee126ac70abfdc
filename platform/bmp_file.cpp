// Bitmap file encoding.
#include "platform/bmp_file.h"

#include <cstdint>

#include "platform/bitmap.h"
#include "platform/file_system.h"

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBmp(const TBitmap& bitmap)
{
    const auto width = static_cast<std::uint32_t>(bitmap.Width());
    const auto height = static_cast<std::uint32_t>(bitmap.Height());
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * height;
    std::string out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + imageBytes);
    out += "BM";
    PutLittleEndian(out, kFileHeaderSize + kInfoHeaderSize + imageBytes, 4);
    PutLittleEndian(out, 0, 4);  // reserved
    PutLittleEndian(out, kFileHeaderSize + kInfoHeaderSize, 4);
    PutLittleEndian(out, kInfoHeaderSize, 4);
    PutLittleEndian(out, width, 4);
    PutLittleEndian(out, height, 4);  // positive: bottom-up rows
    PutLittleEndian(out, 1, 2);       // planes
    PutLittleEndian(out, 24, 2);      // bits per pixel
    PutLittleEndian(out, 0, 4);       // uncompressed
    PutLittleEndian(out, imageBytes, 4);
    PutLittleEndian(out, 0, 4);  // no resolution
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);  // no colour table
    PutLittleEndian(out, 0, 4);
    const std::string padding(rowBytes - width * 3, '\0');
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        // The bitmap's rows hold blue, green, red already, as the file does.
        out.append(reinterpret_cast<const char*>(bitmap.ScanLine(y)), width * 3);
        out += padding;
    }
    return out;
}

bool SaveBmpFile(const TBitmap& bitmap, const std::string& path, std::string* error)
{
    return WriteFileAtomically(path, EncodeBmp(bitmap), error);
}
