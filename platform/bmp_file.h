// Windows bitmap files (.bmp) as the frame image is stored: file header,
// BITMAPINFOHEADER, 24 bits per pixel, uncompressed, no colour table, rows
// from the bottom up, each padded to a multiple of 4 bytes.
#pragma once

#include <string>

class TBitmap;

// The whole file for bitmap.
std::string EncodeBmp(const TBitmap& bitmap);

// Replaces path by the file for bitmap in one atomic step: on failure an
// existing file stays as it was, and error (when given) says why.
bool SaveBmpFile(const TBitmap& bitmap, const std::string& path, std::string* error = nullptr);
