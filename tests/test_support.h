// Small helpers shared by the tests: temporary folders, files and bitmaps.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/parallel_rows.h"

// A fresh folder under /tmp, removed with everything in it at the end of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder, without a trailing "/".
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The process's current folder is folder in this scope (saves change it too);
// the one before comes back at the end, or "/" when that is gone.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::string before_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The names in a folder, sorted; none when it does not exist.
std::vector<std::string> FolderNames(const std::string& folder);

// A width x height bitmap whose pixel (x, y) is colour(x, y).
void FillBitmap(TBitmap& bitmap, int width, int height, const std::function<TColor(int, int)>& colour);
// True when both bitmaps have the same size and pixels.
bool SameBitmap(const TBitmap& a, const TBitmap& b);

// Pixel routines in this scope use count threads (1 = single-threaded), so a
// test can compare both ways; the hardware's count returns afterwards.
class ScopedWorkerThreads {
public:
    explicit ScopedWorkerThreads(int count) { SetWorkerThreadCount(count); }
    ~ScopedWorkerThreads() { SetWorkerThreadCount(0); }
    ScopedWorkerThreads(const ScopedWorkerThreads&) = delete;
    ScopedWorkerThreads& operator=(const ScopedWorkerThreads&) = delete;
};

// Bounds of the pixels for which match(colour) holds (empty when none), and their number.
TRect PixelBounds(const TBitmap& bitmap, const std::function<bool(TColor)>& match);
int CountPixels(const TBitmap& bitmap, const std::function<bool(TColor)>& match);
// Separate runs of pixels other than background down column x: the strokes
// a line down a text image crosses.
int RunsDown(const TBitmap& bitmap, int x, TColor background);
