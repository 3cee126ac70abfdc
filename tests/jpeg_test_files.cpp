#include "tests/jpeg_test_files.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace {

// Where the first segment whose marker code is wanted starts, walking the
// segments that follow the start marker.
std::size_t FindSegment(const std::string& jpeg, bool (*wanted)(unsigned char))
{
    for (std::size_t at = 2; at + 4 <= jpeg.size();) {
        if (static_cast<unsigned char>(jpeg[at]) != 0xFF)
            break;
        const auto code = static_cast<unsigned char>(jpeg[at + 1]);
        if (wanted(code))
            return at;
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]));
    }
    throw std::runtime_error("no such segment in the JPEG file");
}

bool IsFrameHeader(unsigned char code)
{
    // SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC).
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

bool IsScanHeader(unsigned char code)
{
    return code == 0xDA;
}

// Offset of the first byte of the first scan's data.
std::size_t FirstScanData(const std::string& jpeg)
{
    const std::size_t sos = FindSegment(jpeg, IsScanHeader);
    return sos + 2 + (static_cast<unsigned char>(jpeg[sos + 2]) << 8 | static_cast<unsigned char>(jpeg[sos + 3]));
}

// The frame header's height and width fields follow its marker, length and
// sample precision.
void SetFrameSize(std::string& jpeg, int width, int height)
{
    const std::size_t sof = FindSegment(jpeg, IsFrameHeader);
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
}

int FrameHeight(const std::string& jpeg)
{
    const std::size_t sof = FindSegment(jpeg, IsFrameHeader);
    return static_cast<unsigned char>(jpeg[sof + 5]) << 8 | static_cast<unsigned char>(jpeg[sof + 6]);
}

int FrameWidth(const std::string& jpeg)
{
    const std::size_t sof = FindSegment(jpeg, IsFrameHeader);
    return static_cast<unsigned char>(jpeg[sof + 7]) << 8 | static_cast<unsigned char>(jpeg[sof + 8]);
}

} // namespace

namespace {

// Encodes with libjpeg; fillRow(y, row) gives each row's samples.
std::string Encode(JpegCoding coding, int width, int height, int components, int quality, int restartRows,
                   const std::function<void(int, std::vector<JSAMPLE>&)>& fillRow)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors); // exits on error: the settings here are fixed and valid
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (coding == JpegCoding::Progressive || coding == JpegCoding::ArithmeticProgressive)
        jpeg_simple_progression(&cinfo);
    cinfo.arith_code = coding == JpegCoding::Arithmetic || coding == JpegCoding::ArithmeticProgressive;
    cinfo.restart_in_rows = restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        fillRow(static_cast<int>(cinfo.next_scanline), row);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

} // namespace

std::string LibjpegPicture(JpegCoding coding, int width, int height, int components, int quality, int restartRows)
{
    std::minstd_rand noise(17);
    return Encode(coding, width, height, components, quality, restartRows, [&](int y, std::vector<JSAMPLE>& row) {
        const double fy = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = static_cast<double>(x) / width;
            for (int c = 0; c < components; ++c) {
                const int level = static_cast<int>(128 + 90 * std::sin(5 * fx + 3 * fy + 2 * c)) +
                                  static_cast<int>(noise() % 17) - 8;
                row[static_cast<std::size_t>(x) * components + c] = static_cast<JSAMPLE>(std::clamp(level, 0, 255));
            }
        }
    });
}

std::string FlatLibjpegPicture(int width, int height, int level)
{
    return Encode(JpegCoding::Baseline, width, height, 3, 90, 0, [&](int y, std::vector<JSAMPLE>& row) {
        if (y == 0)
            std::fill(row.begin(), row.end(), static_cast<JSAMPLE>(level));
    });
}

std::string CutInHalf(const std::string& jpeg)
{
    return jpeg.substr(0, jpeg.size() / 2) + "\xFF\xD9";
}

std::string WithDoubledHeight(const std::string& jpeg)
{
    std::string doubled = jpeg;
    SetFrameSize(doubled, FrameWidth(jpeg), 2 * FrameHeight(jpeg));
    return doubled;
}

std::string WithRandomData(const std::string& jpeg, unsigned seed)
{
    const std::size_t data = FirstScanData(jpeg);
    std::string damaged = jpeg.substr(0, data);
    std::mt19937 random(seed);
    for (std::size_t i = data; i < jpeg.size(); ++i)
        damaged += static_cast<char>(random() & 0xFF);
    return damaged;
}

std::string HugeFrameOfFourBytes(const std::string& jpeg)
{
    std::string tiny = jpeg.substr(0, FirstScanData(jpeg));
    SetFrameSize(tiny, 12000, 13000);
    return tiny + std::string(4, '\0') + "\xFF\xD9";
}
