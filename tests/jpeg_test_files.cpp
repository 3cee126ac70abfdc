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

// Encodes with libjpeg as writing says; fillRow(y, row) gives each row's
// samples.
std::string EncodeRows(const JpegWriting& writing, int width, int height,
                       const std::function<void(int y, std::vector<JSAMPLE>& row)>& fillRow)
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
    const bool grey = writing.sampling == JpegSampling::Grey;
    const bool cmyk = writing.sampling == JpegSampling::Cmyk;
    cinfo.input_components = grey ? 1 : cmyk ? 4 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, writing.quality, TRUE);
    if (writing.sampling == JpegSampling::Chroma422 || writing.sampling == JpegSampling::Chroma444) {
        cinfo.comp_info[0].h_samp_factor = writing.sampling == JpegSampling::Chroma422 ? 2 : 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    cinfo.write_Adobe_marker = cmyk && writing.adobeMarker;
    const bool progressive =
        writing.coding == JpegCoding::Progressive || writing.coding == JpegCoding::ArithmeticProgressive;
    if (progressive)
        jpeg_simple_progression(&cinfo);
    // Each scan of the script split into one per component; a sequential file
    // without a script gets one scan for each component.
    std::vector<jpeg_scan_info> scans;
    if (!writing.interleaved) {
        if (progressive) {
            for (int s = 0; s < cinfo.num_scans; ++s)
                for (int i = 0; i < cinfo.scan_info[s].comps_in_scan; ++i) {
                    jpeg_scan_info scan = cinfo.scan_info[s];
                    scan.comps_in_scan = 1;
                    scan.component_index[0] = cinfo.scan_info[s].component_index[i];
                    scans.push_back(scan);
                }
        } else {
            for (int c = 0; c < cinfo.num_components; ++c)
                scans.push_back(jpeg_scan_info{1, {c}, 0, 63, 0, 0});
        }
        cinfo.scan_info = scans.data();
        cinfo.num_scans = static_cast<int>(scans.size());
    }
    cinfo.arith_code = writing.coding == JpegCoding::Arithmetic || writing.coding == JpegCoding::ArithmeticProgressive;
    cinfo.restart_in_rows = writing.restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * cinfo.input_components);
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

std::string LibjpegFile(const JpegWriting& writing, int width, int height,
                        const std::function<int(int x, int y, int c)>& sample)
{
    const int components = writing.sampling == JpegSampling::Grey ? 1 : writing.sampling == JpegSampling::Cmyk ? 4 : 3;
    return EncodeRows(writing, width, height, [&](int y, std::vector<JSAMPLE>& row) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                row[static_cast<std::size_t>(x) * components + c] =
                    static_cast<JSAMPLE>(std::clamp(sample(x, y, c), 0, 255));
    });
}

std::string FlatLibjpegPicture(int width, int height, int level)
{
    // One row filled once: cheap at any size.
    return EncodeRows(JpegWriting{}, width, height, [&](int y, std::vector<JSAMPLE>& row) {
        if (y == 0)
            std::fill(row.begin(), row.end(), static_cast<JSAMPLE>(level));
    });
}

std::string LibjpegPicture(JpegCoding coding, int width, int height, int components, int quality, int restartRows)
{
    JpegWriting writing;
    writing.coding = coding;
    writing.sampling = components == 1 ? JpegSampling::Grey : JpegSampling::Chroma420;
    writing.quality = quality;
    writing.restartRows = restartRows;
    std::minstd_rand noise(17);
    return LibjpegFile(writing, width, height, [&](int x, int y, int c) {
        const double fx = static_cast<double>(x) / width;
        const double fy = static_cast<double>(y) / height;
        return static_cast<int>(128 + 90 * std::sin(5 * fx + 3 * fy + 2 * c)) + static_cast<int>(noise() % 17) - 8;
    });
}

std::string CutInHalf(const std::string& jpeg)
{
    return jpeg.substr(0, jpeg.size() / 2) + "\xFF\xD9";
}

std::string WithLastRestartOutOfTurn(const std::string& jpeg)
{
    // Restart markers are FF D0..D7; the end marker FF D9 follows the last data.
    std::string damaged = jpeg;
    for (std::size_t at = damaged.size() - 2; at-- > 0;)
        if (static_cast<unsigned char>(damaged[at]) == 0xFF && (static_cast<unsigned char>(damaged[at + 1]) & 0xF8) == 0xD0) {
            damaged[at + 1] = static_cast<char>(0xD0 | ((damaged[at + 1] + 3) & 7));
            return damaged;
        }
    throw std::runtime_error("no restart marker in the JPEG file");
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
