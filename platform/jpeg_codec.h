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
// printed. Arithmetic-coded data, whose decoder fills gaps without a word, is
// checked row by row: data that ends before the picture's last row, or that
// the decoder does not use up, is damaged too. The first row is decoded
// before out is resized, so damage found there leaves out as it was; a later
// failure may leave it resized and partly written. error, when given,
// receives libjpeg's text.
JpegResult DecodeJpegFile(const std::string& path, TBitmap& out, std::string* error = nullptr);
// The pixels (width × height) that the header of the file at path declares,
// read without decoding or allocating the picture: what a decode of it would
// hold. Nothing when the file has no readable JPEG header.
std::optional<std::uint64_t> JpegHeaderPixels(const std::string& path);
// The same from bytes in memory.
JpegResult DecodeJpegMemory(const std::uint8_t* data, std::size_t size, TBitmap& out,
                            std::string* error = nullptr);

// Writes bitmap to path as a baseline JPEG whose first segment is the JFIF
// APP0 (density left at libjpeg's default, 1:1 without unit). quality is
// clamped to 1..100, so 0 counts as 1. Writes straight to path: callers that
// must not lose an existing file write to a temporary file and rename it.
JpegResult EncodeJpegFile(const TBitmap& bitmap, const std::string& path, int quality,
                          std::string* error = nullptr);
