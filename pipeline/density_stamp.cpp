// JFIF density stamp with plain C stdio, patching bytes 11..15 of APP0.
#include "pipeline/density_stamp.h"

#include <cstdio>

namespace {

constexpr int kHeadBytes = 200;
// The last offset at which an APP0 marker is looked for.
constexpr int kLastMarkerOffset = 193;

} // namespace

bool SetJpegDpi(const std::string& path, int dpi)
{
    if (dpi < 1 || dpi > 65535)
        return false;
    const unsigned char hi = static_cast<unsigned char>(dpi >> 8);
    const unsigned char lo = static_cast<unsigned char>(dpi & 0xFF);
    const unsigned char stamp[5] = {0x01, hi, lo, hi, lo};

    std::FILE* file = std::fopen(path.c_str(), "rb+");
    if (!file)
        return true;
    unsigned char head[kHeadBytes];
    const int count = static_cast<int>(std::fread(head, 1, kHeadBytes, file));
    if (count < 2 || head[0] != 0xFF || head[1] != 0xD8) {
        std::fclose(file);
        return true;
    }
    for (int i = 0; i <= kLastMarkerOffset && i + 1 < count; ++i) {
        if (head[i] != 0xFF || head[i + 1] != 0xE0)
            continue;
        if (i + 7 < count && head[i + 4] == 'J' && head[i + 5] == 'F' && head[i + 6] == 'I' && head[i + 7] == 'F'
            && std::fseek(file, i + 11, SEEK_SET) == 0)
            std::fwrite(stamp, 1, sizeof stamp, file);
        break;
    }
    std::fclose(file);
    return true;
}
