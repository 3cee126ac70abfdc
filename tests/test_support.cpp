#include "tests/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir()
{
    std::string pattern = "/tmp/plovis-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder)
{
    std::error_code error;
    before_ = std::filesystem::current_path(error).string();
    std::filesystem::current_path(folder);
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    std::error_code error;
    std::filesystem::current_path(before_, error);
    if (error)
        std::filesystem::current_path("/", error);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    if (!std::filesystem::is_directory(folder))
        return names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void FillBitmap(TBitmap& bitmap, int width, int height, const std::function<TColor(int, int)>& colour)
{
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, colour(x, y));
}

bool SameBitmap(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width() * 3; ++x)
            if (a.ScanLine(y)[x] != b.ScanLine(y)[x])
                return false;
    return true;
}

TRect PixelBounds(const TBitmap& bitmap, const std::function<bool(TColor)>& match)
{
    TRect bounds{bitmap.Width(), bitmap.Height(), 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (match(bitmap.Pixel(x, y)))
                bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1), y + 1};
    return bounds.Right > bounds.Left ? bounds : TRect{};
}

int CountPixels(const TBitmap& bitmap, const std::function<bool(TColor)>& match)
{
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            count += match(bitmap.Pixel(x, y)) ? 1 : 0;
    return count;
}

int RunsDown(const TBitmap& bitmap, int x, TColor background)
{
    int runs = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        runs += bitmap.Pixel(x, y) != background && (y == 0 || bitmap.Pixel(x, y - 1) == background) ? 1 : 0;
    return runs;
}
