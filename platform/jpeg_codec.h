// JPEG decoding to and encoding from 24-bit bitmaps, through libjpeg directly.
// Decoding is always full scale, to blue, green, red: grayscale and CMYK files
// come out in colour, turned upright by their EXIF orientation; no density
// handling (Qt's plugin has its own, which is why it is not used). Every
// libjpeg error comes back as a result value; nothing here ends the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

class TBitmap;

enum class JpegResult {
    Ok,
    NotFound,    // no file at the path
    Unreadable,  // not a JPEG, corrupt or truncated data, or an I/O error
    TooLarge,    // the header claims more than kMaxJpegPixels
    WriteFailed, // encoding, writing, flushing or closing failed
};

// Pictures above 200 megapixels are refused before anything is allocated.
constexpr std::uint64_t kMaxJpegPixels = 200'000'000;

// Decodes a whole file into out (resized to the picture). A warning about
// corrupt or missing data counts as failure and stops the decode at once:
// libjpeg would fill the gap with grey, and a half-grey photo must not be
// printed. Arithmetic-coded data is read on to its end marker: bytes the
// decoder leaves unread before a marker, or a file without its end, are
// damage too. Arithmetic-coded data that ends early at a marker decodes on
// from nothing without a word, as an intact file's flat tail does, so a cut
// followed by a marker cannot be seen there. A file of several scans is read
// whole, and a file of one scan that is small for its frame (a few bytes
// claiming a huge picture) is decoded once without its rows, before out is
// resized; so damage found there leaves out as it was, and a later failure
// may leave it resized and partly written. error, when given, receives
// libjpeg's text.
JpegResult DecodeJpegFile(const std::string& path, TBitmap& out, std::string* error = nullptr);
// The same from bytes in memory.
JpegResult DecodeJpegMemory(const std::uint8_t* data, std::size_t size, TBitmap& out,
                            std::string* error = nullptr);

// The width and height that a file's JPEG header states, read without
// decoding or allocating the picture; none when the file has no readable
// header.
struct JpegDimensions {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint64_t Pixels() const { return std::uint64_t{width} * height; }
};
std::optional<JpegDimensions> ReadJpegDimensions(const std::string& path);
// The same from bytes in memory.
std::optional<JpegDimensions> ReadJpegDimensionsMemory(const std::uint8_t* data, std::size_t size);

// Writes bitmap to path as a baseline JPEG whose first segment is the JFIF
// APP0 (density left at libjpeg's default, 1:1 without unit). quality is
// clamped to 1..100, so 0 counts as 1. Writes straight to path: callers that
// must not lose an existing file write to a temporary file and rename it.
// failure, when given, receives the system's error of a failed write, open,
// close or allocation, and libjpeg's text.
JpegResult EncodeJpegFile(const TBitmap& bitmap, const std::string& path, int quality,
                          FileFailure* failure = nullptr);
